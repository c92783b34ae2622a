#include "support/core/xmltv_samples.h"

#include <cstdlib>
#include <ctime>

namespace brevio::test {

std::filesystem::path xmltvSample(std::string_view name)
{
    const char* source = std::getenv("BREVIO_SOURCE_DIR");
    return std::filesystem::path(source ? source : ".") / "tests" / "data" / "xmltv" / name;
}

ScopedTimeZone::ScopedTimeZone(const char* zone)
{
    if (const char* previous = std::getenv("TZ"))
        m_previous = previous;
    ::setenv("TZ", zone, 1);
    ::tzset();
}

ScopedTimeZone::~ScopedTimeZone()
{
    if (m_previous)
        ::setenv("TZ", m_previous->c_str(), 1);
    else
        ::unsetenv("TZ");
    ::tzset();
}

} // namespace brevio::test
