// The installer's windows as the runs see them: the status line and gauge of
// the progress window, its abort button, the delete question and the error
// log on the main window's text page.
#pragma once

#include "setup/engine/SetupUi.h"

class QWidget;
class TfrmCustomDlg;
class TfrmMain;
class TfrmStatus;

class WindowsUi : public setup::SetupUi {
public:
    WindowsUi(QWidget& backdrop, TfrmMain& main, TfrmStatus& status, TfrmCustomDlg& question);

    void beginRun() override;
    void setStatus(const QString& text) override;
    void showGauge(bool visible) override;
    void setGauge(int percent, const QString& label) override;
    void setAbortEnabled(bool enabled) override;
    bool abortRequested() override { return m_aborted; }
    void pause(int milliseconds) override;
    setup::DeleteAnswer askDelete(const QString& text) override;
    void showErrorLog(const QString& caption, const QString& log) override;
    void endRun() override;

private:
    QWidget& m_backdrop;
    TfrmMain& m_main;
    TfrmStatus& m_status;
    TfrmCustomDlg& m_question;
    bool m_aborted = false;
};
