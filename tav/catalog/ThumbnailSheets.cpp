#include "tav/catalog/ThumbnailSheets.h"

#include "imgkit/ImgKit.h"
#include "platform/Prompt.h"
#include "tav/catalog/Caption.h"
#include "tav/catalog/sumNe.h"
#include "tav/core/AppSettings.h"
#include "tav/core/ControlSurface.h"
#include "tav/core/RunState.h"
#include "tav/core/TextHelpers.h"
#include "tav/printing/PrintCommand.h"
#include "tav/printing/PrintLoader.h"
#include "tav/printing/PrintSelection.h"

#include <QDir>
#include <QFileInfo>

#include <algorithm>
#include <optional>

namespace {

const QString kOutputBox = QStringLiteral("suOutPath");
const QString kBackgroundBox = QStringLiteral("suDaishi");

// The tab's size lists, entry by entry.
constexpr int kSheetWidths[] = {320, 400, 480, 600, 640, 768, 800, 1024, 1200, 1280, 1600};
constexpr int kSheetHeights[] = {240, 300, 480, 600, 640, 768, 800, 1024, 1200, 1280, 1600};
constexpr int kMaxGrid = 20;

template <std::size_t N>
int listValue(const ControlSurface& c, const QString& list, const int (&values)[N], int fallback)
{
    const int index = c.listIndex(list);
    return index >= 0 && index < int(N) ? values[index] : values[fallback];
}

// The grid lists hold 1 to 20, the first entry being 1.
int gridValue(const ControlSurface& c, const QString& list)
{
    return std::clamp(c.listIndex(list) + 1, 1, kMaxGrid);
}

// The output box's folder and stem (the name without its extension, written
// back into the box); nullopt when the folder does not exist. Only an absolute
// path names a folder: a relative one would depend on where the program
// happened to be started.
std::optional<QString> takeOutputStem(ControlSurface& c)
{
    const QString typed = c.text(kOutputBox).trimmed();
    const QFileInfo info(typed);
    if (!QDir::isAbsolutePath(typed) || !QFileInfo(info.path()).isDir())
        return std::nullopt;
    const QString stem = fullPath(info.path(), SplitExtension(info.fileName()).stem);
    c.setText(kOutputBox, stem);
    return stem;
}

// Sheet files of the run's names that are already there: they are replaced
// only when the user agrees. The run may make fewer sheets (unreadable
// pictures are skipped), so this asks about every name it could use.
bool mayReplaceExistingSheets(const QString& stem, SheetFormat format, int sheetCount)
{
    QStringList existing;
    for (int number = 1; number <= sheetCount; ++number) {
        const QString file = SheetFileName(stem, format, number);
        if (QFileInfo::exists(file))
            existing << QFileInfo(file).fileName();
    }
    if (existing.isEmpty())
        return true;
    QString names = QStringLiteral("「") + existing.first() + QStringLiteral("」");
    if (existing.size() > 1)
        names += QStringLiteral("ほか%1個").arg(existing.size() - 1);
    return platform::askYesNo(QStringLiteral("ｻﾑﾈｲﾙﾌｧｲﾙ") + names +
                              QStringLiteral("は存在します. 上書してよろしいですか?"));
}

class SheetJob : public BatchJob {
public:
    SheetJob(PrintHost& host, const QStringList& paths, TsumNe& sheets, bool preview)
        : m_sheets(sheets), m_preview(preview), m_loader(host, paths),
          m_highQuality(host.settings().highQualityScaling)
    {}

    bool process(const QString& path) override
    {
        // A picture goes into a cell: decoding more than the cell holds is waste, unless the
        // high-quality switch asks for the whole picture to be resampled.
        const LoadNeed need =
            m_highQuality ? LoadNeed{} : LoadNeed{m_sheets.cellWidth(), m_sheets.cellHeight(), true};
        const std::optional<PrintPicture> picture = m_loader.load(path, need);
        if (!picture)
            return false;
        m_sheets.AddPicture(picture->dib, picture->width, path, 1, picture->height);
        return true;
    }

    void end(bool stopped) override
    {
        // A stop drops the unfinished sheet; the sheets already written stay.
        if (stopped)
            m_sheets.CancelSheets();
        else
            m_sheets.FinishSheets();
    }

