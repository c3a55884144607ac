#include "setup/ui/Main.h"
#include "setup/ui/ShownText.h"

#include "platform/Prompt.h"
#include "platform/Sjis.h"
#include "setup/ui/FitLabel.h"
#include "setup/ui/FolderDialog.h"
#include "setup/ui/SetupFonts.h"

#include <QCheckBox>
#include <QCloseEvent>
#include <QFile>
#include <QGroupBox>
#include <QGuiApplication>
#include <QLabel>
#include <QLineEdit>
#include <QPlainTextEdit>
#include <QPushButton>
#include <QScreen>

namespace {

template <class W>
W* control(QWidget* parent, const char* name, const QRect& place)
{
    auto* widget = new W(parent);
    widget->setObjectName(QLatin1String(name));
    widget->setGeometry(place);
    return widget;
}

QGroupBox* group(QWidget* parent, const char* name, const QString& title, const QRect& place)
{
    auto* box = control<QGroupBox>(parent, name, place);
    box->setTitle(title);
    return box;
}

QCheckBox* check(QWidget* parent, const char* name, const QString& caption, const QRect& place)
{
    auto* box = control<QCheckBox>(parent, name, place);
    box->setText(caption);
    return box;
}

void applyScrollBars(QPlainTextEdit* memo, const QString& scrollBars)
{
    const bool horizontal =
        scrollBars == QLatin1String("ssHorizontal") || scrollBars == QLatin1String("ssBoth");
    const bool vertical = scrollBars != QLatin1String("ssHorizontal");
    memo->setLineWrapMode(horizontal ? QPlainTextEdit::NoWrap : QPlainTextEdit::WidgetWidth);
    memo->setHorizontalScrollBarPolicy(horizontal ? Qt::ScrollBarAlwaysOn : Qt::ScrollBarAlwaysOff);
    memo->setVerticalScrollBarPolicy(vertical ? Qt::ScrollBarAlwaysOn : Qt::ScrollBarAlwaysOff);
}

}  // namespace

TfrmMain::TfrmMain(QWidget* parent)
    : QDialog(parent, Qt::Dialog | Qt::CustomizeWindowHint | Qt::WindowTitleHint | Qt::WindowSystemMenuHint)
{
    setObjectName(QStringLiteral("frmMain"));
    setFont(setupui::formFont(setupui::kPGothic, 12));
    setFixedSize(489, 313);
    setModal(true);
    buildMainPage();
    buildOptions();

    fraReadme = group(this, "fraReadme", {}, {8, 8, 473, 265});
    fraReadme->hide();
    txtReadme = control<QPlainTextEdit>(fraReadme, "txtReadme", {8, 16, 457, 241});
    txtReadme->setReadOnly(true);
    txtReadme->setFont(setupui::formFont(setupui::kGothic, 12));
    applyScrollBars(txtReadme, QStringLiteral("ssVertical"));

    btnEvent = control<QPushButton>(this, "btnEvent", {64, 280, 161, 25});
    btnEvent->setEnabled(false);
    btnEnd = control<QPushButton>(this, "btnEnd", {264, 280, 161, 25});
    btnEnd->setText(QStringLiteral("セットアップ終了(&E)"));
    btnEnd->setEnabled(false);
    for (QPushButton* button : {btnEvent, btnEnd})
        button->setAutoDefault(false);
    lblFormShare = control<QLabel>(this, "lblFormShare", {8, 296, 60, 12});
    lblFormShare->setText(QStringLiteral("Can't Delete"));
    lblFormShare->hide();

    dlgFolder = new TFolderDialog(this);
    dlgFolder->setObjectName(QStringLiteral("dlgFolder"));
    dlgFolder->Title = QStringLiteral("セットアップフォルダを選択してください．");

    connect(btnEvent, &QPushButton::clicked, this, &TfrmMain::btnEventClick);
    connect(btnEnd, &QPushButton::clicked, this, &TfrmMain::close);
    connect(btnRefer, &QPushButton::clicked, this, &TfrmMain::btnReferClick);
}

