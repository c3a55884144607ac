// Camera photographs as independent tools make them: EXIF orientation and
// dates (exiftool), the EXIF data carried into saved JPEGs, embedded colour
// profiles and CMYK, 16-bit and transparent PNGs (ImageMagick), and tiled
// TIFFs (tiffcp) against their strip versions.
#include "imgkit/ImgKit.h"
#include "imgkit/tests/TestPictures.h"

#include <gtest/gtest.h>

#include <cmath>

using imgkit::DibHandle;
using namespace imgkit::test;

namespace {

const std::string kIcc = "/usr/share/color/icc/ghostscript/";

std::string quoted(const QString& path) { return "'" + path.toStdString() + "'"; }

void shell(const std::string& command)
{
    int status = 0;
    run(command + " 2>&1", &status);
    ASSERT_EQ(status, 0) << command;
}

// A photograph-like 48 x 32 picture written by ImageMagick with `options`.
QString imFile(const QString& name, const std::string& options, int width = 48, int height = 32)
{
    const QString source = tempPath(name + ".source.bmp");
    EXPECT_EQ(ImgKitBmpFileSave(source, photo24(width, height), "", "", 0), 1);
    const QString path = tempPath(name);
    shell("convert " + quoted(source) + " " + options + " " + quoted(path));
    return path;
}

QString withTags(const QString& source, const QString& name, const std::string& tags)
{
    const QString path = tempPath(name);
    writeBytes(path, readBytes(source));
    shell("exiftool -q -q -overwrite_original -n " + tags + " " + quoted(path));
    return path;
}

std::string tag(const QString& path, const std::string& name)
{
    std::string value = run("exiftool -s -s -s -n -" + name + " " + quoted(path));
    while (!value.empty() && (value.back() == '\n' || value.back() == '\r'))
        value.pop_back();
    return value;
}

int maxDifference(const DibHandle& a, const DibHandle& b)
{
    const std::vector<std::uint8_t> pa = bgrPixels(a), pb = bgrPixels(b);
    if (pa.size() != pb.size() || pa.empty())
        return 1000;
    int worst = 0;
    for (std::size_t i = 0; i < pa.size(); ++i)
        worst = std::max(worst, std::abs(int(pa[i]) - int(pb[i])));
    return worst;
}

// CIE 1976 colour difference of two sRGB pictures, mean and largest.
std::pair<double, double> deltaE(const DibHandle& a, const DibHandle& b)
{
    const auto lab = [](const std::uint8_t* bgr) {
        double xyz[3] = {}, rgb[3];
        for (int i = 0; i < 3; ++i) {
            const double c = bgr[2 - i] / 255.0;
            rgb[i] = c <= 0.04045 ? c / 12.92 : std::pow((c + 0.055) / 1.055, 2.4);
        }
        const double m[3][3] = {{0.4124, 0.3576, 0.1805}, {0.2126, 0.7152, 0.0722}, {0.0193, 0.1192, 0.9505}};
        const double white[3] = {0.95047, 1.0, 1.08883};
        for (int r = 0; r < 3; ++r) {
            for (int c = 0; c < 3; ++c)
                xyz[r] += m[r][c] * rgb[c];
            const double t = xyz[r] / white[r];
            xyz[r] = t > 0.008856 ? std::cbrt(t) : 7.787 * t + 16.0 / 116;
        }
        return std::array<double, 3>{116 * xyz[1] - 16, 500 * (xyz[0] - xyz[1]), 200 * (xyz[1] - xyz[2])};
    };
    const std::vector<std::uint8_t> pa = bgrPixels(a), pb = bgrPixels(b);
    if (pa.size() != pb.size() || pa.empty())
        return {1e9, 1e9};
    double sum = 0, worst = 0;
    for (std::size_t i = 0; i < pa.size(); i += 3) {
        const auto la = lab(&pa[i]), lb = lab(&pb[i]);
        const double d = std::hypot(la[0] - lb[0], la[1] - lb[1], la[2] - lb[2]);
        sum += d;
        worst = std::max(worst, d);
    }
    return {sum / double(pa.size() / 3), worst};
}

class LoadOptionsGuard {
public:
    explicit LoadOptionsGuard(const ImgKitLoadOptions& options) : m_saved(ImgKitGetLoadOptions())
    {
        ImgKitSetLoadOptions(options);
    }
    ~LoadOptionsGuard() { ImgKitSetLoadOptions(m_saved); }

private:
    ImgKitLoadOptions m_saved;
};

}  // namespace

