// The HTML album command and the preparation of its cells.
#include "tav/catalog/HtmlAlbum.h"

#include "imgkit/ImgKit.h"
#include "platform/AtomicFile.h"
#include "platform/Prompt.h"
#include "platform/Sjis.h"
#include "tav/catalog/Caption.h"
#include "tav/core/AppSettings.h"
#include "tav/core/CommandHost.h"
#include "tav/core/ControlSurface.h"
#include "tav/core/RunState.h"
#include "tav/core/TextHelpers.h"
#include "tav/imaging/ImageLoad.h"
#include "tav/imaging/ImageResize.h"
#include "tav/imaging/PictureQueue.h"
#include "tav/printing/PrintCommand.h"

#include <QDir>
#include <QFileInfo>
#include <QSet>
#include <algorithm>

using imgkit::DibHandle;

namespace {

constexpr int kThumbnailQuality = 70;
constexpr std::int16_t kTrueColor = 5;
const QString kFontSizes[] = {"-5", "-4", "-3", "-2", "-1", "0", "+1", "+2", "+3", "+4", "+5"};

// A number box; a value that is not a number counts as 0.
int numberIn(const ControlSurface& c, const char* box)
{
    bool ok = false;
    const int value = c.text(QString::fromLatin1(box)).trimmed().toInt(&ok);
    return ok ? value : 0;
}

// All range errors of the tab, each line ended by CR LF; empty when none.
QString rangeErrors(int perRow, int maxWidth, int maxHeight)
{
    QString errors;
    if (perRow < 1 || perRow > 100)
        errors += QStringLiteral("「横画像数」が異常です.(1～100の範囲で指定してください)\r\n");
    if (maxWidth < 10 || maxWidth > 1600)
        errors += QStringLiteral("「縮小画像のｻｲｽﾞ」幅が異常です.(10～1600の範囲で指定してください)\r\n");
    if (maxHeight < 10 || maxHeight > 1600)
        errors += QStringLiteral("「縮小画像のｻｲｽﾞ」高さが異常です.(10～1600の範囲で指定してください)\r\n");
    return errors;
}

HtmlPageOptions pageOptionsFrom(const ControlSurface& c, const QString& folder)
{
    const auto on = [&c](const char* name) { return c.checked(QString::fromLatin1(name)); };
    HtmlPageOptions o;
    o.title = on("cb_dirNameTitle") ? QFileInfo(QDir::cleanPath(folder)).fileName()
                                    : c.text(QStringLiteral("tx_pgTitleHt"));
    o.background = c.swatchColor(QStringLiteral("pgHeikeiColHt"));
    o.titlePosition = c.listIndex(QStringLiteral("pgTitleIchiHt"));
    const int size = c.listIndex(QStringLiteral("cb_pgFontSizeHt"));
    o.fontSize = size >= 0 && size < int(std::size(kFontSizes)) ? kFontSizes[size] : QString();
    o.bold = on("cb_pgFontFutoHt");
    o.italic = on("cb_pgFontItaHt");
    o.separator = on("cb_senHt");
    o.thumbnails = on("cb_samuHt");
    return o;
}

// "__" + the name up to its last "." + ".jpg". Two pictures of one stem
// (a.bmp and a.jpg) would share a thumbnail and the second would show in
// both cells, so a stem already taken in this run gets "~2", "~3", ...
QString thumbnailNameFor(const QString& fileName, QSet<QString>& taken)
{
    const QString stem = SplitExtension(fileName).stem;
    QString name = stem;
    for (int n = 2; taken.contains(name); ++n)
        name = stem + QStringLiteral("~%1").arg(n);
    taken.insert(name);
    return QStringLiteral("__") + name + QStringLiteral(".jpg");
}

bool writeThumbnail(const DibHandle& picture, std::int16_t colorCode, int width, int height,
                    const QString& path, bool highQuality)
{
    DibHandle small = ResizeImage(picture, {}, {}, width, height, highQuality);
    // pelcalc refuses some sizes; the library's own filter takes every size.
    if (!small && highQuality)
        small = ResizeImage(picture, {}, {}, width, height, false);
    if (small && colorCode != kTrueColor)
        small = ImgKitConvertColor(small, 24, 1, 0, {}, {});
    return small && platform::replaceFileThrough(path, [&small](const QString& temporary) {
               return ImgKitJpegFileSave(temporary, small, {}, {}, kThumbnailQuality, 0) != 0;
           });
}

// Busy mode with the gauge counting `files`, left on every path out of the
// run with the status line and the gauge cleared.
class HtmlRun {
public:
    HtmlRun(CommandHost& host, qsizetype files) : m_host(host)
    {
        m_host.setBusy(true);
        m_host.setGaugeMaximum(static_cast<int>(files));
    }
    ~HtmlRun()
    {
        m_host.setBusy(false);
        m_host.setStatus({});
        m_host.setGauge(0);
    }
    HtmlRun(const HtmlRun&) = delete;
    HtmlRun& operator=(const HtmlRun&) = delete;

private:
    CommandHost& m_host;
};

bool confirmStop()
{
    return platform::prompts().message(platform::MessageKind::Question, {},
                                       QStringLiteral("本当に中止してよろしいですか？"),
                                       platform::Buttons::YesNo) == platform::Answer::Yes;
}

// Creates the thumbnail folder or asks whether its thumbnails are replaced.
// False when it cannot be created; `reuse` is set when existing thumbnails stay.
bool prepareThumbnailFolder(const QString& folder, bool& reuse)
{
    reuse = false;
    const QFileInfo info(folder);
    if (info.isDir()) {
        reuse = platform::prompts().message(
                    platform::MessageKind::Warning, {},
                    QStringLiteral("HTML用ｻﾑﾈｲﾙﾌｫﾙﾀﾞが存在します. 同名のHTML用ｻﾑﾈｲﾙは上書きされます."),
                    platform::Buttons::YesNo) == platform::Answer::No;
        return true;
    }
    if (!info.exists() && QDir().mkdir(folder))
        return true;
    platform::showError(QStringLiteral("ｻﾑﾈｰﾙ格納ﾌｫﾙﾀﾞが作成できません. このHTML作成を中止します."));
    return false;
}

}  // namespace