void TfrmMain::buildMainPage()
{
    grpMessage = group(this, "grpMessage", QStringLiteral("メッセージ"), {8, 8, 473, 113});
    // Below the group's title, which this style draws taller than the form font.
    lblMessage = control<QLabel>(grpMessage, "lblMessage", {8, 20, 457, 85});
    lblMessage->setWordWrap(true);
    lblMessage->setAlignment(Qt::AlignLeft | Qt::AlignTop);

    grpSetupFolder = group(this, "grpSetupFolder", QStringLiteral("セットアップフォルダ"), {8, 128, 473, 49});
    txtFolder = control<QLineEdit>(grpSetupFolder, "txtFolder", {8, 16, 401, 24});
    txtFolder->setFont(setupui::formFont(setupui::kPGothic, 16));
    txtFolder->setMaxLength(TFolderDialog::kMaxPath);
    txtFolder->setEnabled(false);
    btnRefer = control<QPushButton>(grpSetupFolder, "btnRefer", {416, 16, 49, 25});
    btnRefer->setText(QStringLiteral("参照(&R)"));
    btnRefer->setEnabled(false);
    btnRefer->setAutoDefault(false);
    for (QWidget* page : {static_cast<QWidget*>(grpMessage), static_cast<QWidget*>(grpSetupFolder)})
        page->hide();
}

void TfrmMain::buildOptions()
{
    grpOption = group(this, "grpOption", QStringLiteral("セットアップオプション"), {8, 184, 473, 89});
    grpOption->hide();
    chkOverWrite = check(
        grpOption, "chkOverWrite",
        QStringLiteral("自動的に上書きする（同名ファイルが存在した場合は，最新ファイルをコピーします）．"),
        {8, 16, 457, 17});
    chkOverWrite->setChecked(true);
    chkOverWrite->setEnabled(false);
    fraShortCut = group(grpOption, "fraShortCut", QStringLiteral("ショートカットの作成"), {8, 40, 457, 41});
    lblUnSetupInfo = control<QLabel>(fraShortCut, "lblUnSetupInfo", {8, 8, 441, 25});
    lblUnSetupInfo->setWordWrap(true);
    lblUnSetupInfo->hide();
    chkSCutDesktop = check(fraShortCut, "chkSCutDesktop", QStringLiteral("デスクトップ"), {8, 16, 105, 17});
    chkSCutStartMenu =
        check(fraShortCut, "chkSCutStartMenu", QStringLiteral("スタートメニュー"), {120, 16, 105, 17});
    chkSCutStartUp =
        check(fraShortCut, "chkSCutStartUp", QStringLiteral("スタートアップ"), {232, 16, 105, 17});
    chkSCutSendTo = check(fraShortCut, "chkSCutSendTo", QStringLiteral("送る"), {344, 16, 105, 17});
    for (QCheckBox* box : {chkSCutDesktop, chkSCutStartMenu, chkSCutStartUp, chkSCutSendTo})
        box->setEnabled(false);
}

void TfrmMain::showEvent(QShowEvent* event)
{
    if (const QScreen* screen = QGuiApplication::primaryScreen())
        move(screen->geometry().center() - rect().center());
    QDialog::showEvent(event);
}

void TfrmMain::showMainPage()
{
    fraReadme->hide();
    for (QWidget* page : {static_cast<QWidget*>(grpMessage), static_cast<QWidget*>(grpSetupFolder),
                          static_cast<QWidget*>(grpOption)})
        page->show();
}

void TfrmMain::showTextPage(const QString& caption, const QString& text, const QString& scrollBars)
{
    for (QWidget* page : {static_cast<QWidget*>(grpMessage), static_cast<QWidget*>(grpSetupFolder),
                          static_cast<QWidget*>(grpOption)})
        page->hide();
    fraReadme->setTitle(caption);
    applyScrollBars(txtReadme, scrollBars);
    txtReadme->setPlainText(shownText(text));
    fraReadme->show();
}

