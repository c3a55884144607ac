#include "tav/core/GvRegistration.h"

#include "platform/Registry.h"

namespace {

QString defaultText(platform::Registry& registry, const QString& key, const QString& fallback)
{
    const auto value = registry.value(platform::RegRoot::CurrentUser, key, QString());
    if (!value)
        return fallback;
    if (value->type == platform::RegType::String || value->type == platform::RegType::ExpandString)
        return value->text;
    return fallback;
}

}  // namespace

bool gvVersionIs080OrLater(const QString& version)
{
    if (version.isEmpty())
        return false;
    if (!version.startsWith(QLatin1Char('0')))
        return true;
    return version.size() >= 3 && (version[2] == QLatin1Char('8') || version[2] == QLatin1Char('9'));
}

GvRegistration readGvRegistration(platform::Registry* registry)
{
    GvRegistration result;
    const QString key = QString::fromLatin1(kGvRegistryKey);
    if (!registry || !registry->isOpen() || !registry->createKey(platform::RegRoot::CurrentUser, key))
        return result;
    result.path = defaultText(*registry, key + QStringLiteral("\\Path"), QString());
    result.is080OrLater = gvVersionIs080OrLater(
        defaultText(*registry, key + QStringLiteral("\\Version"), QStringLiteral("0.00")));
    return result;
}
