#include "gui/reminders/reminder_settings.h"

#include "gui/widgets/settings.h"

namespace brevio {

namespace {

const QString kSection = QStringLiteral("Reminders");
const QString kMinutesBefore = QStringLiteral("MinutesBefore");
const QString kEverySelected = QStringLiteral("EverySelected");
const QString kWhenClosed = QStringLiteral("WhenClosed");
const QString kWhenClosedValues[] = {QStringLiteral("ask"), QStringLiteral("tray"), QStringLiteral("quit")};

} // namespace

reminders::ReminderOptions readReminderOptions(const Settings& settings)
{
    reminders::ReminderOptions options;
    const int minutes = settings.readInteger(kSection, kMinutesBefore, reminders::kDefaultMinutesBefore);
    if (minutes >= 0 && minutes <= reminders::kMostMinutesBefore)
        options.minutesBefore = minutes;
    options.everySelected = settings.readBool(kSection, kEverySelected, false);
    return options;
}

void writeReminderOptions(Settings& settings, const reminders::ReminderOptions& options)
{
    settings.writeInteger(kSection, kMinutesBefore, options.minutesBefore);
    settings.writeBool(kSection, kEverySelected, options.everySelected);
}

WhenClosed readWhenClosed(const Settings& settings)
{
    const QString value = settings.readString(kSection, kWhenClosed);
    for (int i = 0; i < 3; ++i)
        if (value == kWhenClosedValues[i])
            return static_cast<WhenClosed>(i);
    return WhenClosed::Ask;
}

void writeWhenClosed(Settings& settings, WhenClosed choice)
{
    settings.writeString(kSection, kWhenClosed, kWhenClosedValues[static_cast<int>(choice)]);
}

} // namespace brevio
