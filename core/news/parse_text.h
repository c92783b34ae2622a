#pragma once

#include <cstddef>
#include <string>
#include <string_view>
#include <vector>

// The small vocabulary every news and rate parser is written in. Replies are windows-1251
// bytes; positions are byte positions.
namespace brevio::news {

enum class Match {
    IgnoreCase, // both sides lower-cased before the search (ASCII and windows-1251 Cyrillic)
    Exact
};

// Position of the first occurrence of `marker`, or npos.
std::size_t findText(std::string_view text, std::string_view marker, Match match = Match::IgnoreCase);

// The working text of a parse: a reply read from front to back. "Keeping the text after" a
// place moves a position instead of copying the rest, and each marker remembers where it was
// found last (or that it is absent from here on), so a whole parse takes time in proportion to
// the reply however many steps it makes. Views into it stay valid while `text` lives.
class ParseText
{
public:
    explicit ParseText(std::string_view text)
        : m_text(text)
    {
    }

    // What is left of the working text.
    std::string_view rest() const { return m_text.substr(m_at); }
    bool empty() const { return m_at >= m_text.size(); }

    // Position of the first `marker` in rest(), or npos.
    std::size_t find(std::string_view marker, Match match = Match::IgnoreCase);
    bool contains(std::string_view marker, Match match = Match::IgnoreCase)
    {
        return find(marker, match) != std::string_view::npos;
    }

    // Keeps only the text after the first `marker`; true when it was there. An absent marker
    // counts as found "before the start": the text loses its first (length of marker) - 1
    // characters, so later fields shift rather than the parse stopping.
    bool cutAfter(std::string_view marker, Match match = Match::IgnoreCase);

    // The text up to, not including, the first exact `stop`; empty when `stop` is absent.
    std::string takeUpTo(std::string_view stop = "<");

    // Drops the first `count` characters (all when fewer are left).
    void skip(std::size_t count);
    // Keeps only the first `count` characters of rest().
    void keepFirst(std::size_t count);

private:
    // Where a marker was looked for last: from `from` (absolute) the first one is at `at`.
    struct Found
    {
        std::string marker;
        Match match;
        std::size_t from;
        std::size_t at;
    };

    std::string_view m_text;
    std::size_t m_at = 0;
    std::vector<Found> m_found;
};

// The text up to, not including, the first exact `stop`; empty when `stop` is absent.
std::string takeUpTo(std::string_view text, std::string_view stop = "<");

// Every exact occurrence of `from` replaced by `to`, left to right, replacements not rescanned.
std::string replaceAll(std::string_view text, std::string_view from, std::string_view to);

// Without the characters of code 0..32 at both ends.
std::string trim(std::string_view text);
// Without the spaces at both ends.
std::string trimSpaces(std::string_view text);

// A program literal (UTF-8 in the source) as the windows-1251 bytes the pane and files hold.
std::string data(std::string_view utf8);

} // namespace brevio::news
