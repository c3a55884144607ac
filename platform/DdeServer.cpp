#include "DdeServer.h"

#include "DdeWire.h"

#include <QFile>

#include <cstring>
#include <fcntl.h>
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

// How long a client may take to send the rest of a frame, and the server to
// hand over a reply, before the client is dropped.
constexpr int kClientIoTimeoutMs = 10000;

bool sendFrame(int fd, FrameKind kind, std::uint32_t format, const DdeBlock* payload)
{
    const FrameHeader header {std::uint32_t(kind), format, payload ? std::uint64_t(payload->size()) : 0};
    return dde::sendAll(fd, &header, sizeof(header))
        && (!payload || dde::sendAll(fd, payload->data(), payload->size()));
}

}  // namespace

struct DdeServer::Client {
    int fd = -1;
    bool connected = false;
    QString topic;
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
    const int fd = ::socket(AF_UNIX, SOCK_STREAM | SOCK_CLOEXEC, 0);
    if (fd < 0)
        return false;
    sockaddr_un addr {};
    addr.sun_family = AF_UNIX;
    std::memcpy(addr.sun_path, native.constData(), std::size_t(native.size()));
    ::unlink(native.constData());
    struct stat st {};
    if (::bind(fd, reinterpret_cast<sockaddr*>(&addr), sizeof(addr)) != 0 || ::chmod(native.constData(), 0600) != 0
        || ::listen(fd, 16) != 0 || ::stat(native.constData(), &st) != 0) {
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
        std::vector<pollfd> fds {{m_wakePipe[0], POLLIN, 0}, {m_listenFd, POLLIN, 0}};
        for (const Client& c : clients)
            fds.push_back({c.fd, POLLIN, 0});
        if (::poll(fds.data(), nfds_t(fds.size()), -1) < 0)
            continue;
        if (fds[1].revents & POLLIN) {
            const int fd = ::accept4(m_listenFd, nullptr, nullptr, SOCK_CLOEXEC);
            if (fd >= 0 && dde::peerIsSameUser(fd)) {
                dde::setSocketTimeouts(fd, kClientIoTimeoutMs);
                dde::enlargeSocketBuffers(fd);
                clients.push_back({fd, false, {}});
            } else if (fd >= 0) {
                ::close(fd);
            }
        }
        std::size_t i = 2;
        for (auto it = clients.begin(); it != clients.end() && i < fds.size(); ++i) {
            if (fds[i].revents != 0 && !serveOne(*it)) {
                ::close(it->fd);
                it = clients.erase(it);
            } else {
                ++it;
            }
        }
    }
    for (const Client& c : clients)
        ::close(c.fd);
    return true;
}

// Reads one frame of `client` and answers it; false drops the client.
bool DdeServer::serveOne(Client& client)
{
    FrameHeader header;
    if (!dde::receiveAll(client.fd, &header, sizeof(header)) || header.length > dde::kMaxClientPayload)
        return false;
    QByteArray payload(qsizetype(header.length), Qt::Uninitialized);
    if (!dde::receiveAll(client.fd, payload.data(), std::size_t(payload.size())))
        return false;
    const QString text = QString::fromUtf8(payload);

    switch (FrameKind(header.kind)) {
    case FrameKind::Connect:
        if (client.connected || !m_handler.acceptsTopic(text))
            return sendFrame(client.fd, FrameKind::Nack, 0, nullptr) && false;
        client.connected = true;
        client.topic = text;
        return sendFrame(client.fd, FrameKind::Ack, 0, nullptr);
    case FrameKind::Execute:
        if (!client.connected)
            return false;
        return sendFrame(client.fd, m_handler.execute(client.topic, text) ? FrameKind::Ack : FrameKind::Nack, 0,
                         nullptr);
    case FrameKind::Request: {
        if (!client.connected)
            return false;
        const DdeBlock reply = m_handler.request(client.topic, text, header.format);
        return reply ? sendFrame(client.fd, FrameKind::Data, header.format, &reply)
                     : sendFrame(client.fd, FrameKind::Nack, 0, nullptr);
    }
    default:
        return false;
    }
}

}  // namespace platform
