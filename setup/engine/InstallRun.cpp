#include "setup/engine/InstallRun.h"

#include "platform/Prompt.h"
#include "platform/Registry.h"
#include "setup/engine/Associations.h"
#include "setup/engine/CopyEntry.h"
#include "setup/engine/FileOps.h"
#include "setup/engine/RunContext.h"
#include "setup/engine/ScriptEntries.h"
#include "setup/engine/UninstallRecord.h"
#include "setup/engine/WorkFolder.h"

#include <QDir>
#include <QFile>
#include <QFileInfo>

namespace setup {

namespace {

using platform::Answer;
using platform::Buttons;
using platform::MessageKind;

// A fatal stop: the user declined to go on or a step could not be done.
struct RunStopped {};

Answer ask(MessageKind kind, const QString& caption, const QString& text, Buttons buttons)
{
    return platform::prompts().message(kind, caption, text, buttons);
}

// A file's size for the progress accounting; an empty file counts as one byte.
std::optional<qint64> accountedSize(const QString& path)
{
    const QFileInfo info(path);
    if (!info.isFile())
        return std::nullopt;
    return std::max<qint64>(1, info.size());
}

class InstallRun {
public:
    InstallRun(Session& session, const InstallChoices& choices, SetupUi& ui, platform::Registry& registry)
        : s(session), choices(choices), ui(ui), registry(registry),
          ctx(session.script(), session.folders, ui, registry, session.stepDelayMs)
    {
        ctx.desktop = {session.system.dataHome, session.system.configHome};
    }

    RunEnd run()
    {
        ui.beginRun();
        // Nothing is written before the folder is known to be absolute.
        const auto folder = installFolderFor(choices.folder, s.system);
        if (!folder)
            stop(s.setupString + QStringLiteral("中止"),
                 relativeFolderMessage(choices.folder, s.setupString));
        installFolder = *folder;
        ctx.status(s.setupString + QStringLiteral("を開始します．．．"));
        ui.pause(1000);
        ctx.status(s.setupString + QStringLiteral("の情報を作成しています．．．"));
        pairs = readAssociationPairs(s.script());
        ctx.waitStep();
        sizePass();
        checkFreeSpace();
        fixInstallFolder();
        startFromOldRecord();
        ui.setAbortEnabled(true);
        makeFolders();
        copyFiles();
        lists.files << recordPath;
        lists.shortcuts << makeShortcuts(ctx, choices.boxes);
        writeRegistryValues(ctx);
        writeIniEntries(ctx);
        lists.registry << s.script().numbered("DeleteRegistry", "Key");
        for (const QString& file : s.script().numbered("AddDeleteFile", "File"))
            lists.extraFiles << ctx.expand(file);
        setAssociations(ctx, pairs, restore, desktopRestore);
        ctx.status(s.unSetupString + QStringLiteral("情報を更新しています．しばらくお待ちください．．．"));
        ui.setAbortEnabled(false);
        installUninstaller();
        if (!s.programId.isEmpty())
            platform::ProfileFile(withSlash(s.system.windows) + kProgramIds)
                .writeString(s.programId, "Folder", installFolder);
        if (s.uninstallSupported())
            writeUninstallEntry();
        reportFailures();
        finish();
        return ctx.failures == 0 ? RunEnd::Finished : RunEnd::Incomplete;
    }

private:
    void stop(const QString& caption, const QString& text = {})
    {
        ask(MessageKind::Error, caption,
            text.isEmpty() ? s.setupString + QStringLiteral("を続行できませんでした．") : text, Buttons::Ok);
        throw RunStopped{};
    }

    void sizePass()
    {
        ctx.status(s.setupString + QStringLiteral("に必要な容量を調べています．．．"));
        ctx.waitStep();
        for (const QString& text : s.script().numbered("CopyFile", "File")) {
            ++entryCount;
            QString name = text.section(u',', 0, 0).section(u'|', 0, 0);
            name = name.mid(std::max(name.lastIndexOf(u'/'), name.lastIndexOf(u'\\')) + 1);
            const auto size = accountedSize(s.sourceFolder + name);
            if (!size)
                sizeValid = false;
            else
                totalBytes += *size;
        }
    }

