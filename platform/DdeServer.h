// The server side of the DDE layer: offers one service, accepts clients of
// the same user, and hands each client's connect, execute and request to a
// handler. run() serves every client from the calling thread until stop():
// the sockets never block, each client keeps the state of the frame it is
// sending and of the reply it is taking, and each frame and each reply must
// be through within the frame time-out from its first byte, or its client is
// dropped. So a slow or stalled client never holds up another. The handler
// is called on that thread, one message at a time, so it must answer quickly
// and do long work elsewhere.
#pragma once

#include "platform/DdeBlock.h"

#include <QString>
#include <atomic>
#include <cstdint>
#include <optional>

namespace platform {

class DdeServerHandler {
public:
    virtual ~DdeServerHandler() = default;
    virtual bool acceptsTopic(const QString& topic) = 0;
    // True when the command string was accepted.
    virtual bool execute(const QString& topic, const QString& command) = 0;
    // The item's bytes in `format`; an empty block refuses the request.
    virtual DdeBlock request(const QString& topic, const QString& item, std::uint32_t format) = 0;
};

class DdeServer {
public:
    // How long one frame, and one reply, may take from its first byte to its last.
    static constexpr int kDefaultFrameTimeoutMs = 10000;

    explicit DdeServer(DdeServerHandler& handler);
    ~DdeServer();
    DdeServer(const DdeServer&) = delete;
    DdeServer& operator=(const DdeServer&) = delete;

    // Takes the endpoint of `service` (replacing one left by a server that
    // has gone). False when the endpoint cannot be made.
    bool listen(const QString& service);
    // Before run(): another frame time-out (tests use short ones).
    void setFrameTimeout(int milliseconds) { m_frameTimeoutMs = milliseconds; }
    // Serves until stop(); false when not listening.
    bool run();
    // Ends run() soon; callable from any thread and from the handler.
    void stop();

    // A text reply for request(): the text as UTF-8.
    static DdeBlock textReply(const QString& text);

private:
    struct Client;
    bool serve(Client& client);
    bool answer(Client& client);
    void startReply(Client& client, std::uint32_t kind, std::uint32_t format, DdeBlock data);
    bool sendReply(Client& client);

    DdeServerHandler& m_handler;
    int m_listenFd = -1;
    int m_wakePipe[2] = {-1, -1};
    std::atomic<bool> m_stopping{false};
    int m_frameTimeoutMs = kDefaultFrameTimeoutMs;
    QString m_path;
    std::uint64_t m_inode = 0;
};

}  // namespace platform
