#pragma once

#include <map>
#include <optional>
#include <set>
#include <string>
#include <string_view>

namespace brevio::tools {

// Options "--name value" or "--name=value" of the command-line tools, plus "--help"/"-h".
// Throws std::invalid_argument with a message for the user on anything it does not know.
class CommandLine
{
public:
    CommandLine(int argc, char** argv, std::set<std::string, std::less<>> valueOptions);

    bool helpWanted() const { return m_help; }
    std::optional<std::string> value(std::string_view name) const;

    // The option read as a whole number from `low` to `high`; `fallback` when absent.
    int number(std::string_view name, int low, int high, int fallback) const;

private:
    std::map<std::string, std::string, std::less<>> m_values;
    bool m_help = false;
};

} // namespace brevio::tools