    void checkFreeSpace()
    {
        if (!sizeValid)
            return;
        ctx.status(QStringLiteral("ディスクの空き容量をチェックしています．．．"));
        const auto free = freeBytes(installFolder);
        if (!free || *free <= totalBytes) {
            const QString text =
                free ? QStringLiteral(
                           "ディスクの空き容量が不足しているため，エラーになる可能性があります．\rこのまま") +
                           s.setupString + QStringLiteral("を続行しますか？")
                     : QStringLiteral("ディスクの空き容量取得関数が失敗しました．\r") + s.setupString +
                           QStringLiteral("に必要なディスク容量は ") + QString::number(totalBytes) +
                           QStringLiteral(" Byteです．\r空き容量があるようであれば，") + s.setupString +
                           QStringLiteral("を続行してください．\r\r") + s.setupString +
                           QStringLiteral("を続行しますか？");
            if (ask(MessageKind::Question, QStringLiteral("空き容量不足"), text, Buttons::YesNo) !=
                Answer::Yes)
                stop(QStringLiteral("セットアップ中止"));
        }
        ctx.waitStep();
    }

    void fixInstallFolder()
    {
        ctx.status(s.setupString + QStringLiteral("フォルダをチェックしています．．．"));
        if (!folderExists(installFolder)) {
            bool made = false;
            if (ask(MessageKind::Question, QStringLiteral("フォルダ作成"),
                    installFolder +
                        QStringLiteral("\r\rこのフォルダは存在しません．作成してもよろしいですか？"),
                    Buttons::YesNo) == Answer::Yes) {
                made = createFolders(installFolder);
                if (!made)
                    ask(MessageKind::Error, QStringLiteral("致命的エラー"),
                        s.setupString +
                            QStringLiteral(
                                "フォルダの作成に失敗しました．\r\rプログラム作者へご報告ください．"),
                        Buttons::Ok);
            }
            if (!made)
                stop(s.setupString + QStringLiteral("中止"));
        }
        s.folders.set("(App)", installFolder);
        s.folders.set("(Set)", QStringLiteral("/"));
        recordPath = installFolder + kUninstallRecord;
    }

    void startFromOldRecord()
    {
        if (!QFileInfo::exists(recordPath))
            return;
        const QString copy = s.workFolder + kOldRecordCopy;
        copyOne(recordPath, copy);
        const Script installed(recordPath);
        for (const QString& value : installed.numbered("RestoreRelate", "Key", 20))
            if (!value.isEmpty())
                restore.take(value);
        for (const QString& value : installed.numbered(kDesktopRestoreSection, "Key", RestoreTable::kSlots))
            if (!value.isEmpty())
                desktopRestore.take(value);
        lists = RecordLists::fromRecord(Script(copy));
    }

    void makeFolders()
    {
        for (const QString& text : s.script().numbered("MakeFolder", "Folder")) {
            const QString folder = withSlash(ctx.expand(text));
            ctx.step(QStringLiteral("フォルダを作成しています．．．\rCreating -> ") + folder);
            const int error = createFolder(folder);
            if (error == 0 || error == EEXIST)
                lists.folders << folder;
            else
                ctx.logFailure("<Folder> " + folder, systemMessage(error));
            ctx.waitStep();
        }
    }

    void copyFiles()
    {
        const QStringList entries = s.script().numbered("CopyFile", "File");
        ui.showGauge(true);
        ui.setGauge(0, QStringLiteral("0%(0/%1)").arg(entryCount));
        for (int n = 1; n <= entries.size(); ++n) {
            copyFile(CopyEntry(ctx.expand(entries[n - 1]), s.sourceFolder));
            const int position =
                sizeValid ? int(doneBytes * 100 / totalBytes) : n * 100 / std::max(1, entryCount);
            ui.setGauge(position, QStringLiteral("%1%(%2/%3)").arg(position).arg(processed).arg(entryCount));
            ctx.checkAbort();
            ctx.waitStep();
        }
        ui.showGauge(false);
    }

    void changeDisk(const CopyEntry& entry)
    {
        ++diskNumber;
        do {
            if (ask(MessageKind::Information, QStringLiteral("ディスク交換"),
                    QString::number(diskNumber) + QStringLiteral("枚目のディスクに交換してください．"),
                    Buttons::OkCancel) != Answer::Ok)
                stop(QStringLiteral("致命的エラー"));
        } while (!QFileInfo::exists(entry.source));
    }

