#include "core/net/reply_assembler.h"

#include "core/net/header_text.h"

#include <algorithm>
#include <charconv>

namespace brevio::net {

namespace {

// The value of a Content-Length line; 0 when it is not a plain decimal number.
std::uint64_t parseLength(std::string_view value)
{
    value = trimmedHeaderText(value);
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
    if (trimmedHeaderText(line).empty())
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
