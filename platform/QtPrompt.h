// The desktop prompt service: real message boxes and common dialogs.
#pragma once

#include "platform/Prompt.h"

namespace platform {

class QtPrompt : public PromptService {
public:
    // A progress box stays hidden until its work has run this long.
    static constexpr int kProgressDelayMs = 500;

    Answer message(MessageKind kind, const QString& caption, const QString& text, Buttons buttons) override;
    bool printDialog(QPrinter* printer) override;
    bool printerSetupDialog(QPrinter* printer) override;
    std::optional<QString> openFile(const OpenFileRequest& request) override;
    std::optional<QString> browseFolder(const QString& title, const QString& initial) override;
    std::optional<FontSpec> chooseFont(const FontSpec& initial) override;
    std::optional<std::uint32_t> chooseColor(ColorRequest& request) override;
    std::unique_ptr<ProgressBox> openProgress(const QString& caption, const QString& text,
                                              const QString& cancelText) override;
};

}  // namespace platform
