// The prompt service for tests: records every prompt with its exact texts and
// answers from a queue of scripted answers (a default answer when empty).
#pragma once

#include "platform/Prompt.h"

#include <QList>
#include <deque>
#include <functional>
#include <variant>

namespace platform {

struct PromptRecord {
    enum class Type { Message, Print, PrinterSetup, OpenFile, BrowseFolder, Font, Color, Progress };
    Type type = Type::Message;
    MessageKind kind = MessageKind::Information;
    Buttons buttons = Buttons::Ok;
    QString caption;
    QString text;
};

// One scripted answer: a button for message boxes, true/false for the
// printer dialogs, a text (or nullopt = cancel) for file and folder dialogs,
// a font or colour (or nullopt = cancel) for the choosers.
using ScriptedAnswer =
    std::variant<Answer, bool, std::optional<QString>, std::optional<FontSpec>, std::optional<std::uint32_t>>;

class ScriptedPrompt : public PromptService {
public:
    // Installs itself as the service in force; the destructor restores the previous one.
    ScriptedPrompt();
    ~ScriptedPrompt() override;

    void answer(ScriptedAnswer a) { m_answers.push_back(std::move(a)); }
    const QList<PromptRecord>& shown() const { return m_shown; }
    QStringList texts() const;  // the texts of every prompt shown, in order
    QStringList messages() const;  // the texts of the message boxes only
    void clear() { m_shown.clear(); }

    // Every percentage set on the progress boxes this service opened, in order.
    QList<int> percents() const { return *m_percents; }

    // Called with each prompt before it is answered (for example to press ESC
    // while a batch waits); may queue answers.
    std::function<void(const PromptRecord&)> onPrompt;

    // Progress boxes report cancelled once their percentage reaches this value.
    int cancelProgressAt = -1;

    Answer message(MessageKind kind, const QString& caption, const QString& text, Buttons buttons) override;
    bool printDialog(QPrinter* printer) override;
    bool printerSetupDialog(QPrinter* printer) override;
    std::optional<QString> openFile(const OpenFileRequest& request) override;
    std::optional<QString> browseFolder(const QString& title, const QString& initial) override;
    std::optional<FontSpec> chooseFont(const FontSpec& initial) override;
    std::optional<std::uint32_t> chooseColor(ColorRequest& request) override;
    std::unique_ptr<ProgressBox> openProgress(const QString& caption, const QString& text,
                                              const QString& cancelText) override;

private:
    std::optional<ScriptedAnswer> next();
    void record(PromptRecord r);

    std::deque<ScriptedAnswer> m_answers;
    QList<PromptRecord> m_shown;
    PromptService* m_previous = nullptr;
    // Shared with the progress boxes, which may outlive this service.
    std::shared_ptr<QList<int>> m_percents = std::make_shared<QList<int>>();
};

}  // namespace platform
