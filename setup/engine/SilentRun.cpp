#include "setup/engine/SilentRun.h"

#include "platform/Prompt.h"
#include "setup/engine/InstallRun.h"
#include "setup/engine/Session.h"
#include "setup/engine/UninstallRun.h"

#include <QTextStream>

#include <algorithm>

namespace setup {

namespace {

using platform::Answer;
using platform::Buttons;

void tell(const QString& text)
{
    QTextStream err(stderr);
    err << QString(text).replace(QStringLiteral("\r\n"), QStringLiteral("\n")).replace(u'\r', u'\n') << '\n';
}

// The questions an unattended install says yes to: creating the folder the
// script names and the associations it asks for. Every other question gets
// the safe answer (keep the file, stop when the disk may be full).
class SilentPrompt : public platform::PromptService {
public:
    Answer message(platform::MessageKind, const QString& caption, const QString& text,
                   Buttons buttons) override
    {
        tell((caption.isEmpty() ? QString() : u'[' + caption + QStringLiteral("] ")) + text);
        if (buttons == Buttons::YesNo &&
            (caption == u"フォルダ作成" || caption == u"関連付けの確認" || caption == u"上書き確認"))
            return Answer::Yes;
        return platform::defaultAnswer(buttons);
    }
    bool printDialog(QPrinter*) override { return false; }
    bool printerSetupDialog(QPrinter*) override { return false; }
    std::optional<QString> openFile(const platform::OpenFileRequest&) override { return std::nullopt; }
    std::optional<QString> browseFolder(const QString&, const QString&) override { return std::nullopt; }
    std::optional<platform::FontSpec> chooseFont(const platform::FontSpec&) override { return std::nullopt; }
    std::optional<std::uint32_t> chooseColor(platform::ColorRequest&) override { return std::nullopt; }
    std::unique_ptr<platform::ProgressBox> openProgress(const QString&, const QString&,
                                                        const QString&) override
    {
        return nullptr;
    }
};

// No windows: steps go by without delays, the error log goes to stderr and
// the shared-file question keeps the file.
class SilentUi : public SetupUi {
public:
    void beginRun() override {}
    void setStatus(const QString&) override {}
    void showGauge(bool) override {}
    void setGauge(int, const QString&) override {}
    void setAbortEnabled(bool) override {}
    bool abortRequested() override { return false; }
    void pause(int) override {}
    DeleteAnswer askDelete(const QString& text) override
    {
        tell(text + QStringLiteral("\r→ いいえ"));
        return DeleteAnswer::No;
    }
    void showErrorLog(const QString& caption, const QString& log) override { tell(caption + u'\r' + log); }
    void endRun() override {}
};

int statusOf(RunEnd end)
{
    switch (end) {
    case RunEnd::Finished: return kSilentDone;
    case RunEnd::Incomplete: return kSilentIncomplete;
    case RunEnd::Stopped:
    case RunEnd::Aborted: return kSilentStopped;
    }
    return kSilentStopped;
}

}  // namespace

int runSilent(const QString& programFile, const QString& argument, const SystemFolders& system,
              platform::Registry& registry)
{
    SilentPrompt prompt;
    platform::PromptService* previous = platform::setPrompts(&prompt);
    SilentUi ui;
    Session session = Session::prepare(programFile, argument, system);
    int status = kSilentStopped;
    if (!session.fatalText.isEmpty()) {
        tell(session.fatalText + QStringLiteral("処理は続行できません．"));
    } else if (session.mode == Mode::Install) {
        InstallChoices choices;
        choices.folder = session.defaultFolder(registry);
        choices.overwrite = true;
        // The boxes the main window would check: those of the shortcuts the script names.
        const QStringList names = session.script().numbered("ShortCut", "Name");
        const auto named = [&](const char* kind) {
            return std::any_of(names.begin(), names.end(), [&](const QString& n) {
                return n.contains(QLatin1String(kind), Qt::CaseInsensitive);
            });
        };
        choices.boxes = {named("Dsk)"), named("Sta)"), named("Sup)"), named("Sen)")};
        status = statusOf(runInstall(session, choices, ui, registry));
    } else {
        const QString flags =
            session.script().readKey("UnSetupOption", "CheckBox", QStringLiteral("0,0,0,0"));
        const bool deleteAll = flags == u"DeleteAll";
        const UninstallChoices choices{session.defaultFolder(registry), deleteAll,
                                       deleteAll || flags.startsWith(u'1'),
                                       !deleteAll && flags.mid(2, 1) == u"1"};
        status = statusOf(runUninstall(session, choices, ui, registry));
    }
    session.removeWorkFolder();
    platform::setPrompts(previous);
    return status;
}

}  // namespace setup
