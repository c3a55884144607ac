#include "tav/batch/StderrPrompt.h"

#include "tav/core/RunState.h"

#include <cstdio>

namespace {

using platform::Answer;
using platform::Buttons;

void writeLine(const QString& text)
{
    QString line = text;
    line.replace(QStringLiteral("\r\n"), QStringLiteral("\n"));
    std::fprintf(stderr, "%s\n", line.toUtf8().constData());
    std::fflush(stderr);
}

QString answerText(Answer a)
{
    switch (a) {
    case Answer::Ok: return QStringLiteral("OK");
    case Answer::Cancel: return QStringLiteral("ｷｬﾝｾﾙ");
    case Answer::Yes: return QStringLiteral("はい");
    case Answer::No: return QStringLiteral("いいえ");
    case Answer::Abort: return QStringLiteral("中止");
    }
    return {};
}

bool isQuestion(Buttons b) { return b == Buttons::YesNo || b == Buttons::OkCancel || b == Buttons::YesAbort; }

class SilentProgress final : public platform::ProgressBox {
public:
    void setPercent(int) override {}
    bool cancelled() const override { return false; }
};

}  // namespace

StderrPrompt::StderrPrompt(std::optional<bool> answer)
    : m_answer(answer), m_previous(platform::setPrompts(this))
{}

StderrPrompt::~StderrPrompt() { platform::setPrompts(m_previous); }

Answer StderrPrompt::answerFor(Buttons buttons) const
{
    const std::optional<bool> yes = interrupted() && AbortRequested ? std::optional<bool>(true) : m_answer;
    if (!yes || buttons == Buttons::Ok || buttons == Buttons::Yes)
        return platform::defaultAnswer(buttons);
    switch (buttons) {
    case Buttons::OkCancel: return *yes ? Answer::Ok : Answer::Cancel;
    case Buttons::YesAbort: return *yes ? Answer::Yes : Answer::Abort;
    default: return *yes ? Answer::Yes : Answer::No;
    }
}

Answer StderrPrompt::message(platform::MessageKind kind, const QString&, const QString& text, Buttons buttons)
{
    if (!isQuestion(buttons)) {
        writeLine(text);
        m_lastMessage = text;
        if (kind == platform::MessageKind::Warning || kind == platform::MessageKind::Error)
            m_warned = true;
        return platform::defaultAnswer(buttons);
    }
    const Answer a = answerFor(buttons);
    if (interrupted() && AbortRequested && a == Answer::Yes)
        m_stopConfirmed = true;
    writeLine(text + QStringLiteral(" [") + answerText(a) + QLatin1Char(']'));
    return a;
}

std::optional<QString> StderrPrompt::openFile(const platform::OpenFileRequest& request)
{
    writeLine(request.title + QStringLiteral(" [ｷｬﾝｾﾙ]"));
    return std::nullopt;
}

std::optional<QString> StderrPrompt::browseFolder(const QString& title, const QString&)
{
    writeLine(title + QStringLiteral(" [ｷｬﾝｾﾙ]"));
    return std::nullopt;
}

std::unique_ptr<platform::ProgressBox> StderrPrompt::openProgress(const QString&, const QString&,
                                                                  const QString&)
{
    return std::make_unique<SilentProgress>();
}
