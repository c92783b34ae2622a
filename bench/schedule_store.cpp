#include "schedule_store.h"

#include "core/store/cp1251.h"

#include <array>
#include <cstdlib>
#include <cstring>
#include <fstream>
#include <random>
#include <stdexcept>
#include <vector>

namespace brevio::bench {

namespace {

const std::array kTitles{
    "Новости",
    "Художественный фильм",
    "Документальный сериал",
    "Время",
    "Спокойной ночи, малыши!",
    "Футбол. Чемпионат России",
    "Мультфильмы",
    "Погода",
    "Ток-шоу",
    "Концерт",
    "Вести недели",
    "Телесериал \"Улицы разбитых фонарей\"",
    "Клуб путешественников",
    "Поле чудес",
    "Что? Где? Когда?",
};

const std::array kWords{
    "в",      "главной",  "роли",      "режиссёр",     "история", "семьи",  "которая", "переезжает", "из",
    "Москвы", "в",        "маленький", "город",        "на",      "берегу", "Волги",   "Часть",      "вторая",
    "США",    "Франция",  "фильм",     "рассказывает", "о",       "жизни",  "ЁЖИКА",   "и",          "его",
    "друзей", "премьера", "сезона",    "прямой",       "эфир",    "повтор", "от",      "субботы",
};

std::string cp1251(const char* utf8)
{
    return utf8ToCp1251(utf8);
}

std::string twoDigits(int value)
{
    return {char('0' + value / 10), char('0' + value % 10)};
}

// Times as channels send them: mostly "19.45", sometimes "7.05" or "19:45".
std::string timeText(int minutes, std::mt19937& rng)
{
    const int hours = minutes / 60 % 24;
    const char separator = rng() % 5 == 0 ? ':' : '.';
    const std::string h
        = (hours < 10 && rng() % 3 == 0) ? std::string(1, char('0' + hours)) : twoDigits(hours);
    return h + separator + twoDigits(minutes % 60);
}

std::string sentence(std::mt19937& rng, std::size_t minBytes)
{
    std::string text;
    while (text.size() < minBytes) {
        if (!text.empty())
            text += ' ';
        text += cp1251(kWords[rng() % kWords.size()]);
    }
    return text + '.';
}

void writeFile(const std::filesystem::path& path, const std::string& bytes)
{
    std::ofstream out(path, std::ios::binary | std::ios::trunc);
    out.write(bytes.data(), static_cast<std::streamsize>(bytes.size()));
    if (!out)
        throw std::runtime_error("cannot write " + path.string());
}

std::string folderOf(std::chrono::local_days monday)
{
    const std::chrono::year_month_day date(monday);
    const int year = static_cast<int>(date.year());
    return twoDigits(static_cast<int>(static_cast<unsigned>(date.day())))
        + twoDigits(static_cast<int>(static_cast<unsigned>(date.month()))) + twoDigits(year / 100)
        + twoDigits(year % 100) + "/";
}

} // namespace

std::string channelFile(int channel, unsigned seed, int kilobytes)
{
    std::mt19937 rng(seed * 7919u + static_cast<unsigned>(channel));
    // Each channel gets a size from 2/3 to 4/3 of the mean (40 to 80 KB for 60), spread evenly
    // over its days.
    const std::size_t third = static_cast<std::size_t>(kilobytes) * 1024 / 3;
    const std::size_t target = 2 * third + rng() % (2 * third);

    std::string file = cp1251("Канал ") + std::to_string(channel) + cp1251(" - программа на неделю") + "\r\n";
    const std::size_t dayBudget = (target - file.size()) / 7;
    for (int day = 0; day < 7; ++day) {
        // From the morning to 1-2 o'clock at night, the last shows after midnight.
        std::vector<std::string> shows;
        std::size_t titleBytes = 0;
        const int end = 25 * 60 + static_cast<int>(rng() % 60);
        for (int minutes = 6 * 60 + static_cast<int>(rng() % 4) * 5; minutes < end;
             minutes += 10 + static_cast<int>(rng() % 11) * 5) {
            shows.push_back(timeText(minutes, rng) + ' ' + cp1251(kTitles[rng() % kTitles.size()]) + "\r\n");
            titleBytes += shows.back().size();
        }
        // Description lines, about 85 bytes each, fill the rest of the day's budget.
        std::vector<std::string> descriptions(shows.size());
        std::size_t dayBytes = titleBytes + 3;
        while (dayBytes < dayBudget) {
            std::string line = rng() % 6 == 0 ? cp1251("А.Б. Петров. ") : std::string();
            line += sentence(rng, 50 + rng() % 60) + "\r\n";
            dayBytes += line.size();
            descriptions[rng() % shows.size()] += line;
        }
        file += day % 2 ? " \r\n" : "\r\n";
        for (std::size_t i = 0; i < shows.size(); ++i)
            file += shows[i] + descriptions[i];
    }
    return file;
}

GeneratedStore writeStore(const std::filesystem::path& root, const StoreShape& shape)
{
    GeneratedStore result;
    result.weekFolder = folderOf(shape.monday);
    result.channels = shape.channels;
    std::filesystem::create_directories(root / result.weekFolder);

    std::string channelList;
    std::string timesDat;
    for (int channel = 1; channel <= shape.channels; ++channel) {
        const std::string name = cp1251("Канал ") + std::to_string(channel);
        const std::string fileName = "ch" + std::to_string(channel) + ".txt";
        const std::string file = channelFile(channel, shape.seed, shape.channelKilobytes);
        writeFile(root / (result.weekFolder + fileName), file);
        channelList += name + ":" + fileName + "\r\n";
        // Every channel has a shift line, most of them zero: the longest times.dat to search.
        const int hours = channel % 10 == 0 ? (channel % 20 == 0 ? 2 : -1) : 0;
        const int minutes = channel % 30 == 0 ? 30 : 0;
        timesDat += name + "|" + std::to_string(hours) + "|" + std::to_string(minutes) + "\r\n";

        result.channelBytes += file.size();
        result.smallestFile
            = result.smallestFile == 0 ? file.size() : std::min(result.smallestFile, file.size());
        result.largestFile = std::max(result.largestFile, file.size());
    }
    writeFile(root / (result.weekFolder + "aplp.dat"), channelList);
    writeFile(root / "times.dat", timesDat);
    return result;
}

GeneratedStore writeWeeks(const std::filesystem::path& root, const StoreShape& shape, int weeks)
{
    std::string weekList;
    for (int w = weeks - 1; w >= 1; --w) {
        const auto monday = shape.monday - std::chrono::days(7 * w);
        const std::string folder = folderOf(monday);
        std::filesystem::create_directories(root / folder);
        std::string channelList;
        for (int channel = 1; channel <= shape.channels; ++channel) {
            const std::string fileName = "ch" + std::to_string(channel) + ".txt";
            writeFile(root / (folder + fileName), "\r\n06.00 " + cp1251("Новости") + "\r\n");
            channelList += cp1251("Канал ") + std::to_string(channel) + ":" + fileName + "\r\n";
        }
        writeFile(root / (folder + "aplp.dat"), channelList);
        weekList += folder.substr(0, 2) + "." + folder.substr(2, 2) + "." + folder.substr(4, 4) + "\r\n";
    }
    GeneratedStore newest = writeStore(root, shape);
    const std::string& folder = newest.weekFolder;
    weekList += folder.substr(0, 2) + "." + folder.substr(2, 2) + "." + folder.substr(4, 4) + "\r\n";
    writeFile(root / "dats.dat", weekList);
    writeFile(root / "ag_news.dat", "");
    const char* const lists[] = {"selpn", "selvt", "selsr", "selcht", "selpt", "selsb", "selvs", "selsledpn"};
    for (const char* list : lists) {
        std::string text;
        for (int hour = 7; hour < 24; hour += 2)
            text += std::to_string(hour) + ".00 " + cp1251("Художественный фильм - Канал 7") + "\r\n";
        writeFile(root / (folder + list), text);
    }
    return newest;
}

int takeCount(int& argc, char** argv, const char* flag, int fallback)
{
    int value = fallback;
    int kept = 1;
    for (int i = 1; i < argc; ++i) {
        if (std::strncmp(argv[i], flag, std::strlen(flag)) == 0)
            value = std::atoi(argv[i] + std::strlen(flag));
        else
            argv[kept++] = argv[i];
    }
    argc = kept;
    return value;
}

} // namespace brevio::bench
