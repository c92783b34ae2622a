#include "news/parse_text.h"

#include "store/cp1251.h"

#include <algorithm>

namespace brevio::news {

namespace {

bool sameIgnoringCase(char a, char b)
{
    return foldCase1251(a) == foldCase1251(b);
}

} // namespace

std::size_t findText(std::string_view text, std::string_view marker, Match match)
{
    if (match == Match::Exact)
        return text.find(marker);
    const auto it = std::search(text.begin(), text.end(), marker.begin(), marker.end(), sameIgnoringCase);
    if (it == text.end() && !marker.empty())
        return std::string_view::npos;
    return static_cast<std::size_t>(it - text.begin());
}

bool contains(std::string_view text, std::string_view marker, Match match)
{
    return findText(text, marker, match) != std::string_view::npos;
}

bool cutAfter(std::string& text, std::string_view marker, Match match)
{
    const std::size_t at = findText(text, marker, match);
    const bool found = at != std::string_view::npos;
    const std::size_t keepFrom = found ? at + marker.size() : (marker.empty() ? 0 : marker.size() - 1);
    text.erase(0, std::min(keepFrom, text.size()));
    return found;
}

std::string takeUpTo(std::string_view text, std::string_view stop)
{
    const std::size_t at = text.find(stop);
    return at == std::string_view::npos ? std::string() : std::string(text.substr(0, at));
}

std::string replaceAll(std::string_view text, std::string_view from, std::string_view to)
{
    if (from.empty())
        return std::string(text);
    std::string result;
    result.reserve(text.size());
    std::size_t start = 0;
    for (std::size_t at = text.find(from); at != std::string_view::npos; at = text.find(from, start)) {
        result.append(text.substr(start, at - start)).append(to);
        start = at + from.size();
    }
    result.append(text.substr(start));
    return result;
}

std::string trim(std::string_view text)
{
    auto control = [](char c) { return static_cast<unsigned char>(c) <= 32; };
    while (!text.empty() && control(text.front()))
        text.remove_prefix(1);
    while (!text.empty() && control(text.back()))
        text.remove_suffix(1);
    return std::string(text);
}

std::string trimSpaces(std::string_view text)
{
    const std::size_t first = text.find_first_not_of(' ');
    if (first == std::string_view::npos)
        return {};
    return std::string(text.substr(first, text.find_last_not_of(' ') - first + 1));
}

std::string data(std::string_view utf8)
{
    return utf8ToCp1251(utf8);
}

} // namespace brevio::news
