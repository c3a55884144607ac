// TgvDDE with the real gv program: pictures through GV, files it cannot
// read, a GV that was killed, names that could break the command, the old
// viewer's message, and a stop while GV keeps answering "WAIT".
#include "platform/DdeServer.h"
#include "platform/tests/ScriptedPrompt.h"
#include "tav/core/RunState.h"
#include "tav/imaging/gvDDE6.h"

#include <QDir>
#include <QFile>
#include <QProcess>
#include <QTemporaryDir>
#include <QTimer>
#include <gtest/gtest.h>

#include <atomic>
#include <csignal>
#include <mutex>
#include <thread>

namespace {

const QString kGv = QStringLiteral(GV_PROGRAM);

bool gmConvert(const QStringList& arguments)
{
    QProcess p;
    p.start(QStringLiteral("gm"), QStringList{QStringLiteral("convert")} + arguments);
    return p.waitForFinished(60000) && p.exitCode() == 0;
}

class GvLinkTest : public testing::Test {
protected:
    void SetUp() override
    {
        ASSERT_TRUE(m_dir.isValid());
        m_gv.SetGvOptions(1, kGv);
        AbortRequested = false;
    }
    void TearDown() override { m_gv.StopGv(); }

    // A 30 x 20 picture, red above blue, in the format of `name`'s extension.
    QString picture(const QString& name)
    {
        const QString path = m_dir.filePath(name);
        EXPECT_TRUE(gmConvert({QStringLiteral("-size"), QStringLiteral("30x10"), QStringLiteral("xc:red"),
                               QStringLiteral("-size"), QStringLiteral("30x10"), QStringLiteral("xc:blue"),
                               QStringLiteral("-append"), path}));
        return path;
    }
    static void expectRedAboveBlue(const imgkit::DibHandle& dib)
    {
        ASSERT_TRUE(dib);
        ASSERT_EQ(dib.width(), 30);
        ASSERT_EQ(dib.height(), 20);
        ASSERT_EQ(dib.bitCount(), 24);
        const std::uint8_t* top = dib.row(2);
        const std::uint8_t* bottom = dib.row(17);
        EXPECT_NEAR(top[2], 255, 6);  // red, in blue-green-red order
        EXPECT_NEAR(top[0], 0, 6);
        EXPECT_NEAR(bottom[0], 255, 6);
        EXPECT_NEAR(bottom[2], 0, 6);
    }