namespace {

// A kept thumbnail gives the size; the image information needs the picture itself.
bool takesKeptThumbnail(const HtmlCellRequest& r)
{
    return !r.thumbnailPath.isEmpty() && r.reuseThumbnail && captionOptions().showImageInfo != 1 &&
           QFileInfo::exists(r.thumbnailPath);
}

}  // namespace

bool HtmlCellDecodes(const HtmlCellRequest& r)
{
    return !takesKeptThumbnail(r) && QFileInfo::exists(r.source);
}

// The cell needs the picture's own size and, for a thumbnail, no more pixels than it holds;
// the high-quality switch asks for the whole picture to be resampled.
LoadNeed HtmlLoadNeed(const HtmlCellRequest& r)
{
    return !r.thumbnailPath.isEmpty() && r.highQuality ? LoadNeed{} : LoadNeed{r.maxWidth, r.maxHeight, true};
}

HtmlCell PrepareHtmlCell(const HtmlCellRequest& r)
{
    HtmlCell cell;
    cell.fileName = QFileInfo(r.source).fileName();
    cell.thumbnailName = QFileInfo(r.thumbnailPath).fileName();
    cell.width = r.maxWidth;
    cell.height = r.maxHeight;
    const bool thumbnails = !r.thumbnailPath.isEmpty();
    if (!QFileInfo::exists(r.source)) {
        cell.caption = BuildCaption(1, nullptr, r.source);
        return cell;
    }

    if (takesKeptThumbnail(r)) {
        if (const DibHandle kept = ImgKitFileLoad(r.thumbnailPath, {}, {})) {
            cell.width = kept.width();
            cell.height = kept.height();
            cell.caption = BuildCaption(1, nullptr, r.source);
            return cell;
        }
    }

    ImageInfo info;
    const DibHandle picture = r.ahead
                                  ? r.ahead->take(r.source, {}, {}, r.gvPath, &info)
                                  : LoadImageFileAtLeast(r.source, {}, {}, r.gvPath, HtmlLoadNeed(r), &info);
    if (!picture || info.width <= 0 || info.height <= 0) {
        cell.caption = BuildCaption(1, nullptr, r.source);
        cell.thumbnailFailed = thumbnails;
        return cell;
    }
    const double scale = std::min(double(r.maxWidth) / info.width, double(r.maxHeight) / info.height);
    // A very long, thin picture still gets a line of one pixel.
    cell.width = std::max(1, static_cast<int>(info.width * scale));
    cell.height = std::max(1, static_cast<int>(info.height * scale));
    cell.caption = BuildCaptionOfSize(1, &info, r.source);
    if (thumbnails)
        cell.thumbnailFailed =
            !writeThumbnail(picture, info.colorCode, cell.width, cell.height, r.thumbnailPath, r.highQuality);
    return cell;
}