void TfrmMain::setupPages(const MainWindowScript& script)
{
    if (!btnEvent->text().isEmpty())
        return;
    m_setupString = script.setupString;
    m_unSetupString = script.unSetupString;
    setWindowTitle(script.title);
    const QString word = script.uninstall ? m_unSetupString : m_setupString;
    grpSetupFolder->setTitle(word + QStringLiteral("フォルダ"));
    grpOption->setTitle(word + QStringLiteral("オプション"));
    btnEnd->setText(word + QStringLiteral("終了(&E)"));
    txtFolder->setText(script.folder);
    if (script.uninstall)
        setupUninstall(script);
    else
        setupInstall(script);
}

void TfrmMain::setupInstall(const MainWindowScript& script)
{
    QString message;
    bool anyLine = false;
    for (const QString& line : script.topMessages)
        anyLine = anyLine || !line.isEmpty();
    if (anyLine) {
        for (const QString& line : script.topMessages)
            message += line + u'\r';
    } else {
        message = m_setupString + QStringLiteral("を行います．\r");
    }
    message += QStringLiteral("\r※　処理を開始する前に，必ずすべてのプログラムを終了させてください．");
    lblMessage->setText(shownText(message));
    // Five lines of [TopMessage] and the closing line need more than the form's room.
    fitLabelHeight(lblMessage, {grpMessage, fraReadme, txtReadme},
                   {grpSetupFolder, grpOption, btnEvent, btnEnd}, this);

    const bool enabled = !script.locked;
    txtFolder->setEnabled(enabled);
    btnRefer->setEnabled(enabled);
    chkOverWrite->setEnabled(enabled);
    const std::pair<QString, QCheckBox*> places[] = {{QStringLiteral("DSK)"), chkSCutDesktop},
                                                     {QStringLiteral("STA)"), chkSCutStartMenu},
                                                     {QStringLiteral("SUP)"), chkSCutStartUp},
                                                     {QStringLiteral("SEN)"), chkSCutSendTo}};
    for (const QString& name : script.shortcutNames) {
        for (const auto& [place, box] : places) {
            if (name.toUpper().contains(place)) {
                box->setChecked(true);
                box->setEnabled(enabled);
            }
        }
    }

    QFile readme(script.readmePath);
    if (!script.readmePath.isEmpty() && readme.open(QIODevice::ReadOnly)) {
        btnEvent->setText(m_setupString + QStringLiteral("続行(&C)"));
        btnEvent->setEnabled(true);
        btnEnd->setEnabled(true);
        showTextPage(script.readmeTitle, platform::fromSjis(readme.readAll()), script.readmeScrollBars);
        btnEvent->setFocus();
    } else {
        btnEvent->setText(m_setupString + QStringLiteral("開始(&S)"));
        btnEvent->setEnabled(true);
        btnEnd->setEnabled(true);
        showMainPage();
    }
}

