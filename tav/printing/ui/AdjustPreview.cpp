#include "tav/printing/ui/AdjustPreview.h"

#include "imgkit/ImgKit.h"
#include "imgkit/ImgKitGui.h"
#include "platform/Prompt.h"
#include "tav/imaging/Bitmaps.h"
#include "tav/imaging/ImageLoad.h"
#include "tav/imaging/ImageResize.h"
#include "tav/printing/AdjustImage.h"

#include <QApplication>
#include <QCheckBox>
#include <QFileInfo>
#include <QLabel>
#include <QLineEdit>
#include <QPixmap>

using imgkit::DibHandle;

namespace {

constexpr int kTrueColor = 5;

template <class T>
T* control(QWidget* page, const char* name)
{
    return page->findChild<T*>(QString::fromLatin1(name));
}

void showPicture(QLabel* target, const DibHandle& picture, QSize size)
{
    QImage bitmap(size, kBitmapFormat);
    bitmap.fill(Qt::white);
    ImgKitDisplayHdc(&bitmap, picture, size.width(), size.height(), 0);
    target->setPixmap(QPixmap::fromImage(bitmap));
    target->repaint();
}

// The picture reduced (or enlarged) to fit `box`, keeping its proportions.
DibHandle fitted(const DibHandle& image, QSize box, bool highQuality)
{
    const QSize size = ScaledToFit(image.width(), image.height(), box.width(), box.height());
    const int w = size.width();
    const int h = size.height();
    // Already the right size: the high-quality filter would refuse to
    // resample to the same size, so the picture is kept as it is.
    if (w == image.width() && h == image.height())
        return ImgKitCopy(image, {}, {});
    if (DibHandle resized = ResizeImage(image, {}, {}, w, h, highQuality))
        return resized;
    // The high-quality filter also refuses a size where only one side moves
    // (219 x 164 to 220 x 164); a preview then takes the plain filter.
    return highQuality ? ResizeImage(image, {}, {}, w, h, false) : DibHandle();
}

}  // namespace

AdjustPreview::AdjustPreview(QWidget* page, AdjustPreviewHost host, QObject* parent)
    : QObject(parent), m_host(std::move(host)), m_pic2(control<QLabel>(page, "pic2")),
      m_gurei(control<QCheckBox>(page, "ch_gurei")), m_akarusa(control<QLineEdit>(page, "tx_akarusa")),
      m_r(control<QLineEdit>(page, "tx_r")), m_g(control<QLineEdit>(page, "tx_g")),
      m_b(control<QLineEdit>(page, "tx_b"))
{
    for (const char* name : {"ud_akarusa", "ud_r", "ud_g", "ud_b"})
        m_boxes.append(control<QWidget>(page, name));
    m_boxes << m_akarusa << m_r << m_g << m_b;
}

void AdjustPreview::connectTabControls()
{
    connect(m_gurei, &QCheckBox::toggled, this, &AdjustPreview::ch_gureiClick);
    connect(m_akarusa, &QLineEdit::textChanged, this, &AdjustPreview::tx_akarusaChange);
    for (QLineEdit* edit : {m_r, m_g, m_b})
        connect(edit, &QLineEdit::textChanged, this, &AdjustPreview::tx_rChange);
}

void AdjustPreview::btGazoCyoPVClick()
{
    if (m_host.activePage() == PreviewPage::Adjust)
        LoadAdjustPreview(m_pic2);
    else
        releasePicture();
}

void AdjustPreview::LoadAdjustPreview(QLabel* target, bool titlePreviewOn)
{
    const PreviewPage page = m_host.activePage();
    if (page == PreviewPage::Other) {
        releasePicture();
        return;
    }
    if (page == PreviewPage::Titles && !titlePreviewOn) {
        target->hide();
        return;
    }
    if (!loadPicture(target, page == PreviewPage::Adjust))
        return;
    showPicture(target, m_picture, QSize(m_picture.width(), m_picture.height()));
    target->show();

    if (m_gurei->isChecked())
        ch_gureiClick();
    else
        applyViews();
}

