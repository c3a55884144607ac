// The main window as a tab's command sees it, without a window: the files
// named on the command line are the selection (their folder the browser's),
// the settings are the ones read from tav.Ini, the printer is the queue or
// PDF file named on the command line, and a pending interrupt (Ctrl-C) is
// the stop button.
#pragma once

#include "tav/batch/BatchSettings.h"
#include "tav/core/AppSettings.h"
#include "tav/printing/PrintSelection.h"

#include <QPrinter>
#include <memory>

namespace platform {
class QtPrintDevice;
}

class HeadlessHost final : public PrintHost {
public:
    HeadlessHost(QStringList paths, QPrinter& printer);
    ~HeadlessHost() override;

    BatchControls& batchControls() { return m_controls; }
    // Reports the status texts on standard error.
    bool verbose = false;
    // For tests: the stop button is pressed after this many pictures (0: never).
    int stopAfter = 0;
    // Whether the stop button was pressed, by Ctrl-C or by `stopAfter`.
    bool stopPressed() const;

    void setBusy(bool) override {}
    void setStatus(const QString& text) override;
    void setGaugeMaximum(int) override {}
    void setGauge(int) override {}
    void processWaitingInput() override;
    QStringList selectedPaths() const override { return m_paths; }
    QString currentFolder() const override;
    AppSettings& settings() override { return m_settings; }
    ControlSurface& controls() override { return m_controls; }
    void file_list3Click() override {}
    void refreshFolder() override {}
    bool choosePrinter() override { return true; }
    platform::PrintDevice& printDevice() override;
    bool showPreviewPage(const QImage&, double&) override { return false; }

private:
    QStringList m_paths;
    QPrinter& m_printer;
    std::unique_ptr<platform::QtPrintDevice> m_device;
    int m_processed = 0;
    AppSettings m_settings;
    BatchControls m_controls;
};

// Installs the Ctrl-C handler that asks the running command to stop.
void CatchInterrupt();
