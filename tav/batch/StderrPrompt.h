// The prompt service of a command run without a window: every message goes
// to standard error with its text as the window would show it; questions
// take their default answer, or yes / no for all when asked to; dialogs that
// would choose a file, folder, font or colour are cancelled.
#pragma once

#include "platform/Prompt.h"

#include <functional>
#include <optional>

class StderrPrompt : public platform::PromptService {
public:
    // `answer`: Yes or No for every question; nullopt for each box's default.
    explicit StderrPrompt(std::optional<bool> answer);
    ~StderrPrompt() override;

    // Whether the user interrupted the run: stop questions (asked only while
    // a stop is pending) are then answered yes.
    std::function<bool()> interrupted = [] { return false; };

    bool stopConfirmed() const { return m_stopConfirmed; }
    bool warned() const { return m_warned; }  // a warning or error was shown
    const QString& lastMessage() const { return m_lastMessage; }

    platform::Answer message(platform::MessageKind kind, const QString& caption, const QString& text,
                             platform::Buttons buttons) override;
    bool printDialog(QPrinter*) override { return true; }  // the printer was named on the command line
    bool printerSetupDialog(QPrinter*) override { return true; }
    std::optional<QString> openFile(const platform::OpenFileRequest& request) override;
    std::optional<QString> browseFolder(const QString& title, const QString& initial) override;
    std::optional<platform::FontSpec> chooseFont(const platform::FontSpec&) override { return std::nullopt; }
    std::optional<std::uint32_t> chooseColor(platform::ColorRequest&) override { return std::nullopt; }
    std::unique_ptr<platform::ProgressBox> openProgress(const QString& caption, const QString& text,
                                                        const QString& cancelText) override;

private:
    platform::Answer answerFor(platform::Buttons buttons) const;

    std::optional<bool> m_answer;
    platform::PromptService* m_previous = nullptr;
    bool m_stopConfirmed = false;
    bool m_warned = false;
    QString m_lastMessage;
};
