#include "tools/command_line.h"

#include <charconv>
#include <stdexcept>

namespace brevio::tools {

CommandLine::CommandLine(int argc, char** argv, std::set<std::string, std::less<>> valueOptions,
                         bool operands)
{
    bool optionsEnded = false;
    for (int i = 1; i < argc; ++i) {
        std::string arg = argv[i];
        if (operands && (optionsEnded || arg == "-" || !arg.starts_with("-"))) {
            m_operands.push_back(arg);
            continue;
        }
        if (operands && arg == "--") {
            optionsEnded = true;
            continue;
        }
        if (arg == "--help" || arg == "-h") {
            m_help = true;
            continue;
        }
        std::string value;
        bool inlineValue = false;
        if (const auto eq = arg.find('='); arg.starts_with("--") && eq != arg.npos) {
            value = arg.substr(eq + 1);
            arg.erase(eq);
            inlineValue = true;
        }
        if (!valueOptions.contains(arg))
            throw std::invalid_argument("unknown option '" + arg + "'");
        if (!inlineValue) {
            if (i + 1 >= argc)
                throw std::invalid_argument("option '" + arg + "' needs a value");
            value = argv[++i];
        }
        m_values[arg] = value;
    }
}

std::optional<std::string> CommandLine::value(std::string_view name) const
{
    const auto it = m_values.find(name);
    if (it == m_values.end())
        return std::nullopt;
    return it->second;
}

int CommandLine::number(std::string_view name, int low, int high, int fallback) const
{
    const auto text = value(name);
    if (!text)
        return fallback;
    int result = 0;
    const auto* end = text->data() + text->size();
    const auto parsed = std::from_chars(text->data(), end, result);
    if (parsed.ec != std::errc() || parsed.ptr != end || result < low || result > high)
        throw std::invalid_argument(std::string(name) + " must be a whole number from " + std::to_string(low)
                                    + " to " + std::to_string(high) + ", not '" + *text + "'");
    return result;
}

} // namespace brevio::tools

namespace brevio::tools {

namespace {

bool readNumber(std::string_view text, int& value)
{
    const auto* end = text.data() + text.size();
    const auto result = std::from_chars(text.data(), end, value);
    return result.ec == std::errc() && result.ptr == end;
}

} // namespace

std::optional<std::chrono::sys_days> parseIsoDate(std::string_view text)
{
    using namespace std::chrono;
    int y = 0, m = 0, d = 0;
    if (text.size() != 10 || text[4] != '-' || text[7] != '-' || !readNumber(text.substr(0, 4), y)
        || !readNumber(text.substr(5, 2), m) || !readNumber(text.substr(8, 2), d))
        return std::nullopt;
    const year_month_day date{year(y), month(unsigned(m)), day(unsigned(d))};
    if (!date.ok())
        return std::nullopt;
    return sys_days(date);
}

} // namespace brevio::tools
