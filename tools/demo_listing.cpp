#include "tools/demo_listing.h"

#include "core/exchange/broadcast_day.h"
#include "core/store/cp1251.h"

#include <algorithm>
#include <array>
#include <cstdio>
#include <vector>

namespace brevio::tools {

namespace {

constexpr std::array kWeekdays
    = {"Понедельник", "Вторник", "Среда", "Четверг", "Пятница", "Суббота", "Воскресенье"};
constexpr std::array kMonths = {"января", "февраля", "марта",    "апреля",  "мая",    "июня",
                                "июля",   "августа", "сентября", "октября", "ноября", "декабря"};

constexpr int kGrid = 5; // shows start on five-minute marks

struct Show
{
    Genre genre;
    int weight;
    std::string title;
};

Genre pickGenre(const ThemeProfile& profile, DemoRandom& random)
{
    int total = 0;
    for (const auto& share : profile.genres)
        total += share.weight;
    int roll = random.between(0, total - 1);
    for (const auto& share : profile.genres) {
        if (roll < share.weight)
            return share.genre;
        roll -= share.weight;
    }
    return profile.genres.front().genre;
}

// Minutes after the day's midnight; after-midnight shows go past 24 hours and are written
// with the next day's hour, as printed listings do.
std::string timeText(int minutes, bool colonStyle)
{
    char text[8];
    const int hours = minutes / 60 % 24;
    if (colonStyle)
        std::snprintf(text, sizeof text, "%d:%02d", hours, minutes % 60);
    else
        std::snprintf(text, sizeof text, "%02d.%02d", hours, minutes % 60);
    return text;
}

bool isRepeat(const std::vector<Show>& shows, Genre genre, const std::string& title)
{
    if (genre == Genre::News)
        return !shows.empty() && shows.back().title == title;
    return std::any_of(shows.begin(), shows.end(), [&](const Show& show) { return show.title == title; });
}

std::vector<Show> pickShows(const ThemeProfile& profile, DemoRandom& random)
{
    const int count = random.between(profile.fewestShows, profile.mostShows);
    std::vector<Show> shows;
    for (int i = 0; i < count; ++i) {
        const Genre genre
            = i == 0 && profile.opensWithMorningShow ? Genre::Morning : pickGenre(profile, random);
        // News come back through the day; other titles rarely do, and never twice in a row.
        std::string title = pickTitle(genre, random);
        for (int retry = 0; retry < 4 && isRepeat(shows, genre, title); ++retry)
            title = pickTitle(genre, random);
        const int weight = genreMinutes(genre) * random.between(70, 130) / 100;
        shows.push_back({genre, weight, std::move(title)});
    }
    return shows;
}

} // namespace

std::vector<DemoShow> demoDay(const ThemeProfile& profile, DemoRandom& random)
{
    const std::vector<Show> shows = pickShows(profile, random);
    const int first = 6 * 60 + kGrid * random.between(0, 2);
    const int last = 25 * 60 + kGrid * random.between(0, 11);

    // Every show gets one grid step; the rest of the day is shared out by the shows' usual
    // lengths, so the starts rise strictly and the last show starts exactly at `last`.
    const int spare = last - first - kGrid * int(shows.size() - 1);
    long long total = 0;
    for (std::size_t i = 0; i + 1 < shows.size(); ++i)
        total += shows[i].weight;

    std::vector<DemoShow> day;
    long long before = 0;
    for (std::size_t i = 0; i < shows.size(); ++i) {
        const long long share = total > 0 ? spare * before / total : 0;
        const int start = first + kGrid * int(i) + int(share / kGrid * kGrid);
        DemoShow show{start, shows[i].genre, shows[i].title, {}};
        if (random.chance(15))
            show.description = pickDescription(shows[i].genre, random);
        day.push_back(std::move(show));
        before += shows[i].weight;
    }
    return day;
}

namespace {

void appendDay(std::vector<std::string>& lines, const ThemeProfile& profile, bool colonStyle,
               DemoRandom& random)
{
    for (const DemoShow& show : demoDay(profile, random)) {
        lines.push_back(timeText(show.start, colonStyle) + " " + show.title);
        if (!show.description.empty())
            lines.push_back(show.description);
    }
}

std::string dayHeading(std::chrono::sys_days day, int weekday)
{
    const std::chrono::year_month_day date{day};
    return std::string(kWeekdays[std::size_t(weekday)]) + ", " + std::to_string(unsigned(date.day())) + " "
        + kMonths[unsigned(date.month()) - 1];
}

} // namespace

std::string channelWeekFile(const DemoChannel& channel, std::chrono::sys_days monday)
{
    const auto& profile = themeProfile(channel.theme);
    // The time style belongs to the channel, the shows to the channel and the week.
    const bool colonStyle = DemoRandom(DemoRandom::seedOf(channel.file)).chance(25);
    DemoRandom random(DemoRandom::seedOf(channel.file + "|" + weekDate(monday)));

    std::vector<std::string> lines;
    lines.push_back(channel.name + " — программа передач с " + weekDate(monday) + " по "
                    + weekDate(monday + std::chrono::days(6)));
    for (int day = 0; day < 7; ++day) {
        lines.emplace_back(); // the day separator
        lines.push_back(dayHeading(monday + std::chrono::days(day), day));
        appendDay(lines, profile, colonStyle, random);
    }

    std::string text;
    for (const auto& line : lines)
        text += line + "\r\n";
    return utf8ToCp1251(text);
}

} // namespace brevio::tools
