#pragma once

#include <QObject>
#include <QPoint>

class QListWidget;
class QSpinBox;
class QToolButton;
class QWidget;

namespace brevio {

class PageHost;
class SettingsPage;

// Channel and week upkeep on the settings page: the time-shift panel, deleting a channel of the
// shown week, deleting a downloaded week, and reordering the channel list by dragging. It
// connects to the page's controls by name and lives as long as the page.
class MaintenanceControls : public QObject
{
    Q_OBJECT

public:
    MaintenanceControls(PageHost& host, SettingsPage& page);

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

private:
    void connectControls();
    void removeChannelItems(const QString& name);
    void startDrag();
    void moveChannel(int from, int to);

    PageHost& m_host;
    QListWidget* m_channels = nullptr;
    QListWidget* m_weeks = nullptr;
    QWidget* m_shiftPanel = nullptr;
    QSpinBox* m_hours = nullptr;
    QSpinBox* m_minutes = nullptr;
    QToolButton* m_deleteChannel = nullptr;
    bool m_shiftMode = false;
    bool m_channelJustChosen = false;
    // Where a press on a channel began, for telling a drag from a click.
    QPoint m_pressPos;
    bool m_pressed = false;
};

} // namespace brevio
