#include "setup/engine/UninstallRun.h"

#include "platform/Prompt.h"
#include "platform/Registry.h"
#include "setup/engine/FileOps.h"
#include "setup/engine/RemovalGuard.h"
#include "setup/engine/RunContext.h"
#include "setup/engine/UninstallRecord.h"

#include <QDir>
#include <QFileInfo>

namespace setup {

namespace {

using platform::Answer;
using platform::Buttons;
using platform::MessageKind;
using platform::RegRoot;

Answer ask(MessageKind kind, const QString& caption, const QString& text, Buttons buttons)
{
    return platform::prompts().message(kind, caption, text, buttons);
}

bool askFileDelete(const QString& text)
{
    return ask(MessageKind::Question, QStringLiteral("ファイル削除の確認"), text, Buttons::YesNo) ==
           Answer::Yes;
}

QString localPath(const QString& text) { return QString(text).replace(u'\\', u'/'); }

bool hasWildcard(const QString& path)
{
    const QString name = fileNameOf(path);
    return name.contains(u'*') || name.contains(u'?');
}

class UninstallRun {
public:
    UninstallRun(Session& session, const UninstallChoices& choices, SetupUi& ui, platform::Registry& registry)
        : s(session), choices(choices), ui(ui), registry(registry),
          ctx(session.script(), session.folders, ui, registry, session.stepDelayMs),
          guard(session.system, session.folders)
    {
        ctx.desktop = {session.system.dataHome, session.system.configHome};
        if (choices.firstBox) {
            if (choices.deleteAllLayout)
                deleteAll = true;
            else
                patterns << "*.INI";
        }
        if (choices.secondBox && !choices.deleteAllLayout)
            patterns << "*.GID";
    }

    RunEnd run()
    {
        ui.beginRun();
        ctx.status(s.unSetupString + QStringLiteral("を行っています．．．"));
        installFolder = localPath(choices.folder);
        // A record written by an install always holds an absolute folder.
        if (installFolder.isEmpty() || !installFolder.startsWith(u'/')) {
            ask(MessageKind::Error, QStringLiteral("致命的エラー"),
                s.unSetupString + QStringLiteral("フォルダが不明です．\r\n") + s.unSetupString +
                    QStringLiteral("は続行できません．"),
                Buttons::Ok);
            return RunEnd::Stopped;
        }
        installFolder = withSlash(installFolder);
        const Script& record = s.script();
        if (!s.programId.isEmpty())
            platform::ProfileFile(withSlash(s.system.windows) + kProgramIds).deleteSection(s.programId);
        QDir::setCurrent(s.folders.folder("(Tmp)"));
        for (const QString& entry : record.numbered("DeleteFile", "File"))
            deleteFile(entry, true);
        for (const QString& entry : record.numbered("AddDeleteFile", "File"))
            deleteFile(entry, false);
        deleteShortcuts(record.numbered("DeleteShortCut", "File"));
        deleteFolders(record.numbered("DeleteFolder", "Folder"));
        for (const QString& key : record.numbered("DeleteRegistry", "Key")) {
            const auto [root, path] = readRootAndKey(key);
            for (int n = 0; n < 99 && registry.keyExists(root, path); ++n)
                registry.deleteKey(root, path);
        }
        restoreAssociations(record.numbered("RestoreRelate", "Key", 20));
        for (const QString& entry : record.numbered(kDesktopRestoreSection, "Key", 20))
            if (!entry.isEmpty())
                unregisterFromDesktop(ctx.desktop, entry);
        const QString entryKey = record.readKey("UnSetupRegistryKey", "Key");
        if (!entryKey.isEmpty())
            registry.deleteKey(RegRoot::LocalMachine, entryKey);
        removeInstallFolder();
        reportFailures();
        // Only a run that removed everything it was asked to says so.
        const QString done =
            ctx.failures == 0
                ? s.unSetupString + QStringLiteral("を完了しました．")
                : s.unSetupString +
                      QStringLiteral(
                          "を終了しましたが，一部のファイル・フォルダ・設定は削除されていません．");
        ctx.status(done);
        ask(ctx.failures == 0 ? MessageKind::Information : MessageKind::Warning, QStringLiteral("完了"), done,
            Buttons::Ok);
        return ctx.failures == 0 ? RunEnd::Finished : RunEnd::Incomplete;
    }

private:
    void deleteFile(const QString& entry, bool reported)
    {
        const qsizetype comma = entry.indexOf(u',');
        const QString path = localPath(comma < 0 ? entry : entry.left(comma));
        const QString options = comma < 0 ? QString() : entry.mid(comma, 5);
        const auto has = [&](const char* option) {
            return options.contains(QLatin1String(option), Qt::CaseInsensitive);
        };
        bool remove = true;
        if (sharedCount(registry, path) > 0) {
            remove = has("/S") && sharedCountDown(registry, path) == 0 && askShared(path);
        } else if (has("/C")) {
            remove = askFileDelete(
                path + QStringLiteral("\r\rこのファイルを削除してもよろしいですか？\r\r<<　注意　>>\r"
                                      "DLL/OCXなどは他のプログラムでも使用される可能性があります．\r"
                                      "確実に使用されないことがわかっている場合のみ削除してください．"));
        } else if (has("/L")) {
            remove = false;
        } else if (has("/F")) {
            remove = true;
        } else if (isSystemLibrary(path)) {
            remove =
                askFileDelete(path + QStringLiteral("\r\rこのDLL/OCXファイルは，共有登録されていませんが，\r"
                                                    "今後，他のプログラムで使われる可能性があります．\r"
                                                    "このファイルを削除してもよろしいですか？"));
        }
        if (!remove)
            return;
        // Refusals are listed even for the extra files, whose errors are not.
        const QString refusal =
            hasWildcard(path) ? guard.refuseWildcard(path, installFolder) : guard.refuseFile(path);
        if (!refusal.isEmpty()) {
            ctx.logFailure("<File> " + path, refusal);
            return;
        }
        const int error = shellDelete(path);
        if (error && reported)
            ctx.logFailure("<File> " + path, systemMessage(error));
    }

