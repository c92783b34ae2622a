#pragma once

#include <chrono>
#include <map>
#include <optional>
#include <set>
#include <string>
#include <string_view>
#include <vector>

namespace brevio::tools {

// Options "--name value" or "--name=value" of the command-line tools, plus "--help"/"-h".
// With `operands` the arguments that are no options (and all after "--") are kept in order;
// without, they are refused. Throws std::invalid_argument with a message for the user on
// anything it does not know.
class CommandLine
{
public:
    CommandLine(int argc, char** argv, std::set<std::string, std::less<>> valueOptions,
                bool operands = false);

    bool helpWanted() const { return m_help; }
    std::optional<std::string> value(std::string_view name) const;
    const std::vector<std::string>& operands() const { return m_operands; }

    // The option read as a whole number from `low` to `high`; `fallback` when absent.
    int number(std::string_view name, int low, int high, int fallback) const;

private:
    std::map<std::string, std::string, std::less<>> m_values;
    std::vector<std::string> m_operands;
    bool m_help = false;
};

// "YYYY-MM-DD" as a date; nothing for anything else (including days that do not exist).
std::optional<std::chrono::sys_days> parseIsoDate(std::string_view text);

} // namespace brevio::tools
