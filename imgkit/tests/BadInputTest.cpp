// Damaged and hostile files: every reader answers with an empty handle (or a
// sound picture), never a crash, an overrun or an unbounded allocation.
#include "imgkit/ImgKit.h"
#include "imgkit/src/ByteReader.h"
#include "imgkit/src/DibParser.h"
#include "imgkit/src/Readers.h"
#include "imgkit/tests/TestPictures.h"

#include <QDir>
#include <QFile>
#include <QFileInfo>

#include <sys/stat.h>

#include <gtest/gtest.h>

using imgkit::DibHandle;
using namespace imgkit::test;

namespace {

std::vector<std::uint8_t> validFile(const char* name, int (*save)(const QString&, const DibHandle&))
{
    const QString path = tempPath(name);
    EXPECT_EQ(save(path, photo24(64, 48)), 1);
    return readBytes(path);
}

std::vector<std::uint8_t> bmpHeader(int w, int h, int bits, std::uint32_t compression, std::uint32_t clrUsed)
{
    std::vector<std::uint8_t> f(54);
    f[0] = 'B';
    f[1] = 'M';
    imgkit::putLe32(&f[14], 40);
    imgkit::putLe32(&f[18], std::uint32_t(w));
    imgkit::putLe32(&f[22], std::uint32_t(h));
    imgkit::putLe16(&f[26], 1);
    imgkit::putLe16(&f[28], std::uint16_t(bits));
    imgkit::putLe32(&f[30], compression);
    imgkit::putLe32(&f[46], clrUsed);
    return f;
}

}  // namespace

TEST(BadInput, TruncatedFilesGiveNothingExceptAJpegWithItsHeader)
{
    struct Format {
        const char* name;
        int (*save)(const QString&, const DibHandle&);
    };
    const Format formats[] = {
        {"t.bmp", [](const QString& p, const DibHandle& d) { return ImgKitBmpFileSave(p, d, "", "", 0); }},
        {"t8.bmp",
         [](const QString& p, const DibHandle& d) {
             return ImgKitBmpFileSave(p, ImgKitConvertColor(d, 8, 0, 1, "", ""), "", "", 1);
         }},
        {"t.jpg",
         [](const QString& p, const DibHandle& d) { return ImgKitJpegFileSave(p, d, "", "", 80, 0); }},
        {"t.tif", [](const QString& p, const DibHandle& d) { return ImgKitTiffFileSave(p, d, "", "", 5); }},
        {"t.pcx",
         [](const QString& p, const DibHandle& d) {
             int status = 0;
             const QString bmp = p + ".bmp";
             ImgKitBmpFileSave(bmp, d, "", "", 0);
             run("gm convert '" + bmp.toStdString() + "' -type TrueColor '" + p.toStdString() + "'", &status);
             return status == 0 ? 1 : 0;
         }},
        {"t.png",
         [](const QString& p, const DibHandle& d) {
             int status = 0;
             const QString bmp = p + ".bmp";
             ImgKitBmpFileSave(bmp, d, "", "", 0);
             run("gm convert '" + bmp.toStdString() + "' '" + p.toStdString() + "'", &status);
             return status == 0 ? 1 : 0;
         }},
    };
    for (const Format& f : formats) {
        const std::vector<std::uint8_t> whole = validFile(f.name, f.save);
        ASSERT_GT(whole.size(), 100u) << f.name;
        ASSERT_TRUE(IK5FileLoad(tempPath(f.name), 0, 0, "", "", "")) << f.name;
        // A JPEG cut after its header (up to the start of the scan) shows what decoded (see below).
        const bool jpeg = QString(f.name).endsWith(".jpg");
        const std::uint8_t startOfScan[] = {0xFF, 0xDA};
        const std::size_t header =
            std::size_t(std::search(whole.begin(), whole.end(), startOfScan, startOfScan + 2) -
                        whole.begin()) +
            20;
        for (double part : {0.0, 0.05, 0.3, 0.6, 0.9}) {
            const std::size_t size = std::size_t(whole.size() * part);
            const QString cut = tempPath(QString("cut_") + f.name);
            writeBytes(cut, std::vector<std::uint8_t>(whole.begin(), whole.begin() + size));
            EXPECT_EQ(bool(IK5FileLoad(cut, 0, 0, "", "", "")), jpeg && size > header)
                << f.name << " at " << part;
        }
    }
}

