// The service in force, and the silent service used until one is installed.
#include "platform/Prompt.h"

#include <atomic>

namespace platform {

namespace {

class SilentProgress : public ProgressBox {
public:
    void setPercent(int) override {}
    bool cancelled() const override { return false; }
};

// Nobody at the screen: every box gets its default answer, every dialog is cancelled.
class SilentPrompt : public PromptService {
public:
    Answer message(MessageKind, const QString&, const QString&, Buttons buttons) override
    {
        return defaultAnswer(buttons);
    }
    bool printDialog(QPrinter*) override { return false; }
    bool printerSetupDialog(QPrinter*) override { return false; }
    std::optional<QString> openFile(const OpenFileRequest&) override { return std::nullopt; }
    std::optional<QString> browseFolder(const QString&, const QString&) override { return std::nullopt; }
    std::optional<FontSpec> chooseFont(const FontSpec&) override { return std::nullopt; }
    std::optional<std::uint32_t> chooseColor(ColorRequest&) override { return std::nullopt; }
    std::unique_ptr<ProgressBox> openProgress(const QString&, const QString&, const QString&) override
    {
        return std::make_unique<SilentProgress>();
    }
};

std::atomic<PromptService*> g_service{nullptr};

}  // namespace

Answer defaultAnswer(Buttons buttons)
{
    switch (buttons) {
    case Buttons::Ok: return Answer::Ok;
    case Buttons::Yes: return Answer::Yes;
    case Buttons::OkCancel: return Answer::Cancel;
    case Buttons::YesNo: return Answer::No;
    case Buttons::YesAbort: return Answer::Abort;
    }
    return Answer::Cancel;
}

PromptService& prompts()
{
    static SilentPrompt silent;
    PromptService* service = g_service.load();
    return service ? *service : silent;
}

PromptService* setPrompts(PromptService* service) { return g_service.exchange(service); }

void showInformation(const QString& text, const QString& caption)
{
    prompts().message(MessageKind::Information, caption, text, Buttons::Ok);
}

void showWarning(const QString& text, const QString& caption)
{
    prompts().message(MessageKind::Warning, caption, text, Buttons::Ok);
}

void showError(const QString& text, const QString& caption)
{
    prompts().message(MessageKind::Error, caption, text, Buttons::Ok);
}

bool askYesNo(const QString& text, const QString& caption)
{
    return prompts().message(MessageKind::Question, caption, text, Buttons::YesNo) == Answer::Yes;
}

}  // namespace platform
