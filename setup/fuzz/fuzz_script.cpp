// Every value of a script or uninstall record through the installer's
// splitting rules: the profile parser, macro expansion, registry roots and
// values, copy entries, association pairs and the record's entry placement.
// Nothing here touches files or the registry.
#include "platform/ProfileDocument.h"
#include "setup/engine/Associations.h"
#include "setup/engine/CopyEntry.h"
#include "setup/engine/Macros.h"
#include "setup/engine/ScriptEntries.h"
#include "setup/engine/UninstallRecord.h"

#include <cstddef>
#include <cstdint>

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size)
{
    const QByteArray bytes(reinterpret_cast<const char*>(data), qsizetype(size));
    const auto document = platform::ProfileDocument::parse(bytes);
    setup::FolderTable folders;
    folders.set("(App)", "/opt/app");
    folders.set("(Win)", "/w");
    QStringList placed;
    QString previous;
    for (const QString& section : document.sectionNames()) {
        for (const QString& key : document.keyNames(section)) {
            const QString* value = document.findValue(section, key);
            if (!value)
                continue;
            const QString expanded = folders.expand(*value);
            (void)setup::CopyEntry(expanded, "/src/");
            (void)setup::readRootAndKey(*value);
            (void)setup::registryValue(*value, folders);
            (void)setup::parseAssociation({previous, *value}, folders).command();
            setup::placeEntry(placed, expanded, true);
            previous = *value;
        }
    }
    return 0;
}
