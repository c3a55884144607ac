#include "tav/catalog/Convert.h"

#include "tav/core/spath.h"

#include "imgkit/ImgKit.h"
#include "platform/AtomicFile.h"
#include "platform/Prompt.h"
#include "tav/core/AppSettings.h"
#include "tav/core/CommandHost.h"
#include "tav/core/ControlSurface.h"
#include "tav/core/TextHelpers.h"
#include "tav/imaging/ImageResize.h"
#include "tav/imaging/PictureQueue.h"
#include "tav/printing/AdjustImage.h"
#include "tav/printing/PageUnits.h"
#include "tav/printing/PrintSelection.h"

#include <QDir>
#include <QFileInfo>
#include <QSet>

#include <algorithm>
#include <iterator>
#include <memory>
#include <optional>

using imgkit::DibHandle;

namespace {

const QString kOutPath = QStringLiteral("tx_out_path");

enum class Format { Bmp, Jpg, Tif };

constexpr int kTrueColor = 5;  // ImageInfo colour code of 24-bit pictures

// The tab's choices, read once before the run.
struct ConvertOptions {
    Format format = Format::Bmp;
    bool bmpRle = false;
    int bmpColor = 0;  // index of the colour list, see kColorChoices
    int jpegQuality = 60;
    int tifCompression = 0;  // ImgKitTiffFileSave's code: the list index
    int tifColor = 0;
    bool resize = false;
    bool keepProportions = true;
    int width = 320;
    int height = 240;
    bool highQuality = false;
    bool keepGps = true;  // JPEG targets carry the source's EXIF data, its GPS position only with this
};

// The colour lists' entries "そのまま", "2色（白黒）", "16色", "２５６色", "ﾌﾙｶﾗｰ" as
// ImgKitConvertColor's bits, a and b; the first leaves the picture as it is.
struct ColorTarget {
    int bits;
    int a;
    int b;
};
constexpr ColorTarget kColorChoices[] = {{0, 0, 0}, {1, 0, 1}, {4, 0, 1}, {8, 0, 1}, {24, 0, 0}};
constexpr int kLastColorChoice = int(std::size(kColorChoices)) - 1;
constexpr int kLastTiffCompression = 5;

// The CCITT schemes code two-colour pictures only.
bool isFaxCompression(int compression) { return compression >= 1 && compression <= 4; }

std::optional<int> wholeNumber(const QString& text, int minimum, int maximum)
{
    bool ok = false;
    const int value = text.trimmed().toInt(&ok);
    if (!ok || value < minimum || value > maximum)
        return std::nullopt;
    return value;
}

int listChoice(const ControlSurface& c, const QString& list, int last)
{
    return std::clamp(c.listIndex(list), 0, last);
}

// Fills `o` from the tab; a message when a number box that counts holds no
// usable number (the counters stop at their limits, their edit fields do not).
QString readOptions(const ControlSurface& c, ConvertOptions& o)
{
    o.format = c.checked(QStringLiteral("rb_jpg"))   ? Format::Jpg
               : c.checked(QStringLiteral("rb_tif")) ? Format::Tif
                                                     : Format::Bmp;
    o.bmpRle = c.checked(QStringLiteral("cb_bmp_comp"));
    o.bmpColor = listChoice(c, QStringLiteral("cb_bmp_coln"), kLastColorChoice);
    o.tifCompression = listChoice(c, QStringLiteral("cb_tif_comp"), kLastTiffCompression);
    o.tifColor = listChoice(c, QStringLiteral("cb_tif_coln"), kLastColorChoice);
    o.resize = c.checked(QStringLiteral("cb_size"));
    o.keepProportions = c.checked(QStringLiteral("cb_tateYokoHi"));
    if (o.format == Format::Jpg) {
        const std::optional<int> quality = wholeNumber(c.text(QStringLiteral("ed_jpg_comp")), 0, 100);
        if (!quality)
            return QStringLiteral("圧縮品質係数には、0～100の整数を指定してください。");
        o.jpegQuality = *quality;
    }
    if (o.resize) {
        const std::optional<int> width = wholeNumber(c.text(QStringLiteral("tx_outW")), 1, 32767);
        const std::optional<int> height = wholeNumber(c.text(QStringLiteral("tx_outH")), 1, 32767);
        if (!width || !height)
            return QStringLiteral("画像ｻｲｽﾞには、1～32767の整数を指定してください。");
        o.width = *width;
        o.height = *height;
    }
    return {};
}

// The output folder box without one trailing separator (written back into the
// box); the root folder "/" stays as it is.
QString takeOutputFolder(ControlSurface& c)
{
    const QString typed = c.text(kOutPath);
    const QString folder = withoutTrailingSeparator(typed);
    if (folder != typed)
        c.setText(kOutPath, folder);
    return folder;
}

// Only an absolute path names a folder: a relative one would depend on where
// the program happened to be started.
bool isOutputFolder(const QString& folder)
{
    return QDir::isAbsolutePath(folder) && QFileInfo(folder).isDir();
}

QString extensionOf(Format format)
{
    switch (format) {
    case Format::Jpg: return QStringLiteral(".jpg");
    case Format::Tif: return QStringLiteral(".tif");
    case Format::Bmp: break;
    }
    return QStringLiteral(".bmp");
}

bool convertTo(DibHandle& picture, int bits, int a, int b)
{
    DibHandle converted = ImgKitConvertColor(picture, bits, a, b, {}, {});
    if (!converted)
        return false;
    picture = std::move(converted);
    return true;
}

bool applyColorChoice(DibHandle& picture, int choice)
{
    const ColorTarget& target = kColorChoices[choice];
    return choice == 0 || convertTo(picture, target.bits, target.a, target.b);
}

// Brings the picture to the depth its format and the tab ask for.
bool prepareForFormat(DibHandle& picture, const ConvertOptions& o)
{
    ImageInfo info;
    if (ImgKitImageInfo(picture, &info) == 0)
        return false;
    switch (o.format) {
    case Format::Bmp: return applyColorChoice(picture, o.bmpColor);
    case Format::Jpg: return info.colorCode == kTrueColor || convertTo(picture, 24, 0, 0);
    case Format::Tif:
        if (!applyColorChoice(picture, o.tifColor))
            return false;
        // Uncompressed and PackBits files keep the chosen depth; the fax
        // schemes need black and white.
        return !isFaxCompression(o.tifCompression) || picture.bitCount() == 1 || convertTo(picture, 1, 0, 1);
    }
    return false;
}

int saveAs(const QString& file, const DibHandle& picture, const ConvertOptions& o, const QString& source)
{
    switch (o.format) {
    case Format::Bmp: return ImgKitBmpFileSave(file, picture, {}, {}, o.bmpRle ? 1 : 0);
    case Format::Jpg: return ImgKitJpegFileSaveExif(file, picture, {}, {}, o.jpegQuality, source, o.keepGps);
    case Format::Tif: return ImgKitTiffFileSave(file, picture, {}, {}, o.tifCompression);
    }
    return 0;
}

// Writes the picture under a hidden temporary name in the target's folder
// and renames it over the target, so a write that fails part-way, or a
// program killed meanwhile, leaves the file already there as it was.
bool saveReplacing(const QString& target, const DibHandle& picture, const ConvertOptions& o,
                   const QString& source)
{
    return platform::replaceFileThrough(
        target, [&](const QString& temporary) { return saveAs(temporary, picture, o, source) != 0; });
}

// Up to 20 names, one a line, then how many more there are.
QString nameLines(const QStringList& names)
{
    constexpr int kShown = 20;
    QStringList lines = names.mid(0, kShown);
    if (names.size() > kShown)
        lines << QStringLiteral("ほか %1 件").arg(names.size() - kShown);
    return lines.join(QLatin1Char('\n'));
}

class ConvertJob : public BatchJob {
public:
    ConvertJob(CommandHost& host, const ConvertOptions& options, const QString& folder,
               const QStringList& sources)
        : m_options(options), m_folder(folder), m_adjustment(ReadPrintAdjustment(host.controls())),
          m_gvPath(host.settings().gvPath)
    {
        for (const QString& source : sources)
            m_sources.insert(QFileInfo(source).canonicalFilePath());
        // The pictures that will be converted are decoded ahead of the run.
        QStringList converted;
        for (const QString& source : sources)
            if (!wouldReplaceSource(targetOf(source)))
                converted << source;
        m_ahead = std::make_unique<PictureQueue>(converted, loadNeed());
    }

