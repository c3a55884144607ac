// The DDE layer between two threads of one process: connect, execute, text
// and binary requests, refusals, and the time-out of a silent or dead peer.
#include "platform/DdeClient.h"
#include "platform/DdeServer.h"
#include "platform/DdeWire.h"
#include "platform/PlatformPaths.h"

#include <QCoreApplication>
#include <QFileInfo>
#include <QTimer>
#include <gtest/gtest.h>

#include <atomic>
#include <chrono>
#include <condition_variable>
#include <cstring>
#include <mutex>
#include <sys/socket.h>
#include <sys/stat.h>
#include <sys/un.h>
#include <thread>

namespace platform {
namespace {

QCoreApplication& application()
{
    static int argc = 1;
    static char name[] = "platform_tests";
    static char* argv[] = {name, nullptr};
    static QCoreApplication app(argc, argv);
    return app;
}

class TestHandler : public DdeServerHandler {
public:
    bool acceptsTopic(const QString& topic) override { return topic == QStringLiteral("System"); }
    bool execute(const QString&, const QString& command) override
    {
        std::lock_guard lock(m_mutex);
        m_commands.push_back(command);
        return command.startsWith(QLatin1Char('['));
    }
    DdeBlock request(const QString&, const QString& item, std::uint32_t format) override
    {
        if (item == QStringLiteral("Hang")) {
            std::unique_lock lock(m_mutex);
            m_released.wait(lock, [this] { return m_release; });
            return {};
        }
        if (item == QStringLiteral("Text") && format == dde::kTextFormat)
            return DdeServer::textReply(QStringLiteral("読込み完了 OK"));
        if (item == QStringLiteral("Empty"))
            return DdeServer::textReply({});
        if (item == QStringLiteral("Big") && format == 18) {
            DdeBlock block = DdeBlock::allocate(kBigSize);
            auto* p = static_cast<unsigned char*>(block.data());
            for (std::size_t i = 0; i < kBigSize; ++i)
                p[i] = static_cast<unsigned char>(i * 7 + (i >> 11));
            return block;
        }
        return {};
    }
    void release()
    {
        std::lock_guard lock(m_mutex);
        m_release = true;
        m_released.notify_all();
    }
    QStringList commands()
    {
        std::lock_guard lock(m_mutex);
        return m_commands;
    }

