// brevio-demo-data: writes a schedule server's tree of demo listings into a folder.
#include "tools/command_line.h"
#include "tools/demo_data.h"

#include <ctime>
#include <exception>
#include <iostream>

namespace {

constexpr const char* kUsage = "usage: brevio-demo-data --out DIR [--today YYYY-MM-DD] [--channels N]\n"
                               "Writes datas.dat and two weeks of listings (this week and the next)\n"
                               "in windows-1251 into DIR. Defaults: today's date, 30 channels.\n";

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
        const CommandLine args(argc, argv, {"--out", "--today", "--channels"});
        if (args.helpWanted()) {
            std::cout << kUsage;
            return 0;
        }
        const auto out = args.value("--out");
        if (!out || out->empty())
            throw std::invalid_argument("--out DIR is required");
        std::chrono::sys_days today = localToday();
        if (const auto text = args.value("--today")) {
            const auto date = parseIsoDate(*text);
            if (!date)
                throw std::invalid_argument("--today must be a date YYYY-MM-DD, not '" + *text + "'");
            today = *date;
        }
        const int channels = args.number("--channels", 1, 5000, 30);

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
