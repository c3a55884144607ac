// The main window as the print commands see it, over map controls and the
// raster printer (254 dpi: 10 dots per mm; 100 x 150 mm sheet, 5 mm border).
#pragma once

#include "platform/RasterPrinter.h"
#include "tav/core/AppSettings.h"
#include "tav/core/RunState.h"
#include "tav/printing/PrintSelection.h"
#include "tav/tests/FakeControls.h"

#include "platform/tests/ScriptedPrompt.h"

#include <QDir>
#include <QImage>
#include <QTemporaryDir>
#include <functional>
#include <gtest/gtest.h>
#include <vector>

class FakePrintHost : public PrintHost {
public:
    void setBusy(bool on) override { busy.push_back(on); }
    void setStatus(const QString& text) override { status << text; }
    void setGaugeMaximum(int maximum) override { gaugeMaximum = maximum; }
    void setGauge(int value) override { gauge = value; }
    void processWaitingInput() override
    {
        if (waitingInput)
            waitingInput();
    }
    QStringList selectedPaths() const override { return selected; }
    QString currentFolder() const override { return folder; }
    AppSettings& settings() override { return app; }
    ControlSurface& controls() override { return tabs; }
    bool choosePrinter() override { return printerChosen; }
    platform::PrintDevice& printDevice() override { return printer; }
    bool showPreviewPage(const QImage& page, double&) override
    {
        previews.append(page);
        // Stopping on a page is what the preview's stop command does.
        return !(stopOnPage == previews.size() && (AbortRequested = true));
    }
    void file_list3Click() override { ++selectionRefreshes; }
    void refreshFolder() override { ++folderRefreshes; }

    std::vector<bool> busy;
    QStringList status;
    int gaugeMaximum = 0;
    int gauge = -1;
    QStringList selected;
    QString folder;
    AppSettings app;
    FakeControls tabs;
    bool printerChosen = true;
    platform::RasterPrinter printer{platform::RasterPrinter::paper(254, 100, 150, 5)};
    QList<QImage> previews;
    int stopOnPage = 0;
    int selectionRefreshes = 0;
    int folderRefreshes = 0;
    std::function<void()> waitingInput;
};

// Each test starts with the first tabs' defaults and no adjustment.
class PrintHostTest : public ::testing::Test {
protected:
    void SetUp() override
    {
        ASSERT_TRUE(dir.isValid());
        PreviewMode = false;
        AbortRequested = false;
        host.folder = dir.path();
        host.app.marginTop = host.app.marginLeft = host.app.marginBottom = host.app.marginRight = 5;
        host.tabs.checks[QStringLiteral("ch_zentai")] = true;
        host.tabs.checks[QStringLiteral("ch_hetaNasiPr1")] = true;
        host.tabs.checks[QStringLiteral("ch_futaNasiPr1")] = true;
        for (const char* name : {"tx_akarusa", "tx_r", "tx_g", "tx_b"})
            host.tabs.texts[QString::fromLatin1(name)] = QStringLiteral("0");
    }

    // A red picture file of width x height, selected.
    void addPicture(const QString& name, int width, int height)
    {
        QImage image(width, height, QImage::Format_RGB32);
        image.fill(QColor(255, 0, 0));
        const QString path = QDir(dir.path()).filePath(name);
        ASSERT_TRUE(image.save(path, "BMP"));
        host.selected << path;
    }

    QTemporaryDir dir;
    FakePrintHost host;
    platform::ScriptedPrompt prompt;
};
