#include "setup/engine/Associations.h"

#include "platform/Prompt.h"
#include "setup/engine/DesktopEntry.h"
#include "setup/engine/ScriptEntries.h"

namespace setup {

using platform::RegRoot;
using platform::RegValue;

std::vector<AssociationPair> readAssociationPairs(const Script& script)
{
    const QStringList names = script.numbered("Relate", "Name", RestoreTable::kSlots);
    const QStringList files = script.numbered("Relate", "File", RestoreTable::kSlots);
    std::vector<AssociationPair> pairs;
    for (qsizetype i = 0; i < names.size() && i < files.size(); ++i)
        if (!names[i].isEmpty() && !files[i].isEmpty())
            pairs.push_back({names[i], files[i]});
    return pairs;
}

QString Association::command() const
{
    QString text = program.contains(u' ') ? u'"' + program + u'"' : program;
    for (const QString& argument : arguments)
        if (!argument.isEmpty())
            text += u' ' + argument;
    return text;
}

bool Association::usable() const
{
    return !extension.isEmpty() && !verb.isEmpty() && !program.isEmpty() && !extension.contains(u'\\') &&
           !extension.contains(u'/');
}

Association parseAssociation(const AssociationPair& pair, const FolderTable& folders)
{
    Association a;
    a.extension = pair.name.section(u',', 0, 0);
    a.description =
        pair.name.contains(u',') ? pair.name.section(u',', 1) : a.extension + QStringLiteral(" File");

    const QStringList fields = folders.expandValue(pair.file).split(u',');
    a.verb = fields.value(0);
    a.program = fields.value(1).replace(u'\\', u'/');
    // Every field after the program that a ',' ends is an argument; the text
    // after the last ',' is the icon index.
    if (fields.size() > 2)
        a.iconIndex = fields.last();
    if (fields.size() > 3)
        a.arguments = fields.mid(2, fields.size() - 3);
    return a;
}

RestoreTable::RestoreTable()
{
    for (int i = 0; i < kSlots; ++i)
        m_slots << QString();
}

void RestoreTable::take(const QString& value)
{
    if (value.isEmpty() || m_slots.contains(value, Qt::CaseInsensitive))
        return;
    putInFreeSlot(value);
}

void RestoreTable::record(const QString& extension, const QString& previousClass)
{
    if (!hasExtension(extension))
        putInFreeSlot(extension + u',' + previousClass);
}

bool RestoreTable::hasExtension(const QString& extension) const
{
    for (const QString& slot : m_slots)
        if (!slot.isEmpty() && slot.section(u',', 0, 0).compare(extension, Qt::CaseInsensitive) == 0)
            return true;
    return false;
}

void RestoreTable::putInFreeSlot(const QString& value)
{
    for (QString& slot : m_slots)
        if (slot.isEmpty()) {
            slot = value;
            return;
        }
}

namespace {

QString question(const Association& a)
{
    return QStringLiteral("拡張子 *.") + a.extension + QStringLiteral(" を\r") + a.program +
           QStringLiteral("\rに関連付けします．よろしいですか？");
}

// The class the extension's key names now, empty when it names none.
QString currentClass(const platform::Registry& registry, const QString& extensionKey)
{
    const std::optional<RegValue> value = registry.value(RegRoot::ClassesRoot, extensionKey, {});
    using platform::RegType;
    if (!value || (value->type != RegType::String && value->type != RegType::ExpandString))
        return {};
    return value->text;
}

bool writeAssociation(platform::Registry& registry, const Association& a, const QString& extensionKey)
{
    const QString cls = a.extension + QStringLiteral("_auto_file");
    const auto put = [&](const QString& key, const QString& text) {
        return setRegistryValue(registry, RegRoot::ClassesRoot, key, {}, RegValue::string(text));
    };
    return put(extensionKey, cls) && put(cls, a.description) &&
           put(cls + QStringLiteral("\\DefaultIcon"), a.program + u',' + a.iconIndex) &&
           put(cls + QStringLiteral("\\shell\\") + a.verb + QStringLiteral("\\command"), a.command());
}

}  // namespace

void setAssociations(RunContext& ctx, const std::vector<AssociationPair>& pairs, RestoreTable& restore,
                     RestoreTable& desktopRestore)
{
    for (const AssociationPair& pair : pairs) {
        ctx.step(QStringLiteral("関連付けを設定しています．．．"));
        const Association a = parseAssociation(pair, ctx.folders);
        if (!a.usable()) {
            ctx.logFailure(QStringLiteral("<Relate> ") + pair.name + u'=' + pair.file,
                           QStringLiteral("関連付けの記述が正しくありません．"));
            continue;
        }
        if (platform::prompts().message(platform::MessageKind::Question, QStringLiteral("関連付けの確認"),
                                        question(a), platform::Buttons::YesNo) != platform::Answer::Yes)
            continue;

        const QString extensionKey = u'.' + a.extension;
        if (!ctx.registry.createKey(RegRoot::ClassesRoot, extensionKey)) {
            logRegistryFailure(ctx, QStringLiteral("(Class)") + extensionKey);
            continue;
        }
        restore.record(a.extension, currentClass(ctx.registry, extensionKey));
        if (!writeAssociation(ctx.registry, a, extensionKey)) {
            logRegistryFailure(ctx, QStringLiteral("(Class)") + extensionKey);
            continue;
        }
        if (!ctx.desktop.usable())
            continue;
        const QString entry = registerWithDesktop(ctx.desktop, a, iconFor(a.program, a.iconIndex));
        if (entry.isEmpty())
            ctx.logFailure(QStringLiteral("<Relate> ") + extensionKey,
                           QStringLiteral("デスクトップに関連付けを登録できませんでした．"));
        else
            desktopRestore.record(a.extension, entry.section(u',', 1));
    }
}

}  // namespace setup
