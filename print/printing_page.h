#pragma once

#include <QFrame>

#include <array>

class QCheckBox;
class QListWidget;
class QSpinBox;
class QToolButton;

namespace brevio {

class TBrevioForm;

// The printing page: print mode, weekdays, channels and the page layout values.
class PrintingPage : public QFrame
{
    Q_OBJECT

public:
    PrintingPage(TBrevioForm& form, QWidget* parent);

    QListWidget* channelChecklist() const { return m_channels; }
    QSpinBox* columns() const { return m_spins[0]; }

private:
    TBrevioForm& m_form;
    QListWidget* m_channels = nullptr;
    std::array<QSpinBox*, 6> m_spins{};
};

} // namespace brevio
