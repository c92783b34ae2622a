#include "core/reminders/reminder_schedule.h"

#include "core/exchange/broadcast_day.h"
#include "core/exchange/selected_calendar.h"
#include "core/exchange/week_listing.h"
#include "core/store/cp1251.h"
#include "core/store/errors.h"
#include "core/store/file_io.h"
#include "core/store/file_names.h"
#include "core/store/week_folder.h"
#include "core/view/time_text.h"
#include "core/view/week_lists.h"

#include <algorithm>
#include <map>
#include <optional>

namespace brevio::reminders {

namespace {

using namespace std::chrono;

// A show of the selected lists: when it airs after the week's Monday, and its heading.
struct SelectedShow
{
    long long airMinutes = 0;
    std::string title;
};

// What one week must answer: the file's reminders of it, and whether its selected lists count.
struct WeekWork
{
    std::string weekDate;
    std::vector<std::size_t> reminders; // indexes into the file's reminders
    bool selected = false;
};

local_seconds wallClock(sys_days monday, long long minutesAfter)
{
    return local_seconds(monday.time_since_epoch()) + minutes(minutesAfter);
}

// `before` minutes before the wall-clock time `minutesAfter` as time passes: through the
// moment, so that a clock that skips an hour in between does not make the reminder late.
local_seconds minutesEarlier(sys_days monday, long long minutesAfter, int before)
{
    const exchange::LocalClock clock
        = exchange::localClock(exchange::localMoment(monday, minutesAfter).utc - minutes(before));
    return local_seconds(clock.date.time_since_epoch()) + minutes(clock.minutes);
}

class WeekScheduler
{
public:
    WeekScheduler(const std::vector<Reminder>& reminders, const ReminderOptions& options, Schedule& out)
        : m_reminders(reminders)
        , m_options(options)
        , m_out(out)
    {
    }

    void schedule(const WeekWork& work)
    {
        m_work = &work;
        m_found.assign(work.reminders.size(), false);
        m_selected.clear();
        const std::string folder = store::checkedWeekFolder(work.weekDate, store::FolderUse::Read);
        m_monday = *store::weekDateDay(work.weekDate);
        std::vector<std::string> names;
        try {
            names = view::loadChannelNames(folder);
        } catch (const IoError& e) {
            if (e.code() == 2)
                return dropUnfound("its week was deleted");
            return problem("", e.what());
        }
        if (work.selected)
            collectSelected(folder, names);
        try {
            view::readWeekChannels(
                folder,
                [&](int index) {
                    const auto at = static_cast<std::size_t>(index);
                    return at < names.size() && wanted(names[at]); // a line added since: not asked for
                },
                [this](view::ChannelWeek& channel) { take(channel); });
        } catch (const Error& e) {
            return problem("", e.what());
        }
        for (std::size_t i = 0; i < work.reminders.size(); ++i)
            if (!m_found[i]
                && std::find(names.begin(), names.end(), reminder(i).show.channel) == names.end()) {
                m_found[i] = true;
                drop(i, "its channel is no longer in the week");
            }
        dropUnfound("the show is no longer in the listing");
    }

private:
    const Reminder& reminder(std::size_t i) const { return m_reminders[m_work->reminders[i]]; }

    bool wanted(const std::string& name) const
    {
        for (std::size_t i = 0; i < m_work->reminders.size(); ++i)
            if (reminder(i).show.channel == name)
                return true;
        return m_selected.contains(name);
    }

    void collectSelected(const std::string& folder, const std::vector<std::string>& names)
    {
        view::SelectedLists lists;
        try {
            view::loadSelectedLists(folder, lists);
        } catch (const Error& e) {
            problem("", e.what()); // the lists that could be read still count
        }
        for (std::size_t day = 0; day < lists.size(); ++day)
            for (exchange::SelectedEntry& entry : exchange::selectedEntries(lists[day], names)) {
                try {
                    const long long air = static_cast<long long>(day) * view::kMinutesPerDay
                        + view::timeOfDay(entry.startText);
                    m_selected[entry.channel].push_back({air, std::move(entry.title)});
                } catch (const InvalidTimeError&) {
                    // A list line the user wrote by hand: no show to remind of.
                }
            }
    }

    void take(const view::ChannelWeek& channel)
    {
        bool any = false;
        for (std::size_t i = 0; i < m_work->reminders.size(); ++i) {
            if (m_found[i] || reminder(i).show.channel != channel.name)
                continue;
            any = true;
            for (std::size_t s = 0; s < channel.shows.size() && !m_found[i]; ++s)
                // Its own week date: one week may be written with other separators.
                if (showKey(reminder(i).show.weekDate, channel, channel.shows[s]) == reminder(i).show) {
                    add(reminder(i), true, channel, s);
                    m_found[i] = true;
                }
            // What a channel not read whole left out may still be there: no verdict.
            if (!m_found[i] && !channel.problem.empty())
                m_found[i] = true;
        }
        if (any && !channel.problem.empty())
            problem(channel.name, channel.problem);
        const auto selected = m_selected.find(channel.name);
        if (selected == m_selected.end())
            return;
        for (const SelectedShow& wanted : selected->second)
            if (const auto s = selectedShowIndex(channel, wanted)) {
                Reminder derived{showKey(m_work->weekDate, channel, channel.shows[*s])};
                if (!kept(derived.show))
                    add(derived, false, channel, *s);
            }
        m_selected.erase(selected); // a channel listed twice: its first line counts
    }

