#pragma once

#include <QDialog>
#include <QStringList>

class QComboBox;
class QLabel;
class QPushButton;

namespace brevio {

// "Выбор недели": the server's weeks in an editable box, the first one proposed. The dialog
// checks nothing; whatever stands in the box when it closes, however it closes, is the choice.
class WeekChoiceDialog : public QDialog
{
    Q_OBJECT

public:
    explicit WeekChoiceDialog(QWidget* parent = nullptr);

    // Fills the box with `weeks` and selects the first.
    void setWeeks(const QStringList& weeks);
    QString chosenWeek() const;

    QComboBox* comboBox() const { return m_combo; }
    QPushButton* chooseButton() const { return m_choose; }

private:
    QLabel* m_label = nullptr;
    QComboBox* m_combo = nullptr;
    QPushButton* m_choose = nullptr;
};

} // namespace brevio
