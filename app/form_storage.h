#pragma once

#include <QList>
#include <QString>

class QWidget;

namespace brevio {

class Settings;

// Keeps the main window's placement and a few control values in section "fm" between runs, and
// the placement of the program's other resizable windows under keys of their own.
class FormStorage
{
public:
    FormStorage(QWidget* window, Settings& settings);

    // Controls whose value is kept, each under its objectName: spin boxes (Value) and check boxes
    // (Checked).
    void setStoredControls(const QList<QWidget*>& controls) { m_controls = controls; }
    // Another window whose place, size and maximised state are kept as the main window's are,
    // under its own keys: the main window's names after `keyPrefix` ("GridNormPos"). One that
    // was never shown in a run keeps what was stored.
    void keepPlaceOf(QWidget* window, const QString& keyPrefix);
    void restore();
    // Puts the values into the settings; the caller writes them to disk.
    void store();

    static constexpr int kMinimumWidth = 617;
    static constexpr int kMinimumHeight = 418;

private:
    struct KeptWindow
    {
        QWidget* window;
        QString keyPrefix;
    };
    void restorePlace(const KeptWindow& kept);
    void storePlace(const KeptWindow& kept);

    QWidget* m_window;
    Settings& m_settings;
    QList<QWidget*> m_controls;
    QList<KeptWindow> m_others;
};

} // namespace brevio
