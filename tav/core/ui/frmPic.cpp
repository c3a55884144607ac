#include "frmPic.h"

#include <QClipboard>
#include <QEvent>
#include <QGuiApplication>
#include <QLabel>
#include <QMenuBar>
#include <QScrollArea>
#include <QVBoxLayout>

TfrPic::TfrPic(QWidget* parent) : QDialog(parent)
{
    setObjectName(QStringLiteral("frPic"));
    auto* menu = new QMenuBar;
    QAction* closeItem = menu->addAction(QStringLiteral("閉じる(&C)"));
    closeItem->setObjectName(QStringLiteral("mnuClose"));
    QMenu* edit = menu->addMenu(QStringLiteral("編集(&E)"));
    edit->setObjectName(QStringLiteral("mnuEdit"));
    QAction* copy = edit->addAction(QStringLiteral("ｺﾋﾟｰ(&C)"));
    copy->setObjectName(QStringLiteral("mnuCopy"));
    connect(closeItem, &QAction::triggered, this, &QDialog::close);
    connect(copy, &QAction::triggered, this, &TfrPic::mnuCopyClick);

    m_pic = new QLabel;
    m_pic->setObjectName(QStringLiteral("pic"));
    // Pictures larger than the window scroll.
    auto* scroll = new QScrollArea;
    scroll->setFrameShape(QFrame::NoFrame);
    scroll->setWidget(m_pic);
    scroll->setAlignment(Qt::AlignCenter);
    auto* layout = new QVBoxLayout(this);
    layout->setContentsMargins(0, 0, 0, 0);
    layout->setMenuBar(menu);
    layout->addWidget(scroll);
}

void TfrPic::setPicture(const QPixmap& picture)
{
    m_pic->setPixmap(picture);
    m_pic->resize(picture.size());
}

void TfrPic::changeEvent(QEvent* event)
{
    if (event->type() == QEvent::ActivationChange && isActiveWindow())
        m_pic->update();
    QDialog::changeEvent(event);
}

void TfrPic::mnuCopyClick()
{
    if (QClipboard* clipboard = QGuiApplication::clipboard())
        clipboard->setPixmap(m_pic->pixmap());
}