    // The show that airs when a selected entry says; of several, the one of its title.
    static std::optional<std::size_t> selectedShowIndex(const view::ChannelWeek& channel,
                                                        const SelectedShow& wanted)
    {
        std::optional<std::size_t> found;
        for (std::size_t s = 0; s < channel.shows.size(); ++s) {
            if (channel.shows[s].airMinutes != wanted.airMinutes)
                continue;
            if (channel.title(channel.shows[s]) == wanted.title)
                return s;
            if (!found)
                found = s;
        }
        return found;
    }

    bool kept(const ShowKey& show) const
    {
        return std::any_of(m_reminders.begin(), m_reminders.end(),
                           [&](const Reminder& r) { return r.show == show; });
    }

    void add(const Reminder& reminder, bool kept, const view::ChannelWeek& channel, std::size_t s)
    {
        const view::PaneShow& show = channel.shows[s];
        ScheduledReminder scheduled{reminder, kept, channel.index, show.line, {}, {}, {}};
        scheduled.start = wallClock(m_monday, show.airMinutes);
        std::optional<long long> end;
        if (s + 1 < channel.shows.size())
            end = exchange::showEnd(show.airMinutes, channel.shows[s + 1].airMinutes);
        scheduled.end = end ? wallClock(m_monday, *end) : scheduled.start + kUnknownEndLength;
        scheduled.comes = reminder.state == ReminderState::Snoozed
            ? reminder.snoozedUntil
            : minutesEarlier(m_monday, show.airMinutes, m_options.minutesBefore);
        m_out.reminders.push_back(std::move(scheduled));
    }

    void drop(std::size_t i, const char* why) { m_out.gone.push_back({reminder(i).show, why}); }

    void dropUnfound(const char* why)
    {
        for (std::size_t i = 0; i < m_work->reminders.size(); ++i)
            if (!m_found[i])
                drop(i, why);
    }

    void problem(std::string_view channel, std::string_view what)
    {
        std::string text = m_work->weekDate;
        if (!channel.empty())
            text += ", " + cp1251ToUtf8(channel);
        m_out.problems.push_back(text + ": " + std::string(what));
    }

    const std::vector<Reminder>& m_reminders;
    const ReminderOptions& m_options;
    Schedule& m_out;
    const WeekWork* m_work = nullptr;
    sys_days m_monday;
    std::vector<bool> m_found; // by m_work->reminders: scheduled, dropped or left undecided
    std::map<std::string, std::vector<SelectedShow>> m_selected; // by channel name
};

} // namespace

ShowKey showKey(std::string_view weekDate, const view::ChannelWeek& channel, const view::PaneShow& show)
{
    return showKey(weekDate, channel.name, view::shiftMinutes(channel.shift), show.day, show.airMinutes,
                   channel.title(show));
}

ShowKey showKey(std::string_view weekDate, std::string_view channel, long long shiftMinutes, int day,
                long long airMinutes, std::string_view title)
{
    return {std::string(weekDate), std::string(channel), day, view::wrapToDay(airMinutes - shiftMinutes),
            std::string(title)};
}

Schedule buildSchedule(const std::vector<Reminder>& reminders, const ReminderOptions& options,
                       local_seconds now)
{
    std::map<std::string, WeekWork> weeks; // by week folder: one reading per week
    for (std::size_t i = 0; i < reminders.size(); ++i) {
        WeekWork& work = weeks[store::weekFolderName(reminders[i].show.weekDate)];
        if (work.weekDate.empty())
            work.weekDate = reminders[i].show.weekDate;
        work.reminders.push_back(i);
    }
    Schedule schedule;
    if (options.everySelected) {
        try {
            for (const std::string& week : store::readLines(std::filesystem::path(store::kWeekListFile))) {
                const auto monday = store::weekDateDay(week);
                // The Monday after the week has a list too, and its night runs into Tuesday.
                if (!monday || local_seconds(monday->time_since_epoch()) + days(9) <= now)
                    continue;
                WeekWork& work = weeks[store::weekFolderName(week)];
                if (work.weekDate.empty())
                    work.weekDate = week;
                work.selected = true;
            }
        } catch (const IoError& e) {
            if (e.code() != 2) // no week downloaded yet: nothing selected
                schedule.problems.push_back(e.what());
        }
    }
    WeekScheduler scheduler(reminders, options, schedule);
    for (const auto& [folder, work] : weeks)
        scheduler.schedule(work);
    std::stable_sort(
        schedule.reminders.begin(), schedule.reminders.end(),
        [](const ScheduledReminder& a, const ScheduledReminder& b) { return a.comes < b.comes; });
    return schedule;
}

Moment momentOf(const ScheduledReminder& scheduled, local_seconds now)
{
    if (now >= scheduled.end)
        return Moment::Over;
    const ReminderState state = scheduled.reminder.state;
    if (state == ReminderState::Shown || state == ReminderState::Dismissed || now < scheduled.comes)
        return Moment::Quiet;
    return Moment::Due;
}

bool isUpcoming(const ScheduledReminder& scheduled, local_seconds now)
{
    const ReminderState state = scheduled.reminder.state;
    return (state == ReminderState::Pending || state == ReminderState::Snoozed) && now < scheduled.end;
}

} // namespace brevio::reminders
