#include "setup/engine/ScriptEntries.h"

#include "platform/ProfileFile.h"

#include <QFileInfo>
#include <limits>

namespace setup {

using platform::RegValue;

namespace {

const QString kPdd = QStringLiteral("(Pdd)");

std::uint32_t decimalNumber(const QString& data)
{
    bool ok = false;
    const qlonglong n = data.toLongLong(&ok, 10);
    // Negative numbers are kept as their 32-bit pattern, as the registry stores them.
    if (!ok || n < std::numeric_limits<std::int32_t>::min() || n > std::numeric_limits<std::uint32_t>::max())
        return 0;
    return std::uint32_t(n);
}

std::optional<RegValue> hexBytes(const QString& data)
{
    if (data.isEmpty())
        return std::nullopt;
    for (QChar c : data)
        if (!c.isDigit() && !QStringLiteral("abcdefABCDEF").contains(c))
            return std::nullopt;
    bool ok = false;
    const qulonglong n = data.toULongLong(&ok, 16);
    if (!ok || n > std::numeric_limits<std::uint32_t>::max())
        return std::nullopt;
    QByteArray bytes(4, '\0');
    for (int i = 0; i < 4; ++i)
        bytes[i] = char(n >> (8 * i) & 0xFF);
    return RegValue::binary(bytes);
}

}  // namespace

std::optional<RegValue> registryValue(const QString& valueText, const FolderTable& folders)
{
    QString text = valueText;
    const bool dropDelimiter = text.contains(kPdd, Qt::CaseInsensitive);
    text.remove(kPdd, Qt::CaseInsensitive);
    text = folders.expandValue(text);
    if (text.isEmpty())
        return std::nullopt;

    const QString type = text.left(5);
    const bool typed =
        type == u"(Str)" || type == u"(Exp)" || type == u"(Int)" || type == u"(Dwd)" || type == u"(Bin)";
    QString data = typed ? text.mid(5) : text;
    if (dropDelimiter && (data.endsWith(u'/') || data.endsWith(u'\\')))
        data.chop(1);

    if (type == u"(Exp)")
        return RegValue::expandString(data);
    if (type == u"(Int)" || type == u"(Dwd)")
        return RegValue::dword(decimalNumber(data));
    if (type == u"(Bin)")
        return hexBytes(data);
    return RegValue::string(data);
}

bool setRegistryValue(platform::Registry& registry, platform::RegRoot root, const QString& key,
                      const QString& name, const RegValue& value)
{
    return registry.createKey(root, key) && registry.setValue(root, key, name, value);
}

void logRegistryFailure(RunContext& ctx, const QString& what)
{
    ctx.logFailure(QStringLiteral("<Registry> ") + what,
                   QStringLiteral("レジストリに書き込めませんでした．"));
}

void writeRegistryValues(RunContext& ctx)
{
    const QStringList keys = ctx.script.numbered("Registry", "Key");
    for (qsizetype i = 0; i < keys.size(); ++i) {
        ctx.step(QStringLiteral("レジストリを設定しています．．．"));
        const QString n = QString::number(i + 1);
        const auto [root, key] = readRootAndKey(keys[i]);
        const QString name = ctx.script.readKey("Registry", "Name" + n);
        const QString valueText = ctx.script.readKey("Registry", "Value" + n);
        const std::optional<RegValue> value = registryValue(valueText, ctx.folders);
        // An empty value (or unusable binary data) still creates the key.
        const bool written = value ? setRegistryValue(ctx.registry, root, key, name, *value)
                                   : ctx.registry.createKey(root, key);
        if (!written)
            logRegistryFailure(ctx, keys[i] + (name.isEmpty() ? QString() : u',' + name));
    }
}

void writeIniEntries(RunContext& ctx)
{
    for (const QString& data : ctx.script.numbered("IniFile", "Data")) {
        ctx.step(QStringLiteral("Iniファイルを設定しています．．．"));
        const QString text = ctx.folders.expandValue(data);
        const QString section = text.section(u',', 0, 0);
        const QString key = text.section(u',', 1, 1);
        const QString value = text.section(u',', 2, 2);
        QString file = text.section(u',', 3).replace(u'\\', u'/');
        if (section.isEmpty() || key.isEmpty() || file.isEmpty())
            continue;
        if (QFileInfo(file).isRelative()) {
            const QString windows = ctx.folders.folder("(Win)");
            if (windows.isEmpty())
                continue;
            file.prepend(windows);
        }
        // A failed INI write is not reported: the entry is a convenience of the script.
        platform::ProfileFile(file).writeString(section, key, value);
    }
}

}  // namespace setup
