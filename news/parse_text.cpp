#include "news/parse_text.h"

#include "store/cp1251.h"

#include <algorithm>

namespace brevio::news {

namespace {

constexpr auto npos = std::string_view::npos;

std::size_t findIgnoringCase(std::string_view text, std::string_view marker)
{
    if (marker.empty())
        return 0;
    if (marker.size() > text.size())
        return npos;
    const std::string folded = foldCase1251(marker);
    const char first = folded.front();
    const std::size_t last = text.size() - marker.size();
    for (std::size_t i = 0; i <= last; ++i) {
        if (foldCase1251(text[i]) != first)
            continue;
        std::size_t k = 1;
        while (k < folded.size() && foldCase1251(text[i + k]) == folded[k])
            ++k;
        if (k == folded.size())
            return i;
    }
    return npos;
}

} // namespace

std::size_t findText(std::string_view text, std::string_view marker, Match match)
{
    return match == Match::Exact ? text.find(marker) : findIgnoringCase(text, marker);
}

std::size_t ParseText::find(std::string_view marker, Match match)
{
    Found* found = nullptr;
    for (Found& f : m_found) {
        if (f.match == match && f.marker == marker) {
            found = &f;
            break;
        }
    }
    if (!found) {
        m_found.push_back({std::string(marker), match, npos, npos});
        found = &m_found.back();
    }
    // Nothing lies between the last search's start and what it found (or the end), and the
    // position only moves forward: the answer stands until the position passes it.
    const bool known = found->from != npos && found->from <= m_at && (found->at == npos || found->at >= m_at);
    if (!known) {
        const std::size_t at = findText(rest(), marker, match);
        found->from = m_at;
        found->at = at == npos ? npos : m_at + at;
    }
    return found->at == npos ? npos : found->at - m_at;
}

bool ParseText::cutAfter(std::string_view marker, Match match)
{
    const std::size_t at = find(marker, match);
    const bool found = at != npos;
    skip(found ? at + marker.size() : (marker.empty() ? 0 : marker.size() - 1));
    return found;
}

std::string ParseText::takeUpTo(std::string_view stop)
{
    const std::size_t at = find(stop, Match::Exact);
    return at == npos ? std::string() : std::string(rest().substr(0, at));
}

void ParseText::skip(std::size_t count)
{
    m_at += std::min(count, rest().size());
}

void ParseText::keepFirst(std::size_t count)
{
    m_text = m_text.substr(0, m_at + std::min(count, rest().size()));
    m_found.clear(); // what lay beyond the new end no longer counts
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
