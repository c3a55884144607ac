#include "tav/printing/PrintSelection.h"

#include "imgkit/ImgKit.h"
#include "tav/catalog/Caption.h"
#include "tav/catalog/CommentFile.h"
#include "tav/core/AppSettings.h"
#include "tav/core/RunState.h"
#include "tav/imaging/ImageLoad.h"
#include "tav/imaging/PictureQueue.h"
#include "tav/printing/PageUnits.h"
#include "tav/printing/PrintLoader.h"
#include "tav/printing/mg_pr.h"

#include <QFileInfo>

#include <algorithm>
#include <cmath>

using imgkit::DibHandle;

namespace {

// Feeds each loaded picture to the open job.
class PrintJob : public BatchJob {
public:
    PrintJob(PrintHost& host, const PrintChoices& choices, const PrintSelectionArgs& args)
        : m_args(args), m_loader(host, host.selectedPaths()), m_engine(PrintEnvironmentOf(host)),
          m_highQuality(host.settings().highQualityScaling)
    {
        m_engine.autoRotate = choices.autoRotate;
        m_engine.stretch = choices.stretch;
        m_engine.requestedWidthMm = args.requestedWidthMm;
        m_engine.requestedHeightMm = args.requestedHeightMm;
    }

    bool begin() override
    {
        return m_engine.BeginJob(PrintJobTitle(m_args.columns, m_args.rows), m_args.cellMargin,
                                 m_args.columns, m_args.rows, m_args.cropMarks, 0, 0, m_args.useMargins,
                                 m_args.header, m_args.footer, m_args.cutToFill);
    }

    bool process(const QString& path) override
    {
        const std::optional<PrintPicture> picture = m_loader.load(path, loadNeed());
        if (!picture)
            return false;
        const DibHandle* dib = &picture->dib;
        if (m_args.repeatSamePicture) {
            m_engine.PutCopies(*dib, picture->width, picture->height, true, m_engine.geometry().cellsPerPage);
        } else {
            m_engine.PutCell(dib, picture->width, picture->height, true, captionOf(*picture, path), {});
            if (m_args.printComments) {
                COMKATA record;
                ReadComment(path, record);
                const QString text = record.comment.isEmpty() ? QStringLiteral(" ") : record.comment;
                m_engine.PutCell(nullptr, picture->width, picture->height, true, {}, text);
            }
        }
        return true;
    }

    void end(bool stopped) override
    {
        if (stopped || AbortRequested)
            m_engine.AbortJob();
        else
            m_delivered = m_engine.EndJob();
    }

    bool delivered() const override { return m_delivered; }

    bool showsCompletion() const override { return !PreviewMode; }

private:
    // The caption tells the picture's own size, whatever size it was loaded at.
    static QString captionOf(const PrintPicture& picture, const QString& path)
    {
        ImageInfo info;
        if (ImgKitImageInfo(picture.dib, &info) == 0)
            return BuildCaption(0, nullptr, path);
        info.width = picture.width;
        info.height = picture.height;
        return BuildCaptionOfSize(0, &info, path);
    }

    // The printer gets no more pixels than the dots a picture covers, so a picture need not be
    // decoded beyond them: at least the longer side of its cell (or of the requested size) both
    // ways covers fitting and turning alike. Whole pictures for the high-quality switch (it
    // resamples the whole picture), for cutting to fill (cut in the picture's own pixels) and for
    // the preview (drawn finer than its page).
    LoadNeed loadNeed() const
    {
        if (m_highQuality || PreviewMode || m_args.cutToFill)
            return {};
        const PageGeometry& g = m_engine.geometry();
        const int side = std::max({g.cellWidth, g.cellHeight,
                                   static_cast<int>(std::ceil(m_engine.requestedWidthMm * g.dotsPerMm)),
                                   static_cast<int>(std::ceil(m_engine.requestedHeightMm * g.dotsPerMm))});
        return {side, side, false};
    }

    PrintSelectionArgs m_args;
    PrintLoader m_loader;
    Tmg_PR m_engine;
    bool m_delivered = true;
    bool m_highQuality = false;
};

}  // namespace

PrintJobEnvironment PrintEnvironmentOf(PrintHost& host)
{
    PrintJobEnvironment env;
    env.settings = &host.settings();
    env.printer = &host.printDevice();
    env.folder = host.currentFolder();
    env.showPreviewPage = [&host](const QImage& page, double& zoom) {
        return host.showPreviewPage(page, zoom);
    };
    env.previewScale = host.previewPageScale();
    return env;
}

QString PrintJobTitle(double columns, double rows)
{
    return QStringLiteral("Tav(%1koma)").arg(truncToInt(columns) * truncToInt(rows));
}

BatchTexts PrintRunTexts(const QString& progress)
{
    BatchTexts texts;
    texts.emptySelection = QStringLiteral("印刷するﾌｧｲﾙが選択されていません。");
    texts.progress = progress;
    texts.stopQuestion = QStringLiteral("本当に印刷を中断してよろしいですか？");
    texts.completed = QStringLiteral("印刷完了。");
    if (!PreviewMode)
        texts.failedToStart = QStringLiteral("印刷出来ませんでした。");
    return texts;
}

BatchResult PrintSelection(PrintHost& host, const PrintChoices& choices, const PrintSelectionArgs& args)
{
    PrintJob job(host, choices, args);
    return runBatch(host, host.selectedPaths(),
                    PrintRunTexts(QStringLiteral("を印刷中です。(ESCｷｰまたは、「中止」ﾎﾞﾀﾝで中断できます)")),
                    job);
}

bool LoadForPrint(const QString& path, const PrintAdjustment& adjustment, const QString& gvPath,
                  DibHandle& picture, int& width, int& height, const LoadNeed& need, PictureQueue* ahead)
{
    ImageInfo info;
    const QString loading = QFileInfo(path).fileName() + QStringLiteral("を読込み中");
    picture = ahead ? ahead->take(path, QStringLiteral("案内"), loading, gvPath, &info)
                    : LoadImageFileAtLeast(path, QStringLiteral("案内"), loading, gvPath, need, &info);
    if (!picture) {
        picture = {};
        return false;
    }
    width = info.width;
    height = info.height;
    if (!ApplyPrintAdjustment(picture, adjustment)) {
        picture = {};
        return false;
    }
    return true;
}
