#pragma once

#include <QList>

class QWidget;

namespace brevio {

class Settings;

// Keeps the main window's placement and a few control values in section "fm" between runs.
class FormStorage
{
public:
    FormStorage(QWidget* window, Settings& settings);

    // Controls whose value is kept, each under its objectName: spin boxes (Value) and check boxes
    // (Checked).
    void setStoredControls(const QList<QWidget*>& controls) { m_controls = controls; }
    void restore();
    // Puts the values into the settings; the caller writes them to disk.
    void store();

    static constexpr int kMinimumWidth = 617;
    static constexpr int kMinimumHeight = 418;

private:
    QWidget* m_window;
    Settings& m_settings;
    QList<QWidget*> m_controls;
};

} // namespace brevio
