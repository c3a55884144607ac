#include "tav/core/ui/frmPic.h"

#include <QClipboard>
#include <QEvent>
#include <QGuiApplication>
#include <QLabel>
#include <QMenuBar>
#include <QScrollArea>
#include <QVBoxLayout>
#include <algorithm>
#include <array>

namespace {

// The zoom steps, as fractions of the picture's own size.
constexpr std::array kZoomSteps = {0.05, 0.1, 0.125, 0.25, 1.0 / 3, 0.5, 2.0 / 3, 0.75,
                                   1.0,  1.5, 2.0,   3.0,  4.0,     6.0, 8.0};

QAction* addItem(QMenu* menu, const char* name, const QString& caption, const QKeySequence& key)
{
    QAction* action = menu->addAction(caption);
    action->setObjectName(QString::fromLatin1(name));
    action->setShortcut(key);
    return action;
}

}  // namespace

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

    QMenu* view = menu->addMenu(QStringLiteral("表示(&V)"));
    view->setObjectName(QStringLiteral("mnuView"));
    connect(
        addItem(view, "mnuFit", QStringLiteral("ｳｨﾝﾄﾞｳに合わせる(&F)"), QKeySequence(Qt::CTRL | Qt::Key_0)),
        &QAction::triggered, this, &TfrPic::fitToWindow);
    connect(addItem(view, "mnuZoomIn", QStringLiteral("拡大(&I)"), QKeySequence::ZoomIn), &QAction::triggered,
            this, &TfrPic::zoomIn);
    connect(addItem(view, "mnuZoomOut", QStringLiteral("縮小(&O)"), QKeySequence::ZoomOut),
            &QAction::triggered, this, &TfrPic::zoomOut);
    connect(addItem(view, "mnuActual", QStringLiteral("100%(&A)"), QKeySequence(Qt::CTRL | Qt::Key_1)),
            &QAction::triggered, this, &TfrPic::actualSize);
    // The shortcuts work while the menu is closed.
    addActions(view->actions());

    m_pic = new QLabel;
    m_pic->setObjectName(QStringLiteral("pic"));
    m_pic->setScaledContents(true);
    m_scroll = new QScrollArea;
    m_scroll->setFrameShape(QFrame::NoFrame);
    m_scroll->setWidget(m_pic);
    m_scroll->setAlignment(Qt::AlignCenter);
    auto* layout = new QVBoxLayout(this);
    layout->setContentsMargins(0, 0, 0, 0);
    layout->setMenuBar(menu);
    layout->addWidget(m_scroll);
}

void TfrPic::setPicture(const QPixmap& picture)
{
    m_picture = picture;
    m_pic->setPixmap(picture);
    fitToWindow();
}

double TfrPic::scale() const { return m_scale; }

// The scale at which the whole picture fits the window; never above its own size.
double TfrPic::fittingScale() const
{
    if (m_picture.isNull())
        return 1.0;
    const QSize room = m_scroll->viewport()->size();
    return std::min(
        {1.0, double(room.width()) / m_picture.width(), double(room.height()) / m_picture.height()});
}

void TfrPic::showAt(double scale)
{
    m_scale = scale;
    const QSize shown(std::max(1, int(m_picture.width() * scale + 0.5)),
                      std::max(1, int(m_picture.height() * scale + 0.5)));
    m_pic->resize(shown);
}

void TfrPic::fitToWindow()
{
    m_fit = true;
    showAt(fittingScale());
}

void TfrPic::zoomIn()
{
    const auto next =
        std::find_if(kZoomSteps.begin(), kZoomSteps.end(), [this](double s) { return s > m_scale + 1e-9; });
    m_fit = false;
    showAt(next != kZoomSteps.end() ? *next : kZoomSteps.back());
}

void TfrPic::zoomOut()
{
    const auto below =
        std::find_if(kZoomSteps.rbegin(), kZoomSteps.rend(), [this](double s) { return s < m_scale - 1e-9; });
    m_fit = false;
    showAt(below != kZoomSteps.rend() ? *below : kZoomSteps.front());
}

void TfrPic::actualSize()
{
    m_fit = false;
    showAt(1.0);
}

void TfrPic::resizeEvent(QResizeEvent* event)
{
    QDialog::resizeEvent(event);
    if (m_fit)
        showAt(fittingScale());
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
        clipboard->setPixmap(m_picture);
}
