// The convention every batch command follows: clear the stop flag, refuse an
// empty selection, enter busy mode, work through the selected files in view
// order with a status text and the gauge, let waiting input run after each
// file (the only moment ESC or the stop button is seen), confirm a stop
// request, and leave busy mode with the command's completion message.
#pragma once

#include <QString>
#include <QStringList>

// The main window as a batch sees it.
class BatchHost {
public:
    virtual ~BatchHost() = default;
    virtual void setBusy(bool on) = 0;
    virtual void setStatus(const QString& text) = 0;  // shown and repainted at once
    virtual void setGaugeMaximum(int maximum) = 0;
    virtual void setGauge(int value) = 0;
    virtual void processWaitingInput() = 0;
};

// The texts of one command.
struct BatchTexts {
    QString emptySelection;  // "印刷するﾌｧｲﾙが選択されていません。"
    QString progress;  // put after the file name, "を印刷中です。(...)"
    QString stopQuestion;  // "本当に印刷を中断してよろしいですか？"
    QString completed;  // "印刷完了。"; empty: no message
    QString failedToStart;  // "印刷出来ませんでした。"; shown when begin() fails; empty: no message
};

// What a command does at each step. `items` are the full paths, `names` the
// file names shown in the status line.
class BatchJob {
public:
    virtual ~BatchJob() = default;
    // Starts the run once busy mode is on (opening a print job, say); false
    // ends the run with the failed-to-start message.
    virtual bool begin() { return true; }
    // False when the file was skipped (it could not be loaded): the run goes
    // on with the next file without a progress step or a stop check.
    virtual bool process(const QString& path) = 0;
    // Asked after each file: true when the run cannot go on (the print job of
    // a command that opens one job per file could not start). The remaining
    // files are skipped, end() is still called, and the run closes like one
    // whose begin() failed, with the failed-to-start message.
    virtual bool cannotGoOn() const { return false; }
    // After the loop; `stopped` when the user confirmed a stop.
    virtual void end(bool stopped) { (void)stopped; }
    // Asked after end() of a run that was not stopped: false when its output
    // could not be handed over (the spooler refused the job, the file could
    // not be written). The run then closes with the failed-to-start message,
    // never with the completion message.
    virtual bool delivered() const { return true; }
    // False when the run went to the preview, which shows no completion message.
    virtual bool showsCompletion() const { return true; }
};

// FailedToStart also when a job reported cannotGoOn() or its output was not delivered.
enum class BatchResult { NothingSelected, FailedToStart, Completed, Stopped };

BatchResult runBatch(BatchHost& host, const QStringList& paths, const BatchTexts& texts, BatchJob& job);
