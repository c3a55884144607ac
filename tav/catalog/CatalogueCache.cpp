#include "tav/catalog/CatalogueCache.h"

#include "platform/Prompt.h"
#include "tav/core/Prefetcher.h"
#include "tav/core/RunState.h"
#include "tav/core/TextHelpers.h"
#include "tav/imaging/Bitmaps.h"
#include "tav/imaging/ImageLoad.h"

#include <QFileInfo>
#include <QHash>
#include <exception>
#include <optional>

namespace {

const QString kReadFailed = QStringLiteral("E:ｶﾀﾛｸﾞは作成できませんでした。(read)");
const QString kLoopFailed = QStringLiteral("E:ｶﾀﾛｸﾞは作成できませんでした。(loop)");
const QString kSaveFailed = QStringLiteral("E:ｶﾀﾛｸﾞは保存できませんでした.(ﾃﾞｨｽｸに書き込めません)");
const QString kBuilding = QStringLiteral("ｶﾀﾛｸﾞを作成しています。(ESCｷｰまたは、「中止」ﾎﾞﾀﾝで中断できます)");
const QString kStopQuestion = QStringLiteral("ｶﾀﾛｸﾞ表示を中止してよろしいですか？");
constexpr int kGaugeMaximum = 100;
// Thumbnails made ahead at a time: one per core beside the loop's own work.
constexpr int kMadeAhead = 2;

bool confirmStop()
{
    return platform::prompts().message(platform::MessageKind::Question, {}, kStopQuestion,
                                       platform::Buttons::YesNo) == platform::Answer::Yes;
}

// The first index of each key, as a search from the start would find it.
QHash<QString, int> keyIndex(const QStringList& keys)
{
    QHash<QString, int> index;
    index.reserve(keys.size());
    for (int i = int(keys.size()) - 1; i >= 0; --i)
        index[keys[i]] = i;
    return index;
}

}  // namespace

QString catalogueKey(const QString& name, const QDateTime& lastWrite)
{
    const QString time = lastWrite.isValid() ? lastWrite.toString(QStringLiteral("yyMMddHHmmss"))
                                             : QString(12, QLatin1Char(' '));
    return name + QLatin1Char('_') + time;
}

QImage makeThumbnail(const QString& path, const QString& gvPath)
{
    // Only a cell's worth of the picture is decoded.
    const imgkit::DibHandle picture =
        LoadImageFileAtLeast(path, {}, {}, gvPath, {kThumbnailSize, kThumbnailSize, true}, nullptr);
    QImage cell;
    FitImageToBitmap(picture, cell, kThumbnailSize, kThumbnailSize, false);
    return cell;
}

QImage makeThumbnailAhead(const QString& path)
{
    bool gvMayTry = false;
    const imgkit::DibHandle picture =
        LoadImageFileByLibrary(path, {kThumbnailSize, kThumbnailSize, true}, nullptr, gvMayTry);
    QImage cell;
    if (picture)
        FitImageToBitmap(picture, cell, kThumbnailSize, kThumbnailSize, false);
    return cell;
}

// The thumbnails to take from: the ones in memory when they are this
// folder's and complete, otherwise the folder's catalogue file.
CatalogueData CatalogueCache::scratchFor(const QString& folder)
{
    if (m_lastFolder == folder && m_complete && !AbortRequested)
        return std::move(m_data);
    m_data = {};
    const QString path = fullPath(folder, QString::fromLatin1(kCatalogueFileName));
    if (!QFileInfo::exists(path))
        return {};
    CatalogueReadResult read = readCatalogueFile(path);
    if (read.status == CatalogueReadStatus::Malformed)
        platform::showError(kReadFailed);
    return read.status == CatalogueReadStatus::Read ? std::move(read.data) : CatalogueData{};
}

CatalogueFill CatalogueCache::fill(BatchHost& host, const QString& folder, const QStringList& names,
                                   const ThumbnailMaker& make, const ItemSink& addItem,
                                   const ThumbnailMaker& makeAhead)
{
    if (names.isEmpty())
        return CatalogueFill::NoNames;
    host.setBusy(true);
    const CatalogueData scratch = scratchFor(folder);
    const QHash<QString, int> known = keyIndex(scratch.keys);
    CatalogueData built;
    std::optional<Prefetcher<QImage>> ahead;
    if (makeAhead)
        ahead.emplace(picturesToDecode(folder, names, known), makeAhead, kMadeAhead);
    // A thumbnail the workers could not make is made here, GV and all.
    const auto thumbnailOf = [&](const QString& path) {
        if (!ahead)
            return make(path);
        const std::optional<QImage> cell = ahead->take(path, {}, make);
        return cell && !cell->isNull() ? *cell : make(path);
    };
    host.setStatus(kBuilding);
    AbortRequested = false;
    host.setGaugeMaximum(kGaugeMaximum);
    host.setGauge(0);

    CatalogueFill result = CatalogueFill::Completed;
    const int count = int(names.size());
    for (int q = 1; q <= count; ++q) {
        const QString& name = names[q - 1];
        try {
            const QFileInfo info(fullPath(folder, name));
            if (isCatalogueFileName(name) || !info.exists())
                continue;
            const QString key = catalogueKey(name, info.lastModified());
            const auto found = known.constFind(key);
            built.thumbnails << (found != known.cend() ? scratch.thumbnails[*found]
                                                       : thumbnailOf(info.filePath()));
            built.keys << key;
            addItem(name, built.thumbnails.last());
        } catch (const std::exception&) {
            platform::showError(kLoopFailed);
            result = CatalogueFill::Failed;
            break;
        }
        host.processWaitingInput();
        if (AbortRequested) {
            if (confirmStop()) {
                result = CatalogueFill::Stopped;
                break;
            }
            AbortRequested = false;
        }
        host.setGauge(int(double(q) / count * kGaugeMaximum + 0.5));
    }

    m_data = std::move(built);
    m_lastFolder = folder;
    m_complete = result == CatalogueFill::Completed;
    host.setGauge(0);
    host.setBusy(false);
    // Like every batch, the build leaves the status line empty behind it.
    host.setStatus(QString());
    return result;
}

QStringList CatalogueCache::picturesToDecode(const QString& folder, const QStringList& names,
                                             const QHash<QString, int>& known)
{
    QStringList paths;
    for (const QString& name : names) {
        const QFileInfo info(fullPath(folder, name));
        if (!isCatalogueFileName(name) && info.exists() &&
            !known.contains(catalogueKey(name, info.lastModified())))
            paths << info.filePath();
    }
    return paths;
}

bool CatalogueCache::save(const QString& folder) const
{
    if (writeCatalogueFile(fullPath(folder, QString::fromLatin1(kCatalogueFileName)), m_data))
        return true;
    platform::showError(kSaveFailed);
    return false;
}