void WriteHtmlAlbum(CommandHost& host)
{
    const ControlSurface& c = host.controls();
    AbortRequested = false;
    QString typedName = c.text(QStringLiteral("tx_htmlFname")).trimmed();
    if (HasInvalidFileNameChar(typedName)) {
        platform::showInformation(
            QStringLiteral("出力HTMLファイル名に「\\/:,;*?\"<>|」は使えません. 処理を中止しました."));
        return;
    }
    if (typedName.isEmpty())
        typedName = QStringLiteral("noName.htm");

    const int tableWidth = numberIn(c, "tx_pgWidthHt");
    const int perRow = numberIn(c, "tx_MaxXnHt");
    const int maxWidth = numberIn(c, "tx_samuW_ht");
    const int maxHeight = numberIn(c, "tx_samuH_ht");
    SetCaptionOptionsFrom(
        c, {"ch_PrFnameHt", "ch_kakuCyoshiHt", "ch_PrGInfoHt", "ch_satuDateHt", "ch_prTiTleHt"});
    if (const QString errors = rangeErrors(perRow, maxWidth, maxHeight); !errors.isEmpty()) {
        platform::showError(errors);
        return;
    }
    const QStringList paths = host.selectedPaths();
    if (paths.isEmpty()) {
        platform::showInformation(QStringLiteral("ﾌｧｲﾙが選択されていません."));
        return;
    }

    const QString folder = host.currentFolder();
    const QString fileName = HtmlPageFileName(typedName);
    const QString pagePath = fullPath(folder, fileName);
    const QString thumbnailFolder = fullPath(folder, QLatin1String(kHtmlThumbnailFolder));
    HtmlPageOptions options = pageOptionsFrom(c, folder);
    options.tableWidth = tableWidth;
    options.perRow = perRow;

    bool saved = false;
    int thumbnailsFailed = 0;
    {
        HtmlRun run(host, paths.size());
        if (QFileInfo::exists(pagePath) &&
            !platform::askYesNo(QStringLiteral("HTMLﾌｧｲﾙ「") + fileName +
                                QStringLiteral("」は存在します. 上書してよろしいですか?"))) {
            platform::showInformation(QStringLiteral("HTMLの作成を中止しました."));
            return;
        }
        bool reuse = false;
        if (options.thumbnails && !prepareThumbnailFolder(thumbnailFolder, reuse))
            return;
        host.setStatus(QStringLiteral("HTMLを作成しています....."));

        QList<HtmlCellRequest> requests;
        QSet<QString> takenStems;
        for (const QString& path : paths) {
            HtmlCellRequest request;
            request.source = path;
            if (options.thumbnails)
                request.thumbnailPath =
                    fullPath(thumbnailFolder, thumbnailNameFor(QFileInfo(path).fileName(), takenStems));
            request.reuseThumbnail = reuse;
            request.maxWidth = maxWidth;
            request.maxHeight = maxHeight;
            request.gvPath = host.settings().gvPath;
            request.highQuality = host.settings().highQualityScaling;
            requests.append(request);
        }
        // The pictures the cells decode, decoded ahead of the loop.
        QStringList decoded;
        for (const HtmlCellRequest& request : requests)
            if (HtmlCellDecodes(request))
                decoded << request.source;
        PictureQueue ahead(decoded, HtmlLoadNeed(requests.first()));

        QList<HtmlCell> cells;
        for (HtmlCellRequest& request : requests) {
            request.ahead = &ahead;
            cells.append(PrepareHtmlCell(request));
            thumbnailsFailed += cells.last().thumbnailFailed;

            host.processWaitingInput();
            if (AbortRequested) {
                if (confirmStop())
                    break;
                AbortRequested = false;
            }
            host.setGauge(static_cast<int>(cells.size()));
        }
        // Written beside the old page and renamed over it: a failed write leaves the old page whole.
        saved = platform::replaceFileAtomically(pagePath, platform::toSjis(HtmlAlbumPage(options, cells)));
    }
    if (!saved)
        platform::showError(QStringLiteral("HTMLﾌｧｲﾙ「") + fileName +
                            QStringLiteral("」を保存できませんでした."));
    else if (thumbnailsFailed > 0)
        platform::showWarning(
            QStringLiteral("完了. ただし %1個の画像のｻﾑﾈｲﾙを作成できませんでした.").arg(thumbnailsFailed));
    else
        platform::showInformation(QStringLiteral("完了."));
    host.refreshFolder();
    host.file_list3Click();
}