TEST(BadInput, ACutShortJpegKeepsItsDecodedRowsAndTheRestIsGrey)
{
    const QString path = tempPath("whole.jpg");
    ASSERT_EQ(ImgKitJpegFileSave(path, photo24(64, 256), "", "", 90, 0), 1);
    const std::vector<std::uint8_t> whole = readBytes(path);
    const QString cut = tempPath("half.jpg");
    writeBytes(cut, std::vector<std::uint8_t>(whole.begin(), whole.begin() + whole.size() / 2));
    const DibHandle full = ImgKitFileLoad(path, "", ""), part = ImgKitFileLoad(cut, "", "");
    ASSERT_TRUE(part);
    ASSERT_EQ(part.height(), 256);
    EXPECT_TRUE(std::equal(full.row(0), full.row(0) + full.stride(), part.row(0)));
    EXPECT_TRUE(std::all_of(part.row(255), part.row(255) + 64 * 3, [](std::uint8_t v) { return v == 128; }));
}

TEST(BadInput, OnlyRegularFilesAreOpened)
{
    // A FIFO named like a picture would block the loader until a writer came.
    const QString fifo = tempPath("pipe.jpg");
    ASSERT_EQ(::mkfifo(QFile::encodeName(fifo).constData(), 0600), 0);
    std::int16_t code = 0;
    EXPECT_EQ(ImgKitFileType(fifo, &code), 0);
    EXPECT_FALSE(ImgKitFileLoad(fifo, "", ""));
    EXPECT_FALSE(IK5FileLoad(fifo, 0, 0, "", "", ""));
    EXPECT_FALSE(ImgKitFileLoad(QFileInfo(fifo).path(), "", ""));
    EXPECT_EQ(ImgKitFileOrientation(fifo), 1);
}

TEST(BadInput, AbsurdDimensionsAreRefusedBeforeAllocating)
{
    auto bmp = bmpHeader(60000, 60000, 24, 0, 0);
    bmp.resize(200);
    EXPECT_FALSE(imgkit::readBmp(bmp.data(), bmp.size()));
    auto negative = bmpHeader(-5, 10, 24, 0, 0);
    negative.resize(400);
    EXPECT_FALSE(imgkit::readBmp(negative.data(), negative.size()));
    auto minHeight = bmpHeader(1, int(0x80000000u), 24, 0, 0);
    EXPECT_FALSE(imgkit::readBmp(minHeight.data(), minHeight.size()));

    std::vector<std::uint8_t> pcx(200, 0);
    pcx[0] = 0x0A;
    pcx[1] = 5;
    pcx[2] = 1;
    pcx[3] = 8;
    imgkit::putLe16(&pcx[8], 0xFFFF);
    imgkit::putLe16(&pcx[10], 0xFFFF);
    pcx[65] = 3;
    imgkit::putLe16(&pcx[66], 0xFFFF);
    EXPECT_FALSE(imgkit::readPcx(pcx.data(), pcx.size()));  // claims 13 GB from 72 bytes

    // A JPEG whose frame header claims 60000 x 60000.
    const QString path = tempPath("huge.jpg");
    ASSERT_EQ(ImgKitJpegFileSave(path, photo24(8, 8), "", "", 50, 0), 1);
    std::vector<std::uint8_t> jpeg = readBytes(path);
    for (std::size_t i = 2; i + 9 < jpeg.size(); ++i)
        if (jpeg[i] == 0xFF && jpeg[i + 1] == 0xC0) {
            jpeg[i + 5] = jpeg[i + 7] = 0xEA;
            jpeg[i + 6] = jpeg[i + 8] = 0x60;
            break;
        }
    EXPECT_FALSE(imgkit::readJpeg(jpeg.data(), jpeg.size(), nullptr));
}