bool AdjustPreview::loadPicture(QLabel* target, bool onAdjustTab)
{
    const QString path = m_host.firstSelectedPath();
    if (path.isEmpty()) {
        if (onAdjustTab)
            platform::showInformation(
                QStringLiteral("ﾌｧｲﾙが選択されていないため、画像調整ﾌﾟﾚﾋﾞｭｰできません。"));
        target->hide();
        return false;
    }
    m_host.setStatus(QStringLiteral("画像を読み込んでいます..."));
    QApplication::setOverrideCursor(Qt::WaitCursor);
    const DibHandle image =
        LoadImageFile(path, QStringLiteral("案内"), QFileInfo(path).fileName() + QStringLiteral("を読込み中"),
                      m_host.settings->gvPath);
    QApplication::restoreOverrideCursor();
    m_host.setStatus(QString());
    if (!image) {
        // The previous picture belongs to another file: it must not stay on show.
        releasePicture();
        target->hide();
        platform::showInformation(path + QStringLiteral("は読めませんでした。"));
        return false;
    }
    m_picture = fitted(image, target->contentsRect().size(), m_host.settings->highQualityScaling);
    if (!m_picture) {
        target->hide();
        return false;
    }
    ImageInfo info;
    if (ScreenHasPalette() && ImgKitImageInfo(m_picture, &info) != 0 && info.colorCode <= kTrueColor)
        ImgKitBit24To8(m_picture, {}, {});
    return true;
}

void AdjustPreview::drawIntoPreview(const DibHandle& picture)
{
    showPicture(m_pic2, picture, QSize(m_picture.width(), m_picture.height()));
}

void AdjustPreview::setBoxesEnabled(bool on)
{
    for (QWidget* box : m_boxes)
        box->setEnabled(on);
}

void AdjustPreview::ch_gureiClick()
{
    if (!m_picture)
        return;
    if (m_gurei->isChecked()) {
        setBoxesEnabled(false);
        const DibHandle copy = ImgKitCopy(m_picture, {}, {});
        drawIntoPreview(ImgKitSetGray(copy, {}, {}));
        return;
    }
    setBoxesEnabled(true);
    drawIntoPreview(m_picture);
    applyViews();
}

void AdjustPreview::applyViews()
{
    if (!IsUnchangedText(m_akarusa->text()))
        tx_akarusaChange();
    if (!IsUnchangedText(m_r->text()) || !IsUnchangedText(m_g->text()) || !IsUnchangedText(m_b->text()))
        tx_rChange();
}

void AdjustPreview::tx_akarusaChange()
{
    if (m_gurei->isChecked()) {
        platform::showInformation(
            QStringLiteral("「ｸﾞﾚｲｽｹｰﾙ印刷」がﾁｴｯｸされていると明るさを変更できません。"));
        return;
    }
    if (!AdjustNumber(m_akarusa->text()) || !m_picture)
        return;
    DibHandle copy = ImgKitCopy(m_picture, {}, {});
    if (ApplyBrightness(copy, m_akarusa->text()))
        drawIntoPreview(copy);
}

void AdjustPreview::tx_rChange()
{
    if (m_gurei->isChecked()) {
        platform::showInformation(
            QStringLiteral("「ｸﾞﾚｲｽｹｰﾙが印刷」がﾁｪｯｸされているとRGBを変更できません。"));
        return;
    }
    if (!AdjustNumber(m_r->text()) || !AdjustNumber(m_g->text()) || !AdjustNumber(m_b->text()) || !m_picture)
        return;
    DibHandle copy = ImgKitCopy(m_picture, {}, {});
    if (ApplyColor(copy, m_r->text(), m_g->text(), m_b->text()))
        drawIntoPreview(copy);
}
