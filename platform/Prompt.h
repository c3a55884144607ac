// The one door through which the programs talk to the user: every message box,
// question, progress box and common dialog goes through the PromptService in
// force. The desktop implementation (QtPrompt) shows real windows; the
// scripted double (ScriptedPrompt) records what would have been shown and
// answers from a script, so tests assert the exact texts.
#pragma once

#include <QString>
#include <QStringList>
#include <cstdint>
#include <memory>
#include <optional>

class QPrinter;

namespace platform {

enum class MessageKind { Information, Warning, Error, Question };
enum class Buttons { Ok, Yes, OkCancel, YesNo, YesAbort };
enum class Answer { Ok, Cancel, Yes, No, Abort };

// A font as the settings store it: name, size in points, colour reference
// 0x00BBGGRR, style bits (1 bold, 2 italic, 4 underline, 8 strike-out).
struct FontSpec {
    QString name;
    int size = 9;
    std::uint32_t color = 0;
    int style = 0;
    bool operator==(const FontSpec&) const = default;
};

struct OpenFileRequest {
    QString title;
    QString initialPath;
    QString filter;  // Qt filter text, e.g. "画像 (*.bmp *.jpg)"
};

// The colour chooser: the colour shown first and the 16 custom-colour slots
// (colour references; nullopt = empty slot), which the chooser may change.
struct ColorRequest {
    std::uint32_t initial = 0;
    std::optional<std::uint32_t> custom[16];
};

// A modal-less progress box; closing it is destroying it.
class ProgressBox {
public:
    virtual ~ProgressBox() = default;
    virtual void setPercent(int percent) = 0;
    // True once the user pressed the cancel button (if there is one).
    virtual bool cancelled() const = 0;
};

class PromptService {
public:
    virtual ~PromptService() = default;

    // A message box. `caption` is the window title ("" = the program's title).
    virtual Answer message(MessageKind kind, const QString& caption, const QString& text,
                           Buttons buttons) = 0;

    // The system print and printer set-up dialogs; false = cancelled.
    virtual bool printDialog(QPrinter* printer) = 0;
    virtual bool printerSetupDialog(QPrinter* printer) = 0;

    virtual std::optional<QString> openFile(const OpenFileRequest& request) = 0;
    virtual std::optional<QString> browseFolder(const QString& title, const QString& initial) = 0;
    virtual std::optional<FontSpec> chooseFont(const FontSpec& initial) = 0;
    // On confirmation returns the colour and writes the custom slots back into `request`.
    virtual std::optional<std::uint32_t> chooseColor(ColorRequest& request) = 0;

    // A progress box with `caption` and `text`; with `cancelText` non-empty it
    // has a cancel button of that caption.
    virtual std::unique_ptr<ProgressBox> openProgress(const QString& caption, const QString& text,
                                                      const QString& cancelText) = 0;
};

// The answer a box gets when nobody is there to press a button: Ok for a
// plain box, otherwise the safe choice (Cancel, No, Abort).
Answer defaultAnswer(Buttons buttons);

// The service in force. Until one is installed, a scripted double that answers
// every question with its default is used, so library code never needs a window.
PromptService& prompts();

// Installs `service` (not owned) and returns the one it replaces.
PromptService* setPrompts(PromptService* service);

// Convenience wrappers over prompts().message().
void showInformation(const QString& text, const QString& caption = {});
void showWarning(const QString& text, const QString& caption = {});
void showError(const QString& text, const QString& caption = {});
bool askYesNo(const QString& text, const QString& caption = {});

}  // namespace platform
