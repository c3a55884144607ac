#include "tav/core/ui/frmSp.h"

#include <QGuiApplication>
#include <QLabel>
#include <QLinearGradient>
#include <QPainter>
#include <QScreen>
#include <QTimer>
#include <QVBoxLayout>

namespace {

constexpr int kClientWidth = 405;
constexpr int kClientHeight = 225;
constexpr int kShowMilliseconds = 4000;

QLabel* label(const char* name, const QString& text, int pointSize, bool bold, bool italic)
{
    auto* l = new QLabel(text);
    l->setObjectName(QString::fromLatin1(name));
    QFont font = l->font();
    font.setPointSize(pointSize);
    font.setBold(bold);
    font.setItalic(italic);
    l->setFont(font);
    QPalette palette = l->palette();
    palette.setColor(QPalette::WindowText, Qt::white);
    l->setPalette(palette);
    return l;
}

}  // namespace

TfrSp::TfrSp(QWidget* parent)
    : QFrame(parent, Qt::SplashScreen | Qt::FramelessWindowHint | Qt::WindowStaysOnTopHint)
{
    setObjectName(QStringLiteral("frSp"));
    setAttribute(Qt::WA_DeleteOnClose);
    setFrameStyle(QFrame::Panel | QFrame::Raised);
    setLineWidth(2);
    setFixedSize(kClientWidth + 2 * lineWidth(), kClientHeight + 2 * lineWidth());

    m_version = label("lb_ver", {}, 12, true, true);
    auto* layout = new QVBoxLayout(this);
    layout->setContentsMargins(24, 20, 24, 16);
    layout->addWidget(label("lb_name", QStringLiteral("Tav"), 40, true, false));
    layout->addWidget(m_version);
    layout->addStretch(1);
    layout->addWidget(
        label("lb_copy1", QStringLiteral("Copyright (C) Kavano. All rights reserved."), 8, false, false));
    layout->addWidget(
        label("lb_copy2", QStringLiteral("このｿﾌﾄｳｪｱは著作権法により保護されています。"), 8, false, false));

    m_timer = new QTimer(this);
    m_timer->setObjectName(QStringLiteral("sp_tt"));
    m_timer->setInterval(kShowMilliseconds);
    connect(m_timer, &QTimer::timeout, this, &TfrSp::sp_ttTimer);

    if (const QScreen* screen = QGuiApplication::primaryScreen())
        move(screen->availableGeometry().center() - rect().center());
}

void TfrSp::setVersion(const QString& text) { m_version->setText(text); }

void TfrSp::startCloseTimer() { m_timer->start(); }

void TfrSp::sp_ttTimer()
{
    m_timer->stop();
    close();
}

void TfrSp::paintEvent(QPaintEvent* event)
{
    // The picture under the texts: a deep blue evening sky over a strip of prints.
    QPainter painter(this);
    const QRect area = contentsRect();
    QLinearGradient sky(area.topLeft(), area.bottomLeft());
    sky.setColorAt(0.0, QColor(20, 40, 110));
    sky.setColorAt(1.0, QColor(90, 140, 200));
    painter.fillRect(area, sky);
    painter.setPen(QPen(QColor(255, 255, 255, 160), 2));
    for (int i = 0; i < 4; ++i) {
        const QRect print(area.right() - 200 + i * 46, area.top() + 60 + (i % 2) * 12, 40, 30);
        painter.fillRect(print, QColor(255, 255, 255, 60));
        painter.drawRect(print);
    }
    painter.end();
    QFrame::paintEvent(event);
}