    QTemporaryDir m_dir;
    platform::ScriptedPrompt m_prompts;
    TgvDDE m_gv;
};

TEST_F(GvLinkTest, GifAndWebpLoadThroughGvAndAnUnreadableFileGivesNothing)
{
    expectRedAboveBlue(m_gv.FetchDib(picture(QStringLiteral("a.gif"))));
    const qint64 pid = m_gv.gvProcessId();
    EXPECT_NE(pid, 0);
    expectRedAboveBlue(m_gv.FetchDib(picture(QStringLiteral("b.webp"))));
    EXPECT_EQ(m_gv.gvProcessId(), pid);  // one GV serves every fetch

    QFile junk(m_dir.filePath(QStringLiteral("junk.gif")));
    ASSERT_TRUE(junk.open(QIODevice::WriteOnly));
    junk.write(QByteArray(300, 'z'));
    junk.close();
    EXPECT_FALSE(m_gv.FetchDib(junk.fileName()));
    EXPECT_FALSE(m_gv.FetchDib(m_dir.filePath(QStringLiteral("missing.webp"))));
    // The failures leave GV ready for the next picture.
    expectRedAboveBlue(m_gv.FetchDib(picture(QStringLiteral("c.gif"))));
    EXPECT_TRUE(m_prompts.texts().isEmpty());
    EXPECT_FALSE(AbortRequested);
}

TEST_F(GvLinkTest, AKilledGvIsStartedAgainByTheNextFetch)
{
    const QString gif = picture(QStringLiteral("a.gif"));
    expectRedAboveBlue(m_gv.FetchDib(gif));
    const qint64 first = m_gv.gvProcessId();
    ASSERT_EQ(::kill(pid_t(first), SIGKILL), 0);
    QProcess::execute(QStringLiteral("sh"), {QStringLiteral("-c"), QStringLiteral("sleep 0.2")});

    expectRedAboveBlue(m_gv.FetchDib(gif));
    EXPECT_NE(m_gv.gvProcessId(), first);
    EXPECT_TRUE(m_gv.gvRunning());
}

TEST_F(GvLinkTest, NamesWithQuotesAndBracketsArriveWhole)
{
    for (const char* name : {"say \"cheese\"].gif", "x\")][ExitGV()][FileOpen(\"y.gif", "写真 [1] ().webp"}) {
        const QString path = m_dir.filePath(QString::fromUtf8(name));
        ASSERT_TRUE(QFile::copy(picture(QStringLiteral("plain.gif")), path)) << name;
        expectRedAboveBlue(m_gv.FetchDib(path));
        QFile::remove(m_dir.filePath(QStringLiteral("plain.gif")));
    }
    EXPECT_TRUE(m_gv.gvRunning());  // nothing in a name ended GV
}

TEST_F(GvLinkTest, StopGvEndsTheViewerAndAMissingGvGivesNothing)
{
    expectRedAboveBlue(m_gv.FetchDib(picture(QStringLiteral("a.gif"))));
    const qint64 pid = m_gv.gvProcessId();
    m_gv.StopGv();
    EXPECT_EQ(m_gv.gvProcessId(), 0);
    EXPECT_NE(::kill(pid_t(pid), 0), 0);  // the process is gone

    TgvDDE missing;
    missing.SetGvOptions(1, m_dir.filePath(QStringLiteral("no-such-gv")));
    EXPECT_FALSE(missing.StartGv());
    EXPECT_FALSE(missing.FetchDib(picture(QStringLiteral("b.gif"))));
}

TEST_F(GvLinkTest, AnOldGvGetsItsMessageOnEveryFetch)
{
    TgvDDE old;
    old.SetGvOptions(0, kGv);
    const QString gif = picture(QStringLiteral("a.gif"));
    EXPECT_FALSE(old.FetchDib(gif));
    EXPECT_FALSE(old.FetchDib(gif));
    EXPECT_EQ(m_prompts.texts(), QStringList(2, QStringLiteral("E:GV ver0.79以降をお使いください.")));
    old.StopGv();
}

// A viewer that answers "DIBRequest" with one fixed text, put in GV's place
// (it takes the endpoint over) once GV runs.
class FixedViewer : public platform::DdeServerHandler {
public:
    explicit FixedViewer(const QString& reply) : m_reply(reply), m_server(*this)
    {
        listening = m_server.listen(QStringLiteral("GV"));
        m_thread = std::thread([this] { m_server.run(); });
    }
    ~FixedViewer() override
    {
        m_server.stop();
        m_thread.join();
    }
    bool acceptsTopic(const QString&) override { return true; }
    bool execute(const QString&, const QString& command) override
    {
        std::lock_guard lock(m_mutex);
        m_commands.push_back(command);
        return true;
    }
    QStringList commands()
    {
        std::lock_guard lock(m_mutex);
        return m_commands;
    }
    platform::DdeBlock request(const QString&, const QString& item, std::uint32_t) override
    {
        if (item != QLatin1String("DIBRequest")) {
            ++dibRequests;
            return {};
        }
        ++polls;
        return platform::DdeServer::textReply(m_reply);
    }
    bool listening = false;
    std::atomic<int> polls{0};
    std::atomic<int> dibRequests{0};

private:
    std::mutex m_mutex;
    QStringList m_commands;
    QString m_reply;
    platform::DdeServer m_server;
    std::thread m_thread;
};

// A stand-in program that does not serve DDE: it exits at once, or lives on.
QString script(const QTemporaryDir& dir, const QString& name, const QByteArray& body)
{
    QFile f(dir.filePath(name));
    EXPECT_TRUE(f.open(QIODevice::WriteOnly));
    f.write("#!/bin/sh\n" + body + "\n");
    f.close();
    f.setPermissions(QFile::ReadOwner | QFile::WriteOwner | QFile::ExeOwner);
    return f.fileName();
}

TEST_F(GvLinkTest, StartGvSendsTheStartCommandsTheVersionAllows)
{
    FixedViewer viewer(QStringLiteral("NG"));
    ASSERT_TRUE(viewer.listening);
    const QString quiet = script(m_dir, QStringLiteral("quiet-gv"), "exec sleep 30");
    TgvDDE newer, older;
    newer.SetGvOptions(1, quiet);
    older.SetGvOptions(0, quiet);
    EXPECT_TRUE(newer.StartGv());
    EXPECT_TRUE(newer.StartGv());  // a known process: nothing sent again
    EXPECT_TRUE(older.StartGv());
    EXPECT_EQ(viewer.commands(), QStringList({"[DispMsg(OFF)]", "[ShowGV(OFF)]", "[ShowGV(OFF)]"}));
    EXPECT_TRUE(m_prompts.texts().isEmpty());
}

TEST_F(GvLinkTest, AGvThatNeverServesGivesTheStartMessageAndNothing)
{
    TgvDDE broken;
    broken.SetGvOptions(1, script(m_dir, QStringLiteral("broken-gv"), "exit 0"));
    EXPECT_FALSE(broken.StartGv());
    EXPECT_EQ(m_prompts.texts(), QStringList({"CreateProcess ERROR."}));
    EXPECT_FALSE(broken.FetchDib(picture(QStringLiteral("a.gif"))));
}

TEST_F(GvLinkTest, NgIsNoPictureWithoutAskingForOne)
{
    ASSERT_TRUE(m_gv.StartGv());
    FixedViewer viewer(QStringLiteral("NG"));
    ASSERT_TRUE(viewer.listening);
    EXPECT_FALSE(m_gv.FetchDib(picture(QStringLiteral("a.gif"))));
    EXPECT_EQ(viewer.dibRequests.load(), 0);
    EXPECT_EQ(viewer.polls.load(), 2);  // the first wait, and the wait after it
}

TEST_F(GvLinkTest, AStopEndsTheWaitForGvAndIsClearedAfterwards)
{
    ASSERT_TRUE(m_gv.StartGv());
    FixedViewer waiting(QStringLiteral("WAIT"));
    ASSERT_TRUE(waiting.listening);

    // ESC pressed while GV works: the event loop runs during the waits, so
    // the key's handler (a timer here) gets to set the flag.
    int presses = 0;
    QTimer esc;
    QObject::connect(&esc, &QTimer::timeout, [&] {
        ++presses;
        AbortRequested = true;
    });
    esc.start(30);
    EXPECT_FALSE(m_gv.FetchDib(picture(QStringLiteral("a.gif"))));
    esc.stop();
    EXPECT_GE(presses, 2);  // one for each of the two waits
    EXPECT_GT(waiting.polls.load(), 2);
    EXPECT_EQ(waiting.dibRequests.load(), 1);  // a stop goes on with the last reply
    EXPECT_FALSE(AbortRequested);
}

}  // namespace
