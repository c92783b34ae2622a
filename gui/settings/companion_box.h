#pragma once

#include <QObject>

class QCheckBox;
class QGroupBox;
class QLineEdit;
class QSpinBox;
class QToolButton;
class QWidget;

namespace brevio {

class PageHost;

// The companion alarm's settings box on the settings page: its controls, section
// `chimeo` read when the box opens and written by "Сохранить", and the log-on start of the
// companion that follows "Запускать вместе с Windows".
class CompanionBox : public QObject
{
    Q_OBJECT

public:
    // Makes the box, hidden, over the whole of `page`.
    CompanionBox(PageHost& host, QWidget* page);
    QCheckBox* autostart() const { return m_autostart; }

    // "Настройки Chimeo": loads the section into the box and shows it.
    void openCompanionSettings();
    // "Сохранить": writes the section and hides the box.
    void saveCompanionSettings();
    // "Запускать вместе с Windows" changed state (by the user or by the restored window state).
    void updateCompanionAutostart();

private:
    void build(QWidget* page);
    QLineEdit* makeFileBox(const char* name, QRect rect, const QString& filter);

    PageHost& m_host;
    QGroupBox* m_box = nullptr;
    QSpinBox* m_minutes = nullptr;
    QCheckBox* m_startProgram = nullptr;
    QLineEdit* m_programPath = nullptr;
    QLineEdit* m_programParams = nullptr;
    QCheckBox* m_ownSound = nullptr;
    QLineEdit* m_soundPath = nullptr;
    QCheckBox* m_soundOnly = nullptr;
    QCheckBox* m_autostart = nullptr;
    QToolButton* m_save = nullptr;
};

} // namespace brevio
