#include "core/reminders/reminder_file.h"

#include "core/store/errors.h"
#include "core/store/file_io.h"
#include "core/store/line_reader.h"
#include "core/store/week_folder.h"
#include "core/view/time_text.h"

#include <array>
#include <cstdio>

namespace brevio::reminders {

namespace {

using namespace std::chrono;

constexpr char kSeparator = '\t';
constexpr std::string_view kSnoozed = "snoozed ";

struct StateName
{
    ReminderState state;
    std::string_view name;
};

constexpr std::array<StateName, 3> kPlainStates{{
    {ReminderState::Pending, "pending"},
    {ReminderState::Shown, "shown"},
    {ReminderState::Dismissed, "dismissed"},
}};

std::string localTimeText(local_seconds at)
{
    const local_days day = floor<days>(at);
    const year_month_day date(day);
    const hh_mm_ss clock(at - day);
    char text[32];
    std::snprintf(text, sizeof text, "%04d-%02u-%02u %02d:%02d:%02d", int(date.year()),
                  unsigned(date.month()), unsigned(date.day()), int(clock.hours().count()),
                  int(clock.minutes().count()), int(clock.seconds().count()));
    return text;
}

std::optional<local_seconds> parseLocalTime(std::string_view text)
{
    int y = 0, mo = 0, d = 0, h = 0, mi = 0, s = 0, used = 0;
    const std::string copy(text);
    if (std::sscanf(copy.c_str(), "%4d-%2d-%2d %2d:%2d:%2d%n", &y, &mo, &d, &h, &mi, &s, &used) != 6
        || used != int(copy.size()) || h > 23 || mi > 59 || s > 59 || h < 0 || mi < 0 || s < 0)
        return std::nullopt;
    const year_month_day date{year(y), month(unsigned(mo)), day(unsigned(d))};
    if (!date.ok())
        return std::nullopt;
    return local_days(date) + hours(h) + minutes(mi) + seconds(s);
}

std::string stateText(const Reminder& reminder)
{
    if (reminder.state == ReminderState::Snoozed)
        return std::string(kSnoozed) + localTimeText(reminder.snoozedUntil);
    for (const StateName& known : kPlainStates)
        if (known.state == reminder.state)
            return std::string(known.name);
    return {};
}

bool parseState(std::string_view text, Reminder& reminder)
{
    if (text.starts_with(kSnoozed)) {
        const auto until = parseLocalTime(text.substr(kSnoozed.size()));
        if (!until)
            return false;
        reminder.state = ReminderState::Snoozed;
        reminder.snoozedUntil = *until;
        return true;
    }
    for (const StateName& known : kPlainStates)
        if (known.name == text) {
            reminder.state = known.state;
            return true;
        }
    return false;
}

// The field up to the next separator; false when there is none.
bool takeField(std::string_view& rest, std::string_view& field)
{
    const std::size_t end = rest.find(kSeparator);
    if (end == std::string_view::npos)
        return false;
    field = rest.substr(0, end);
    rest.remove_prefix(end + 1);
    return true;
}

} // namespace

std::string reminderLine(const Reminder& reminder)
{
    const ShowKey& show = reminder.show;
    std::string line = show.weekDate;
    for (const std::string& field : {show.channel, std::to_string(show.day + 1),
                                     view::formatTime(show.fileMinutes), show.title, stateText(reminder)}) {
        line += kSeparator;
        line += field;
    }
    return line;
}

std::optional<Reminder> parseReminderLine(std::string_view line)
{
    std::string_view weekDate, channel, weekday, time;
    std::string_view rest = line;
    if (!takeField(rest, weekDate) || !takeField(rest, channel) || !takeField(rest, weekday)
        || !takeField(rest, time))
        return std::nullopt;
    const std::size_t lastSeparator = rest.rfind(kSeparator);
    if (lastSeparator == std::string_view::npos || !store::weekDateDay(weekDate) || channel.empty()
        || weekday.size() != 1 || weekday[0] < '1' || weekday[0] > '7' || !view::isTimeText(time))
        return std::nullopt;
    Reminder reminder;
    if (!parseState(rest.substr(lastSeparator + 1), reminder))
        return std::nullopt;
    try {
        reminder.show.fileMinutes = view::timeOfDay(time);
    } catch (const InvalidTimeError&) {
        return std::nullopt;
    }
    reminder.show.weekDate = weekDate;
    reminder.show.channel = channel;
    reminder.show.day = weekday[0] - '1';
    reminder.show.title = rest.substr(0, lastSeparator);
    return reminder;
}

ReminderFile readReminderFile()
{
    ReminderFile file;
    const std::filesystem::path path(kReminderFile);
    std::error_code error;
    if (!std::filesystem::exists(path, error))
        return file;
    for (const std::string& line : store::readLines(path)) {
        if (line.empty())
            continue;
        if (auto reminder = parseReminderLine(line))
            file.reminders.push_back(std::move(*reminder));
        else
            file.unreadable.push_back(line);
    }
    return file;
}

void writeReminderFile(const ReminderFile& file)
{
    std::vector<std::string> lines;
    lines.reserve(file.reminders.size() + file.unreadable.size());
    for (const Reminder& reminder : file.reminders)
        lines.push_back(reminderLine(reminder));
    lines.insert(lines.end(), file.unreadable.begin(), file.unreadable.end());
    store::replaceFile(std::filesystem::path(kReminderFile), store::joinLinesCrLf(lines));
}

} // namespace brevio::reminders