    void copyFile(CopyEntry entry)
    {
        if (entry.diskChange)
            changeDisk(entry);
        if (!QFileInfo::exists(entry.source)) {
            ctx.step(
                QStringLiteral("ファイルが存在しないためコピーをスキップしています．．．\rSkipping -> ") +
                entry.destination);
            ctx.logFailure("<File> " + entry.source, QStringLiteral("コピー元のファイルが見つかりません．"));
            ++processed;
            return;
        }
        QString copySource = entry.source;
        QString temporary;
        if (entry.source.endsWith(u'_')) {
            const auto expanded =
                expandCompressed(entry.source, entry.destination, s.folders.folder("(Tmp)"));
            if (!expanded) {
                ctx.logFailure("<File> " + entry.source, systemMessage(EILSEQ));
                ++processed;
                return;
            }
            temporary = copySource = expanded->temporary;
            entry.destination = expanded->destination;
        }
        ctx.step(QStringLiteral("ファイルをコピーしています．．．\rCopying -> ") + entry.destination);
        const int error = copyDecided(entry, copySource);
        if (entry.has("/R") && QFileInfo::exists(entry.destination))
            registerServer(entry.destination, true);
        ++processed;
        if (error)
            ctx.logFailure("<File> " + entry.destination, systemMessage(error));
        else
            lists.files << entry.destination + entry.options;
        if (!temporary.isEmpty())
            QFile::remove(temporary);
        account(entry.source);
    }

    // Asks or compares dates as the overwrite box says, then copies: 0 or the copy's error.
    int copyDecided(const CopyEntry& entry, const QString& copySource)
    {
        bool copy = true;
        if (QFileInfo::exists(entry.destination)) {
            if (!choices.overwrite)
                copy = ask(MessageKind::Question, QStringLiteral("上書き確認"),
                           entry.destination +
                               QStringLiteral(
                                   "\r\rこのファイルは既に存在します．\r上書きしてもよろしいですか？"),
                           Buttons::YesNo) == Answer::Yes;
            else
                copy = fileTime(entry.destination) < fileTime(copySource);
        }
        if (entry.has("/S"))
            sharedCountUp(registry, entry.destination);
        if (entry.has("/W"))
            copy = true;
        return copy ? copyOne(copySource, entry.destination, copyJournal(s.workFolder)) : 0;
    }

    void account(const QString& source)
    {
        if (!sizeValid)
            return;
        const auto size = accountedSize(source);
        if (size) {
            doneBytes += *size;
            return;
        }
        sizeValid = false;
        ask(MessageKind::Warning, QStringLiteral("内部エラー"),
            QStringLiteral("ファイルサイズの取得に失敗したため，進行状況の表示方法を変更します．"),
            Buttons::Ok);
    }

    void installUninstaller()
    {
        const QString copy = s.workFolder + kSetupCopy;
        uninstaller = withSlash(s.system.windows) + kUninstaller;
        if (fileTime(uninstaller) >= fileTime(copy))
            return;
        if (const int error = copyOne(copy, uninstaller, copyJournal(s.workFolder)))
            ctx.logFailure("<SetupFile> " + uninstaller, systemMessage(error));
    }

    void writeUninstallEntry()
    {
        const Script& sc = s.script();
        RecordHeader header;
        header.uninstallTitle = s.uninstallTitle;
        header.installFolder = installFolder;
        header.restoreRelate = restore.slotList();
        header.restoreDesktop = desktopRestore.slotList();
        header.unSetupOption = sc.readKey("Extend", "UnSetupOption");
        header.setupString = s.setupString;
        header.unSetupString = s.unSetupString;
        header.uninstallKey = sc.readKey("Title", "UnSetupKey", s.uninstallTitle);
        header.programId = s.programId;
        const QString display = sc.readKey("Title", "UnSetupDisplay", header.uninstallKey);

        // The menu entry is listed in the record, so the uninstall removes it.
        menuEntry = makeUninstallEntry(menuFolder(), header.uninstallKey, display, s.unSetupString,
                                       uninstaller, recordPath);
        if (!menuEntry.isEmpty())
            lists.shortcuts << menuEntry;
        recordWritten = writeRecord(ctx, recordPath, header, lists);
        if (!recordWritten) {
            // Nothing may point at a record that is not there.
            if (!menuEntry.isEmpty())
                QFile::remove(menuEntry);
            menuEntry.clear();
            ctx.logFailure("<SetupFile> " + recordPath,
                           s.unSetupString + QStringLiteral("情報ファイルを書き込めませんでした．"));
            return;
        }
        const QString key = kUninstallKeyBase + header.uninstallKey;
        using platform::RegRoot;
        using platform::RegValue;
        registry.createKey(RegRoot::LocalMachine, key);
        registry.setValue(RegRoot::LocalMachine, key, "DisplayName", RegValue::string(display));
        registry.setValue(RegRoot::LocalMachine, key, "UninstallString",
                          RegValue::string(uninstaller + " \"" + recordPath + u'"'));
        menuName = QStringLiteral("Uninstall ") + display;
    }

