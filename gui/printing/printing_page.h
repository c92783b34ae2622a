#pragma once

#include <QFrame>
#include <QStringList>

#include <array>
#include <functional>
#include <string>
#include <vector>

class QCheckBox;
class QListWidget;
class QSpinBox;
class QToolButton;
class QWidget;

namespace brevio {

class PageHost;
class PrintPreview;

// The printing page: print mode, weekdays, channels and the page layout values.
class PrintingPage : public QFrame
{
    Q_OBJECT

public:
    PrintingPage(PageHost& host, QWidget* parent);

    // "Отобранные" and "Все телеканалы": switch the print mode.
    void chooseSelectedShowsMode();
    void chooseAllChannelsMode();
    // "Все дни": shows the weekday boxes when unchecked, then sets all of them to its state.
    void applyAllDays();
    // "Печатать": builds the document and shows it in the print preview.
    void printSchedule();

    // What "Печатать" does with the finished print form; the print preview unless replaced
    // (tests write a PDF instead of blocking in the preview window).
    using Preview = std::function<void(const PrintPreview&)>;
    void setPreview(Preview preview) { m_preview = std::move(preview); }

    // The shown week's channels in the checklist, none ticked; a deleted channel leaves it.
    void setChannelNames(const QStringList& names);
    void removeChannel(const QString& name);
    // Every channel of the checklist, and the rows ticked.
    QStringList channelNames() const;
    std::vector<int> tickedRows() const;

    QListWidget* channelChecklist() const { return m_channels; }
    QSpinBox* columns() const { return m_spins[0]; }
    // Columns, gap and the four margins, which the window keeps between runs.
    QList<QSpinBox*> layoutSpins() const { return {m_spins.begin(), m_spins.end()}; }

private:
    std::vector<std::string> buildDocument() const;
    std::array<std::string, 7> dayCaptions() const;

    PageHost& m_host;
    QToolButton* m_selectedMode = nullptr;
    QToolButton* m_allChannelsMode = nullptr;
    QCheckBox* m_allDays = nullptr;
    QWidget* m_dayPanel = nullptr;
    std::array<QCheckBox*, 7> m_days{};
    std::array<QToolButton*, 2> m_layoutButtons{};
    QListWidget* m_channels = nullptr;
    std::array<QSpinBox*, 6> m_spins{};
    Preview m_preview;
};

} // namespace brevio
