#include "core/news/web_address.h"

#include "core/news/parse_text.h"

namespace brevio::news {

namespace {

// Only what openableAddress() opens is shown as a link.
constexpr std::string_view kStarts[] = {"http://", "https://", "mailto:", "www."};

bool endsAddress(char c)
{
    return static_cast<unsigned char>(c) <= 32 || c == '"' || c == '\'' || c == '<' || c == '>' || c == ')'
        || c == '(';
}

bool startsWithIgnoringCase(std::string_view text, std::string_view prefix)
{
    return text.size() >= prefix.size() && findText(text.substr(0, prefix.size()), prefix) == 0;
}

} // namespace

std::vector<AddressSpan> findAddresses(std::string_view line)
{
    std::vector<AddressSpan> spans;
    std::size_t at = 0;
    while (at < line.size()) {
        bool starts = at == 0 || endsAddress(line[at - 1]);
        std::size_t prefix = 0;
        if (starts) {
            for (std::string_view s : kStarts)
                if (startsWithIgnoringCase(line.substr(at), s))
                    prefix = s.size();
        }
        if (prefix == 0) {
            ++at;
            continue;
        }
        std::size_t end = at + prefix;
        while (end < line.size() && !endsAddress(line[end]))
            ++end;
        while (end > at + prefix && (line[end - 1] == '.' || line[end - 1] == ','))
            --end;
        if (end > at + prefix)
            spans.push_back({at, end - at});
        at = end;
    }
    return spans;
}

std::string openableAddress(std::string_view clicked)
{
    for (char c : clicked)
        if (static_cast<unsigned char>(c) < 32 || c == 127)
            return {};
    for (std::string_view scheme : {"http://", "https://", "mailto:"})
        if (startsWithIgnoringCase(clicked, scheme) && clicked.size() > scheme.size())
            return std::string(clicked);
    if (startsWithIgnoringCase(clicked, "www.") && clicked.size() > 4)
        return "http://" + std::string(clicked);
    return {};
}

} // namespace brevio::news
