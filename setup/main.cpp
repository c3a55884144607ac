// setup: installs a product as its script "SETUP.INI" says, or, started with
// an uninstall record "UNSETUP.INI", removes it again.
#include "setup/ui/Main.h"
#include "setup/engine/InstallRun.h"
#include "setup/engine/SilentRun.h"
#include "setup/engine/UninstallRun.h"
#include "setup/ui/Back.h"
#include "setup/ui/CusDlg.h"
#include "setup/ui/MainScript.h"
#include "setup/ui/SetupFonts.h"
#include "setup/ui/Status.h"
#include "setup/ui/WindowsUi.h"

#include "platform/PlatformPaths.h"
#include "platform/Prompt.h"
#include "platform/QtPrompt.h"
#include "platform/Registry.h"

#include <QApplication>
#include <QCheckBox>
#include <QLibraryInfo>
#include <QLineEdit>
#include <QLocale>
#include <QLockFile>
#include <QProcess>
#include <QPushButton>
#include <QTextStream>
#include <QTranslator>

#include <optional>

namespace {

const QString kVersion = QStringLiteral("1.0.0.1");

// The restart the script asked for, once every window is closed.
void offerRestart()
{
    using namespace platform;
    if (prompts().message(
            MessageKind::Question, QStringLiteral("システム設定の変更"),
            QStringLiteral("新しい設定を有効にするには，コンピュータを再起動する必要があります．\r"
                           "今すぐ再起動しますか？"),
            Buttons::YesNo) == Answer::Yes) {
        // A sandboxed trial never restarts the machine.
        if (sandboxRoot().isEmpty() &&
            QProcess::startDetached(QStringLiteral("systemctl"), {QStringLiteral("reboot")}))
            return;
    }
    prompts().message(MessageKind::Warning, QStringLiteral("警告"),
                      QStringLiteral("Windowsを再起動すると，セットアップは完了します．"), Buttons::Ok);
}

// The unattended run: no windows, so no display is needed.
int silentMain(int argc, char** argv)
{
    QCoreApplication app(argc, argv);
    QLockFile instance(platform::specialFolder(platform::SpecialFolder::Temp) + "/ONDSETUP.lock");
    if (!instance.tryLock(0)) {
        QTextStream(stderr) << "setup: another setup is running\n";
        return setup::kSilentStopped;
    }
    platform::Registry& registry = platform::Registry::current();
    return setup::runSilent(QCoreApplication::applicationFilePath(), QCoreApplication::arguments().value(2),
                            setup::SystemFolders::current(registry), registry);
}

}  // namespace

int main(int argc, char** argv)
{
    if (argc > 1 && setup::kSilentOption == QString::fromLocal8Bit(argv[1]))
        return silentMain(argc, argv);
    QApplication app(argc, argv);
    // One installer at a time: a second start ends at once, without a word.
    QLockFile instance(platform::specialFolder(platform::SpecialFolder::Temp) + "/ONDSETUP.lock");
    if (!instance.tryLock(0))
        return 0;
    QApplication::setApplicationName(QStringLiteral("Ondo! Setup 98 Standard"));
    // Qt's own buttons and the folder browser in Japanese, like every text of setup.
    QTranslator qtTexts;
    if (qtTexts.load(QLocale(QLocale::Japanese, QLocale::Japan), QStringLiteral("qtbase"),
                     QStringLiteral("_"), QLibraryInfo::path(QLibraryInfo::TranslationsPath)))
        QApplication::installTranslator(&qtTexts);
    setupui::installFontSubstitutes();
    platform::QtPrompt prompt;
    platform::setPrompts(&prompt);
    platform::Registry& registry = platform::Registry::current();

    TfrmBack backdrop(kVersion);
    TfrmMain main(&backdrop);
    TfrmStatus status(&backdrop);
    TfrmCustomDlg question(main.lblFormShare, &backdrop);
    main.setBackdrop(&backdrop);
    WindowsUi ui(backdrop, main, status, question);

    const QStringList args = QApplication::arguments();
    std::optional<setup::Session> session;
    MainWindowScript script;
    backdrop.runMainWindow = [&] {
        session = setup::Session::prepare(QApplication::applicationFilePath(), args.value(1),
                                          setup::SystemFolders::current(registry));
        if (!session->fatalText.isEmpty()) {
            main.showFatal(session->fatalText + QStringLiteral("\r\n処理は続行できません．"));
            main.btnEvent->setText(QStringLiteral("処理開始(&S)"));
        } else {
            script = mainWindowScript(*session, registry);
            const setup::Script& sc = session->script();
            main.setWindowTitle(script.title);
            backdrop.showTitles(script.title, creditText(sc.readKey("Title", "CopyRight1"),
                                                         sc.readKey("Title", "CopyRight2")));
            main.setupPages(script);
        }
        main.exec();
    };
    main.onInstall = [&] {
        // A folder that cannot be made absolute is refused before the run; the user corrects it.
        if (!setup::installFolderFor(main.txtFolder->text(), session->system)) {
            platform::prompts().message(
                platform::MessageKind::Error, session->setupString + QStringLiteral("フォルダ"),
                setup::relativeFolderMessage(main.txtFolder->text(), session->setupString),
                platform::Buttons::Ok);
            return;
        }
        setup::InstallChoices choices;
        choices.folder = main.txtFolder->text();
        choices.overwrite = main.chkOverWrite->isChecked();
        choices.boxes = {main.chkSCutDesktop->isChecked(), main.chkSCutStartMenu->isChecked(),
                         main.chkSCutStartUp->isChecked(), main.chkSCutSendTo->isChecked()};
        setup::runInstall(*session, choices, ui, registry);
    };
    main.onUninstall = [&] {
        for (QCheckBox* box :
             {main.chkSCutDesktop, main.chkSCutStartMenu, main.chkSCutStartUp, main.chkSCutSendTo})
            box->setEnabled(false);
        const setup::UninstallChoices choices{main.txtFolder->text(), script.unSetupCheckBox == u"DeleteAll",
                                              main.chkSCutDesktop->isChecked(),
                                              main.chkSCutStartMenu->isChecked()};
        setup::runUninstall(*session, choices, ui, registry);
    };
    backdrop.showMaximized();
    const int result = app.exec();
    if (session) {
        session->removeWorkFolder();
        if (session->rebootRequested)
            offerRestart();
    }
    return result;
}
