#include "core/news/parse_text.h"

#include "core/store/cp1251.h"

#include <algorithm>
#include <array>
#include <cstring>

namespace brevio::news {

namespace {

constexpr auto npos = std::string_view::npos;

// Whether `folded` (a folded byte) is the only byte that folds to itself: then a plain byte
// search finds every place where it may start a match.
bool hasOneCase(char folded)
{
    static const std::array<bool, 256> single = [] {
        std::array<int, 256> preimages{};
        for (int b = 0; b < 256; ++b)
            ++preimages[static_cast<unsigned char>(foldCase1251(static_cast<char>(b)))];
        std::array<bool, 256> one{};
        for (std::size_t b = 0; b < one.size(); ++b)
            one[b] = preimages[b] == 1;
        return one;
    }();
    return single[static_cast<unsigned char>(folded)];
}

// Whether `marker` (already folded) stands at `at`, letters compared folded.
bool foldedMatchAt(std::string_view text, std::size_t at, std::string_view marker)
{
    for (std::size_t k = 0; k < marker.size(); ++k) {
        if (foldCase1251(text[at + k]) != marker[k])
            return false;
    }
    return true;
}

std::size_t findIgnoringCase(std::string_view text, std::string_view marker)
{
    if (marker.empty())
        return 0;
    if (marker.size() > text.size())
        return npos;
    const std::string folded = foldCase1251(marker);
    const std::size_t last = text.size() - marker.size();
    // Most markers open with a sign that has no other case: the fast byte search finds them.
    const char first = folded.front();
    const bool caseless = hasOneCase(first);
    for (std::size_t i = 0; i <= last; ++i) {
        if (caseless) {
            const void* hit = std::memchr(text.data() + i, first, last + 1 - i);
            if (!hit)
                return npos;
            i = static_cast<std::size_t>(static_cast<const char*>(hit) - text.data());
        } else if (foldCase1251(text[i]) != first) {
            continue;
        }
        if (foldedMatchAt(text, i, folded))
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