TEST(BadInput, LyingColourTablesAndOutOfRangeIndices)
{
    auto huge = bmpHeader(2, 2, 8, 0, 0x7FFFFFFF);
    huge.resize(300);
    EXPECT_FALSE(imgkit::readBmp(huge.data(), huge.size()));

    // Two table entries, but the pixels use index 200: they read as black.
    auto shortTable = bmpHeader(2, 1, 8, 0, 2);
    const std::uint8_t rest[] = {9, 9, 9, 0, 250, 250, 250, 0, 1, 200, 0, 0};
    shortTable.insert(shortTable.end(), rest, rest + sizeof rest);
    const DibHandle dib = imgkit::readBmp(shortTable.data(), shortTable.size());
    ASSERT_TRUE(dib);
    EXPECT_EQ(bgrPixels(dib), (std::vector<std::uint8_t>{250, 250, 250, 0, 0, 0}));
}

TEST(BadInput, RunLengthDataThatLeavesThePicture)
{
    auto base = bmpHeader(4, 2, 8, imgkit::BI_RLE8, 2);
    base.resize(base.size() + 8, 0);
    auto withBody = [&](std::vector<std::uint8_t> body) {
        std::vector<std::uint8_t> f = base;
        f.insert(f.end(), body.begin(), body.end());
        return imgkit::readBmp(f.data(), f.size());
    };
    EXPECT_TRUE(withBody({4, 1, 0, 0, 4, 1, 0, 1}));
    EXPECT_FALSE(withBody({10, 1, 0, 1}));  // a run longer than the row
    EXPECT_FALSE(withBody({0, 6, 1, 1, 1, 1, 1, 1, 0, 1}));  // an absolute run past the row
    EXPECT_FALSE(withBody({0, 2, 3, 0, 2, 1, 0, 1}));  // a move to the right of the row
    EXPECT_FALSE(withBody({0, 0, 0, 0, 0, 0, 1, 1}));  // rows above the top
    EXPECT_FALSE(withBody({4, 1, 0, 5, 1}));  // absolute run cut short
    EXPECT_FALSE(withBody({4, 1}));  // stream ends mid-picture

    // RLE on a top-down picture is not allowed.
    auto topDown = bmpHeader(4, -2, 8, imgkit::BI_RLE8, 2);
    topDown.resize(topDown.size() + 8, 0);
    topDown.insert(topDown.end(), {0, 1});
    EXPECT_FALSE(imgkit::readBmp(topDown.data(), topDown.size()));
}

TEST(BadInput, UnusableHandlesAreRefusedByEveryFunction)
{
    auto* block = static_cast<imgkit::BitmapInfoHeader*>(std::calloc(1, 64));
    block->size = 40;
    block->width = 2;
    block->height = -2;  // top-down blocks are not the library's layout
    block->bitCount = 24;
    DibHandle bad = DibHandle::adopt(block);
    ImageInfo info;
    EXPECT_EQ(ImgKitImageInfo(bad, &info), 0);
    EXPECT_FALSE(ImgKitCopy(bad, "", ""));
    EXPECT_FALSE(ImgKitConvertColor(bad, 24, 0, 0, "", ""));
    EXPECT_EQ(ImgKitBright(bad, "", "", 1.0), 0);
    EXPECT_EQ(ImgKitBmpFileSave(tempPath("bad.bmp"), bad, "", "", 0), 0);
    EXPECT_FALSE(ImgKitPackedDibLoad(nullptr, 10));
    EXPECT_FALSE(ImgKitPackedDibLoad(block, 20));  // shorter than its own header says
}

// Inputs that once broke a parser (found by the fuzzers) stay here: each must
// decode to a sound picture or to nothing.
TEST(BadInput, FuzzRegressionInputs)
{
    const QDir dir(QStringLiteral(IMGKIT_TEST_DATA "/fuzz"));
    const QStringList names = dir.entryList(QDir::Files);
    ASSERT_FALSE(names.isEmpty()) << "no regression inputs in " << dir.path().toStdString();
    for (const QString& name : names) {
        const std::vector<std::uint8_t> bytes = readBytes(dir.filePath(name));
        DibHandle dib;
        if (name.startsWith("bmp"))
            dib = imgkit::readBmp(bytes.data(), bytes.size());
        else if (name.startsWith("pcx"))
            dib = imgkit::readPcx(bytes.data(), bytes.size());
        else if (name.startsWith("dib") && bytes.size() >= 2)
            dib = imgkit::parsePackedDib(bytes.data() + 2, bytes.size() - 2);
        if (dib) {
            EXPECT_TRUE(dib.isUsable()) << name.toStdString();
        }
    }
}
