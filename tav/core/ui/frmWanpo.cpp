#include "tav/core/ui/frmWanpo.h"

#include <QCheckBox>
#include <QCloseEvent>
#include <QGuiApplication>
#include <QHBoxLayout>
#include <QLabel>
#include <QPlainTextEdit>
#include <QPushButton>
#include <QRandomGenerator>
#include <QScreen>
#include <QStyle>
#include <QVBoxLayout>

namespace {

constexpr int kWidth = 420;
constexpr int kHeight = 190;

QPushButton* pushButton(const char* name, const QString& caption)
{
    auto* button = new QPushButton(caption);
    button->setObjectName(QString::fromLatin1(name));
    return button;
}

}  // namespace

TfrWanpo::TfrWanpo(AppSettings& settings, const QString& hintPath, QWidget* parent)
    : QWidget(parent), m_settings(settings), m_tips(readHintFile(hintPath))
{
    setObjectName(QStringLiteral("frWanpo"));
    setWindowTitle(QStringLiteral("ﾜﾝﾎﾟｲﾝﾄ"));
    setWindowFlags(Qt::Dialog | Qt::CustomizeWindowHint | Qt::WindowTitleHint | Qt::WindowCloseButtonHint |
                   Qt::WindowStaysOnTopHint);
    setAttribute(Qt::WA_DeleteOnClose);

    auto* picture = new QLabel;
    picture->setObjectName(QStringLiteral("Image1"));
    picture->setPixmap(style()->standardIcon(QStyle::SP_MessageBoxInformation).pixmap(48, 48));
    picture->setAlignment(Qt::AlignTop | Qt::AlignHCenter);

    m_tip = new QPlainTextEdit;
    m_tip->setObjectName(QStringLiteral("tx"));
    m_tip->setReadOnly(true);
    m_tip->setFrameShape(QFrame::NoFrame);
    QPalette white = m_tip->palette();
    white.setColor(QPalette::Base, Qt::white);
    m_tip->setPalette(white);

    m_showAtStart = new QCheckBox(QStringLiteral("起動時にﾜﾝﾎﾟｲﾝﾄを表示 (&S)"));
    m_showAtStart->setObjectName(QStringLiteral("cb_showKidouzi"));
    m_showAtStart->setChecked(m_settings.showHintsAtStart);
    QPushButton* next = pushButton("btNe", QStringLiteral("次を表示 (&N)"));
    QPushButton* closeButton = pushButton("btClose", QStringLiteral("閉じる (&C)"));

    auto* top = new QHBoxLayout;
    top->addWidget(picture);
    top->addWidget(m_tip, 1);
    auto* bottom = new QHBoxLayout;
    bottom->addWidget(m_showAtStart);
    bottom->addStretch(1);
    bottom->addWidget(next);
    bottom->addWidget(closeButton);
    auto* layout = new QVBoxLayout(this);
    layout->addLayout(top, 1);
    layout->addLayout(bottom);
    resize(kWidth, kHeight);

    if (m_tips.count() > 0)
        m_tips.showTip(int(QRandomGenerator::global()->bounded(m_tips.count())));
    m_tip->setPlainText(m_tips.current());

    connect(next, &QPushButton::clicked, this, &TfrWanpo::btNeClick);
    connect(closeButton, &QPushButton::clicked, this, &QWidget::close);
}

TfrWanpo* TfrWanpo::open(QPointer<TfrWanpo>& window, QWidget* owner, AppSettings& settings,
                         const QString& hintPath)
{
    if (!window) {
        window = new TfrWanpo(settings, hintPath, owner);
        const QScreen* screen = owner && owner->screen() ? owner->screen() : QGuiApplication::primaryScreen();
        if (screen)
            window->move(screen->availableGeometry().center() - window->rect().center());
    }
    window->show();
    window->raise();
    window->activateWindow();
    window->repaint();
    return window;
}

void TfrWanpo::btNeClick()
{
    if (m_tips.count() == 0)
        return;
    m_tips.next();
    m_tip->setPlainText(m_tips.current());
}

void TfrWanpo::closeEvent(QCloseEvent* event)
{
    m_settings.showHintsAtStart = m_showAtStart->isChecked();
    QWidget::closeEvent(event);
}
