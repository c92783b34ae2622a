#include "gui/widgets/week_choice_dialog.h"

#include "gui/widgets/form_builder.h"

#include <QComboBox>
#include <QLabel>
#include <QPushButton>

namespace brevio {

WeekChoiceDialog::WeekChoiceDialog(QWidget* parent)
    : QDialog(parent)
{
    setObjectName(QStringLiteral("Form7"));
    setWindowTitle(QStringLiteral("Выбор недели"));
    // A title without buttons: the dialog is closed by its own button.
    setWindowFlags(Qt::Dialog | Qt::CustomizeWindowHint | Qt::WindowTitleHint);
    setFixedSize(313, 121);

    m_label = new QLabel(this);
    m_label->setObjectName(QStringLiteral("Label1"));
    m_label->setText(QStringLiteral("Выберите в выпадающем списке телепрограммы какой недели вас интересуют "
                                    "(по дате понедельника):"));
    m_label->setWordWrap(true);
    m_label->setGeometry(8, 8, 297, 40);

    m_combo = new QComboBox(this);
    m_combo->setObjectName(QStringLiteral("ComboBox1"));
    m_combo->setEditable(true);
    m_combo->setInsertPolicy(QComboBox::NoInsert);
    m_combo->setGeometry(8, 56, 297, 21);
    setAccessibleNameOf(m_combo, QStringLiteral("Неделя на сервере"));
    m_label->setBuddy(m_combo);

    m_choose = new QPushButton(QStringLiteral("Выбрать"), this);
    m_choose->setObjectName(QStringLiteral("Button1"));
    m_choose->setGeometry(119, 88, 75, 25);
    m_choose->setDefault(true);
    connect(m_choose, &QPushButton::clicked, this, &QDialog::accept);
}

void WeekChoiceDialog::setWeeks(const QStringList& weeks)
{
    m_combo->clear();
    m_combo->addItems(weeks);
    m_combo->setCurrentIndex(weeks.isEmpty() ? -1 : 0);
    if (weeks.isEmpty())
        m_combo->setEditText(QString());
}

QString WeekChoiceDialog::chosenWeek() const
{
    return m_combo->currentText();
}

} // namespace brevio