    bool process(const QString& path) override
    {
        const QString name = QFileInfo(path).fileName();
        const QString target = targetOf(path);
        if (wouldReplaceSource(target)) {
            m_keptSources << name;
            return true;
        }
        DibHandle picture;
        int width = 0;
        int height = 0;
        if (!LoadForPrint(path, m_adjustment, m_gvPath, picture, width, height, loadNeed(), m_ahead.get()))
            return false;
        if (!(resize(picture, width, height) && prepareForFormat(picture, m_options) &&
              saveReplacing(target, picture, m_options, path)))
            m_failed << name;
        return true;
    }

    // "変換完了。" when every loaded picture was written, else what was not.
    void report() const
    {
        if (m_keptSources.isEmpty() && m_failed.isEmpty()) {
            platform::showInformation(QStringLiteral("変換完了。"));
            return;
        }
        QStringList parts{QStringLiteral("変換を終了しましたが、変換できなかったﾌｧｲﾙがあります。")};
        if (!m_keptSources.isEmpty())
            parts << QStringLiteral("変換結果が変換元のﾌｧｲﾙを上書きしてしまうため、変換しなかったﾌｧｲﾙ"
                                    "（出力先か変換ﾌｫｰﾏｯﾄを変えてください）：\n") +
                         nameLines(m_keptSources);
        if (!m_failed.isEmpty())
            parts << QStringLiteral("変換結果を作成または保存できなかったﾌｧｲﾙ：\n") + nameLines(m_failed);
        platform::showWarning(parts.join(QStringLiteral("\n\n")));
    }

private:
    QString targetOf(const QString& source) const
    {
        const QString stem = SplitExtension(QFileInfo(source).fileName()).stem;
        return fullPath(m_folder, stem) + extensionOf(m_options.format);
    }

