#include "gv/GvService.h"

#include "platform/DdeMacro.h"

#include <chrono>

namespace gv {
namespace {

// How long a "DIBRequest" waits for a running decode to end before it
// answers "WAIT": the client asks again at once, so this only keeps it from
// spinning while the picture is decoded.
constexpr auto kWaitAnswerDelay = std::chrono::milliseconds(200);

bool isOnOff(const QStringList& arguments)
{
    return arguments.size() == 1 && (arguments[0].compare(QLatin1String("OFF"), Qt::CaseInsensitive) == 0 ||
                                     arguments[0].compare(QLatin1String("ON"), Qt::CaseInsensitive) == 0);
}

// True for a command GV knows, with the arguments it takes.
bool isKnown(const platform::DdeMacroCommand& c)
{
    const auto is = [&](const char* name) {
        return c.name.compare(QLatin1String(name), Qt::CaseInsensitive) == 0;
    };
    if (is("DispMsg") || is("ShowGV"))
        return isOnOff(c.arguments);
    if (is("FileOpen"))
        return c.arguments.size() == 1 && !c.arguments[0].isEmpty();
    if (is("ExitGV"))
        return c.arguments.isEmpty();
    return false;
}

}  // namespace

GvService::GvService(Decoder decoder, std::function<void()> exitRequested)
    : m_decoder(std::move(decoder)), m_exitRequested(std::move(exitRequested))
{
    m_worker = std::thread([this] { decodeLoop(); });
}

GvService::~GvService()
{
    {
        std::lock_guard lock(m_mutex);
        m_quitting = true;
    }
    m_changed.notify_all();
    m_worker.join();
}

bool GvService::acceptsTopic(const QString& topic)
{
    return topic.compare(QLatin1String("System"), Qt::CaseInsensitive) == 0;
}

bool GvService::execute(const QString&, const QString& command)
{
    // A string with anything unknown or malformed is refused before any of
    // its commands runs.
    const auto commands = platform::parseDdeMacro(command);
    if (!commands)
        return false;
    for (const auto& c : *commands)
        if (!isKnown(c))
            return false;
    for (const auto& c : *commands) {
        if (c.name.compare(QLatin1String("FileOpen"), Qt::CaseInsensitive) == 0)
            openFile(c.arguments[0]);
        else if (c.name.compare(QLatin1String("ExitGV"), Qt::CaseInsensitive) == 0 && m_exitRequested)
            m_exitRequested();
        // DispMsg and ShowGV: GV here never shows a window or a message.
    }
    return true;
}

void GvService::openFile(const QString& path)
{
    // The state turns to WAIT before the command is acknowledged, so the
    // next "DIBRequest" can never report the previous file.
    std::lock_guard lock(m_mutex);
    ++m_generation;
    m_state = State::Wait;
    m_dib = {};
    m_pendingPath = path;
    m_pending = true;
    m_changed.notify_all();
}

void GvService::decodeLoop()
{
    std::unique_lock lock(m_mutex);
    for (;;) {
        m_changed.wait(lock, [this] { return m_quitting || m_pending; });
        if (m_quitting)
            return;
        const QString path = m_pendingPath;
        const std::uint64_t generation = m_generation;
        m_pending = false;
        lock.unlock();
        platform::DdeBlock dib = m_decoder(path);
        lock.lock();
        if (generation != m_generation)
            continue;  // a newer file was opened meanwhile
        m_state = dib ? State::Ready : State::Failed;
        m_dib = std::move(dib);
        m_changed.notify_all();
    }
}

platform::DdeBlock GvService::request(const QString&, const QString& item, std::uint32_t format)
{
    std::unique_lock lock(m_mutex);
    if (item.compare(QLatin1String("DIBRequest"), Qt::CaseInsensitive) == 0) {
        m_changed.wait_for(lock, kWaitAnswerDelay, [this] { return m_state != State::Wait; });
        switch (m_state) {
        case State::Wait: return platform::DdeServer::textReply(QStringLiteral("WAIT"));
        case State::Ready: return platform::DdeServer::textReply(QStringLiteral("OK"));
        case State::Idle:
        case State::Failed: break;
        }
        return platform::DdeServer::textReply(QStringLiteral("NG"));
    }
    if (item.compare(QLatin1String("DIB"), Qt::CaseInsensitive) == 0 && format == kCfDib &&
        m_state == State::Ready)
        return std::move(m_dib);  // handed over once; GV keeps no copy
    return {};
}

}  // namespace gv