    // Beside the product's menu shortcuts, else in the applications menu folder.
    QString menuFolder() const
    {
        const QString menu = s.folders.folder("(Sta)");
        for (const QString& link : lists.shortcuts)
            for (const char* macro : {"(Sta)", "(Smn)", "(C_Sta)", "(C_Smn)"})
                if (const QString folder = s.folders.folder(macro);
                    !folder.isEmpty() && link.startsWith(folder))
                    return folderOf(link);
        return menu;
    }

    void reportFailures()
    {
        if (ctx.failures == 0)
            return;
        ctx.status(s.setupString + QStringLiteral("で一部の処理が失敗しました．"));
        if (ask(MessageKind::Warning, QStringLiteral("警告"),
                QStringLiteral(
                    "フォルダの作成・ファイルのコピーで，一部の処理が失敗しました．\r詳細を表示しますか？"),
                Buttons::YesNo) == Answer::Yes)
            ui.showErrorLog(QStringLiteral("作成・コピー処理失敗　詳細表示"), ctx.errorLog);
    }

    void finish()
    {
        const QString execute = s.script().readKey("ExecuteFile", "File");
        if (execute != u"WINDOWS_REBOOT") {
            QString text = s.setupString + QStringLiteral("が完了しました．");
            ctx.status(text);
            // Only to an uninstall that was written.
            if (recordWritten && !menuName.isEmpty())
                text += QStringLiteral("\r\rプログラムの") + s.unSetupString +
                        QStringLiteral("は，\rアプリケーションメニューの「") + menuName +
                        QStringLiteral("」から行ってください．");
            else if (recordWritten)
                text += QStringLiteral("\r\rプログラムの") + s.unSetupString + QStringLiteral("は，\r") +
                        uninstaller + QStringLiteral(" \"") + recordPath +
                        QStringLiteral("\"\rを実行して行ってください．");
            ask(MessageKind::Information, QStringLiteral("完了"), text, Buttons::Ok);
        }
        if (execute == u"WINDOWS_REBOOT") {
            s.rebootRequested = true;
        } else if (!execute.isEmpty()) {
            const QString expanded = ctx.expand(execute);
            const qsizetype comma = expanded.indexOf(u',');
            if (!openFile(expanded.left(comma), comma < 0 ? QString() : expanded.mid(comma + 1)))
                ask(MessageKind::Warning, QStringLiteral("警告"),
                    QStringLiteral(
                        "終了後プログラムの起動に失敗しました．\riniファイルの記述ミスの可能性があります．\r"
                        "プログラム提供者へご報告ください．"),
                    Buttons::Ok);
        }
    }

    Session& s;
    const InstallChoices& choices;
    SetupUi& ui;
    platform::Registry& registry;
    RunContext ctx;
    std::vector<AssociationPair> pairs;
    RestoreTable restore;
    RestoreTable desktopRestore;
    RecordLists lists;
    QString installFolder;
    QString recordPath;
    QString uninstaller;
    QString menuEntry;
    QString menuName;
    bool recordWritten = false;
    bool sizeValid = true;
    qint64 totalBytes = 0;
    qint64 doneBytes = 0;
    int entryCount = 0;
    int processed = 0;
    int diskNumber = 1;
};

}  // namespace

std::optional<QString> installFolderFor(const QString& field, const SystemFolders& system)
{
    return absoluteFolder(QString(field).replace(u'\\', u'/'),
                          system.home.isEmpty() ? QDir::homePath() : system.home);
}

QString relativeFolderMessage(const QString& field, const QString& setupString)
{
    return field + QStringLiteral("\r\rこのフォルダは「/」から始まる絶対パスではないため，") + setupString +
           QStringLiteral("先にできません．\r「/」または「~」から始まるフォルダを指定してください．");
}

RunEnd runInstall(Session& session, const InstallChoices& choices, SetupUi& ui, platform::Registry& registry)
{
    RunEnd end = RunEnd::Finished;
    try {
        end = InstallRun(session, choices, ui, registry).run();
    } catch (const RunStopped&) {
        end = RunEnd::Stopped;
    } catch (const RunAborted&) {
        end = RunEnd::Aborted;
    }
    ui.endRun();
    return end;
}

}  // namespace setup
