#pragma once

#include <filesystem>
#include <optional>
#include <string>
#include <string_view>

namespace brevio::test {

// A listing of tests/data/xmltv (every one of them valid XMLTV, as the format's own validator
// checks in the peer test).
std::filesystem::path xmltvSample(std::string_view name);

// Makes `zone` the process's time zone (TZ) for as long as it lives.
class ScopedTimeZone
{
public:
    explicit ScopedTimeZone(const char* zone);
    ~ScopedTimeZone();
    ScopedTimeZone(const ScopedTimeZone&) = delete;
    ScopedTimeZone& operator=(const ScopedTimeZone&) = delete;

private:
    std::optional<std::string> m_previous;
};

} // namespace brevio::test
