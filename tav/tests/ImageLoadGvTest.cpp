// LoadImageFile with the real gv program behind the GV link: what the
// library cannot read reaches GV only where the extension allows it.
#include "platform/PlatformPaths.h"
#include "platform/tests/ScriptedPrompt.h"
#include "tav/imaging/GvLinkFetcher.h"
#include "tav/imaging/ImageLoad.h"
#include "tav/tests/BitmapTestPictures.h"

#include <QCoreApplication>
#include <QDir>
#include <QFileInfo>
#include <QProcess>
#include <QTemporaryDir>
#include <gtest/gtest.h>

#include <memory>

namespace {

// gv is built into the folder of the test program.
QString gvProgram()
{
    return QFileInfo(QStringLiteral("/proc/self/exe")).canonicalPath() + QStringLiteral("/gv");
}

class ImageLoadGvTest : public testing::Test {
protected:
    static void SetUpTestSuite()
    {
        // The link waits in event loops: it needs an application object.
        if (!QCoreApplication::instance()) {
            static int argc = 1;
            static char name[] = "tav_core_tests";
            static char* argv[] = {name, nullptr};
            static QCoreApplication app(argc, argv);
        }
    }

    void SetUp() override
    {
        if (!QFileInfo(gvProgram()).isExecutable())
            GTEST_SKIP() << "gv is not built";
        // GV's conversation lives in a sandbox folder, away from a real GV.
        qputenv(platform::kSandboxVariable, QFile::encodeName(m_sandbox.path()));
        m_link.SetGvOptions(1, gvProgram());
    }
    void TearDown() override
    {
        m_link.StopGv();
        qunsetenv(platform::kSandboxVariable);
    }

    // A GIF of 12 x 8, red, saved under `name` whatever its extension says.
    QString gifNamed(const QString& name)
    {
        const QString path = m_dir.filePath(name);
        QProcess gm;
        gm.start(QStringLiteral("gm"),
                 {QStringLiteral("convert"), QStringLiteral("-size"), QStringLiteral("12x8"),
                  QStringLiteral("xc:red"), QStringLiteral("gif:") + path});
        EXPECT_TRUE(gm.waitForFinished(60000) && gm.exitCode() == 0);
        return path;
    }

    imgkit::DibHandle load(const QString& file)
    {
        return LoadImageFile(file, {}, {}, gvProgram(), &m_fetcher);
    }

    QTemporaryDir m_sandbox;
    QTemporaryDir m_dir;
    platform::ScriptedPrompt m_prompts;
    TgvDDE m_link;
    GvLinkFetcher m_fetcher{m_link};
};

}  // namespace

TEST_F(ImageLoadGvTest, GifLoadsThroughGv)
{
    const imgkit::DibHandle dib = load(gifNamed(QStringLiteral("a.gif")));
    ASSERT_TRUE(dib);
    EXPECT_EQ(dib.width(), 12);
    EXPECT_EQ(dib.height(), 8);
    EXPECT_EQ(testpic::pixel(dib, 6, 4), testpic::kRed);
}

TEST_F(ImageLoadGvTest, UnreadableTifIsFetchedThroughGvButUnreadableBmpIsNot)
{
    EXPECT_TRUE(load(gifNamed(QStringLiteral("scan.tif"))));
    EXPECT_TRUE(m_link.gvRunning());
    m_link.StopGv();
    EXPECT_FALSE(load(gifNamed(QStringLiteral("photo.bmp"))));
    EXPECT_FALSE(load(gifNamed(QStringLiteral("notes.txt"))));
    EXPECT_FALSE(m_link.gvRunning());  // GV was never asked, so never started
}

TEST_F(ImageLoadGvTest, FileGvCannotReadGivesNothing)
{
    QFile junk(m_dir.filePath(QStringLiteral("junk.webp")));
    ASSERT_TRUE(junk.open(QIODevice::WriteOnly));
    junk.write(QByteArray(500, 'q'));
    junk.close();
    EXPECT_FALSE(load(junk.fileName()));
}
