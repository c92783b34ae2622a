#include "support/ui/scripted_dialogs.h"

namespace brevio::test {

void ScriptedDialogs::message(const QString& text)
{
    messages << text;
}

bool ScriptedDialogs::confirm(const QString& text)
{
    confirmations << text;
    if (confirmAnswers.empty()) {
        ++unscripted;
        return false;
    }
    const bool answer = confirmAnswers.front();
    confirmAnswers.pop_front();
    return answer;
}

std::optional<QString> ScriptedDialogs::input(const QString& title, const QString& prompt, const QString&)
{
    inputPrompts << title + QStringLiteral(": ") + prompt;
    if (inputAnswers.empty()) {
        ++unscripted;
        return std::nullopt;
    }
    auto answer = inputAnswers.front();
    inputAnswers.pop_front();
    return answer;
}

QString ScriptedDialogs::chooseWeek(const QStringList& weeks)
{
    weekChoices << weeks;
    if (weekAnswers.empty())
        return weeks.value(0);
    QString answer = weekAnswers.front();
    weekAnswers.pop_front();
    return answer;
}

} // namespace brevio::test
