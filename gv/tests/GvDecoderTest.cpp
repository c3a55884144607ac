// Pictures of the formats GV must read, made by other tools, decoded into
// 24-bit DIBs: colours, orientation, alpha over white, the first frame.
#include "gv/GvDecoder.h"

#include <QDir>
#include <QFile>
#include <QProcess>
#include <QStandardPaths>
#include <QTemporaryDir>
#include <gtest/gtest.h>

#include <cstring>
#include <sys/stat.h>

namespace gv {
namespace {

struct Pixel {
    int b, g, r;
};

struct Dib {
    int width = 0, height = 0, bitCount = 0;
    std::size_t size = 0;
    platform::DdeBlock block;
    // Top-down row y, column x.
    Pixel at(int x, int y) const
    {
        const std::size_t stride = (std::size_t(width) * 3 + 3) / 4 * 4;
        const auto* p =
            static_cast<const unsigned char*>(block.data()) + 40 + (height - 1 - y) * stride + x * 3;
        return {p[0], p[1], p[2]};
    }
};

Dib decode(const QString& path)
{
    Dib dib;
    dib.block = decodeToDib(path);
    if (dib.block) {
        std::int32_t header[3];
        std::memcpy(header, dib.block.data(), sizeof(header));
        dib.width = header[1];
        dib.height = header[2];
        dib.bitCount = static_cast<const std::uint16_t*>(dib.block.data())[7];
        dib.size = dib.block.size();
    }
    return dib;
}

bool run(const QString& program, const QStringList& arguments)
{
    if (QStandardPaths::findExecutable(program).isEmpty())
        return false;
    QProcess p;
    p.start(program, arguments);
    return p.waitForFinished(60000) && p.exitStatus() == QProcess::NormalExit && p.exitCode() == 0;
}

class GvDecoderTest : public testing::Test {
protected:
    void SetUp() override
    {
        ASSERT_TRUE(m_dir.isValid());
        // Left half red, right half blue, 40 x 30: shows orientation and colour.
        m_source = file(QStringLiteral("source.ppm"));
        QFile f(m_source);
        ASSERT_TRUE(f.open(QIODevice::WriteOnly));
        f.write("P6\n40 30\n255\n");
        for (int y = 0; y < 30; ++y)
            for (int x = 0; x < 40; ++x)
                f.write(x < 20 ? QByteArray("\xff\x00\x00", 3) : QByteArray("\x00\x00\xff", 3));
        f.close();
    }
    QString file(const QString& name) const { return m_dir.filePath(name); }
    QString convert(const QString& name)
    {
        const QString target = file(name);
        return run(QStringLiteral("gm"), {QStringLiteral("convert"), m_source, target}) ? target : QString();
    }
    static void expectRedBlue(const Dib& dib, const QString& what, int tolerance)
    {
        ASSERT_TRUE(dib.block) << what.toStdString();
        EXPECT_EQ(dib.width, 40);
        EXPECT_EQ(dib.height, 30);
        EXPECT_EQ(dib.bitCount, 24);
        EXPECT_EQ(dib.size, 40u + 120u * 30u);
        const Pixel left = dib.at(5, 3), right = dib.at(35, 26);
        EXPECT_NEAR(left.r, 255, tolerance) << what.toStdString();
        EXPECT_NEAR(left.b, 0, tolerance) << what.toStdString();
        EXPECT_NEAR(right.b, 255, tolerance) << what.toStdString();
        EXPECT_NEAR(right.r, 0, tolerance) << what.toStdString();
    }