    // The shared file no other program uses any more: the four-button question,
    // unless an earlier "all" answer stands for the rest of the run.
    bool askShared(const QString& path)
    {
        if (allAnswer)
            return *allAnswer;
        switch (ui.askDelete(
            path + QStringLiteral("\r\rこの共有ファイルは，現在，他のどのプログラムからも使われていません．\r"
                                  "しかし，今後，他のプログラムで使われる可能性があります．\r"
                                  "このファイルを削除してもよろしいですか？"))) {
        case DeleteAnswer::Yes: return true;
        case DeleteAnswer::No: return false;
        case DeleteAnswer::DeleteAll: allAnswer = true; return true;
        case DeleteAnswer::SaveAll: allAnswer = false; return false;
        }
        return false;
    }

    bool isSystemLibrary(const QString& path) const
    {
        if (!isLibraryFile(path))
            return false;
        const auto inside = [&](const QString& folder) {
            return !folder.isEmpty() && path.contains(withoutSlash(folder), Qt::CaseInsensitive);
        };
        return inside(s.system.windows) || inside(s.system.system);
    }

    void deleteShortcuts(const QStringList& links)
    {
        QStringList kept;
        for (const char* macro : {"(Sta)", "(Dsk)", "(Sup)", "(Sen)", "(C_Sta)", "(C_Dsk)", "(C_Sup)"})
            kept << s.folders.folder(macro);
        for (const QString& entry : links) {
            const QString link = localPath(entry);
            if (const QString refusal = guard.refuseFile(link); !refusal.isEmpty()) {
                ctx.logFailure("<ShortCut> " + link, refusal);
                continue;
            }
            if (const int error = shellDelete(link))
                ctx.logFailure("<ShortCut> " + link, systemMessage(error));
            const QString folder = folderOf(link);
            if (!kept.contains(folder) && guard.refuseFolder(folder).isEmpty() && QDir(folder).isEmpty())
                removeFolder(folder);
        }
    }

