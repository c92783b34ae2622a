// brevio-demo-data: writes a schedule server's tree of demo listings into a folder, or the
// same listings as an XMLTV file.
#include "tools/command_line.h"
#include "tools/demo_data.h"
#include "tools/demo_xmltv.h"

#include <ctime>
#include <exception>
#include <fstream>
#include <iostream>

namespace {

constexpr const char* kUsage
    = "usage: brevio-demo-data --out DIR [--today YYYY-MM-DD] [--channels N]\n"
      "       brevio-demo-data --xmltv FILE [--today YYYY-MM-DD] [--channels N] [--days N] [--detail N]\n"
      "Writes datas.dat and two weeks of listings (this week and the next) in windows-1251 into\n"
      "DIR, or the listings of --days days (default 14) from this week's Monday as an XMLTV file\n"
      "(UTF-8, times in this machine's zone) for brevio-publish; --detail adds that many sentences\n"
      "to every description (default 0). Defaults: today's date, 30 channels.\n";

std::chrono::sys_days localToday()
{
    const std::time_t now = std::time(nullptr);
    std::tm local{};
    localtime_r(&now, &local);
    using namespace std::chrono;
    return sys_days(year_month_day{year(local.tm_year + 1900), month(unsigned(local.tm_mon + 1)),
                                   day(unsigned(local.tm_mday))});
}

} // namespace

int main(int argc, char** argv)
{
    using namespace brevio::tools;
    try {
        const CommandLine args(argc, argv,
                               {"--out", "--xmltv", "--today", "--channels", "--days", "--detail"});
        if (args.helpWanted()) {
            std::cout << kUsage;
            return 0;
        }
        const auto out = args.value("--out");
        const auto xmltv = args.value("--xmltv");
        if ((!out || out->empty()) && (!xmltv || xmltv->empty()))
            throw std::invalid_argument("--out DIR or --xmltv FILE is required");
        std::chrono::sys_days today = localToday();
        if (const auto text = args.value("--today")) {
            const auto date = parseIsoDate(*text);
            if (!date)
                throw std::invalid_argument("--today must be a date YYYY-MM-DD, not '" + *text + "'");
            today = *date;
        }
        const int channels = args.number("--channels", 1, 5000, 30);
        const int days = args.number("--days", 1, 366, 14);
        const int detail = args.number("--detail", 0, 20, 0);

        if (xmltv && !xmltv->empty()) {
            std::ofstream file(*xmltv, std::ios::binary | std::ios::trunc);
            if (!file)
                throw std::runtime_error("cannot write " + *xmltv);
            writeDemoXmltv(file, mondayOf(today), days, channels, detail);
            if (!file)
                throw std::runtime_error("cannot write " + *xmltv);
            std::cout << "wrote " << channels << " channels for " << days << " days from "
                      << weekDate(mondayOf(today)) << " into " << *xmltv << "\n";
            if (!out || out->empty())
                return 0;
        }
        const auto weeks = writeDemoTree(*out, today, channels);
        std::cout << "wrote " << channels << " channels for the weeks of " << weeks.front() << " and "
                  << weeks.back() << " into " << *out << "\n";
        return 0;
    } catch (const std::invalid_argument& e) {
        std::cerr << "brevio-demo-data: " << e.what() << "\n" << kUsage;
        return 2;
    } catch (const std::exception& e) {
        std::cerr << "brevio-demo-data: " << e.what() << "\n";
        return 1;
    }
}