TEST(Orientation, AllEightStandUprightInJpegAndEveryTiffDepthLikeImageMagick)
{
    struct Source {
        const char* name;
        const char* options;
        std::vector<int> orientations;
    };
    const Source sources[] = {
        {"o.jpg", "-quality 95", {1, 2, 3, 4, 5, 6, 7, 8}},
        {"grey.tif", "-type Grayscale -compress none", {1, 2, 3, 4, 5, 6, 7, 8}},
        {"rgb.tif", "-compress none", {2, 7}},
        {"palette.tif", "-type Palette -compress none", {4, 5}},
        {"bilevel.tif", "-monochrome -compress none", {3, 8}},
    };
    for (const auto& [name, options, orientations] : sources) {
        const QString source = imFile(name, options);
        for (int o : orientations) {
            const QString path =
                withTags(source, QString("o%1_%2").arg(o).arg(name), "-Orientation=" + std::to_string(o));
            EXPECT_EQ(ImgKitFileOrientation(path), o) << name;
            const DibHandle ours = ImgKitFileLoad(path, "", "");
            ASSERT_TRUE(ours) << name << o;
            EXPECT_EQ(ours.width(), o >= 5 ? 32 : 48) << name << o;
            EXPECT_LT(meanError(ours, decodeWithIm(path, "-auto-orient")), 1.0) << name << " " << o;
        }
    }
    // The switch off: pictures as stored.
    const QString turned = withTags(imFile("off.jpg", "-quality 95"), "off6.jpg", "-Orientation=6");
    LoadOptionsGuard off({false, true});
    EXPECT_EQ(ImgKitFileLoad(turned, "", "").width(), 48);
}

TEST(Orientation, PngExifChunkAndTheTurnOfAStoredPicture)
{
    const QString stored = imFile("stored.png", "");
    const QString turned = withTags(stored, "turned.png", "-Orientation=8");
    const DibHandle upright = IK5FileLoad(turned, 0, 0, "", "", "");
    ASSERT_TRUE(upright);
    const DibHandle plain = IK5FileLoad(stored, 0, 0, "", "", "");
    EXPECT_EQ(bgrPixels(upright), bgrPixels(ImgKitOrient(plain, 8)));
    // Anticlockwise: the stored top-left pixel ends at the bottom left.
    EXPECT_EQ(upright.width(), 32);
    EXPECT_EQ(bgrPixels(upright).size(), bgrPixels(plain).size());
    EXPECT_TRUE(std::equal(plain.row(0), plain.row(0) + 3, upright.row(47)));
}