void TfrmMain::setupUninstall(const MainWindowScript& script)
{
    lblMessage->setText(shownText(m_unSetupString + QStringLiteral("を行います．\r\r開始するには，「") +
                                  m_unSetupString + QStringLiteral("開始(S)」を選択してください．\r")));
    txtFolder->setEnabled(true);
    txtFolder->setReadOnly(true);
    btnEvent->setText(m_unSetupString + QStringLiteral("開始(&S)"));
    btnEvent->setEnabled(true);
    btnEnd->setEnabled(true);
    chkOverWrite->hide();
    fraShortCut->setTitle(QStringLiteral("ファイルの追加削除"));
    fraShortCut->setGeometry(fraShortCut->x(), chkOverWrite->y(), fraShortCut->width(),
                             grpOption->height() - 24);

    QCheckBox* boxes[] = {chkSCutDesktop, chkSCutStartMenu, chkSCutStartUp, chkSCutSendTo};
    if (script.unSetupCheckBox == QLatin1String("DeleteAll")) {
        boxes[0]->setText(m_unSetupString + QStringLiteral("フォルダ以下の全ファイル・フォルダ"));
        boxes[0]->resize(fraShortCut->width() - 16, boxes[0]->height());
        boxes[0]->setChecked(true);
        boxes[0]->setEnabled(true);
        for (int i = 1; i < 4; ++i) {
            boxes[i]->setChecked(false);
            boxes[i]->hide();
        }
    } else {
        boxes[0]->setText(QStringLiteral("*.INIファイル"));
        boxes[1]->setText(QStringLiteral("*.GIDファイル"));
        boxes[2]->setText({});
        boxes[3]->setText({});
        for (int i = 0; i < 4; ++i) {
            const qsizetype flag = 2 * i;  // flags at characters 1, 3, 5 and 7
            boxes[i]->setEnabled(i < 2);
            boxes[i]->setChecked(flag < script.unSetupCheckBox.size() &&
                                 script.unSetupCheckBox[flag] == u'1');
        }
    }
    lblUnSetupInfo->move(lblUnSetupInfo->x(), boxes[0]->geometry().bottom() + 1 + 2);
    lblUnSetupInfo->setText(
        QStringLiteral("　") + m_unSetupString +
        QStringLiteral(
            "フォルダの中で，コピーされたファイル以外に追加削除するファイルをチェック(選択)してください．"));
    lblUnSetupInfo->show();
    showMainPage();
}

void TfrmMain::showFatal(const QString& text)
{
    lblMessage->setText(shownText(text));
    for (QWidget* w :
         std::initializer_list<QWidget*>{txtFolder, btnRefer, chkOverWrite, chkSCutDesktop, chkSCutStartMenu,
                                         chkSCutStartUp, chkSCutSendTo, btnEvent})
        w->setEnabled(false);
    btnEnd->setText(QStringLiteral("終了(&E)"));
    btnEnd->setEnabled(true);
    showMainPage();
}

void TfrmMain::btnEventClick()
{
    const QString caption = btnEvent->text();
    if (caption == QStringLiteral("続行(&C)")) {
        btnEvent->setEnabled(false);
    } else if (caption == m_setupString + QStringLiteral("続行(&C)")) {
        showMainPage();
        btnEvent->setText(m_setupString + QStringLiteral("開始(&S)"));
    } else if (caption == m_unSetupString + QStringLiteral("開始(&S)")) {
        if (onUninstall)
            onUninstall();
    } else if (caption == m_setupString + QStringLiteral("開始(&S)")) {
        if (onInstall)
            onInstall();
    }
}

void TfrmMain::btnReferClick()
{
    if (dlgFolder->Execute(txtFolder->text()))
        txtFolder->setText(dlgFolder->FolderName() + u'/');
}

// Closing while a run has not finished (the backdrop still disabled) asks first.
bool TfrmMain::closeQuery()
{
    if (!m_backdrop || m_backdrop->isEnabled() || btnEnd->text() == QStringLiteral("終了(&E)"))
        return true;
    const QString text = m_setupString + u'/' + m_unSetupString +
                         QStringLiteral("は終了していません．\r終了してもよろしいですか？");
    if (platform::prompts().message(platform::MessageKind::Question, QStringLiteral("終了確認"), text,
                                    platform::Buttons::YesNo) != platform::Answer::Yes)
        return false;
    m_backdrop->setEnabled(true);
    return true;
}

void TfrmMain::closeEvent(QCloseEvent* event)
{
    if (!closeQuery()) {
        event->ignore();
        return;
    }
    event->accept();
    done(QDialog::Rejected);
}

void TfrmMain::reject() { close(); }
