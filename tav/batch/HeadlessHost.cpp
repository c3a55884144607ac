#include "tav/batch/HeadlessHost.h"

#include "platform/QtPrintDevice.h"
#include "tav/core/RunState.h"

#include <QCoreApplication>
#include <QFileInfo>

#include <csignal>
#include <cstdio>

namespace {

volatile std::sig_atomic_t interrupted = 0;

extern "C" void onInterrupt(int)
{
    interrupted = 1;
    std::signal(SIGINT, SIG_DFL);  // a second Ctrl-C ends the program at once
}

}  // namespace

void CatchInterrupt() { std::signal(SIGINT, onInterrupt); }

HeadlessHost::HeadlessHost(QStringList paths, QPrinter& printer)
    : m_paths(std::move(paths)), m_printer(printer)
{}

HeadlessHost::~HeadlessHost() = default;

void HeadlessHost::setStatus(const QString& text)
{
    if (verbose && !text.isEmpty())
        std::fprintf(stderr, "%s\n", text.toUtf8().constData());
}

void HeadlessHost::processWaitingInput()
{
    QCoreApplication::processEvents();
    if (++m_processed == stopAfter)
        AbortRequested = true;
    if (stopPressed())
        AbortRequested = true;
}

bool HeadlessHost::stopPressed() const
{
    return interrupted != 0 || (stopAfter > 0 && m_processed >= stopAfter);
}

QString HeadlessHost::currentFolder() const
{
    return m_paths.isEmpty() ? QString() : QFileInfo(m_paths.first()).absolutePath();
}

platform::PrintDevice& HeadlessHost::printDevice()
{
    if (!m_device)
        m_device = std::make_unique<platform::QtPrintDevice>(m_printer);
    return *m_device;
}
