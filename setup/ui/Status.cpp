#include "setup/ui/Status.h"
#include "setup/ui/ShownText.h"

#include "platform/Prompt.h"
#include "setup/ui/SetupFonts.h"

#include <QCloseEvent>
#include <QGroupBox>
#include <QLabel>
#include <QProgressBar>
#include <QPushButton>

#include <algorithm>

TfrmStatus::TfrmStatus(QWidget* parent)
    : QDialog(parent, Qt::Dialog | Qt::CustomizeWindowHint | Qt::WindowTitleHint)
{
    setObjectName(QStringLiteral("frmStatus"));
    setWindowTitle(QStringLiteral("進行状況"));
    setFont(setupui::formFont(setupui::kPGothic, 12));
    setFixedSize(497, 153);

    grpMessage = new QGroupBox(QStringLiteral("メッセージ"), this);
    grpMessage->setObjectName(QStringLiteral("grpMessage"));
    grpMessage->setGeometry(8, 8, 481, 97);
    lblMessage = new QLabel(grpMessage);
    lblMessage->setObjectName(QStringLiteral("lblMessage"));
    lblMessage->setGeometry(8, 20, 457, 69);  // below the group's title
    lblMessage->setWordWrap(true);
    lblMessage->setAlignment(Qt::AlignLeft | Qt::AlignTop);

    fraStatus = new QGroupBox(QStringLiteral("進行状況"), grpMessage);
    fraStatus->setObjectName(QStringLiteral("fraStatus"));
    fraStatus->setGeometry(8, 48, 465, 41);
    fraStatus->hide();
    prgStatus = new QProgressBar(fraStatus);
    prgStatus->setObjectName(QStringLiteral("prgStatus"));
    prgStatus->setGeometry(8, 16, 353, 17);
    prgStatus->setRange(0, 100);
    prgStatus->setTextVisible(false);
    lblStatus = new QLabel(QStringLiteral("0%(0/0)"), fraStatus);
    lblStatus->setObjectName(QStringLiteral("lblStatus"));
    lblStatus->setGeometry(368, 16, 88, 17);
    lblStatus->setAlignment(Qt::AlignCenter);
    lblStatus->setFont(setupui::formFont(setupui::kPGothic, 13));

    btnAbort = new QPushButton(QStringLiteral("中断(&A)"), this);
    btnAbort->setObjectName(QStringLiteral("btnAbort"));
    btnAbort->setGeometry(168, 120, 161, 25);
    btnAbort->setEnabled(false);
    btnAbort->setAutoDefault(false);
    connect(btnAbort, &QPushButton::clicked, this, &TfrmStatus::btnAbortClick);
}

void TfrmStatus::setMessage(const QString& text) { lblMessage->setText(shownText(text)); }

void TfrmStatus::setGauge(int percent, const QString& label)
{
    prgStatus->setValue(std::clamp(percent, 0, 100));
    lblStatus->setText(label);
}

void TfrmStatus::showGauge(bool visible) { fraStatus->setVisible(visible); }

void TfrmStatus::btnAbortClick()
{
    const QString text = QStringLiteral(
        "ここでセットアップを中断すると，すでにコピー済みのファイルは削除されません．\r"
        "一度，セットアップを完了してから，アンセットアップ(アンインストール)することをおすすめします．\r\r"
        "本当にセットアップを中断しますか？");
    if (platform::prompts().message(platform::MessageKind::Question, QStringLiteral("中断の確認"), text,
                                    platform::Buttons::YesNo) != platform::Answer::Yes)
        return;
    if (onAbortConfirmed)
        onAbortConfirmed();
}

// The window's Close item is disabled: the user leaves a run only through the
// abort button; the program itself hides the window with hide().
void TfrmStatus::closeEvent(QCloseEvent* event) { event->ignore(); }

void TfrmStatus::reject() {}
