#pragma once

#include "core/reminders/reminder_schedule.h"

namespace brevio {

class Settings;

// The reminders' settings, section "Reminders": "MinutesBefore" (0 to 120, 5 when unset or out
// of range) and "EverySelected" (off when unset).
reminders::ReminderOptions readReminderOptions(const Settings& settings);
void writeReminderOptions(Settings& settings, const reminders::ReminderOptions& options);

// What closing the window does while reminders are to come and the desktop has a tray,
// "WhenClosed": "ask" (also when unset or unknown), "tray" or "quit". The order is the settings
// page's list.
enum class WhenClosed { Ask, StayInTray, Quit };
WhenClosed readWhenClosed(const Settings& settings);
void writeWhenClosed(Settings& settings, WhenClosed choice);

} // namespace brevio
