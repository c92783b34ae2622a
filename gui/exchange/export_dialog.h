#pragma once

#include <QDialog>

#include <optional>

class QCheckBox;
class QPushButton;
class QRadioButton;
class QSpinBox;

namespace brevio {

class PageHost;

// What an export asks before its file is chosen: which channels go into an XMLTV listing, or
// whether the calendar's events remind the user, and how long before.
class ExportDialog : public QDialog
{
    Q_OBJECT

public:
    enum class Kind { Xmltv, Calendar };

    // `title`: the window's title; `week`: the week's date; `tickedChannels`: how many the
    // printing page has ticked.
    ExportDialog(const PageHost& host, Kind kind, const QString& title, const QString& week,
                 int tickedChannels);

    bool tickedOnly() const;
    std::optional<int> reminderMinutes() const;

    QRadioButton* allChannels() const { return m_all; }
    QRadioButton* tickedChannels() const { return m_ticked; }
    QCheckBox* reminder() const { return m_reminder; }
    QSpinBox* minutes() const { return m_minutes; }
    QPushButton* exportButton() const { return m_export; }

private:
    QRadioButton* m_all = nullptr;
    QRadioButton* m_ticked = nullptr;
    QCheckBox* m_reminder = nullptr;
    QSpinBox* m_minutes = nullptr;
    QPushButton* m_export = nullptr;
};

} // namespace brevio
