#include "platform/DdeClient.h"

#include "platform/DdeWire.h"

#include <QCoreApplication>
#include <QEventLoop>
#include <QFile>
#include <QSocketNotifier>
#include <QTimer>

#include <cerrno>
#include <cstring>
#include <fcntl.h>
#include <poll.h>
#include <sys/socket.h>
#include <sys/un.h>
#include <unistd.h>

namespace platform {

using dde::FrameHeader;
using dde::FrameKind;

struct DdeClientConversation::Impl {
    int fd = -1;
    QString service;
    QString topic;
    int timeoutMs = kDdeDefaultTimeoutMs;
    bool inTransaction = false;

    void close()
    {
        if (fd >= 0)
            ::close(fd);
        fd = -1;
        service.clear();
        topic.clear();
    }

    // Waits until the socket is ready for `events` or `deadline` passes.
    // With an application object the thread's event loop runs meanwhile.
    bool waitFor(short events, std::int64_t deadline)
    {
        const std::int64_t left = deadline - dde::nowMs();
        if (left <= 0)
            return false;
        pollfd p{fd, events, 0};
        if (::poll(&p, 1, 0) > 0)
            return true;
        if (!QCoreApplication::instance())
            return ::poll(&p, 1, int(left)) > 0;
        QEventLoop loop;
        QSocketNotifier notifier(fd, events == POLLIN ? QSocketNotifier::Read : QSocketNotifier::Write);
        QObject::connect(&notifier, &QSocketNotifier::activated, &loop, &QEventLoop::quit);
        QTimer timer;
        timer.setSingleShot(true);
        QObject::connect(&timer, &QTimer::timeout, &loop, &QEventLoop::quit);
        timer.start(int(left));
        loop.exec();
        return ::poll(&p, 1, 0) > 0;
    }

    bool transfer(bool sending, void* data, std::size_t size, std::int64_t deadline)
    {
        auto p = static_cast<char*>(data);
        while (size > 0) {
            const ssize_t n = sending ? ::send(fd, p, size, MSG_NOSIGNAL) : ::recv(fd, p, size, 0);
            if (n > 0) {
                p += n;
                size -= std::size_t(n);
                continue;
            }
            if (n == 0 || (errno != EAGAIN && errno != EWOULDBLOCK && errno != EINTR))
                return false;
            if (errno != EINTR && !waitFor(sending ? POLLOUT : POLLIN, deadline))
                return false;
        }
        return true;
    }

    // One transaction: sends a frame and receives the answer's header; the
    // payload, if any, is left for the caller to read before the deadline.
    bool send(FrameKind kind, std::uint32_t format, const QByteArray& payload, FrameHeader& answer,
              std::int64_t deadline)
    {
        FrameHeader header{std::uint32_t(kind), format, std::uint64_t(payload.size())};
        QByteArray frame(reinterpret_cast<const char*>(&header), sizeof(header));
        frame += payload;
        return transfer(true, frame.data(), std::size_t(frame.size()), deadline) &&
               transfer(false, &answer, sizeof(answer), deadline) && answer.length <= dde::kMaxServerPayload;
    }

    // Runs `body` as one transaction; any failure closes the conversation,
    // since the stream may be left in the middle of a frame.
    template <typename Body>
    bool transaction(Body body)
    {
        if (fd < 0 || inTransaction)
            return false;
        inTransaction = true;
        const bool ok = body(dde::nowMs() + timeoutMs);
        inTransaction = false;
        if (!ok)
            close();
        return ok;
    }

    bool connectSocket(const QString& path, std::int64_t deadline)
    {
        fd = ::socket(AF_UNIX, SOCK_STREAM | SOCK_NONBLOCK | SOCK_CLOEXEC, 0);
        if (fd < 0)
            return false;
        dde::enlargeSocketBuffers(fd);
        sockaddr_un addr{};
        addr.sun_family = AF_UNIX;
        const QByteArray native = QFile::encodeName(path);
        std::memcpy(addr.sun_path, native.constData(), std::size_t(native.size()));
        if (::connect(fd, reinterpret_cast<sockaddr*>(&addr), sizeof(addr)) != 0) {
            if (errno != EAGAIN && errno != EINPROGRESS)
                return false;
            int error = 0;
            socklen_t len = sizeof(error);
            if (!waitFor(POLLOUT, deadline) || ::getsockopt(fd, SOL_SOCKET, SO_ERROR, &error, &len) != 0 ||
                error != 0)
                return false;
        }
        return dde::peerIsSameUser(fd);
    }
};

DdeClientConversation::DdeClientConversation() : m_impl(std::make_unique<Impl>()) {}

DdeClientConversation::~DdeClientConversation() { m_impl->close(); }

bool DdeClientConversation::connect(const QString& service, const QString& topic)
{
    if (m_impl->inTransaction)
        return false;
    disconnect();
    const QString path = dde::endpointPath(service);
    if (path.isEmpty())
        return false;
    const std::int64_t deadline = dde::nowMs() + m_impl->timeoutMs;
    if (!m_impl->connectSocket(path, deadline)) {
        m_impl->close();
        return false;
    }
    m_impl->inTransaction = true;
    FrameHeader answer;
    const bool ok = m_impl->send(FrameKind::Connect, 0, topic.toUtf8(), answer, deadline) &&
                    answer.kind == std::uint32_t(FrameKind::Ack) && answer.length == 0;
    m_impl->inTransaction = false;
    if (!ok) {
        m_impl->close();
        return false;
    }
    m_impl->service = service;
    m_impl->topic = topic;
    return true;
}

void DdeClientConversation::disconnect()
{
    if (!m_impl->inTransaction)
        m_impl->close();
}

bool DdeClientConversation::isConnected() const { return m_impl->fd >= 0; }
QString DdeClientConversation::service() const { return m_impl->service; }
QString DdeClientConversation::topic() const { return m_impl->topic; }
void DdeClientConversation::setTimeout(int milliseconds)
{
    m_impl->timeoutMs = milliseconds > 0 ? milliseconds : 1;
}
int DdeClientConversation::timeout() const { return m_impl->timeoutMs; }

bool DdeClientConversation::execute(const QString& command)
{
    bool accepted = false;
    m_impl->transaction([&](std::int64_t deadline) {
        FrameHeader answer;
        if (!m_impl->send(FrameKind::Execute, 0, command.toUtf8(), answer, deadline) || answer.length != 0)
            return false;
        accepted = answer.kind == std::uint32_t(FrameKind::Ack);
        return accepted || answer.kind == std::uint32_t(FrameKind::Nack);
    });
    return accepted;
}

std::optional<QString> DdeClientConversation::requestText(const QString& item)
{
    DdeBlock block = requestData(item, dde::kTextFormat);
    if (!block)
        return std::nullopt;
    return QString::fromUtf8(static_cast<const char*>(block.data()), qsizetype(block.size()));
}

DdeBlock DdeClientConversation::requestData(const QString& item, std::uint32_t format)
{
    DdeBlock block;
    m_impl->transaction([&](std::int64_t deadline) {
        FrameHeader answer;
        if (!m_impl->send(FrameKind::Request, format, item.toUtf8(), answer, deadline))
            return false;
        if (answer.kind == std::uint32_t(FrameKind::Nack))
            return answer.length == 0;
        if (answer.kind != std::uint32_t(FrameKind::Data) || answer.format != format)
            return false;
        DdeBlock received = DdeBlock::allocate(std::size_t(answer.length));
        if (!received || !m_impl->transfer(false, received.data(), received.size(), deadline))
            return false;
        block = std::move(received);
        return true;
    });
    return block;
}

}  // namespace platform
