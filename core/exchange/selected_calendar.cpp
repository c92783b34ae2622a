#include "core/exchange/selected_calendar.h"

#include "core/exchange/broadcast_day.h"
#include "core/exchange/icalendar.h"
#include "core/exchange/stable_hash.h"
#include "core/store/cp1251.h"
#include "core/store/errors.h"
#include "core/view/time_text.h"

#include <cstdint>
#include <cstdio>

namespace brevio::exchange {

namespace {

using namespace std::chrono;

constexpr std::string_view kChannelSeparator = " - ";
constexpr std::string_view kNoTitle = "\xE2\x80\x94";

// "19.45 - 20.30 " in front of an entry: the end time, and the rest after it.
std::optional<std::string_view> endTimeOf(std::string_view line, std::string_view& rest)
{
    const std::string_view start = view::timePrefix(line);
    std::string_view after = line.substr(start.size());
    if (!after.starts_with(kChannelSeparator))
        return std::nullopt;
    after.remove_prefix(kChannelSeparator.size());
    const std::string_view end = view::timePrefix(after);
    if (!view::isTimeText(end) || after.substr(end.size(), 1) != " ")
        return std::nullopt;
    rest = after.substr(end.size() + 1);
    return end;
}

// The channel that ends a line after " - ", and the line without it.
std::string takeChannel(std::string& line, const std::vector<std::string>& channelNames)
{
    const std::string* best = nullptr;
    for (const std::string& name : channelNames) {
        const std::size_t tail = kChannelSeparator.size() + name.size();
        if (line.size() >= tail && line.ends_with(name)
            && std::string_view(line).substr(line.size() - tail, kChannelSeparator.size())
                == kChannelSeparator
            && (!best || name.size() > best->size()))
            best = &name;
    }
    std::size_t cut = std::string::npos;
    if (best)
        cut = line.size() - best->size() - kChannelSeparator.size();
    else
        cut = line.rfind(kChannelSeparator);
    if (cut == std::string::npos)
        return {};
    std::string channel = line.substr(cut + kChannelSeparator.size());
    line.erase(cut);
    return channel;
}

std::string showUid(sys_days day, int minutes, const SelectedEntry& entry)
{
    const year_month_day date(day);
    char key[32];
    std::snprintf(key, sizeof key, "%04d%02u%02u %04d|", int(date.year()), unsigned(date.month()),
                  unsigned(date.day()), minutes);
    char uid[40];
    std::snprintf(
        uid, sizeof uid, "%016llx",
        static_cast<unsigned long long>(fnv1a<std::uint64_t>(key + entry.channel + "|" + entry.title)));
    return std::string(uid) + "@brevio";
}

const ListedChannel* channelNamed(const WeekListing& week, std::string_view name)
{
    for (const ListedChannel& channel : week.channels)
        if (channel.name == name)
            return &channel;
    return nullptr;
}

int validTime(std::string_view text, const SelectedEntry& entry)
{
    try {
        return view::timeOfDay(text);
    } catch (const InvalidTimeError&) {
        throw Error("The selected show '" + quotedData(text) + " " + quotedData(entry.title) + " - "
                    + quotedData(entry.channel) + "' has no time of day; nothing was exported.");
    }
}

} // namespace

std::vector<SelectedEntry> selectedEntries(const std::vector<std::string>& list,
                                           const std::vector<std::string>& channelNames)
{
    std::vector<SelectedEntry> entries;
    std::vector<std::string> lines; // the lines of the entry being read
    const auto finish = [&] {
        if (lines.empty())
            return;
        SelectedEntry entry;
        entry.channel = takeChannel(lines.back(), channelNames);
        std::string_view heading = lines.front();
        entry.startText = view::timePrefix(heading);
        std::string_view rest;
        if (const auto end = endTimeOf(heading, rest)) {
            entry.endText = std::string(*end);
            heading = rest;
        }
        // The shown time, then a shifted channel's own time.
        heading = view::withoutTime(heading);
        if (view::isTimedLine(heading))
            heading = view::withoutTime(heading);
        entry.title = heading;
        entry.description.assign(lines.begin() + 1, lines.end());
        entries.push_back(std::move(entry));
        lines.clear();
    };
    for (const std::string& line : list) {
        if (view::isTimedLine(line))
            finish();
        if (view::isTimedLine(line) || !lines.empty())
            lines.push_back(line);
    }
    finish();
    return entries;
}

std::vector<CalendarEvent> selectedEvents(const WeekListing& week, const SelectedLists& lists)
{
    std::vector<std::string> channelNames;
    for (const ListedChannel& channel : week.channels)
        channelNames.push_back(channel.name);
    std::vector<CalendarEvent> events;
    for (std::size_t day = 0; day < lists.size(); ++day) {
        for (const SelectedEntry& entry : selectedEntries(lists[day], channelNames)) {
            const int start = validTime(entry.startText, entry);
            const long long air = static_cast<long long>(day) * view::kMinutesPerDay + start;
            CalendarEvent event;
            event.start = localMoment(week.monday, air).utc;
            std::optional<long long> end;
            if (entry.endText) {
                const int until = validTime(*entry.endText, entry);
                end = air - start + until + (until <= start ? view::kMinutesPerDay : 0);
            } else if (const ListedChannel* channel = channelNamed(week, entry.channel)) {
                if (const ListedShow* show = findShow(*channel, air, entry.title))
                    end = show->endMinutes;
            }
            if (end)
                event.end = localMoment(week.monday, *end).utc;
            event.summary = outsideText(entry.title);
            if (event.summary.empty())
                event.summary = kNoTitle;
            event.description = outsideText(entry.channel);
            for (const std::string& line : entry.description)
                if (std::string text = outsideText(line); !text.empty())
                    event.description += "\n" + text;
            event.uid = showUid(week.monday + days(day), start, entry);
            events.push_back(std::move(event));
        }
    }
    return events;
}

std::string calendarText(const std::vector<CalendarEvent>& events, std::optional<int> reminderMinutes,
                         sys_seconds stamp)
{
    std::string text = icalLine("BEGIN:VCALENDAR") + icalLine("VERSION:2.0")
        + icalLine("PRODID:-//Morvane//Brevio//EN") + icalLine("CALSCALE:GREGORIAN")
        + icalLine("METHOD:PUBLISH");
    const std::string stampText = icalUtcTime(stamp);
    for (const CalendarEvent& event : events) {
        text += icalLine("BEGIN:VEVENT");
        text += icalLine("UID:" + event.uid);
        text += icalLine("DTSTAMP:" + stampText);
        text += icalLine("DTSTART:" + icalUtcTime(event.start));
        if (event.end)
            text += icalLine("DTEND:" + icalUtcTime(*event.end));
        text += icalLine("SUMMARY:" + icalText(event.summary));
        text += icalLine("DESCRIPTION:" + icalText(event.description));
        if (reminderMinutes) {
            text += icalLine("BEGIN:VALARM");
            text += icalLine("ACTION:DISPLAY");
            text += icalLine("DESCRIPTION:" + icalText(event.summary));
            text += icalLine("TRIGGER:-PT" + std::to_string(*reminderMinutes) + "M");
            text += icalLine("END:VALARM");
        }
        text += icalLine("END:VEVENT");
    }
    text += icalLine("END:VCALENDAR");
    return text;
}

} // namespace brevio::exchange
