#include "setup/ui/WindowsUi.h"

#include "setup/ui/CusDlg.h"
#include "setup/ui/Main.h"
#include "setup/ui/Status.h"

#include "platform/Prompt.h"

#include <QCoreApplication>
#include <QEventLoop>
#include <QPushButton>
#include <QTimer>

WindowsUi::WindowsUi(QWidget& backdrop, TfrmMain& main, TfrmStatus& status, TfrmCustomDlg& question)
    : m_backdrop(backdrop), m_main(main), m_status(status), m_question(question)
{
    // A confirmed abort disables the main window; the run stops at its next check.
    m_status.onAbortConfirmed = [this] {
        m_aborted = true;
        m_main.setEnabled(false);
        m_backdrop.setEnabled(true);
        m_status.hide();
        platform::prompts().message(platform::MessageKind::Warning, QStringLiteral("中断"),
                                    QStringLiteral("セットアップを中断しました．"), platform::Buttons::Ok);
    };
}

void WindowsUi::beginRun()
{
    m_aborted = false;
    m_main.hide();
    QCoreApplication::processEvents();
    pause(500);
    m_status.show();
    m_main.btnEnd->hide();
    m_main.btnEvent->move((m_main.width() - m_main.btnEvent->width()) / 2, m_main.btnEvent->y());
}

void WindowsUi::setStatus(const QString& text)
{
    m_status.setMessage(text);
    QCoreApplication::processEvents();
}

void WindowsUi::showGauge(bool visible) { m_status.showGauge(visible); }

void WindowsUi::setGauge(int percent, const QString& label)
{
    m_status.setGauge(percent, label);
    QCoreApplication::processEvents();
}

void WindowsUi::setAbortEnabled(bool enabled) { m_status.btnAbort->setEnabled(enabled); }

void WindowsUi::pause(int milliseconds)
{
    QEventLoop loop;
    QTimer::singleShot(milliseconds, &loop, &QEventLoop::quit);
    loop.exec();
}

setup::DeleteAnswer WindowsUi::askDelete(const QString& text)
{
    const QString answer = m_question.ask(text);
    if (answer == u"Yes")
        return setup::DeleteAnswer::Yes;
    if (answer == u"Delete")
        return setup::DeleteAnswer::DeleteAll;
    if (answer == u"Save")
        return setup::DeleteAnswer::SaveAll;
    return setup::DeleteAnswer::No;
}

void WindowsUi::showErrorLog(const QString& caption, const QString& log)
{
    m_main.showTextPage(caption, log, QStringLiteral("ssVertical"));
    m_main.btnEvent->setText(QStringLiteral("続行(&C)"));
    m_main.btnEvent->setEnabled(true);
    m_main.setEnabled(true);
    m_status.hide();
    m_main.show();
    // The button disables itself when pressed.
    while (m_main.btnEvent->isEnabled() && m_main.isVisible())
        pause(200);
    m_main.hide();
    pause(500);
    m_status.show();
}

void WindowsUi::endRun()
{
    m_backdrop.setEnabled(true);
    m_status.hide();
    m_main.done(QDialog::Accepted);
}
