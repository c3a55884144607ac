// TfrmMain: the installer's main window: the welcome text, the read-me page,
// the install folder, the options and the start and end buttons.
#pragma once

#include <QDialog>
#include <QStringList>
#include <functional>

class QCheckBox;
class QGroupBox;
class QLabel;
class QLineEdit;
class QPlainTextEdit;
class QPushButton;
class TFolderDialog;

// What the main window shows of the script, read before its first activation.
struct MainWindowScript {
    bool uninstall = false;
    QString setupString = QStringLiteral("インストール");
    QString unSetupString = QStringLiteral("アンインストール");
    QString title;  // install or uninstall title: the window caption
    QStringList topMessages;  // [TopMessage] Message1..Message5
    bool locked = false;  // [Extend] Enabled = "False"
    QStringList shortcutNames;  // [ShortCut] Name<n> up to the first empty one
    QString readmePath;  // [Readme] File made absolute; empty when none
    QString readmeTitle;
    QString readmeScrollBars = QStringLiteral("ssVertical");
    QString unSetupCheckBox = QStringLiteral("0,0,0,0");  // uninstall record's option flags
    QString folder;  // the install folder shown first
};

class TfrmMain : public QDialog {
    Q_OBJECT
public:
    explicit TfrmMain(QWidget* parent = nullptr);

    // The first-activation set-up; runs once (while the start button has no caption).
    void setupPages(const MainWindowScript& script);
    // A fault found at start: `text` on the main page, only the end button enabled.
    void showFatal(const QString& text);

    void showMainPage();
    void showTextPage(const QString& caption, const QString& text, const QString& scrollBars);

    // The backdrop, enabled by a finished run; its state decides the close question.
    void setBackdrop(QWidget* backdrop) { m_backdrop = backdrop; }

    std::function<void()> onInstall;
    std::function<void()> onUninstall;

    QGroupBox* grpMessage;
    QLabel* lblMessage;
    QGroupBox* grpSetupFolder;
    QLineEdit* txtFolder;
    QPushButton* btnRefer;
    QGroupBox* grpOption;
    QCheckBox* chkOverWrite;
    QGroupBox* fraShortCut;
    QLabel* lblUnSetupInfo;
    QCheckBox* chkSCutDesktop;
    QCheckBox* chkSCutStartMenu;
    QCheckBox* chkSCutStartUp;
    QCheckBox* chkSCutSendTo;
    QGroupBox* fraReadme;
    QPlainTextEdit* txtReadme;
    QPushButton* btnEvent;
    QPushButton* btnEnd;
    QLabel* lblFormShare;
    TFolderDialog* dlgFolder;

protected:
    void showEvent(QShowEvent* event) override;
    void closeEvent(QCloseEvent* event) override;
    void reject() override;

private:
    void buildMainPage();
    void buildOptions();
    void setupInstall(const MainWindowScript& script);
    void setupUninstall(const MainWindowScript& script);
    void btnEventClick();
    void btnReferClick();
    bool closeQuery();

    QWidget* m_backdrop = nullptr;
    QString m_setupString;
    QString m_unSetupString;
};