    void deleteFolders(const QStringList& folders)
    {
        for (qsizetype n = folders.size() - 1; n >= 0; --n) {
            const QString folder = withSlash(localPath(folders[n]));
            if (const QString refusal = guard.refuseFolder(folder); !refusal.isEmpty()) {
                ctx.logFailure("<Folder> " + folder, refusal);
                continue;
            }
            // Exactly the install folder's own subfolders: names differing in
            // case are other folders on this system.
            const bool inside = folder.startsWith(installFolder);
            if (inside)
                for (const QString& pattern : patterns)
                    shellDelete(folder + pattern);
            const int error = removeFolder(folder);
            if (error && !(deleteAll && inside))
                ctx.logFailure("<Folder> " + folder, systemMessage(error));
        }
    }

    void restoreAssociations(const QStringList& entries)
    {
        for (const QString& slot : entries) {
            if (slot.isEmpty())
                continue;
            const QString extension = slot.section(u',', 0, 0);
            const QString previous = slot.section(u',', 1);
            if (extension.isEmpty())
                continue;
            const QString key = u'.' + extension;
            if (!previous.isEmpty() && registry.keyExists(RegRoot::ClassesRoot, key))
                registry.setValue(RegRoot::ClassesRoot, key, {}, platform::RegValue::string(previous));
            else
                registry.deleteKey(RegRoot::ClassesRoot, key);
            const QString autoClass = extension + "_auto_file";
            if (previous.compare(autoClass, Qt::CaseInsensitive) != 0)
                registry.deleteKey(RegRoot::ClassesRoot, autoClass);
        }
    }

    void removeInstallFolder()
    {
        if (const QString refusal = guard.refuseFolder(installFolder); !refusal.isEmpty()) {
            ctx.logFailure("<SetupFolder> " + installFolder, refusal);
            return;
        }
        if (deleteAll)
            removeTree(installFolder);
        else
            for (const QString& pattern : patterns)
                shellDelete(installFolder + pattern);
        const int error = removeFolder(installFolder);
        if (!error || (error == ENOENT && !QFileInfo::exists(installFolder)))
            return;
        QString reason = systemMessage(error);
        if (error == ENOTEMPTY || error == EEXIST || error == EACCES)
            reason = (deleteAll
                          ? QStringLiteral("全ファイル・フォルダの削除を試みましたが，エラーが発生したため，")
                          : QStringLiteral("フォルダにファイルが残っているため，")) +
                     s.setupString +
                     QStringLiteral(
                         "フォルダを削除できませんでした．エクスプローラなどから，直接削除してください．");
        ctx.logFailure("<SetupFolder> " + installFolder, reason);
    }

    void reportFailures()
    {
        if (ctx.failures == 0)
            return;
        ctx.status(QStringLiteral("一部の処理に失敗しました．"));
        if (ask(MessageKind::Warning, QStringLiteral("警告"),
                s.unSetupString +
                    QStringLiteral("の過程で，一部の処理が失敗しました．\r詳細を表示しますか？"),
                Buttons::YesNo) == Answer::Yes)
            ui.showErrorLog(QStringLiteral("削除処理失敗　詳細表示"), ctx.errorLog);
    }

    Session& s;
    const UninstallChoices& choices;
    SetupUi& ui;
    platform::Registry& registry;
    RunContext ctx;
    RemovalGuard guard;
    QStringList patterns;
    bool deleteAll = false;
    std::optional<bool> allAnswer;
    QString installFolder;
};

}  // namespace

RunEnd runUninstall(Session& session, const UninstallChoices& choices, SetupUi& ui,
                    platform::Registry& registry)
{
    const RunEnd end = UninstallRun(session, choices, ui, registry).run();
    ui.endRun();
    return end;
}

}  // namespace setup
