#include "gv/GvRegister.h"

#include "platform/Registry.h"

namespace gv {

bool registerGv(platform::Registry& registry, const QString& programPath)
{
    using platform::RegRoot;
    using platform::RegValue;
    const QString key = QStringLiteral("Software\\Kavano\\GV");
    const QString path = key + QStringLiteral("\\Path");
    const QString version = key + QStringLiteral("\\Version");
    return registry.createKey(RegRoot::CurrentUser, path) &&
           registry.createKey(RegRoot::CurrentUser, version) &&
           registry.setValue(RegRoot::CurrentUser, path, {}, RegValue::string(programPath)) &&
           registry.setValue(RegRoot::CurrentUser, version, {},
                             RegValue::string(QString::fromLatin1(kGvVersion)));
}

}  // namespace gv
