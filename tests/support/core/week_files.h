#pragma once

// Week stores written for the tests of the views that read a whole week.
#include "core/store/cp1251.h"
#include "support/core/temp_dir.h"

#include <string>
#include <vector>

namespace brevio::test {

// windows-1251 bytes of a UTF-8 literal.
inline std::string cp(const std::string& utf8)
{
    return utf8ToCp1251(utf8);
}

// A channel file: a header line, then one block per day, each opened by an empty line.
inline std::string dayFile(const std::vector<std::vector<std::string>>& days)
{
    std::string text = cp("Программа") + "\r\n";
    for (const auto& day : days) {
        text += "\r\n";
        for (const std::string& line : day)
            text += cp(line) + "\r\n";
    }
    return text;
}

// The week of 07.12.2026 with what makes a grid of it hard: shifts either way (one with hours
// and minutes of opposite signs), shows after midnight, a show shifted to the day before, a
// missing file, a line naming no file, an empty first day, an impossible time, and shows
// starting at the same minute (one titled like markup). The working folder is `work`.
inline void writeTrickyWeek(const TempDir& work)
{
    work.write("times.dat", cp("Вперёд|2|0\r\nПозже|-2|0\r\nMixed|-1|30\r\n"));
    work.write("07122026/aplp.dat",
               cp("Первый:p.txt\r\nВперёд:a.txt\r\nНет файла:gone.txt\r\nПозже:l.txt\r\n"
                  "Mixed:m.txt\r\nEmpty Monday:e.txt\r\nBroken:b.txt\r\nSame time:s.txt\r\n"
                  "No file\r\n"));
    const std::vector<std::string> none;
    work.write("07122026/p.txt",
               dayFile({{"06.00 НОВОСТИ", "12:00 Ёлки-палки", "23.30 Фильм",
                         "Фильм про ёжика, фильм о друзьях", "1.10 Ночные новости"},
                        {"06.00 Новости дня"},
                        none,
                        none,
                        none,
                        none,
                        {"20.00 Воскресенье", "0.30 Ночь"}}));
    work.write("07122026/a.txt", dayFile({{"07.00 Утро", "23.00 Поздние новости"}}));
    work.write("07122026/l.txt", dayFile({{"01.30 Ночное кино", "06.00 Новости"}, {"05.00 Утро"}}));
    work.write("07122026/m.txt", dayFile({{"0:15 News", "19:00 Show"}}));
    work.write("07122026/e.txt", dayFile({none, {"08.00 Tuesday"}}));
    work.write("07122026/b.txt", dayFile({{"10.00 Day", "25.10 Broken", "11.00 After"}, {"09.00 Lost"}}));
    work.write("07122026/s.txt", dayFile({{"19.00 A", "19.00 B", "About B", "20.00 <C & D>"}}));
}

} // namespace brevio::test
