#include "core/net/http_reply.h"

#include "core/net/header_text.h"

#include <algorithm>

namespace brevio::net {

bool replySucceeded(std::string_view headerText)
{
    // A redirect or an interim reply has already been replaced by the final one.
    return replyStatus(headerText) == 200;
}

std::optional<int> replyStatus(std::string_view headerText)
{
    constexpr std::string_view kProtocol = "HTTP/";
    const std::string_view statusLine = headerText.substr(0, headerText.find_first_of("\r\n"));
    if (statusLine.size() <= kProtocol.size()
        || !equalNoCase(statusLine.substr(0, kProtocol.size()), kProtocol))
        return std::nullopt;
    const std::size_t blank = statusLine.find(' ');
    if (blank == std::string_view::npos)
        return std::nullopt;
    const std::string_view rest = statusLine.substr(blank + 1);
    if (rest.size() < 3 || (rest.size() > 3 && rest[3] != ' ')
        || !std::all_of(rest.begin(), rest.begin() + 3, [](char c) { return c >= '0' && c <= '9'; }))
        return std::nullopt;
    return (rest[0] - '0') * 100 + (rest[1] - '0') * 10 + (rest[2] - '0');
}

std::optional<std::string> replyHeader(std::string_view headerText, std::string_view name)
{
    std::size_t at = headerText.find('\n'); // past the status line
    while (at != std::string_view::npos && at + 1 < headerText.size()) {
        const std::size_t end = headerText.find('\n', at + 1);
        const std::string_view line
            = headerText.substr(at + 1, end == std::string_view::npos ? end : end - at - 1);
        const std::size_t colon = line.find(':');
        if (colon != std::string_view::npos && equalNoCase(trimmedHeaderText(line.substr(0, colon)), name))
            return std::string(trimmedHeaderText(line.substr(colon + 1)));
        at = end;
    }
    return std::nullopt;
}

} // namespace brevio::net
