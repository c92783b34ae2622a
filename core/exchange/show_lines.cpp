#include "core/exchange/show_lines.h"

#include "core/exchange/exchange_errors.h"
#include "core/view/time_text.h"

#include <charconv>

namespace brevio::exchange {

namespace {

char lowerAscii(char c)
{
    return c >= 'A' && c <= 'Z' ? char(c - 'A' + 'a') : c;
}

// "ru" matches "ru", "RU", "ru-RU" and "ru_RU".
bool sameLanguage(std::string_view lang, std::string_view wanted)
{
    if (lang.size() < wanted.size())
        return false;
    for (std::size_t i = 0; i < wanted.size(); ++i)
        if (lowerAscii(lang[i]) != lowerAscii(wanted[i]))
            return false;
    return lang.size() == wanted.size() || lang[wanted.size()] == '-' || lang[wanted.size()] == '_';
}

// Paragraphs of a text: split at CR, LF and the Unicode line and paragraph separators.
std::vector<std::string_view> paragraphs(std::string_view text)
{
    std::vector<std::string_view> parts;
    std::size_t start = 0;
    for (std::size_t i = 0; i < text.size();) {
        std::size_t breakLength = 0;
        if (text[i] == '\r' || text[i] == '\n')
            breakLength = 1;
        else if (text.substr(i, 3) == "\xE2\x80\xA8" || text.substr(i, 3) == "\xE2\x80\xA9")
            breakLength = 3;
        if (breakLength == 0) {
            ++i;
            continue;
        }
        parts.push_back(text.substr(start, i - start));
        i += breakLength;
        start = i;
    }
    parts.push_back(text.substr(start));
    return parts;
}

// A zero-based "n" or "n/total" of the xmltv_ns form; -1 when blank or not a number.
int nsNumber(std::string_view part)
{
    const std::size_t slash = part.find('/');
    std::string_view number = part.substr(0, slash);
    while (!number.empty() && number.front() == ' ')
        number.remove_prefix(1);
    while (!number.empty() && number.back() == ' ')
        number.remove_suffix(1);
    int value = -1;
    const auto end = number.data() + number.size();
    if (number.empty() || std::from_chars(number.data(), end, value).ptr != end || value < 0)
        return -1;
    return value;
}

std::string xmltvNsLabel(std::string_view text)
{
    const std::size_t first = text.find('.');
    const std::size_t second = first == text.npos ? text.npos : text.find('.', first + 1);
    if (second == text.npos)
        return {};
    const int season = nsNumber(text.substr(0, first));
    const int episode = nsNumber(text.substr(first + 1, second - first - 1));
    std::string label;
    if (season >= 0)
        label = "S" + std::to_string(season + 1);
    if (episode >= 0)
        label += (label.empty() ? "E" : " E") + std::to_string(episode + 1);
    return label;
}

bool endsSentence(std::string_view text)
{
    return !text.empty() && (text.back() == '.' || text.back() == '!' || text.back() == '?');
}

} // namespace

const XmltvText* pickText(const std::vector<XmltvText>& texts, const std::vector<std::string>& languages)
{
    for (const std::string& wanted : languages)
        for (const XmltvText& text : texts)
            if (sameLanguage(text.lang, wanted))
                return &text;
    return texts.empty() ? nullptr : &texts.front();
}

std::string cleanLine(std::string_view utf8)
{
    const auto blank = [](char c) { return static_cast<unsigned char>(c) <= 0x20 || c == 0x7F; };
    std::string line;
    line.reserve(utf8.size());
    std::size_t at = 0;
    while (at < utf8.size()) {
        while (at < utf8.size() && blank(utf8[at]))
            ++at;
        std::size_t end = at;
        while (end < utf8.size() && !blank(utf8[end]))
            ++end;
        if (end > at) {
            if (!line.empty())
                line += ' ';
            line.append(utf8, at, end - at);
        }
        at = end;
    }
    return line;
}

std::string episodeLabel(const std::vector<XmltvEpisode>& episodes)
{
    for (const XmltvEpisode& episode : episodes)
        if (episode.system == "onscreen")
            if (std::string label = cleanLine(episode.text); !label.empty())
                return label;
    for (const XmltvEpisode& episode : episodes)
        if (episode.system == "xmltv_ns")
            if (std::string label = xmltvNsLabel(episode.text); !label.empty())
                return label;
    return {};
}

std::string showLines(const XmltvProgramme& programme, int minutes, const std::vector<std::string>& languages,
                      Cp1251Loss* loss)
{
    // Cleaned after encoding: a typographic space becomes a plain one only then.
    const auto encodedLine
        = [loss](std::string_view utf8) { return cleanLine(utf8ToCp1251Nearest(utf8, loss)); };
    const XmltvText* titleText = pickText(programme.titles, languages);
    const std::string title = titleText ? encodedLine(titleText->text) : std::string();
    if (title.empty())
        throw ListingError("the programme has an empty title");
    std::string heading = title;
    if (const XmltvText* sub = pickText(programme.subTitles, languages)) {
        const std::string subTitle = encodedLine(sub->text);
        if (!subTitle.empty() && subTitle != title)
            heading += (endsSentence(heading) ? " " : ". ") + subTitle;
    }
    if (const std::string episode = encodedLine(episodeLabel(programme.episodes)); !episode.empty())
        heading += " (" + episode + ")";

    std::string lines = view::formatTime(minutes) + " " + heading + "\r\n";
    if (const XmltvText* description = pickText(programme.descriptions, languages)) {
        for (const std::string_view paragraph : paragraphs(description->text)) {
            const std::string line = encodedLine(paragraph);
            if (line.empty())
                continue;
            if (view::isTimedLine(line))
                lines += ' ';
            lines += line + "\r\n";
        }
    }
    return lines;
}

} // namespace brevio::exchange
