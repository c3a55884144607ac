// GV's commands and items with a decoder the test controls, and its
// registration.
#include "gv/GvService.h"
#include "gv/GvRegister.h"
#include "platform/Registry.h"

#include <gtest/gtest.h>

#include <condition_variable>
#include <cstring>
#include <mutex>

namespace gv {
namespace {

// Decodes only when the test lets it; a path ending "bad" fails.
class GatedDecoder {
public:
    platform::DdeBlock decode(const QString& path)
    {
        std::unique_lock lock(m_mutex);
        m_seen.push_back(path);
        m_opened.notify_all();
        m_gate.wait(lock, [this] { return m_open > 0; });
        --m_open;
        if (path.endsWith(QLatin1String("bad")))
            return {};
        return platform::DdeServer::textReply(QStringLiteral("DIB of ") + path);
    }
    void letOneThrough()
    {
        std::lock_guard lock(m_mutex);
        ++m_open;
        m_gate.notify_all();
    }
    void waitForDecodes(int count)
    {
        std::unique_lock lock(m_mutex);
        m_opened.wait(lock, [&] { return m_seen.size() >= count; });
    }
    QStringList seen()
    {
        std::lock_guard lock(m_mutex);
        return m_seen;
    }

private:
    std::mutex m_mutex;
    std::condition_variable m_gate, m_opened;
    int m_open = 0;
    QStringList m_seen;
};

class GvServiceTest : public testing::Test {
protected:
    ~GvServiceTest() override
    {
        for (int i = 0; i < 8; ++i)
            m_decoder.letOneThrough();
    }
    QString text(const QString& item)
    {
        const platform::DdeBlock block = m_service.request(m_topic, item, 1);
        return block ? QString::fromUtf8(static_cast<const char*>(block.data()), qsizetype(block.size()))
                     : QStringLiteral("<refused>");
    }
    QString dib()
    {
        const platform::DdeBlock block = m_service.request(m_topic, QStringLiteral("DIB"), kCfDib);
        return block ? QString::fromUtf8(static_cast<const char*>(block.data()), qsizetype(block.size()))
                     : QStringLiteral("<refused>");
    }
    // Waits until the service reports something other than WAIT.
    QString settled()
    {
        QString reply;
        do
            reply = text(QStringLiteral("DIBRequest"));
        while (reply == QLatin1String("WAIT"));
        return reply;
    }

    GatedDecoder m_decoder;
    int m_exits = 0;
    GvService m_service{[this](const QString& p) { return m_decoder.decode(p); }, [this] { ++m_exits; }};
    const QString m_topic = QStringLiteral("System");
};

TEST_F(GvServiceTest, PictureIsWaitedForThenHandedOverOnce)
{
    EXPECT_TRUE(m_service.acceptsTopic(QStringLiteral("System")));
    EXPECT_FALSE(m_service.acceptsTopic(QStringLiteral("Image")));
    EXPECT_EQ(text(QStringLiteral("DIBRequest")), QStringLiteral("NG"));  // nothing opened yet

    EXPECT_TRUE(m_service.execute(m_topic, QStringLiteral("[DispMsg(OFF)][ShowGV(OFF)]")));
    EXPECT_TRUE(m_service.execute(m_topic, QStringLiteral("[FileOpen(\"/p/a \"\"b\"\"].gif\")]")));
    m_decoder.waitForDecodes(1);
    EXPECT_EQ(text(QStringLiteral("DIBRequest")), QStringLiteral("WAIT"));
    EXPECT_EQ(dib(), QStringLiteral("<refused>"));  // not ready yet
    m_decoder.letOneThrough();
    EXPECT_EQ(settled(), QStringLiteral("OK"));
    EXPECT_EQ(dib(), QStringLiteral("DIB of /p/a \"b\"].gif"));
    EXPECT_EQ(dib(), QStringLiteral("<refused>"));  // handed over once
    EXPECT_EQ(text(QStringLiteral("DIBRequest")), QStringLiteral("OK"));
    EXPECT_EQ(m_service.request(m_topic, QStringLiteral("DIB"), 2).size(), 0u);
}

TEST_F(GvServiceTest, UnreadableFileAnswersNgAndANewFileNeverShowsTheOldPicture)
{
    m_service.execute(m_topic, QStringLiteral("[FileOpen(\"/p/ok.gif\")]"));
    m_decoder.letOneThrough();
    EXPECT_EQ(settled(), QStringLiteral("OK"));

    // The next file is WAIT at once, before its decode even starts.
    m_service.execute(m_topic, QStringLiteral("[FileOpen(\"/p/bad\")]"));
    EXPECT_EQ(dib(), QStringLiteral("<refused>"));
    m_decoder.letOneThrough();
    EXPECT_EQ(settled(), QStringLiteral("NG"));
    EXPECT_EQ(dib(), QStringLiteral("<refused>"));
}

TEST_F(GvServiceTest, ANewerFileWinsOverOneStillDecoding)
{
    m_service.execute(m_topic, QStringLiteral("[FileOpen(\"/p/first.gif\")]"));
    m_decoder.waitForDecodes(1);
    m_service.execute(m_topic, QStringLiteral("[FileOpen(\"/p/second.gif\")]"));
    m_decoder.letOneThrough();  // first ends: its picture is dropped
    m_decoder.waitForDecodes(2);
    EXPECT_EQ(text(QStringLiteral("DIBRequest")), QStringLiteral("WAIT"));
    m_decoder.letOneThrough();
    EXPECT_EQ(settled(), QStringLiteral("OK"));
    EXPECT_EQ(dib(), QStringLiteral("DIB of /p/second.gif"));
}

TEST_F(GvServiceTest, UnknownOrMalformedCommandsAreRefusedWithoutRunningAnyPart)
{
    for (const char* bad :
         {"[FileOpen(\"/p/x.gif\")][Format(C)]", "[FileOpen(\"/p/x.gif\")", "[FileOpen()]",
          "[FileOpen(\"\")]", "[ShowGV(MAYBE)]", "[ExitGV(1)]", "[FileOpen(\"/a\")] ExitGV"})
        EXPECT_FALSE(m_service.execute(m_topic, QString::fromUtf8(bad))) << bad;
    EXPECT_TRUE(m_decoder.seen().isEmpty());
    EXPECT_EQ(m_exits, 0);
    EXPECT_TRUE(m_service.execute(m_topic, QStringLiteral("ExitGV()")));
    EXPECT_EQ(m_exits, 1);
}

TEST(GvRegisterTest, RecordsPathAndVersionUnderTheViewerKey)
{
    platform::Registry& registry = platform::Registry::current();
    ASSERT_TRUE(registerGv(registry, QStringLiteral("/opt/tav/bin/gv")));
    const auto path =
        registry.value(platform::RegRoot::CurrentUser, QStringLiteral("Software\\Kavano\\GV\\Path"), {});
    const auto version =
        registry.value(platform::RegRoot::CurrentUser, QStringLiteral("Software\\Kavano\\GV\\Version"), {});
    ASSERT_TRUE(path && version);
    EXPECT_EQ(path->text, QStringLiteral("/opt/tav/bin/gv"));
    EXPECT_EQ(version->text, QStringLiteral("0.80"));
}

}  // namespace
}  // namespace gv
