#pragma once

#include "core/reminders/reminder_schedule.h"

namespace brevio {

class Settings;

// The reminders' settings, section "Reminders": "MinutesBefore" (0 to 120, 5 when unset or out
// of range) and "EverySelected" (off when unset).
reminders::ReminderOptions readReminderOptions(const Settings& settings);
void writeReminderOptions(Settings& settings, const reminders::ReminderOptions& options);

} // namespace brevio
