#include "setup/engine/SetupUi.h"

namespace setup {

void ScriptedSetupUi::setStatus(const QString& text) { statuses << text; }

void ScriptedSetupUi::setGauge(int percent, const QString& label)
{
    Q_UNUSED(percent);
    gaugeLabels << label;
}

DeleteAnswer ScriptedSetupUi::askDelete(const QString& text)
{
    deleteQuestions << text;
    if (deleteAnswers.empty())
        return DeleteAnswer::No;
    const DeleteAnswer answer = deleteAnswers.front();
    deleteAnswers.pop_front();
    return answer;
}

void ScriptedSetupUi::showErrorLog(const QString& caption, const QString& log)
{
    events << "log";
    errorLogCaption = caption;
    errorLog = log;
}

}  // namespace setup
