#pragma once

#include "gui/widgets/dialogs.h"

#include <QStringList>

#include <deque>

namespace brevio::test {

// Answers the program's boxes from a script and remembers what they said.
class ScriptedDialogs : public Dialogs
{
public:
    void message(const QString& text) override;
    bool confirm(const QString& text) override;
    std::optional<QString> input(const QString& title, const QString& prompt, const QString& value) override;
    QString chooseWeek(const QStringList& weeks) override;
    std::optional<QString> chooseOpenFile(const QString& title, const QString& filter) override;
    std::optional<QString> chooseSaveFile(const QString& title, const QString& filter,
                                          const QString& suggestedName) override;

    // Answers for the next confirmation boxes (Yes = true) and input boxes (nullopt = Cancel).
    std::deque<bool> confirmAnswers;
    std::deque<std::optional<QString>> inputAnswers;
    // Texts typed into the week dialog's box; without one the first offered week is taken.
    std::deque<QString> weekAnswers;
    // Files chosen in the next file dialogs (nullopt = Cancel).
    std::deque<std::optional<QString>> openFileAnswers;
    // Files chosen in the next save dialogs (nullopt = Cancel).
    std::deque<std::optional<QString>> saveFileAnswers;

    // What was shown, in order.
    QStringList messages;
    QStringList confirmations;
    QStringList inputPrompts;
    QList<QStringList> weekChoices; // the weeks each week dialog offered
    QStringList openFileDialogs; // title and filter of each file dialog
    QStringList saveFileDialogs; // title, filter and suggested name of each save dialog

    // A confirmation, input or file box that no answer was scripted for: counted, answered
    // No/Cancel.
    int unscripted = 0;
};

} // namespace brevio::test
