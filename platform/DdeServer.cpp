#include "platform/DdeServer.h"

#include "platform/DdeWire.h"

#include <QFile>

#include <algorithm>
#include <cerrno>
#include <climits>
#include <cstring>
#include <fcntl.h>
#include <limits>
#include <list>
#include <poll.h>
#include <sys/socket.h>
#include <sys/stat.h>
#include <sys/un.h>
#include <unistd.h>
#include <vector>

namespace platform {

using dde::FrameHeader;
using dde::FrameKind;

namespace {

constexpr std::int64_t kNoDeadline = std::numeric_limits<std::int64_t>::max();

enum class Io { Done, WouldBlock, Failed };

// Moves bytes between the socket and `data` from `done` on until all `size`
// have gone through or the socket would block. Failed: error or end of stream.
template <typename Transfer>
Io transferSome(char* data, std::size_t size, std::size_t& done, Transfer transfer)
{
    while (done < size) {
        const ssize_t n = transfer(data + done, size - done);
        if (n > 0) {
            done += std::size_t(n);
            continue;
        }
        if (n < 0 && errno == EINTR)
            continue;
        if (n < 0 && (errno == EAGAIN || errno == EWOULDBLOCK))
            return Io::WouldBlock;
        return Io::Failed;
    }
    return Io::Done;
}

Io receiveSome(int fd, void* data, std::size_t size, std::size_t& done)
{
    return transferSome(static_cast<char*>(data), size, done,
                        [fd](char* p, std::size_t n) { return ::recv(fd, p, n, 0); });
}

Io sendSome(int fd, const void* data, std::size_t size, std::size_t& done)
{
    return transferSome(const_cast<char*>(static_cast<const char*>(data)), size, done,
                        [fd](char* p, std::size_t n) { return ::send(fd, p, n, MSG_NOSIGNAL); });
}

}  // namespace

struct DdeServer::Client {
    int fd = -1;
    bool connected = false;
    QString topic;
    // The frame coming in: its header, then its payload.
    FrameHeader header;
    std::size_t headerDone = 0;
    QByteArray payload;
    std::size_t payloadDone = 0;
    // The reply going out: its header, then its bytes; nothing is read
    // from the client meanwhile.
    bool replying = false;
    bool closeAfterReply = false;
    FrameHeader replyHeader;
    std::size_t replyHeaderDone = 0;
    DdeBlock replyData;
    std::size_t replyDataDone = 0;
    // When the frame or the reply under way must be through; none between frames.
    std::int64_t deadline = kNoDeadline;
};

DdeServer::DdeServer(DdeServerHandler& handler) : m_handler(handler)
{
    if (::pipe2(m_wakePipe, O_CLOEXEC | O_NONBLOCK) != 0)
        m_wakePipe[0] = m_wakePipe[1] = -1;
}

DdeServer::~DdeServer()
{
    if (m_listenFd >= 0) {
        ::close(m_listenFd);
        // Removes the endpoint only when it is still ours and not the one of
        // a newer server that took the name over.
        struct stat st {};
        const QByteArray native = QFile::encodeName(m_path);
        if (::stat(native.constData(), &st) == 0 && std::uint64_t(st.st_ino) == m_inode)
            ::unlink(native.constData());
    }
    for (int fd : m_wakePipe)
        if (fd >= 0)
            ::close(fd);
}

bool DdeServer::listen(const QString& service)
{
    m_path = dde::endpointPath(service);
    if (m_path.isEmpty() || m_listenFd >= 0 || m_wakePipe[0] < 0)
        return false;
    const QByteArray native = QFile::encodeName(m_path);
    // Non-blocking: a peer gone between poll() and accept() cannot stall the loop.
    const int fd = ::socket(AF_UNIX, SOCK_STREAM | SOCK_CLOEXEC | SOCK_NONBLOCK, 0);
    if (fd < 0)
        return false;
    sockaddr_un addr{};
    addr.sun_family = AF_UNIX;
    std::memcpy(addr.sun_path, native.constData(), std::size_t(native.size()));
    ::unlink(native.constData());
    struct stat st {};
    if (::bind(fd, reinterpret_cast<sockaddr*>(&addr), sizeof(addr)) != 0 ||
        ::chmod(native.constData(), 0600) != 0 || ::listen(fd, 16) != 0 ||
        ::stat(native.constData(), &st) != 0) {
        ::close(fd);
        return false;
    }
    m_inode = std::uint64_t(st.st_ino);
    m_listenFd = fd;
    return true;
}

void DdeServer::stop()
{
    m_stopping = true;
    const char byte = 1;
    if (m_wakePipe[1] >= 0) {
        [[maybe_unused]] const ssize_t written = ::write(m_wakePipe[1], &byte, 1);
    }
}

DdeBlock DdeServer::textReply(const QString& text)
{
    const QByteArray utf8 = text.toUtf8();
    DdeBlock block = DdeBlock::allocate(std::size_t(utf8.size()));
    if (block)
        std::memcpy(block.data(), utf8.constData(), std::size_t(utf8.size()));
    return block;
}

bool DdeServer::run()
{
    if (m_listenFd < 0)
        return false;
    std::list<Client> clients;
    while (!m_stopping) {
        std::vector<pollfd> fds{{m_wakePipe[0], POLLIN, 0}, {m_listenFd, POLLIN, 0}};
        std::int64_t deadline = kNoDeadline;
        for (const Client& c : clients) {
            fds.push_back({c.fd, short(c.replying ? POLLOUT : POLLIN), 0});
            deadline = std::min(deadline, c.deadline);
        }
        const std::int64_t wait =
            deadline == kNoDeadline ? -1 : std::clamp<std::int64_t>(deadline - dde::nowMs(), 0, INT_MAX);
        if (::poll(fds.data(), nfds_t(fds.size()), int(wait)) < 0)
            continue;
        const std::int64_t now = dde::nowMs();
        std::size_t i = 2;
        for (auto it = clients.begin(); it != clients.end(); ++i) {
            const bool keep = (fds[i].revents == 0 || serve(*it)) && it->deadline > now;
            if (keep) {
                ++it;
                continue;
            }
            ::close(it->fd);
            it = clients.erase(it);
        }
        if (fds[1].revents & POLLIN) {
            const int fd = ::accept4(m_listenFd, nullptr, nullptr, SOCK_CLOEXEC | SOCK_NONBLOCK);
            if (fd >= 0 && dde::peerIsSameUser(fd)) {
                dde::enlargeSocketBuffers(fd);
                clients.emplace_back().fd = fd;
            } else if (fd >= 0) {
                ::close(fd);
            }
        }
    }
    for (const Client& c : clients)
        ::close(c.fd);
    return true;
}

// Takes what the client has sent and answers a frame once it is whole, or
// goes on with the reply under way; false drops the client.
bool DdeServer::serve(Client& client)
{
    if (client.replying)
        return sendReply(client);
    // A frame's time starts with its first byte, not with each byte.
    const bool frameStarts = client.headerDone == 0;
    if (frameStarts)
        client.deadline = dde::nowMs() + m_frameTimeoutMs;
    Io io = receiveSome(client.fd, &client.header, sizeof(client.header), client.headerDone);
    if (io == Io::Done) {
        if (client.header.length > dde::kMaxClientPayload)
            return false;
        if (client.payloadDone == 0)
            client.payload.resize(qsizetype(client.header.length));
        io = receiveSome(client.fd, client.payload.data(), std::size_t(client.payload.size()),
                         client.payloadDone);
    }
    if (io == Io::WouldBlock && client.headerDone == 0)
        client.deadline = kNoDeadline;  // woken without a byte
    if (io != Io::Done)
        return io == Io::WouldBlock;
    client.headerDone = client.payloadDone = 0;
    return answer(client) && sendReply(client);
}

// Hands a whole frame to the handler and starts its reply; false drops the client.
bool DdeServer::answer(Client& client)
{
    const QString text = QString::fromUtf8(client.payload);
    const auto ack = [&](bool accepted) {
        startReply(client, std::uint32_t(accepted ? FrameKind::Ack : FrameKind::Nack), 0, {});
        return true;
    };
    switch (FrameKind(client.header.kind)) {
    case FrameKind::Connect:
        if (client.connected || !m_handler.acceptsTopic(text)) {
            client.closeAfterReply = true;
            return ack(false);
        }
        client.connected = true;
        client.topic = text;
        return ack(true);
    case FrameKind::Execute: return client.connected && ack(m_handler.execute(client.topic, text));
    case FrameKind::Request: {
        if (!client.connected)
            return false;
        DdeBlock reply = m_handler.request(client.topic, text, client.header.format);
        if (!reply)
            return ack(false);
        startReply(client, std::uint32_t(FrameKind::Data), client.header.format, std::move(reply));
        return true;
    }
    default: return false;
    }
}

void DdeServer::startReply(Client& client, std::uint32_t kind, std::uint32_t format, DdeBlock data)
{
    client.replying = true;
    client.replyHeader = FrameHeader{kind, format, std::uint64_t(data.size())};
    client.replyHeaderDone = client.replyDataDone = 0;
    client.replyData = std::move(data);
    client.deadline = dde::nowMs() + m_frameTimeoutMs;
}

// Sends what the socket takes of the reply; false drops the client (an error,
// or a refusal that ends the conversation has gone out).
bool DdeServer::sendReply(Client& client)
{
    Io io = sendSome(client.fd, &client.replyHeader, sizeof(client.replyHeader), client.replyHeaderDone);
    if (io == Io::Done)
        io = sendSome(client.fd, client.replyData.data(), client.replyData.size(), client.replyDataDone);
    if (io != Io::Done)
        return io == Io::WouldBlock;
    client.replying = false;
    client.replyData = {};
    client.deadline = kNoDeadline;
    return !client.closeAfterReply;
}

}  // namespace platform
