#include "core/net/http_reply.h"

#include <algorithm>

namespace brevio::net {

bool replySucceeded(std::string_view headerText)
{
    // "HTTP/<version> 200[ <reason>]" on the first line; a redirect or an interim reply has
    // already been replaced by the final one.
    constexpr std::string_view kProtocol = "HTTP/";
    const std::string_view statusLine = headerText.substr(0, headerText.find_first_of("\r\n"));
    const bool protocol = statusLine.size() > kProtocol.size()
        && std::equal(kProtocol.begin(), kProtocol.end(), statusLine.begin(),
                      [](char a, char b) { return a == (b >= 'a' && b <= 'z' ? b - 'a' + 'A' : b); });
    if (!protocol)
        return false;
    const std::size_t blank = statusLine.find(' ');
    if (blank == std::string_view::npos)
        return false;
    const std::string_view rest = statusLine.substr(blank + 1);
    return rest.starts_with("200") && (rest.size() == 3 || rest[3] == ' ');
}

} // namespace brevio::net
