// The narrow view the install and uninstall runs have of their windows. The
// engine never touches a widget: it shows its status line and gauge, asks the
// four-button delete question, waits for the user to read the error log and
// pauses between steps through this interface. Message boxes go through
// platform::prompts() instead. The windows implement it in setup/ui/;
// setup/tests/ScriptedSetupUi.h is the tests' double.
#pragma once

#include <QString>

namespace setup {

// The four answers of the delete question.
enum class DeleteAnswer { Yes, No, DeleteAll, SaveAll };

class SetupUi {
public:
    virtual ~SetupUi() = default;

    // Hides the main window and shows the progress window (start of a run).
    virtual void beginRun() = 0;
    // The progress window's message line; lets pending window events run.
    virtual void setStatus(const QString& text) = 0;
    // Shows or hides the gauge group (bar and label) of the progress window.
    virtual void showGauge(bool visible) = 0;
    // Gauge position 0..100 and its label, e.g. "42%(3/7)".
    virtual void setGauge(int percent, const QString& label) = 0;
    // Enables or disables the abort button.
    virtual void setAbortEnabled(bool enabled) = 0;
    // True once the user confirmed the abort question; the run stops at its
    // next check.
    virtual bool abortRequested() = 0;
    // Waits `milliseconds` while letting window events run (step delays).
    virtual void pause(int milliseconds) = 0;
    // The delete question with `text`; answers one of its four buttons.
    virtual DeleteAnswer askDelete(const QString& text) = 0;
    // Shows `log` on the main window's text page under `caption` with the
    // "続行(&C)" button and returns when the user pressed it.
    virtual void showErrorLog(const QString& caption, const QString& log) = 0;
    // End of a run: close the progress and main windows.
    virtual void endRun() = 0;
};

}  // namespace setup
