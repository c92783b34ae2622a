#pragma once

#include <QObject>
#include <QPoint>

class QListWidget;
class QSpinBox;
class QToolButton;
class QWidget;

namespace brevio {

class PageHost;

// The settings page's controls that the upkeep works on.
struct UpkeepControls
{
    QListWidget* channels = nullptr; // the shown week's channels
    QListWidget* weeks = nullptr; // the downloaded weeks
    QToolButton* shiftMode = nullptr; // "Установка сдвига времени"
    QToolButton* deleteChannel = nullptr;
    QToolButton* deleteWeek = nullptr;
};

// Channel and week upkeep on the settings page: the time-shift panel (made here, over the page's
// right column), deleting a channel of the shown week, deleting a downloaded week, and
// reordering the channel list by dragging. It lives as long as the page.
class MaintenanceControls : public QObject
{
    Q_OBJECT

public:
    MaintenanceControls(PageHost& host, QWidget* page, const UpkeepControls& controls);

    // "Установка сдвига времени" and "Скрыть": enter and leave shift mode.
    void enterShiftMode();
    void leaveShiftMode();
    // "Сохранить": stores the shift of the selected channel.
    void saveChannelShift();
    // Shift mode: shows the stored shift of the selected channel. Throws ConvertError when its
    // times.dat line holds no integers (the spin edits then show 0).
    void showChannelShift();
    // Reorder mode: whether a drag from `source` may be dropped on the channel list, and the
    // drop at `pos` (viewport coordinates) that moves the selected channel there.
    bool acceptsChannelDrag(const QObject* source) const;
    void dropChannel(QPoint pos);
    // The same from the keyboard: Alt+Up and Alt+Down move the selected channel one place.
    void moveSelectedChannel(int by);
    // "Удалить канал": deletes the selected channel from the week in the week selector.
    void deleteChannel();
    // "Удалить" in "Недели": deletes the selected week unless it is the newest one.
    void deleteWeek();

    bool inShiftMode() const { return m_shiftMode; }

protected:
    bool eventFilter(QObject* watched, QEvent* event) override;

    QWidget* shiftPanel() const { return m_shiftPanel; }

private:
    void buildShiftPanel(QWidget* page);
    void connectControls(const UpkeepControls& controls);
    void removeChannelItems(const QString& name);
    void startDrag();
    void moveChannel(int from, int to);

    PageHost& m_host;
    QListWidget* m_channels = nullptr;
    QListWidget* m_weeks = nullptr;
    QToolButton* m_deleteChannel = nullptr;
    QWidget* m_shiftPanel = nullptr;
    QSpinBox* m_hours = nullptr;
    QSpinBox* m_minutes = nullptr;
    QToolButton* m_saveShift = nullptr;
    QToolButton* m_hideShift = nullptr;
    bool m_shiftMode = false;
    bool m_channelJustChosen = false;
    // Where a press on a channel began, for telling a drag from a click.
    QPoint m_pressPos;
    bool m_pressed = false;
};

} // namespace brevio
