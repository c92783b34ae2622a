// brevio-publish: turns XMLTV listings into the files a schedule server offers, so that any
// static web server can serve them to Brevio.
#include "core/exchange/server_tree.h"
#include "core/exchange/week_builder.h"
#include "core/exchange/xmltv_reader.h"
#include "core/store/errors.h"
#include "core/view/time_text.h"
#include "tools/command_line.h"

#include <algorithm>
#include <cstdio>
#include <cstdlib>
#include <ctime>
#include <exception>
#include <iostream>
#include <set>

namespace {

constexpr const char* kUsage
    = "usage: brevio-publish --out DIR [options] FILE...\n"
      "Reads XMLTV listings (plain or gzip, any encoding their XML declaration names) and writes\n"
      "the schedule server's files of every week they hold into DIR: datas.dat, and per week\n"
      "ddmmyyyy/ with data.dat, files.dat and one windows-1251 file per channel.\n"
      "Options:\n"
      "  --timezone ZONE    time zone the listings are shown in, e.g. Europe/Moscow\n"
      "                     (default: this machine's, as TZ sets it)\n"
      "  --day-start HH:MM  first hour of the broadcast day; an earlier show stands after the\n"
      "                     evening before when the channel has one (default 05:00)\n"
      "  --lang LIST        display-name and title languages in order of preference, e.g.\n"
      "                     ru,en (default ru; else the first name given)\n"
      "  --weeks WHICH      all (default), or dates (YYYY-MM-DD or dd.mm.yyyy) separated by\n"
      "                     commas: the weeks that hold them\n";

std::vector<std::string> splitList(const std::string& text)
{
    std::vector<std::string> items;
    std::size_t start = 0;
    while (start <= text.size()) {
        const std::size_t comma = std::min(text.find(',', start), text.size());
        std::string item = text.substr(start, comma - start);
        item.erase(0, item.find_first_not_of(' '));
        item.erase(item.find_last_not_of(' ') + 1);
        if (!item.empty())
            items.push_back(item);
        start = comma + 1;
    }
    return items;
}

std::chrono::sys_days weekOfDate(const std::string& text)
{
    std::string iso = text;
    // dd.mm.yyyy, the week date as Brevio shows it.
    if (text.size() == 10 && text[2] == '.' && text[5] == '.')
        iso = text.substr(6, 4) + "-" + text.substr(3, 2) + "-" + text.substr(0, 2);
    const auto date = brevio::tools::parseIsoDate(iso);
    if (!date)
        throw std::invalid_argument("--weeks: '" + text + "' is no date YYYY-MM-DD or dd.mm.yyyy");
    return brevio::exchange::mondayOf(*date);
}

int dayStart(const std::string& text)
{
    try {
        return brevio::view::timeOfDay(text);
    } catch (const brevio::Error&) {
        throw std::invalid_argument("--day-start must be a time of day HH:MM, not '" + text + "'");
    }
}

void useTimeZone(const std::string& zone)
{
    if (!brevio::exchange::isKnownTimeZone(zone))
        throw std::invalid_argument("--timezone: the system knows no time zone '" + zone + "'");
    ::setenv("TZ", zone.c_str(), 1);
}

} // namespace

int main(int argc, char** argv)
{
    using namespace brevio;
    try {
        const tools::CommandLine args(argc, argv, {"--out", "--timezone", "--day-start", "--lang", "--weeks"},
                                      true);
        if (args.helpWanted()) {
            std::cout << kUsage;
            return 0;
        }
        const auto out = args.value("--out");
        if (!out || out->empty())
            throw std::invalid_argument("--out DIR is required");
        if (args.operands().empty())
            throw std::invalid_argument("name at least one XMLTV file");
        if (const auto zone = args.value("--timezone"))
            useTimeZone(*zone);
        ::tzset();

        exchange::ListingOptions options;
        if (const auto text = args.value("--day-start"))
            options.dayStartMinutes = dayStart(*text);
        if (const auto text = args.value("--lang")) {
            options.languages = splitList(*text);
            if (options.languages.empty())
                throw std::invalid_argument("--lang needs at least one language");
        }
        std::set<std::chrono::sys_days> wanted;
        if (const auto text = args.value("--weeks"); text && *text != "all") {
            for (const std::string& date : splitList(*text))
                wanted.insert(weekOfDate(date));
            if (wanted.empty())
                throw std::invalid_argument("--weeks needs 'all' or at least one date");
        }

        // Everything is read before anything is written: a faulty file leaves DIR as it was.
        exchange::WeekBuilder builder(options);
        for (const std::string& file : args.operands())
            exchange::readXmltvFile(file, builder);
        std::vector<std::chrono::sys_days> mondays = builder.weeks();
        if (!wanted.empty())
            std::erase_if(mondays, [&](auto monday) { return !wanted.contains(monday); });
        if (mondays.empty())
            throw Error(wanted.empty()
                            ? "the listings hold no programmes; nothing was written"
                            : "the listings hold no programmes in the chosen weeks; nothing was written");

        const exchange::TreeSummary summary = exchange::writeServerTree(builder, mondays, *out);
        std::cout << "wrote " << summary.weekDates.size()
                  << (summary.weekDates.size() == 1 ? " week" : " weeks") << " (" << summary.weekDates.front()
                  << (summary.weekDates.size() > 1 ? " to " + summary.weekDates.back() : std::string())
                  << ") with " << summary.channelFiles << " channel files and " << summary.shows
                  << " shows into " << *out << "\n";
        if (const auto loss = builder.loss(); loss.count > 0) {
            char code[16];
            std::snprintf(code, sizeof code, "U+%04X", static_cast<unsigned>(loss.first));
            const long line = builder.lossLine();
            std::cerr << "brevio-publish: warning: " << loss.count
                      << " characters have no windows-1251 equivalent and became '?' (the first, " << code
                      << (line > 0 ? ", in the programme at line " + std::to_string(line)
                                   : ", in a channel name")
                      << ")\n";
        }
        if (const auto undeclared = builder.undeclaredChannels(); undeclared.programmes > 0)
            std::cerr << "brevio-publish: warning: " << undeclared.programmes
                      << (undeclared.programmes == 1 ? " programme" : " programmes") << " of "
                      << undeclared.channels << (undeclared.channels == 1 ? " channel" : " channels")
                      << " without a <channel> element" << (undeclared.programmes == 1 ? " was" : " were")
                      << " published under "
                      << (undeclared.channels == 1 ? "its channel id\n" : "their channel ids\n");
        return 0;
    } catch (const std::invalid_argument& e) {
        std::cerr << "brevio-publish: " << e.what() << "\n" << kUsage;
        return 2;
    } catch (const std::exception& e) {
        std::cerr << "brevio-publish: " << e.what() << "\n";
        return 1;
    }
}