TEST(Exif, ShootingDateAndTheDataCarriedIntoASavedJpeg)
{
    const QString source = withTags(imFile("camera.jpg", "-quality 90"), "tagged.jpg",
                                    "-Orientation=6 -Make=TavCamera -DateTimeOriginal='2019:07:14 09:30:00' "
                                    "-ModifyDate='2020:01:01 00:00:00' -GPSLatitude=35.5 -GPSLatitudeRef=N "
                                    "-GPSLongitude=139.7 -GPSLongitudeRef=E");
    EXPECT_EQ(ImgKitFileShotDate(source), QDateTime(QDate(2019, 7, 14), QTime(9, 30)));
    const QString modifiedOnly = withTags(source, "modified.jpg", "-DateTimeOriginal=");
    EXPECT_EQ(ImgKitFileShotDate(modifiedOnly), QDateTime(QDate(2020, 1, 1), QTime(0, 0)));
    const QString unset = withTags(modifiedOnly, "unset.jpg", "-ModifyDate='0000:00:00 00:00:00'");
    EXPECT_FALSE(ImgKitFileShotDate(unset).isValid());
    EXPECT_FALSE(ImgKitFileShotDate(imFile("plain.jpg", "")).isValid());

    const DibHandle upright = IK5FileLoad(source, 0, 0, "", "", "");
    ASSERT_EQ(upright.width(), 32);
    for (bool keepGps : {true, false}) {
        const QString copy = tempPath(keepGps ? "copy_gps.jpg" : "copy_nogps.jpg");
        ASSERT_EQ(ImgKitJpegFileSaveExif(copy, upright, "", "", 90, source, keepGps), 1);
        EXPECT_EQ(tag(copy, "Orientation"), "1");
        EXPECT_EQ(tag(copy, "Make"), "TavCamera");
        EXPECT_EQ(tag(copy, "DateTimeOriginal"), "2019:07:14 09:30:00");
        EXPECT_EQ(tag(copy, "GPSLatitude").empty(), !keepGps);
        EXPECT_EQ(run("exiftool -q -validate -warning -a " + quoted(copy)).find("Error"), std::string::npos);
        // Loaded again it stays upright: nothing turns it a second time.
        EXPECT_EQ(IK5FileLoad(copy, 0, 0, "", "", "").width(), 32);
    }
    const QString bare = tempPath("bare.jpg");
    ASSERT_EQ(ImgKitJpegFileSaveExif(bare, upright, "", "", 90, imFile("noexif.jpg", ""), true), 1);
    EXPECT_EQ(tag(bare, "Make"), "");
}

TEST(ColourProfiles, AdobeRgbPicturesAndCmykJpegsMatchImageMagickWithTheSameProfiles)
{
    const std::string toSrgb = "-profile " + kIcc + "srgb.icc";
    struct Case {
        const char* name;
        std::string make;  // ImageMagick options writing the file
        std::string reference;  // and reading it as sRGB
    };
    const Case cases[] = {
        {"adobe.jpg", toSrgb + " -profile " + kIcc + "a98.icc -quality 97", toSrgb},
        {"adobe.png", toSrgb + " -profile " + kIcc + "a98.icc", toSrgb},
        {"adobe.tif", toSrgb + " -profile " + kIcc + "a98.icc -compress lzw", toSrgb},
        {"cmyk.jpg", toSrgb + " -profile " + kIcc + "default_cmyk.icc -quality 97", toSrgb},
        {"cmyk_bare.jpg", toSrgb + " -profile " + kIcc + "default_cmyk.icc +profile '*' -quality 97",
         "-profile " + kIcc + "default_cmyk.icc " + toSrgb},
    };
    for (const Case& c : cases) {
        const QString path = imFile(c.name, c.make, 64, 48);
        const DibHandle ours = IK5FileLoad(path, 0, 0, "", "", "");
        ASSERT_TRUE(ours) << c.name;
        const auto [mean, worst] = deltaE(ours, decodeWithIm(path, c.reference));
        std::printf("%s: mean dE %.2f, max dE %.2f\n", c.name, mean, worst);
        EXPECT_LT(mean, 1.0) << c.name;
        EXPECT_LT(worst, 3.0) << c.name;
        // Without colour management the colours are visibly off.
        LoadOptionsGuard off({true, false});
        EXPECT_GT(deltaE(IK5FileLoad(path, 0, 0, "", "", ""), ours).first, 2.0) << c.name;
    }
}