    QTemporaryDir m_dir;
    QString m_source;
};

TEST_F(GvDecoderTest, ReadsTheFormatsGvStandsFor)
{
    for (const char* name : {"a.gif", "a.webp", "a.ppm", "a.pgm", "a.xpm", "a.tga", "a.jxl", "a.png", "a.tif",
                             "a.pcx", "a.sgi", "a.ras", "a.bmp", "a.jpg"}) {
        const QString path = convert(QString::fromLatin1(name));
        ASSERT_FALSE(path.isEmpty()) << name;
        const Dib dib = decode(path);
        if (QByteArray(name) == "a.pgm") {
            ASSERT_TRUE(dib.block);
            EXPECT_EQ(dib.at(5, 3).r, dib.at(5, 3).g);  // grey stays grey
            continue;
        }
        expectRedBlue(dib, QString::fromLatin1(name), QByteArray(name) == "a.jxl" ? 24 : 4);
    }
}

TEST_F(GvDecoderTest, KnowsTheLessCommonFormatsByTheirBytesOrName)
{
    for (const char* name :
         {"a.dcx", "a.xbm", "a.wbmp", "a.dpx", "a.cin", "a.fits", "a.pict", "a.pbm", "a.pam"}) {
        const QString path = convert(QString::fromLatin1(name));
        ASSERT_FALSE(path.isEmpty()) << name;
        const Dib dib = decode(path);
        EXPECT_TRUE(dib.block) << name;
        EXPECT_EQ(dib.width, 40) << name;
        EXPECT_EQ(dib.height, 30) << name;
    }
}

TEST_F(GvDecoderTest, ReadsHeicAndAvif)
{
    const QString png = convert(QStringLiteral("h.png"));
    for (const QString& name : {QStringLiteral("a.heic"), QStringLiteral("a.avif")}) {
        QStringList arguments = {QStringLiteral("-q"), QStringLiteral("90"), QStringLiteral("-o"), file(name),
                                 png};
        if (name.endsWith(QLatin1String("avif")))
            arguments.prepend(QStringLiteral("-A"));
        if (!run(QStringLiteral("heif-enc"), arguments))
            GTEST_SKIP() << "heif-enc (libheif-examples) is needed for this test";
        expectRedBlue(decode(file(name)), name, 40);
    }
}

TEST_F(GvDecoderTest, ReadsAnIconByItsName)
{
    // An icon holding one PNG image: the format has no signature of its own.
    const QString png = convert(QStringLiteral("i.png"));
    QFile in(png);
    ASSERT_TRUE(in.open(QIODevice::ReadOnly));
    const QByteArray data = in.readAll();
    QByteArray icon("\0\0\1\0\1\0", 6);
    const quint32 size = quint32(data.size()), offset = 22;
    icon += QByteArray("\x28\x1e\0\0\1\0\x20\0", 8);  // 40 x 30, 1 plane, 32 bits
    icon += QByteArray(reinterpret_cast<const char*>(&size), 4);
    icon += QByteArray(reinterpret_cast<const char*>(&offset), 4);
    icon += data;
    QFile out(file(QStringLiteral("a.ico")));
    ASSERT_TRUE(out.open(QIODevice::WriteOnly));
    out.write(icon);
    out.close();
    expectRedBlue(decode(out.fileName()), QStringLiteral("a.ico"), 4);
}

TEST_F(GvDecoderTest, AlphaLiesOnWhiteAndAnAnimationGivesItsFirstFrame)
{
    const QString png = file(QStringLiteral("alpha.png"));
    ASSERT_TRUE(run(QStringLiteral("gm"), {QStringLiteral("convert"), QStringLiteral("-size"),
                                           QStringLiteral("8x8"), QStringLiteral("xc:transparent"), png}));
    const Dib clear = decode(png);
    ASSERT_TRUE(clear.block);
    EXPECT_EQ(clear.at(3, 3).r, 255);
    EXPECT_EQ(clear.at(3, 3).g, 255);
    EXPECT_EQ(clear.at(3, 3).b, 255);

    const QString gif = file(QStringLiteral("anim.gif"));
    ASSERT_TRUE(run(QStringLiteral("gm"),
                    {QStringLiteral("convert"), QStringLiteral("-size"), QStringLiteral("8x8"),
                     QStringLiteral("xc:lime"), QStringLiteral("xc:red"), QStringLiteral("xc:blue"), gif}));
    const Dib first = decode(gif);
    ASSERT_TRUE(first.block);
    EXPECT_EQ(first.at(0, 0).g, 255);
    EXPECT_EQ(first.at(0, 0).r, 0);
}

TEST_F(GvDecoderTest, UnreadableAndDisallowedFilesGiveNothing)
{
    const auto write = [&](const QString& name, const QByteArray& bytes) {
        QFile f(file(name));
        EXPECT_TRUE(f.open(QIODevice::WriteOnly));
        f.write(bytes);
        return f.fileName();
    };
    EXPECT_FALSE(decodeToDib(write(QStringLiteral("junk.gif"), QByteArray(500, 'x'))));
    EXPECT_FALSE(decodeToDib(write(QStringLiteral("empty.gif"), {})));
    EXPECT_FALSE(decodeToDib(write(QStringLiteral("cut.gif"), QByteArray("GIF89a\x10\0\x10\0", 10))));
    EXPECT_FALSE(decodeToDib(file(QStringLiteral("missing.gif"))));
    // A pipe would block the decoder for ever; a folder is no picture.
    const QString fifo = file(QStringLiteral("pipe.gif"));
    ASSERT_EQ(::mkfifo(QFile::encodeName(fifo).constData(), 0600), 0);
    EXPECT_FALSE(decodeToDib(fifo));
    EXPECT_FALSE(decodeToDib(m_dir.path()));
    // Vector and scripted formats never load, whatever their name says.
    EXPECT_FALSE(
        decodeToDib(write(QStringLiteral("a.svg"),
                          "<?xml version=\"1.0\"?><svg xmlns=\"http://www.w3.org/2000/svg\" width=\"4\" "
                          "height=\"4\"><rect width=\"4\" height=\"4\"/></svg>")));
    EXPECT_FALSE(
        decodeToDib(write(QStringLiteral("a.mvg"), "viewbox 0 0 4 4\nfill red\nrectangle 0 0 4 4\n")));
    // A damaged picture: truncated in the middle of its data.
    const QString good = convert(QStringLiteral("t.png"));
    QFile f(good);
    ASSERT_TRUE(f.open(QIODevice::ReadOnly));
    const QByteArray bytes = f.readAll();
    f.close();
    const platform::DdeBlock cut =
        decodeToDib(write(QStringLiteral("cut.png"), bytes.left(bytes.size() / 2)));
    if (cut) {
        EXPECT_EQ(cut.size(), 40u + 120u * 30u);  // whatever was read, in the full layout
    }
}

}  // namespace
}  // namespace gv
