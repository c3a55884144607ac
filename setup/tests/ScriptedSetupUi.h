// The tests' double of the installer's windows.
#pragma once

#include "setup/engine/SetupUi.h"

#include <QStringList>
#include <deque>

namespace setup {

// The tests' double: records every call, answers the delete question from a
// queue (No, the safe choice, once the queue is empty) and can
// request an abort at the n-th status text.
class ScriptedSetupUi : public SetupUi {
public:
    void beginRun() override { events << "begin"; }
    void setStatus(const QString& text) override;
    void showGauge(bool visible) override { events << (visible ? "gauge shown" : "gauge hidden"); }
    void setGauge(int percent, const QString& label) override;
    void setAbortEnabled(bool enabled) override { abortEnabled = enabled; }
    bool abortRequested() override { return abortAtStatus > 0 && int(statuses.size()) >= abortAtStatus; }
    void pause(int milliseconds) override { pausedMs += milliseconds; }
    DeleteAnswer askDelete(const QString& text) override;
    void showErrorLog(const QString& caption, const QString& log) override;
    void endRun() override { events << "end"; }

    std::deque<DeleteAnswer> deleteAnswers;  // answers in order; No once empty
    int abortAtStatus = 0;  // 0: never abort
    QStringList events;  // begin, gauge, log, end
    QStringList statuses;
    QStringList deleteQuestions;
    QStringList gaugeLabels;
    QString errorLogCaption;
    QString errorLog;
    bool abortEnabled = false;
    long long pausedMs = 0;
};

}  // namespace setup