    static constexpr std::size_t kBigSize = 5 * 1024 * 1024 + 3;

private:
    std::mutex m_mutex;
    std::condition_variable m_released;
    bool m_release = false;
    QStringList m_commands;
};

// A server on its own thread for the length of one test.
class RunningServer {
public:
    explicit RunningServer(const QString& service, int frameTimeoutMs = DdeServer::kDefaultFrameTimeoutMs)
        : m_server(m_handler)
    {
        m_server.setFrameTimeout(frameTimeoutMs);
        m_listening = m_server.listen(service);
        if (m_listening)
            m_thread = std::thread([this] { m_server.run(); });
    }
    ~RunningServer() { shutDown(); }
    void shutDown()
    {
        m_handler.release();
        m_server.stop();
        if (m_thread.joinable())
            m_thread.join();
    }
    bool listening() const { return m_listening; }
    TestHandler& handler() { return m_handler; }

private:
    TestHandler m_handler;
    DdeServer m_server;
    bool m_listening = false;
    std::thread m_thread;
};

TEST(DdeTest, ConversationExecutesAndRequestsTextAndBinaryItems)
{
    application();
    RunningServer server(QStringLiteral("GV"));
    ASSERT_TRUE(server.listening());

    DdeClientConversation conv;
    EXPECT_FALSE(conv.execute(QStringLiteral("[ShowGV(OFF)]")));  // not connected
    EXPECT_FALSE(conv.connect(QStringLiteral("GV"), QStringLiteral("Other")));
    EXPECT_FALSE(conv.connect(QStringLiteral("NoSuchService"), QStringLiteral("System")));
    ASSERT_TRUE(conv.connect(QStringLiteral("GV"), QStringLiteral("System")));
    EXPECT_EQ(conv.service(), QStringLiteral("GV"));

    EXPECT_TRUE(conv.execute(QStringLiteral("[ShowGV(OFF)]")));
    EXPECT_FALSE(conv.execute(QStringLiteral("ExitGV()")));  // refused, conversation stays open
    EXPECT_TRUE(conv.isConnected());
    EXPECT_EQ(conv.requestText(QStringLiteral("Text")), QStringLiteral("読込み完了 OK"));
    EXPECT_EQ(conv.requestText(QStringLiteral("Empty")), QString());
    EXPECT_EQ(conv.requestText(QStringLiteral("Unknown")), std::nullopt);

    DdeBlock big = conv.requestData(QStringLiteral("Big"), 18);
    ASSERT_EQ(big.size(), TestHandler::kBigSize);
    const auto* p = static_cast<const unsigned char*>(big.data());
    std::size_t wrong = 0;
    for (std::size_t i = 0; i < big.size(); ++i)
        wrong += p[i] != static_cast<unsigned char>(i * 7 + (i >> 11));
    EXPECT_EQ(wrong, 0u);
    EXPECT_FALSE(conv.requestData(QStringLiteral("Big"), 2));  // wrong format

    EXPECT_EQ(server.handler().commands(), QStringList({"[ShowGV(OFF)]", "ExitGV()"}));
    conv.disconnect();
    EXPECT_FALSE(conv.isConnected());
}

// A client socket that writes frames byte by byte, as a hostile peer would.
int rawClient(const QString& service)
{
    const int fd = ::socket(AF_UNIX, SOCK_STREAM | SOCK_CLOEXEC, 0);
    sockaddr_un addr{};
    addr.sun_family = AF_UNIX;
    const QByteArray path = QFile::encodeName(dde::endpointPath(service));
    std::memcpy(addr.sun_path, path.constData(), std::size_t(path.size()));
    return ::connect(fd, reinterpret_cast<sockaddr*>(&addr), sizeof(addr)) == 0 ? fd : -1;
}

QByteArray frame(dde::FrameKind kind, std::uint32_t format, const QByteArray& payload)
{
    const dde::FrameHeader header{std::uint32_t(kind), format, std::uint64_t(payload.size())};
    return QByteArray(reinterpret_cast<const char*>(&header), sizeof(header)) + payload;
}

TEST(DdeTest, TricklingOrStalledClientsNeverHoldUpAnother)
{
    application();
    RunningServer server(QStringLiteral("Busy"), 800);
    ASSERT_TRUE(server.listening());

    // One client asks for a big reply and never reads it; another sends half a
    // frame and then a byte every 200 ms, which would take 1.6 s to finish.
    const int stalled = rawClient(QStringLiteral("Busy"));
    const QByteArray connectFrame = frame(dde::FrameKind::Connect, 0, "System");
    ASSERT_EQ(::send(stalled, connectFrame.data(), std::size_t(connectFrame.size()), 0), connectFrame.size());
    dde::FrameHeader ack;
    ASSERT_EQ(::recv(stalled, &ack, sizeof(ack), MSG_WAITALL), ssize_t(sizeof(ack)));
    const QByteArray bigRequest = frame(dde::FrameKind::Request, 18, "Big");
    ::send(stalled, bigRequest.data(), std::size_t(bigRequest.size()), 0);

    const int trickler = rawClient(QStringLiteral("Busy"));
    ::send(trickler, connectFrame.data(), 8, 0);
    std::atomic<bool> refused = false;
    std::thread dribble([&] {
        for (int i = 8; i < connectFrame.size() && !refused; ++i) {
            std::this_thread::sleep_for(std::chrono::milliseconds(200));
            refused = ::send(trickler, connectFrame.data() + i, 1, MSG_NOSIGNAL) != 1;
        }
    });

    // Meanwhile a well-behaved client is answered as usual.
    std::this_thread::sleep_for(std::chrono::milliseconds(100));
    DdeClientConversation conv;
    conv.setTimeout(600);
    ASSERT_TRUE(conv.connect(QStringLiteral("Busy"), QStringLiteral("System")));
    EXPECT_EQ(conv.requestText(QStringLiteral("Text")), QStringLiteral("読込み完了 OK"));
    EXPECT_EQ(conv.requestData(QStringLiteral("Big"), 18).size(), TestHandler::kBigSize);

    // The trickler is dropped at its frame's deadline, bytes or no bytes.
    dribble.join();
    EXPECT_TRUE(refused);
    ::close(trickler);
    ::close(stalled);
}

TEST(DdeTest, SilentPeerFailsAtItsTimeOutWhileTheEventLoopRuns)
{
    application();
    RunningServer server(QStringLiteral("Silent"));
    ASSERT_TRUE(server.listening());
    DdeClientConversation conv;
    conv.setTimeout(400);
    ASSERT_TRUE(conv.connect(QStringLiteral("Silent"), QStringLiteral("System")));

    int ticks = 0;
    QTimer timer;
    QObject::connect(&timer, &QTimer::timeout, [&] { ++ticks; });
    timer.start(10);
    EXPECT_EQ(conv.requestText(QStringLiteral("Hang")), std::nullopt);
    EXPECT_GT(ticks, 3);  // the timer kept firing during the wait
    EXPECT_FALSE(conv.isConnected());  // the half-finished transaction closed it
}

TEST(DdeTest, DeadPeerEndsTheConversation)
{
    application();
    DdeClientConversation conv;
    {
        RunningServer server(QStringLiteral("Dead"));
        ASSERT_TRUE(server.listening());
        ASSERT_TRUE(conv.connect(QStringLiteral("Dead"), QStringLiteral("System")));
    }
    EXPECT_EQ(conv.requestText(QStringLiteral("Text")), std::nullopt);
    EXPECT_FALSE(conv.isConnected());
    EXPECT_FALSE(conv.connect(QStringLiteral("Dead"), QStringLiteral("System")));  // endpoint removed
}

TEST(DdeTest, RequestsWorkOnAThreadWithoutAnEventLoopOfItsOwn)
{
    RunningServer server(QStringLiteral("Worker"));
    ASSERT_TRUE(server.listening());
    std::optional<QString> reply;
    std::thread worker([&] {
        DdeClientConversation conv;
        if (conv.connect(QStringLiteral("Worker"), QStringLiteral("System")))
            reply = conv.requestText(QStringLiteral("Text"));
    });
    worker.join();
    EXPECT_EQ(reply, QStringLiteral("読込み完了 OK"));
}

TEST(DdeTest, EndpointsLiveInAPrivateFolderAndNamesCannotEscapeIt)
{
    const QString folder = dde::endpointFolder();
    ASSERT_FALSE(folder.isEmpty());
    struct stat st {};
    ASSERT_EQ(::stat(QFile::encodeName(folder).constData(), &st), 0);
    EXPECT_EQ(st.st_mode & 0777, 0700u);
    EXPECT_TRUE(folder.startsWith(sandboxRoot()));

    EXPECT_EQ(dde::endpointPath(QStringLiteral("GV")), folder + QStringLiteral("/GV"));
    for (const char* bad : {"", "../GV", "a/b", "GV System", "x23456789012345678901234567890123"})
        EXPECT_TRUE(dde::endpointPath(QString::fromLatin1(bad)).isEmpty()) << bad;
}

TEST(DdeTest, DeepSandboxFolderStillGetsAWorkingEndpoint)
{
    application();
    const QByteArray saved = qgetenv(kSandboxVariable);
    const QString deep = QString::fromUtf8(saved) + QStringLiteral("/") + QString(60, QLatin1Char('d')) +
                         QStringLiteral("/") + QString(60, QLatin1Char('e'));
    qputenv(kSandboxVariable, QFile::encodeName(deep));
    {
        const QString path = dde::endpointPath(QStringLiteral("GV"));
        EXPECT_LT(QFile::encodeName(path).size(), 108);
        RunningServer server(QStringLiteral("GV"));
        ASSERT_TRUE(server.listening());
        DdeClientConversation conv;
        EXPECT_TRUE(conv.connect(QStringLiteral("GV"), QStringLiteral("System")));
    }
    qputenv(kSandboxVariable, saved);
}

}  // namespace
}  // namespace platform