TEST(Png, SixteenBitRampAndTransparencyMatchImageMagickWithinOne)
{
    // A 16-bit grey ramp with 0x4000, 0x8000 and 0xC000, written without gamma chunks.
    std::string pgm = "P5 259 1 65535\n";
    std::vector<int> values = {0x4000, 0x8000, 0xC000};
    for (int i = 0; i < 256; ++i)
        values.push_back(std::min(65535, i * 257 + (i % 7) * 31));
    for (int v : values) {
        pgm += char(v >> 8);
        pgm += char(v & 0xFF);
    }
    const QString rampSource = tempPath("ramp.pgm");
    writeBytes(rampSource, std::vector<std::uint8_t>(pgm.begin(), pgm.end()));
    const std::string noGamma = " -define png:exclude-chunk=gAMA,cHRM,sRGB,iCCP,bKGD ";
    const QString ramp = tempPath("ramp16.png");
    shell("convert " + quoted(rampSource) + noGamma + "-depth 16 " + quoted(ramp));
    const DibHandle ours = IK5FileLoad(ramp, 0, 0, "", "", "");
    ASSERT_TRUE(ours);
    const int rampDifference = maxDifference(ours, decodeWithIm(ramp));
    std::printf("16-bit grey ramp: largest difference %d\n", rampDifference);
    EXPECT_LE(rampDifference, 1);
    for (int x = 0; x < 3; ++x)
        EXPECT_NEAR(bgrPixels(ours)[3 * x], 64 * (x + 1) - 1, 1) << x;

    const QString half = tempPath("half.png");
    shell("convert -size 4x2 xc:'rgba(0,0,0,0.5)' " + quoted(half));
    EXPECT_NEAR(bgrPixels(IK5FileLoad(half, 0, 0, "", "", ""))[0], 127, 1);
    const QString colour = tempPath("alpha_source.bmp");
    ASSERT_EQ(ImgKitBmpFileSave(colour, photo24(48, 32), "", "", 0), 1);
    for (const char* depth : {"8", "16"}) {
        const QString path = tempPath(QString("alpha%1.png").arg(depth));
        shell("convert " + quoted(colour) +
              " \\( -size 48x32 gradient:white-black \\) -alpha off "
              "-compose CopyOpacity -composite" +
              noGamma + "-depth " + depth + " " + quoted(path));
        const int difference = maxDifference(IK5FileLoad(path, 0, 0, "", "", ""), decodeWithIm(path));
        std::printf("%s-bit transparency over white: largest difference %d\n", depth, difference);
        EXPECT_LE(difference, 1) << depth;
    }
    const QString rgb16 = tempPath("rgb16.png");
    shell("convert " + quoted(colour) + noGamma + "-depth 16 " + quoted(rgb16));
    EXPECT_LE(maxDifference(IK5FileLoad(rgb16, 0, 0, "", "", ""), decodeWithIm(rgb16)), 1);
}

TEST(TiffReader, TiledFilesOfEveryTileSizeAndDepthEqualTheirStripVersions)
{
    const std::pair<const char*, const char*> depths[] = {
        {"bilevel", "-monochrome"},
        {"grey4", "-type Grayscale -depth 4"},
        {"grey8", "-type Grayscale -depth 8"},
        {"grey16", "-type Grayscale -depth 16"},
        {"palette", "-type Palette -depth 8"},
        {"rgb", "-type TrueColor -depth 8"},
    };
    for (const auto& [name, options] : depths) {
        const QString strips =
            imFile(QString("%1_strips.tif").arg(name), std::string(options) + " -compress none", 70, 45);
        const DibHandle reference = ImgKitFileLoad(strips, "", "");
        ASSERT_TRUE(reference) << name;
        EXPECT_LE(maxDifference(reference, decodeWithIm(strips)), 1) << name;
        for (const char* tiles : {"-w 16 -l 16", "-w 64 -l 64", "-w 32 -l 16"}) {
            for (const char* compression : {"none", "lzw"}) {
                const QString tiled = tempPath(QString("%1 %2 %3.tif").arg(name, tiles, compression));
                shell("tiffcp -c " + std::string(compression) + " -t " + tiles + " " + quoted(strips) + " " +
                      quoted(tiled));
                const DibHandle ours = ImgKitFileLoad(tiled, "", "");
                ASSERT_TRUE(ours) << name << " " << tiles << " " << compression;
                EXPECT_EQ(ours.bitCount(), reference.bitCount()) << name << " " << tiles;
                EXPECT_EQ(bgrPixels(ours), bgrPixels(reference)) << name << tiles << compression;
            }
        }
    }
}
