#pragma once

#include <QString>
#include <QStringList>

#include <optional>

class QWidget;

namespace brevio {

// Every box the program shows goes through here, so tests can answer them by script.
class Dialogs
{
public:
    virtual ~Dialogs() = default;
    // A plain message box with an OK button.
    virtual void message(const QString& text) = 0;
    // A confirmation box with Yes and No; true for Yes.
    virtual bool confirm(const QString& text) = 0;
    // A one-line input box; nullopt when cancelled.
    virtual std::optional<QString> input(const QString& title, const QString& prompt, const QString& value)
        = 0;
    // The week dialog "Выбор недели" with `weeks`, the first proposed; the text of its box
    // when it closes.
    virtual QString chooseWeek(const QStringList& weeks) = 0;
    // A file to open, chosen in the system's file dialog; nullopt when cancelled.
    virtual std::optional<QString> chooseOpenFile(const QString& title, const QString& filter) = 0;
    // A file to write, chosen in the system's file dialog starting with `suggestedName` (whose
    // suffix is added to a name typed without one); nullopt when cancelled. Replacing a file
    // that exists is the caller's question. Boxes that never write files answer Cancel.
    virtual std::optional<QString> chooseSaveFile(const QString& title, const QString& filter,
                                                  const QString& suggestedName);
};

// A text as a box shows it (with Qt::PlainText, never as markup, so that a server's words
// cannot draw their own box): line breaks and tabs keep their place, every other control
// character (a NUL, a lone CR, an escape) shows as its visible symbol instead of cutting or
// hiding text.
QString plainBoxText(const QString& text);

// The real boxes, modal to `parent`; every text through plainBoxText.
class QtDialogs : public Dialogs
{
public:
    void setParent(QWidget* parent) { m_parent = parent; }
    void message(const QString& text) override;
    bool confirm(const QString& text) override;
    std::optional<QString> input(const QString& title, const QString& prompt, const QString& value) override;
    QString chooseWeek(const QStringList& weeks) override;
    std::optional<QString> chooseOpenFile(const QString& title, const QString& filter) override;
    std::optional<QString> chooseSaveFile(const QString& title, const QString& filter,
                                          const QString& suggestedName) override;

private:
    QWidget* m_parent = nullptr;
};

} // namespace brevio