    bool showsCompletion() const override { return !m_preview && m_sheets.failedSheets().isEmpty(); }

private:
    TsumNe& m_sheets;
    bool m_preview;
    PrintLoader m_loader;
    bool m_highQuality = false;
};

}  // namespace

void MakeThumbnailSheets(PrintHost& host, bool preview)
{
    AbortRequested = false;
    ControlSurface& c = host.controls();
    SetCaptionOptionsFrom(c, {"suPrFname", "ch_kakuCyoshiSU", "suPrGInfo", "ch_satuDateSu", "ch_prTitleSu"});

    const std::optional<QString> stem = takeOutputStem(c);
    if (!stem) {
        platform::showInformation(QStringLiteral("結果を格納するﾌｫﾙﾀﾞが存在しません。"));
        return;
    }
    const QString backgroundPath = c.text(kBackgroundBox).trimmed();
    if (!backgroundPath.isEmpty() && !QFileInfo(backgroundPath).isFile()) {
        platform::showInformation(QStringLiteral("台紙ﾌｧｲﾙが存在しません。"));
        return;
    }
    const std::optional<int> margin = CellMarginFrom(c, "suYohaku");
    if (!margin)
        return;
    const int width = listValue(c, QStringLiteral("suSizeW"), kSheetWidths, 5);
    const int height = listValue(c, QStringLiteral("suSizeH"), kSheetHeights, 3);
    const int columns = gridValue(c, QStringLiteral("suW"));
    const int rows = gridValue(c, QStringLiteral("suH"));
    const auto format = SheetFormat(std::clamp(c.listIndex(QStringLiteral("suType")), 0, 2));
    const QStringList paths = host.selectedPaths();
    if (!paths.isEmpty() && !preview) {
        const int cells = rows * columns;
        if (!mayReplaceExistingSheets(*stem, format, (int(paths.size()) + cells - 1) / cells))
            return;
    }

    TsumNe sheets({&host.settings(),
                   [&host](const QImage& sheet, double& zoom) { return host.showPreviewPage(sheet, zoom); }});
    sheets.shadow = c.checked(QStringLiteral("suKage"));
    sheets.shadowColor = c.swatchColor(QStringLiteral("suKageCol"));
    if (!paths.isEmpty() && !backgroundPath.isEmpty()) {
        sheets.background = ImgKitFileLoad(backgroundPath, {}, {});
        if (!sheets.background) {
            platform::showWarning(QStringLiteral("台紙ﾌｧｲﾙを読み込めませんでした。"));
            return;
        }
    }
    sheets.BeginSheets(*stem, *margin, height, width, preview, format, rows, columns);

    BatchTexts texts;
    texts.emptySelection = QStringLiteral("ﾌｧｲﾙが選択されていません。");
    texts.progress = QStringLiteral("のｻﾑﾈｲﾙを作成中です。(ESCｷｰで中断できます)");
    texts.stopQuestion = QStringLiteral("本当に中止してよろしいですか？");
    texts.completed = QStringLiteral("完了。");
    SheetJob job(host, paths, sheets, preview);
    if (runBatch(host, paths, texts, job) == BatchResult::NothingSelected)
        return;
    if (!sheets.failedSheets().isEmpty())
        platform::showWarning(QStringLiteral("ｻﾑﾈｲﾙﾌｧｲﾙを保存できませんでした：\n") +
                              sheets.failedSheets().join(QLatin1Char('\n')));
    // Sheets written into the folder on view show up in it.
    if (sheets.writtenSheets() > 0 && QFileInfo(QFileInfo(*stem).path()).canonicalFilePath() ==
                                          QFileInfo(host.currentFolder()).canonicalFilePath())
        host.refreshFolder();
    host.file_list3Click();
}

void ChooseSheetOutput(ControlSurface& controls)
{
    const std::optional<QString> path = platform::prompts().openFile(
        {QStringLiteral("出力ﾌｧｲﾙの指定"), controls.text(kOutputBox), QStringLiteral("全てのﾌｧｲﾙ (*)")});
    if (path)
        controls.setText(kOutputBox, *path);
}

void ChooseSheetBackground(ControlSurface& controls)
{
    const std::optional<QString> path =
        platform::prompts().openFile({QStringLiteral("台紙ﾌｧｲﾙの指定"), controls.text(kBackgroundBox),
                                      QStringLiteral("BMP (*.bmp);;jpg (*.jpg)")});
    if (path)
        controls.setText(kBackgroundBox, *path);
}
