#include "app/dialogs.h"

#include "view/week_dialog.h"

#include <QApplication>
#include <QInputDialog>
#include <QMessageBox>

namespace brevio {

void QtDialogs::message(const QString& text)
{
    QMessageBox::information(m_parent, QApplication::applicationDisplayName(), text);
}

bool QtDialogs::confirm(const QString& text)
{
    return QMessageBox::question(m_parent, QApplication::applicationDisplayName(), text,
                                 QMessageBox::Yes | QMessageBox::No, QMessageBox::Yes)
        == QMessageBox::Yes;
}

std::optional<QString> QtDialogs::input(const QString& title, const QString& prompt, const QString& value)
{
    bool ok = false;
    const QString text = QInputDialog::getText(m_parent, title, prompt, QLineEdit::Normal, value, &ok);
    if (!ok)
        return std::nullopt;
    return text;
}

QString QtDialogs::chooseWeek(const QStringList& weeks)
{
    TForm7 dialog(m_parent);
    dialog.setWeeks(weeks);
    dialog.exec();
    return dialog.chosenWeek();
}

} // namespace brevio
