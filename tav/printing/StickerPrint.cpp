#include "tav/printing/StickerPrint.h"

#include "platform/PrintDevice.h"
#include "platform/Prompt.h"
#include "tav/core/AppSettings.h"
#include "tav/core/ControlSurface.h"
#include "tav/core/PrinterMargins.h"
#include "tav/core/RunState.h"
#include "tav/imaging/FrameOverlay.h"
#include "tav/printing/AdjustImage.h"
#include "tav/printing/PageUnits.h"
#include "tav/printing/PrintCommand.h"
#include "tav/printing/PrintSelection.h"
#include "tav/printing/mg_pr.h"

#include <QFileInfo>

#include <cmath>
#include <optional>

using imgkit::DibHandle;

namespace {

constexpr int kSmallestFrameMm = 10;

// The part of the sheet inside the user's margins that the frames fill.
struct StickerArea {
    double widthMm = 0;  // the widest frame allowed
    int width = 0, height = 0;  // in device units of the run's target
    double dotsPerMm = 0;  // of the run's target
};

// The frame width box cut to whole millimetres; nullopt when it is not a number.
std::optional<double> frameWidthEntry(const QString& text)
{
    bool ok = false;
    const double value = text.trimmed().toDouble(&ok);
    if (!ok || std::isnan(value))
        return std::nullopt;
    return std::trunc(value);
}

// The area inside the margins on the printer or, previewing, on the screen;
// nullopt, with its message, when a margin lies in the printer's unprintable
// strip or the printer reports no resolution.
std::optional<StickerArea> stickerArea(const platform::DeviceCaps& caps, const AppSettings& s)
{
    const double d = caps.logPixelsX / kMmPerInch;
    if (!(d > 0)) {
        platform::showInformation(QStringLiteral("印刷出来ませんでした。"));
        return std::nullopt;
    }
    // Each margin beyond what the printer leaves unprinted anyway.
    const PageMargins minimum = PrinterMinimumMargins(caps);
    const int top = s.marginTop - minimum.top;
    const int bottom = s.marginBottom - minimum.bottom;
    const int right = s.marginRight - minimum.right;
    const int left = s.marginLeft - minimum.left;
    if (top < 0 || bottom < 0 || right < 0 || left < 0) {
        platform::showInformation(QStringLiteral("余白が多すぎて、印刷領域が確保出来ません。\n"
                                                 "環境設定で余白ｻｲｽﾞを調整して再度印刷してください。"));
        return std::nullopt;
    }
    StickerArea area;
    area.widthMm = caps.horzRes / d - (right + left);
    if (PreviewMode) {
        area.width = truncToInt(area.widthMm * ScreenDotsPerMm);
        area.height = truncToInt((caps.vertRes / d - (top + bottom)) * ScreenDotsPerMm);
        area.dotsPerMm = ScreenDotsPerMm;
    } else {
        area.width = truncToInt(caps.horzRes - (right + left) * d);
        area.height = truncToInt(caps.vertRes - (top + bottom) * d);
        area.dotsPerMm = d;
    }
    return area;
}

// One sheet of frames per picture, each its own job.
class StickerJob : public BatchJob {
public:
    StickerJob(PrintHost& host, int frameWidthMm, const StickerArea& area)
        : m_host(host), m_frameWidthMm(frameWidthMm), m_area(area)
    {}

