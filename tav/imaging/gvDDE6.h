// The link to the outside viewer GV: for picture formats the imaging library
// cannot decode, the program starts GV hidden, asks it over DDE to open the
// file and takes the decoded picture back as a packed DIB. One TgvDDE lives
// as long as the main window; LoadImageFile is its only user. Everything runs
// on the GUI thread; the waits keep the thread's event loop running, so ESC
// and the stop button can set AbortRequested while GV works.
#pragma once

#include "imgkit/DibHandle.h"
#include "tav/imaging/PcDdeman.h"

#include <QString>
#include <QtGlobal>
#include <cstdint>
#include <memory>

class QProcess;

class TgvDDE {
public:
    TgvDDE();
    ~TgvDDE();
    TgvDDE(const TgvDDE&) = delete;
    TgvDDE& operator=(const TgvDDE&) = delete;

    // Stores the GV version flag (1 = GV 0.80 or later) and the GV program
    // path; called once, right after the settings are loaded.
    void SetGvOptions(std::uint8_t newGvFlag, const QString& gvPath);

    // True when GV runs and accepted the start commands. Starts GV hidden
    // (" /DDE") unless a started GV is known.
    bool StartGv();

    // Asks a started GV to exit and forgets it. Called when the main window
    // is about to close.
    void StopGv();

    // The decoded picture of the file at `fullPath`, owned by the caller; an
    // empty handle when GV is missing, too old, or cannot read the file.
    // Restarts a GV whose process has ended.
    imgkit::DibHandle FetchDib(const QString& fullPath);

    // True while a started GV process is known and running.
    bool gvRunning() const;
    // The process id of the started GV, 0 when none is known.
    qint64 gvProcessId() const;

private:
    void forgetProcess();
    QString pollDibRequest();
    static imgkit::DibHandle adoptDib(platform::DdeBlock block);

    TDdeClientConvPC m_conv;
    std::uint8_t m_newGv = 1;
    QString m_gvPath;
    std::unique_ptr<QProcess> m_process;
};
