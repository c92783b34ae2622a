#include "gui/widgets/dialogs.h"

#include "core/store/cp1251.h"
#include "gui/widgets/qt_text.h"
#include "gui/widgets/week_choice_dialog.h"

#include <QApplication>
#include <QDir>
#include <QFileDialog>
#include <QFileInfo>
#include <QInputDialog>
#include <QMessageBox>

namespace brevio {

namespace {

// Boxes carry the application's title, as the task bar shows it.
QString applicationTitle()
{
    return QStringLiteral("Brevio v.2.51");
}

int showBox(QWidget* parent, QMessageBox::Icon icon, const QString& text,
            QMessageBox::StandardButtons buttons, QMessageBox::StandardButton defaultButton)
{
    QMessageBox box(icon, applicationTitle(), plainBoxText(text), buttons, parent);
    box.setTextFormat(Qt::PlainText);
    box.setDefaultButton(defaultButton);
    return box.exec();
}

} // namespace

QString plainBoxText(const QString& text)
{
    const QByteArray utf8 = text.toUtf8();
    return fromUtf8(
        withVisibleControls(std::string_view(utf8.constData(), static_cast<std::size_t>(utf8.size())), true));
}

void QtDialogs::message(const QString& text)
{
    showBox(m_parent, QMessageBox::Information, text, QMessageBox::Ok, QMessageBox::Ok);
}

bool QtDialogs::confirm(const QString& text)
{
    return showBox(m_parent, QMessageBox::Question, text, QMessageBox::Yes | QMessageBox::No,
                   QMessageBox::Yes)
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
    WeekChoiceDialog dialog(m_parent);
    dialog.setWeeks(weeks);
    dialog.exec();
    return dialog.chosenWeek();
}

std::optional<QString> QtDialogs::chooseOpenFile(const QString& title, const QString& filter)
{
    // Files to open come from outside the working folder, most likely from the user's own.
    const QString file = QFileDialog::getOpenFileName(m_parent, title, QDir::homePath(), filter);
    if (file.isEmpty())
        return std::nullopt;
    return file;
}

std::optional<QString> Dialogs::chooseSaveFile(const QString&, const QString&, const QString&)
{
    return std::nullopt;
}

std::optional<QString> QtDialogs::chooseSaveFile(const QString& title, const QString& filter,
                                                 const QString& suggestedName)
{
    QFileDialog dialog(m_parent, title, QDir::home().filePath(suggestedName), filter);
    dialog.setAcceptMode(QFileDialog::AcceptSave);
    dialog.setFileMode(QFileDialog::AnyFile);
    dialog.setDefaultSuffix(QFileInfo(suggestedName).suffix());
    // The caller asks before replacing, in the program's own words.
    dialog.setOption(QFileDialog::DontConfirmOverwrite);
    if (dialog.exec() != QDialog::Accepted || dialog.selectedFiles().isEmpty())
        return std::nullopt;
    return dialog.selectedFiles().constFirst();
}

} // namespace brevio