    bool process(const QString& path) override
    {
        DibHandle picture;
        int width = 0;
        int height = 0;
        // A picture without size is skipped like one that cannot be loaded:
        // its frames could not be measured.
        if (!LoadForPrint(path, m_adjustment, m_host.settings().gvPath, picture, width, height) ||
            width <= 0 || height <= 0)
            return false;
        if (QFileInfo(m_overlay).isFile()) {
            // A frame file that cannot be used leaves the photo as it is.
            DibHandle framed = OverlayFrame(picture, m_overlay);
            if (framed)
                picture = std::move(framed);
        }

        const QString name = QFileInfo(path).fileName();
        // The frame is exactly the entered width; its height follows the
        // picture's proportions from that width, as the engine stacks frames.
        const int frameWidth = truncToInt(m_frameWidthMm * m_area.dotsPerMm + 0.5);
        const double s = double(frameWidth) / width;
        const int frameHeight = truncToInt(height * s + 0.5);
        // A picture so flat that its frame is no dot high cannot be printed either.
        const double columns = double(m_area.width) / frameWidth;
        const double rows = frameHeight > 0 ? double(m_area.height) / frameHeight : 0;
        if (!(columns >= 1 && rows >= 1)) {
            platform::showInformation(QStringLiteral("「") + name +
                                      QStringLiteral("」は、指定された幅で印刷できません。"));
            return false;
        }

        // The frame size is the engine's cell size, so that frames and
        // cutting marks come from one computation.
        Tmg_PR engine(PrintEnvironmentOf(m_host));
        const QString title = QStringLiteral("Tav(") + name + QStringLiteral(")");
        if (!engine.BeginJob(title, 0, columns, rows, m_cropMarks, frameWidth, frameHeight, true, false,
                             false, false)) {
            m_cannotGoOn = true;
            return false;
        }
        engine.PutCopies(picture, width, height, false, engine.geometry().cellsPerPage);
        picture = {};
        // A sheet the spooler refused ends the run with the failure message.
        m_cannotGoOn = !engine.EndJob();
        return true;
    }

    bool cannotGoOn() const override { return m_cannotGoOn; }

    // Into a file, the sheets of all pictures make one file.
    bool begin() override
    {
        if (!PreviewMode)
            m_host.printDevice().beginRun();
        return true;
    }
    void end(bool stopped) override
    {
        (void)stopped;
        if (!PreviewMode)
            m_delivered = m_host.printDevice().endRun();
    }
    bool delivered() const override { return m_delivered; }
    bool showsCompletion() const override { return !PreviewMode; }

private:
    PrintHost& m_host;
    int m_frameWidthMm;
    StickerArea m_area;
    bool m_cropMarks = m_host.controls().checked(QStringLiteral("ch_tonbo"));
    QString m_overlay = m_host.controls().text(QStringLiteral("tx_kasane"));
    PrintAdjustment m_adjustment = ReadPrintAdjustment(m_host.controls());
    bool m_cannotGoOn = false;
    bool m_delivered = true;
};

}  // namespace

void PrintStickers(PrintHost& host, bool preview)
{
    ControlSurface& c = host.controls();
    PreviewMode = false;
    AbortRequested = false;
    if (!ChooseTarget(host, preview))
        return;

    const std::optional<double> frameWidthMm = frameWidthEntry(c.text(QStringLiteral("tx_komaHabaMM")));
    if (!frameWidthMm) {
        platform::showInformation(QStringLiteral("1コマの幅に文字が含まれています。整数に変換できません。"));
        return;
    }
    const std::optional<StickerArea> area = stickerArea(host.printDevice().caps(), host.settings());
    if (!area)
        return;
    // Also refuses an absurd width before it is taken as a whole number.
    if (*frameWidthMm < kSmallestFrameMm || *frameWidthMm > area->widthMm) {
        platform::showInformation(QStringLiteral("1コマの幅が不正です。(10～") +
                                  QString::asprintf("%4.1f", area->widthMm) +
                                  QStringLiteral("mmの範囲で指定してください。)"));
        return;
    }

    // A picture whose job could not start ends the run with the failure
    // message: saying it was completed would report the failure as success.
    const BatchTexts texts = PrintRunTexts(QStringLiteral("を印刷中です。(ESCｷｰで中断できます)"));
    StickerJob job(host, static_cast<int>(*frameWidthMm), *area);
    runBatch(host, host.selectedPaths(), texts, job);
    host.file_list3Click();
}

void ChooseOverlayPicture(ControlSurface& controls)
{
    const QString box = QStringLiteral("tx_kasane");
    const std::optional<QString> path = platform::prompts().openFile(
        {QStringLiteral("重ね合せ画像の指定"), controls.text(box), QStringLiteral("BMP (*.bmp)")});
    if (path)
        controls.setText(box, *path);
}
