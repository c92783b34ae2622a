#pragma once

#include <string>
#include <string_view>

// The small vocabulary every news and rate parser is written in. Replies are windows-1251
// bytes; positions are byte positions.
namespace brevio::news {

enum class Match {
    IgnoreCase, // both sides lower-cased before the search (ASCII and windows-1251 Cyrillic)
    Exact
};

// Position of the first occurrence of `marker`, or npos.
std::size_t findText(std::string_view text, std::string_view marker, Match match = Match::IgnoreCase);
bool contains(std::string_view text, std::string_view marker, Match match = Match::IgnoreCase);

// Keeps only the text after the first `marker`; true when it was there. An absent marker
// counts as found "before the start": the text loses its first (length of marker) - 1
// characters, so later fields shift rather than the parse stopping.
bool cutAfter(std::string& text, std::string_view marker, Match match = Match::IgnoreCase);

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
