// The print preview window and its menu.
#include "tav/printing/ui/frmPrnPV.h"

#include "tav/core/RunState.h"
#include "tav/imaging/Bitmaps.h"
#include "tav/printing/PreviewZoom.h"

#include <QClipboard>
#include <QGuiApplication>
#include <QLabel>
#include <QMenuBar>
#include <QPixmap>
#include <QScreen>
#include <QScrollArea>
#include <QVBoxLayout>

namespace {

void menuItem(QMenu* menu, const char* name, const char* caption, TfrPrnPV* window,
              void (TfrPrnPV::*handler)())
{
    QAction* action = menu->addAction(QString::fromUtf8(caption), window, handler);
    action->setObjectName(QString::fromLatin1(name));
}

}  // namespace

TfrPrnPV::TfrPrnPV(QWidget* parent, const QImage& page, double zoom)
    : QDialog(parent), m_page(page), m_zoom(UsablePreviewZoom(zoom)), m_pic(new QLabel),
      m_scroll(new QScrollArea)
{
    setObjectName(QStringLiteral("frPrnPV"));
    setWindowTitle(QStringLiteral("印刷ﾌﾟﾚﾋﾞｭｰ"));
    setModal(true);

    // Items on the bar itself act when chosen, as the top-level items of the
    // window's menu do.
    auto* menuBar = new QMenuBar(this);
    QAction* next = menuBar->addAction(QStringLiteral("次ﾍﾟｰｼﾞへ(&N)"), this, &TfrPrnPV::mnuNeClick);
    next->setObjectName(QStringLiteral("mnuNe"));
    QMenu* view = menuBar->addMenu(QStringLiteral("表示(&V)"));
    menuItem(view, "mnuSyukuSyou", "縮小(&S)", this, &TfrPrnPV::mnuSyukuSyouClick);
    menuItem(view, "mnuKakuDai", "拡大(&K)", this, &TfrPrnPV::mnuKakuDaiClick);
    menuItem(view, "mnuDspNomal", "標準(&N)", this, &TfrPrnPV::mnuDspNomalClick);
    menuItem(view, "mnuZentai", "ﾍﾟｰｼﾞ全体(&W)", this, &TfrPrnPV::mnuZentaiClick);
    QMenu* edit = menuBar->addMenu(QStringLiteral("編集(&E)"));
    menuItem(edit, "mnuCopy", "ｺﾋﾟｰ(&C)", this, &TfrPrnPV::mnuCopyClick);
    QAction* stop = menuBar->addAction(QStringLiteral("ﾌﾟﾚﾋﾞｭｰ中止(&X)"), this, &TfrPrnPV::mnuPV_endClick);
    stop->setObjectName(QStringLiteral("mnuPV_end"));

    // The page as the screen can show it (reduced to 256 colours only on a
    // palette screen); the clipboard gets the page itself.
    QImage shown = m_page;
    ReduceBitmapForDisplay(true, shown);
    m_pic->setObjectName(QStringLiteral("pic"));
    m_pic->setPixmap(QPixmap::fromImage(shown));
    m_pic->setScaledContents(true);

    m_scroll->setFrameShape(QFrame::NoFrame);
    m_scroll->setAlignment(Qt::AlignCenter);
    m_scroll->setWidget(m_pic);

    auto* layout = new QVBoxLayout(this);
    layout->setContentsMargins(0, 0, 0, 0);
    layout->setMenuBar(menuBar);
    layout->addWidget(m_scroll);
    applyZoom();
}

void TfrPrnPV::showEvent(QShowEvent* event)
{
    QDialog::showEvent(event);
    applyZoom();
}

void TfrPrnPV::mnuNeClick() { accept(); }

void TfrPrnPV::mnuSyukuSyouClick() { setZoom(ReducedPreviewZoom(m_zoom)); }

void TfrPrnPV::mnuKakuDaiClick() { setZoom(EnlargedPreviewZoom(m_zoom)); }

void TfrPrnPV::mnuDspNomalClick() { setZoom(1.0); }

void TfrPrnPV::mnuZentaiClick() { setZoom(FitPreviewZoom(pageSize(), room().size() - chrome())); }

void TfrPrnPV::mnuCopyClick()
{
    // The page at its size in screen pixels, however finely it was drawn.
    QImage copy = m_page.devicePixelRatio() == 1.0
                      ? m_page
                      : m_page.scaled(pageSize(), Qt::IgnoreAspectRatio, Qt::SmoothTransformation);
    copy.setDevicePixelRatio(1.0);
    if (QClipboard* clipboard = QGuiApplication::clipboard())
        clipboard->setImage(copy);
}

void TfrPrnPV::mnuPV_endClick()
{
    m_stop = true;
    accept();
}

void TfrPrnPV::setZoom(double zoom)
{
    m_zoom = zoom;
    applyZoom();
}

QSize TfrPrnPV::pageSize() const { return m_page.deviceIndependentSize().toSize(); }

QRect TfrPrnPV::room() const
{
    const QScreen* screen = parentWidget() && parentWidget()->screen() ? parentWidget()->screen()
                                                                       : QGuiApplication::primaryScreen();
    return screen ? screen->availableGeometry() : QRect(0, 0, 1024, 768);
}

QSize TfrPrnPV::chrome() const
{
    // The frame the window manager adds lies outside the room asked for.
    const QSize frame = frameGeometry().size() - geometry().size();
    const int menuHeight = layout() && layout()->menuBar() ? layout()->menuBar()->sizeHint().height() : 0;
    return frame + QSize(0, menuHeight);
}

void TfrPrnPV::applyZoom()
{
    const QSize zoomed = ZoomedPageSize(pageSize(), m_zoom);
    m_pic->setFixedSize(zoomed);
    setWindowTitle(PreviewCaption(m_zoom));

    const QRect screen = room();
    const QSize frame = frameGeometry().size() - geometry().size();
    const QSize wanted = (zoomed + chrome() - frame).boundedTo(screen.size() - frame);
    resize(wanted);
    move(screen.center() - QPoint(wanted.width() + frame.width(), wanted.height() + frame.height()) / 2);
}

bool TfrPrnPV::showPage(QWidget* owner, const QImage& page, double& zoom)
{
    if (page.isNull())
        return true;
    TfrPrnPV window(owner, page, zoom);
    window.exec();
    zoom = window.zoom();
    if (window.stopRequested())
        AbortRequested = true;
    return !window.stopRequested();
}
