#include "core/net/reply_assembler.h"

#include <algorithm>
#include <cctype>
#include <charconv>

namespace brevio::net {

namespace {

bool startsWithNoCase(std::string_view text, std::string_view prefix)
{
    return text.size() >= prefix.size()
        && std::equal(prefix.begin(), prefix.end(), text.begin(), [](char a, char b) {
               return std::tolower(static_cast<unsigned char>(a))
                   == std::tolower(static_cast<unsigned char>(b));
           });
}

std::string_view trimmed(std::string_view text)
{
    const auto blank = [](char c) { return c == ' ' || c == '\t' || c == '\r' || c == '\n'; };
    while (!text.empty() && blank(text.front()))
        text.remove_prefix(1);
    while (!text.empty() && blank(text.back()))
        text.remove_suffix(1);
    return text;
}

// The value of a Content-Length line; 0 when it is not a plain decimal number.
std::uint64_t parseLength(std::string_view value)
{
    value = trimmed(value);
    std::uint64_t n = 0;
    const auto [end, ec] = std::from_chars(value.data(), value.data() + value.size(), n);
    return ec == std::errc() && end == value.data() + value.size() ? n : 0;
}

} // namespace

void ReplyAssembler::addHeaderLine(std::string_view line)
{
    const bool statusLine = startsWithNoCase(line, "HTTP/");
    if (!m_started || m_headerDone) {
        if (!statusLine)
            return; // trailer lines after a chunked body are not part of the header text
        m_header.clear();
        m_body.clear();
        m_bodySize = 0;
        if (m_sink && !m_sink->restart())
            m_sinkFailed = true;
        m_contentLength = 0;
        m_started = true;
        m_headerDone = false;
    }
    m_header += line;
    if (trimmed(line).empty())
        m_headerDone = true;
    else if (constexpr std::string_view name = "Content-Length:"; startsWithNoCase(line, name))
        m_contentLength = parseLength(line.substr(name.size()));
}

bool ReplyAssembler::addBody(std::string_view bytes)
{
    if (m_sinkFailed || bytes.size() > m_maxBodyBytes - std::min<std::uint64_t>(m_bodySize, m_maxBodyBytes))
        return false;
    if (m_sink && !m_sink->write(bytes)) {
        m_sinkFailed = true;
        return false;
    }
    if (!m_sink)
        m_body += bytes;
    m_bodySize += bytes.size();
    return true;
}

} // namespace brevio::net
