#include "setup/engine/UninstallRecord.h"

#include "platform/AtomicFile.h"
#include "platform/Sjis.h"

#include <algorithm>

namespace setup {

namespace {

QString pathPart(const QString& entry) { return entry.section(u',', 0, 0); }

// The options after the path; the path itself holds '/' characters.
bool isShared(const QString& entry)
{
    const qsizetype comma = entry.indexOf(u',');
    return comma >= 0 && entry.indexOf(QLatin1String("/S"), comma, Qt::CaseInsensitive) >= 0;
}

class RecordText {
public:
    void section(const QString& name) { m_text += u'[' + name + QStringLiteral("]\r\n"); }
    void key(const QString& name, const QString& value)
    {
        m_text += name + u'=' + value + QStringLiteral("\r\n");
    }
    void list(const QString& name, const QString& prefix, const QStringList& values)
    {
        if (values.isEmpty())
            return;
        section(name);
        for (int n = 0; n < values.size(); ++n)
            key(prefix + QString::number(n + 1), values[n]);
    }
    const QString& text() const { return m_text; }

private:
    QString m_text;
};

QStringList merged(const QStringList& entries, bool keepShared)
{
    QStringList list;
    for (const QString& entry : entries)
        placeEntry(list, entry, keepShared);
    return list;
}

}  // namespace

RecordLists RecordLists::fromRecord(const Script& record)
{
    RecordLists lists;
    lists.folders = record.numbered("DeleteFolder", "Folder");
    lists.files = record.numbered("DeleteFile", "File");
    lists.shortcuts = record.numbered("DeleteShortCut", "File");
    lists.registry = record.numbered("DeleteRegistry", "Key");
    lists.extraFiles = record.numbered("AddDeleteFile", "File");
    return lists;
}

void placeEntry(QStringList& list, const QString& entry, bool keepShared)
{
    const QString path = pathPart(entry);
    for (QString& present : list) {
        if (pathPart(present) != path)
            continue;
        QString value = entry;
        if (keepShared && isShared(present) && !isShared(entry))
            value += entry.contains(QLatin1String(",/")) ? QStringLiteral("/S") : QStringLiteral(",/S");
        present = value;
        return;
    }
    list << entry;
}

bool writeRecord(RunContext& ctx, const QString& path, const RecordHeader& header, const RecordLists& lists)
{
    RecordText r;
    r.section("Information");
    r.key("Message1", QStringLiteral("Ondo! Setup 98 UnSetup(UnInstall) Initialize File"));
    r.key("Message2", QStringLiteral("！！！　警告　！！！"));
    r.key("Message3", QStringLiteral("このファイルをエディタなどで書き換えたり，削除しないでください．"));
    r.key("Message4", QStringLiteral("書き換えた場合，") + header.unSetupString +
                          QStringLiteral("動作の保証はできません．"));
    r.section("Title");
    r.key("UnSetup", header.uninstallTitle);
    r.section("SetupFolder");
    r.key("Folder", header.installFolder);

    const QString updating = QStringLiteral("を更新しています．しばらくお待ちください．．．");
    const auto list = [&](const QString& what, const QString& section, const QString& prefix,
                          const QStringList& values, bool keepShared = false) {
        ctx.status(header.unSetupString + QStringLiteral("情報(") + what + u')' + updating);
        r.list(section, prefix, merged(values, keepShared));
    };
    list(QStringLiteral("削除フォルダ"), "DeleteFolder", "Folder", lists.folders);
    list(QStringLiteral("削除ファイル"), "DeleteFile", "File", lists.files, true);
    list(QStringLiteral("削除ショートカット"), "DeleteShortCut", "File", lists.shortcuts);
    list(QStringLiteral("削除レジストリ"), "DeleteRegistry", "Key", lists.registry);
    list(QStringLiteral("追加削除ファイル"), "AddDeleteFile", "File", lists.extraFiles);
    ctx.status(header.unSetupString + QStringLiteral("情報(復元関連付け)") + updating);
    r.section("RestoreRelate");
    for (int n = 0; n < header.restoreRelate.size(); ++n)
        r.key("Key" + QString::number(n + 1), header.restoreRelate[n]);

    if (std::any_of(header.restoreDesktop.begin(), header.restoreDesktop.end(),
                    [](const QString& slot) { return !slot.isEmpty(); })) {
        r.section(kDesktopRestoreSection);
        for (int n = 0; n < header.restoreDesktop.size(); ++n)
            r.key("Key" + QString::number(n + 1), header.restoreDesktop[n]);
    }
    if (!header.unSetupOption.isEmpty()) {
        r.section("UnSetupOption");
        r.key("CheckBox", header.unSetupOption);
    }
    r.section("Extend");
    r.key("SetupString", header.setupString);
    r.key("UnSetupString", header.unSetupString);
    r.section("UnSetupRegistryKey");
    r.key("Key", kUninstallKeyBase + header.uninstallKey);
    r.section("ProgramID");
    r.key("ID", header.programId);
    return platform::replaceFileAtomically(path, platform::toSjis(r.text()));
}

}  // namespace setup
