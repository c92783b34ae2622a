#pragma once

#include <QObject>

class QCheckBox;
class QGroupBox;
class QLineEdit;
class QSpinBox;

namespace brevio {

class TBrevioForm;

// The companion alarm's settings box on the settings page (GroupBox4): its controls, section
// `chimeo` read when the box opens and written by "Сохранить", and the log-on start of the
// companion that follows "Запускать вместе с Windows".
class ChimeoBox : public QObject
{
    Q_OBJECT

public:
    explicit ChimeoBox(TBrevioForm& form);

    // "Настройки Chimeo": loads the section into the box and shows it.
    void FlatSpeedButton44Click();
    // "Сохранить": writes the section and hides the box.
    void FlatSpeedButton35Click();
    // "Запускать вместе с Windows" changed state (by the user or by the restored window state).
    void FlatCheckBox12Click();

private:
    void build();
    QLineEdit* makeFileBox(const char* name, QRect rect, const QString& filter);

    TBrevioForm& m_form;
    QGroupBox* m_box = nullptr;
    QSpinBox* m_minutes = nullptr;
    QCheckBox* m_startProgram = nullptr;
    QLineEdit* m_programPath = nullptr;
    QLineEdit* m_programParams = nullptr;
    QCheckBox* m_ownSound = nullptr;
    QLineEdit* m_soundPath = nullptr;
    QCheckBox* m_soundOnly = nullptr;
    QCheckBox* m_autostart = nullptr;
};

} // namespace brevio