    bool wouldReplaceSource(const QString& target) const
    {
        const QString existing = QFileInfo(target).canonicalFilePath();
        return !existing.isEmpty() && m_sources.contains(existing);
    }

    // Made smaller, a picture need not be decoded whole; the high-quality switch asks for the
    // exact resampling of the whole picture.
    LoadNeed loadNeed() const
    {
        if (!m_options.resize || m_options.highQuality)
            return {};
        return {m_options.width, m_options.height, m_options.keepProportions};
    }

    bool resize(DibHandle& picture, int width, int height) const
    {
        if (!m_options.resize)
            return true;
        const QSize size =
            ConvertedSize(width, height, m_options.width, m_options.height, m_options.keepProportions);
        DibHandle resized = ResizeImage(picture, {}, {}, size.width(), size.height(), m_options.highQuality);
        // The high-quality filter refuses some shapes (narrower but taller, say); the plain one does not.
        if (!resized && m_options.highQuality)
            resized = ResizeImage(picture, {}, {}, size.width(), size.height(), false);
        if (!resized)
            return false;
        picture = std::move(resized);
        return true;
    }

    ConvertOptions m_options;
    QString m_folder;
    PrintAdjustment m_adjustment;
    QString m_gvPath;
    QSet<QString> m_sources;  // canonical paths of the selected files
    QStringList m_keptSources;
    QStringList m_failed;
    std::unique_ptr<PictureQueue> m_ahead;
};

}  // namespace

QSize ConvertedSize(int pictureWidth, int pictureHeight, int width, int height, bool keepProportions)
{
    if (!keepProportions || pictureWidth <= 0 || pictureHeight <= 0)
        return {width, height};
    const double r = std::min(double(width) / pictureWidth, double(height) / pictureHeight);
    return {std::max(1, truncToInt(pictureWidth * r + 0.5)),
            std::max(1, truncToInt(pictureHeight * r + 0.5))};
}

void ConvertSelection(CommandHost& host)
{
    ControlSurface& c = host.controls();
    const QString folder = takeOutputFolder(c);
    if (!isOutputFolder(folder)) {
        platform::showInformation(QStringLiteral("変換結果を格納するﾌｫﾙﾀﾞが見つかりません。"));
        return;
    }
    const QStringList paths = host.selectedPaths();
    ConvertOptions options;
    if (!paths.isEmpty()) {
        const QString invalid = readOptions(c, options);
        if (!invalid.isEmpty()) {
            platform::showWarning(invalid);
            return;
        }
    }
    options.highQuality = host.settings().highQualityScaling;
    options.keepGps = host.settings().keepGpsOnConvert;

    BatchTexts texts;
    texts.emptySelection = QStringLiteral("変換するﾌｧｲﾙが選択されていません。");
    texts.progress = QStringLiteral("を変換中です。(ESCｷｰで中断できます)");
    texts.stopQuestion = QStringLiteral("本当に変換を中断してよろしいですか？");
    // The closing message depends on what the run could write: ConvertJob::report.
    ConvertJob job(host, options, folder, paths);
    if (runBatch(host, paths, texts, job) == BatchResult::NothingSelected)
        return;
    job.report();
    // Files converted into the folder on view show up in it.
    if (QFileInfo(folder).canonicalFilePath() == QFileInfo(host.currentFolder()).canonicalFilePath())
        host.refreshFolder();
    host.file_list3Click();
}

void ChooseOutputFolder(TfrPath& picker, ControlSurface& controls)
{
    // The first use starts at the folder in the box; later ones where the picker last ended.
    if (picker.folder().isEmpty())
        picker.setFolder(controls.text(kOutPath));
    picker.setCaption(QStringLiteral("結果出力先の指定"));
    if (picker.ShowModal())
        controls.setText(kOutPath, picker.result());
}
