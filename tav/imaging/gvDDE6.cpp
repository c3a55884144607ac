#include "tav/imaging/gvDDE6.h"

#include "platform/DdeMacro.h"
#include "platform/Prompt.h"
#include "tav/core/RunState.h"

#include <QCoreApplication>
#include <QElapsedTimer>
#include <QEventLoop>
#include <QProcess>
#include <QThread>
#include <QTimer>

namespace {

const QString kService = QStringLiteral("GV");
const QString kTopic = QStringLiteral("System");

// How long GV may take to start serving, and how often it is looked for.
constexpr int kStartWaitMs = 10000;
constexpr int kStartPollMs = 10;

// Lets the thread's events run for `ms` milliseconds.
void pause(int ms)
{
    if (!QCoreApplication::instance()) {
        QThread::msleep(ms);
        return;
    }
    QEventLoop loop;
    QTimer::singleShot(ms, &loop, &QEventLoop::quit);
    loop.exec();
}

bool isWaitReply(const QString& reply) { return reply.isEmpty() || reply == QLatin1String("WAIT"); }

}  // namespace

TgvDDE::TgvDDE() = default;

TgvDDE::~TgvDDE() = default;

void TgvDDE::SetGvOptions(std::uint8_t newGvFlag, const QString& gvPath)
{
    m_newGv = newGvFlag;
    m_gvPath = gvPath;
}

bool TgvDDE::gvRunning() const
{
    return m_process && m_process->state() != QProcess::NotRunning && !m_process->waitForFinished(0);
}

qint64 TgvDDE::gvProcessId() const { return m_process ? m_process->processId() : 0; }

void TgvDDE::forgetProcess()
{
    m_conv.disconnect();
    if (m_process && m_process->state() != QProcess::NotRunning) {
        // A GV that did not take its exit command is ended, not left behind.
        m_process->kill();
        m_process->waitForFinished(2000);
    }
    m_process.reset();
}

bool TgvDDE::StartGv()
{
    if (m_process)
        return true;
    if (m_gvPath.isEmpty())
        return false;
    auto process = std::make_unique<QProcess>();
    process->setProcessChannelMode(QProcess::ForwardedChannels);
    process->setStandardInputFile(QProcess::nullDevice());
    process->start(m_gvPath, {QStringLiteral("/DDE")});
    if (!process->waitForStarted())
        return false;
    m_process = std::move(process);

    // GV is ready once it serves its topic; until then keep the program's
    // events flowing.
    QElapsedTimer clock;
    clock.start();
    bool ready = false;
    while (!(ready = m_conv.connect(kService, kTopic)) && gvRunning() && clock.elapsed() < kStartWaitMs)
        pause(kStartPollMs);
    if (!ready) {
        platform::showInformation(QStringLiteral("CreateProcess ERROR."));
        if (!m_conv.connect(kService, kTopic))
            return false;
    }
    if (m_newGv == 1)
        m_conv.execute(QStringLiteral("[DispMsg(OFF)]"));
    m_conv.execute(QStringLiteral("[ShowGV(OFF)]"));
    m_conv.disconnect();
    return true;
}

void TgvDDE::StopGv()
{
    if (!m_process)
        return;
    if (m_conv.connect(kService, kTopic)) {
        m_conv.execute(QStringLiteral("ExitGV()"));
        m_conv.disconnect();
        m_process->waitForFinished(2000);
    }
    forgetProcess();
}

// Asks for "DIBRequest" until GV no longer answers "WAIT" (or nothing), a
// stop is asked for, or the conversation is lost. AbortRequested is cleared
// before and after, so a stop ends only this wait.
QString TgvDDE::pollDibRequest()
{
    QString reply = m_conv.requestText(QStringLiteral("DIBRequest")).value_or(QString());
    AbortRequested = false;
    while (isWaitReply(reply) && !AbortRequested && m_conv.isConnected())
        reply = m_conv.requestText(QStringLiteral("DIBRequest")).value_or(QString());
    AbortRequested = false;
    return reply;
}

imgkit::DibHandle TgvDDE::FetchDib(const QString& fullPath)
{
    if (!gvRunning()) {
        forgetProcess();
        StartGv();
    }
    if (!m_conv.connect(kService, kTopic))
        return {};
    if (m_newGv != 1) {
        m_conv.disconnect();
        platform::showInformation(QStringLiteral("E:GV ver0.79以降をお使いください."));
        return {};
    }
    // The path is quoted with its double quotes doubled, so that every name
    // reaches GV whole and nothing in it can end the command early.
    if (!m_conv.execute(QStringLiteral("[FileOpen(") + platform::ddeQuote(fullPath) + QStringLiteral(")]"))) {
        m_conv.disconnect();
        return {};
    }
    imgkit::DibHandle picture;
    if (pollDibRequest() != QLatin1String("NG")) {
        platform::DdeBlock block = PcDdeman::RequestBinary(m_conv, QStringLiteral("DIB"), PcDdeman::kCfDib);
        picture = adoptDib(std::move(block));
    }
    pollDibRequest();
    m_conv.disconnect();
    return picture;
}

imgkit::DibHandle TgvDDE::adoptDib(platform::DdeBlock block)
{
    // Only a block that holds the whole picture its header describes is
    // taken; anything else from GV counts as no picture.
    if (block.size() < sizeof(imgkit::BitmapInfoHeader))
        return {};
    const std::size_t size = block.size();
    imgkit::DibHandle dib = imgkit::DibHandle::adopt(block.release());
    if (!dib.isUsable() || dib.totalSize() > size)
        return {};
    return dib;
}
