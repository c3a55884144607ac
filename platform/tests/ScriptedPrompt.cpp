// The recording, script-answering prompt service of the tests.
#include "platform/tests/ScriptedPrompt.h"

#include <stdexcept>

namespace platform {

namespace {

class ScriptedProgress : public ProgressBox {
public:
    ScriptedProgress(std::shared_ptr<QList<int>> percents, int cancelAt)
        : m_percents(std::move(percents)), m_cancelAt(cancelAt)
    {}
    void setPercent(int percent) override
    {
        m_percents->append(percent);
        if (m_cancelAt >= 0 && percent >= m_cancelAt)
            m_cancelled = true;
    }
    bool cancelled() const override { return m_cancelled; }

private:
    std::shared_ptr<QList<int>> m_percents;
    int m_cancelAt;
    bool m_cancelled = false;
};

const char* typeName(PromptRecord::Type type)
{
    switch (type) {
    case PromptRecord::Type::Message: return "a message box";
    case PromptRecord::Type::Print: return "the print dialog";
    case PromptRecord::Type::PrinterSetup: return "the printer set-up dialog";
    case PromptRecord::Type::OpenFile: return "the open-file dialog";
    case PromptRecord::Type::BrowseFolder: return "the folder dialog";
    case PromptRecord::Type::Font: return "the font chooser";
    case PromptRecord::Type::Color: return "the colour chooser";
    case PromptRecord::Type::Progress: return "a progress box";
    }
    return "a prompt";
}

bool buttonsOffer(Buttons buttons, Answer answer)
{
    switch (buttons) {
    case Buttons::Ok: return answer == Answer::Ok;
    case Buttons::Yes: return answer == Answer::Yes;
    case Buttons::OkCancel: return answer == Answer::Ok || answer == Answer::Cancel;
    case Buttons::YesNo: return answer == Answer::Yes || answer == Answer::No;
    case Buttons::YesAbort: return answer == Answer::Yes || answer == Answer::Abort;
    }
    return false;
}

// Takes the scripted answer as T, or throws when the script queued another kind.
template <typename T>
T expect(const ScriptedAnswer& answer, const PromptRecord& prompt)
{
    if (const T* value = std::get_if<T>(&answer))
        return *value;
    throw std::logic_error(std::string("ScriptedPrompt: the scripted answer does not fit ") +
                           typeName(prompt.type) + " (\"" + prompt.text.toStdString() + "\")");
}

}  // namespace

ScriptedPrompt::ScriptedPrompt() : m_previous(setPrompts(this)) {}

ScriptedPrompt::~ScriptedPrompt() { setPrompts(m_previous); }

QStringList ScriptedPrompt::texts() const
{
    QStringList list;
    for (const PromptRecord& r : m_shown)
        list.append(r.text);
    return list;
}

QStringList ScriptedPrompt::messages() const
{
    QStringList list;
    for (const PromptRecord& r : m_shown)
        if (r.type == PromptRecord::Type::Message)
            list.append(r.text);
    return list;
}

std::optional<ScriptedAnswer> ScriptedPrompt::next()
{
    std::optional<ScriptedAnswer> a;
    if (!m_answers.empty()) {
        a.emplace(std::move(m_answers.front()));
        m_answers.pop_front();
    }
    return a;
}

void ScriptedPrompt::record(PromptRecord r)
{
    m_shown.append(r);
    if (onPrompt)
        onPrompt(r);
}

Answer ScriptedPrompt::message(MessageKind kind, const QString& caption, const QString& text, Buttons buttons)
{
    PromptRecord r{PromptRecord::Type::Message, kind, buttons, caption, text};
    record(r);
    const auto a = next();
    if (!a)
        return defaultAnswer(buttons);
    const Answer answer = expect<Answer>(*a, r);
    if (!buttonsOffer(buttons, answer))
        throw std::logic_error("ScriptedPrompt: the scripted button is not on the message box (\"" +
                               text.toStdString() + "\")");
    return answer;
}

bool ScriptedPrompt::printDialog(QPrinter*)
{
    PromptRecord r;
    r.type = PromptRecord::Type::Print;
    record(r);
    const auto a = next();
    return a ? expect<bool>(*a, r) : false;
}

bool ScriptedPrompt::printerSetupDialog(QPrinter*)
{
    PromptRecord r;
    r.type = PromptRecord::Type::PrinterSetup;
    record(r);
    const auto a = next();
    return a ? expect<bool>(*a, r) : false;
}

std::optional<QString> ScriptedPrompt::openFile(const OpenFileRequest& request)
{
    PromptRecord r;
    r.type = PromptRecord::Type::OpenFile;
    r.caption = request.title;
    r.text = request.initialPath;
    record(r);
    const auto a = next();
    return a ? expect<std::optional<QString>>(*a, r) : std::nullopt;
}

std::optional<QString> ScriptedPrompt::browseFolder(const QString& title, const QString& initial)
{
    PromptRecord r;
    r.type = PromptRecord::Type::BrowseFolder;
    r.caption = title;
    r.text = initial;
    record(r);
    const auto a = next();
    return a ? expect<std::optional<QString>>(*a, r) : std::nullopt;
}

std::optional<FontSpec> ScriptedPrompt::chooseFont(const FontSpec& initial)
{
    PromptRecord r;
    r.type = PromptRecord::Type::Font;
    r.text = initial.name;
    record(r);
    const auto a = next();
    return a ? expect<std::optional<FontSpec>>(*a, r) : std::nullopt;
}

std::optional<std::uint32_t> ScriptedPrompt::chooseColor(ColorRequest&)
{
    PromptRecord r;
    r.type = PromptRecord::Type::Color;
    record(r);
    const auto a = next();
    return a ? expect<std::optional<std::uint32_t>>(*a, r) : std::nullopt;
}

std::unique_ptr<ProgressBox> ScriptedPrompt::openProgress(const QString& caption, const QString& text,
                                                          const QString&)
{
    PromptRecord r;
    r.type = PromptRecord::Type::Progress;
    r.caption = caption;
    r.text = text;
    record(r);
    return std::make_unique<ScriptedProgress>(m_percents, cancelProgressAt);
}

}  // namespace platform
