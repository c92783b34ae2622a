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
    // Taken apart rather than copied whole: GCC 12 at -O2 warns falsely about a copied optional.
    const bool entered = inputAnswers.front().has_value();
    const QString text = inputAnswers.front().value_or(QString());
    inputAnswers.pop_front();
    return entered ? std::optional<QString>(text) : std::nullopt;
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

std::optional<QString> ScriptedDialogs::chooseOpenFile(const QString& title, const QString& filter)
{
    openFileDialogs << title + QStringLiteral(": ") + filter;
    if (openFileAnswers.empty()) {
        ++unscripted;
        return std::nullopt;
    }
    const bool chosen = openFileAnswers.front().has_value();
    const QString file = openFileAnswers.front().value_or(QString());
    openFileAnswers.pop_front();
    return chosen ? std::optional<QString>(file) : std::nullopt;
}

std::optional<QString> ScriptedDialogs::chooseSaveFile(const QString& title, const QString& filter,
                                                       const QString& suggestedName)
{
    saveFileDialogs << title + QStringLiteral(": ") + filter + QStringLiteral(": ") + suggestedName;
    if (saveFileAnswers.empty()) {
        ++unscripted;
        return std::nullopt;
    }
    const bool chosen = saveFileAnswers.front().has_value();
    const QString file = saveFileAnswers.front().value_or(QString());
    saveFileAnswers.pop_front();
    return chosen ? std::optional<QString>(file) : std::nullopt;
}

} // namespace brevio::test
