#include "core/news/web_page.h"

#include <algorithm>
#include <cctype>

namespace brevio::news {

namespace {

// Browsers look for the declaration in the first kilobyte; pages in the wild put long
// scripts and styles before it, so a little more is read.
constexpr std::size_t kMetaScanBytes = 8192;

std::string lowered(std::string_view text)
{
    std::string out(text);
    std::transform(out.begin(), out.end(), out.begin(),
                   [](unsigned char c) { return static_cast<char>(std::tolower(c)); });
    return out;
}

bool isNameChar(char c)
{
    return std::isalnum(static_cast<unsigned char>(c)) || c == '-' || c == '_' || c == '.' || c == ':';
}

// The value after "charset" in `text` (lower case), from `from` on: blanks, '=', blanks, an
// optional quote, then the name. "" when `text` holds no such assignment.
std::string charsetAfter(std::string_view text, std::size_t from = 0)
{
    for (std::size_t at = text.find("charset", from); at != std::string_view::npos;
         at = text.find("charset", at + 1)) {
        std::size_t i = at + 7;
        while (i < text.size() && (text[i] == ' ' || text[i] == '\t'))
            ++i;
        if (i >= text.size() || text[i] != '=')
            continue;
        ++i;
        while (i < text.size() && (text[i] == ' ' || text[i] == '\t' || text[i] == '"' || text[i] == '\''))
            ++i;
        const std::size_t start = i;
        while (i < text.size() && isNameChar(text[i]))
            ++i;
        if (i > start)
            return std::string(text.substr(start, i - start));
    }
    return {};
}

std::string headerCharset(std::string_view header)
{
    // The last Content-Type line counts: the header may hold a redirect's lines before it.
    const std::string text = lowered(header);
    std::string found;
    for (std::size_t start = 0; start < text.size();) {
        std::size_t end = text.find_first_of("\r\n", start);
        if (end == std::string::npos)
            end = text.size();
        const std::string_view line = std::string_view(text).substr(start, end - start);
        if (line.starts_with("content-type:"))
            found = charsetAfter(line);
        start = end + 1;
    }
    return found;
}

std::string metaCharset(std::string_view body)
{
    const std::string text = lowered(body.substr(0, kMetaScanBytes));
    for (std::size_t at = text.find("<meta"); at != std::string::npos; at = text.find("<meta", at + 5)) {
        const std::size_t end = text.find('>', at);
        const std::string tag = text.substr(at, end == std::string::npos ? std::string::npos : end - at);
        if (std::string charset = charsetAfter(tag); !charset.empty())
            return charset;
    }
    return {};
}

// True for valid UTF-8 that holds at least one character outside ASCII.
bool isUtf8Text(std::string_view bytes)
{
    bool beyondAscii = false;
    for (std::size_t i = 0; i < bytes.size();) {
        const auto lead = static_cast<unsigned char>(bytes[i]);
        std::size_t length = 1;
        if (lead >= 0xC2 && lead <= 0xDF)
            length = 2;
        else if (lead >= 0xE0 && lead <= 0xEF)
            length = 3;
        else if (lead >= 0xF0 && lead <= 0xF4)
            length = 4;
        else if (lead >= 0x80)
            return false;
        if (i + length > bytes.size())
            break; // a body cut inside its last character
        for (std::size_t k = 1; k < length; ++k)
            if ((static_cast<unsigned char>(bytes[i + k]) & 0xC0) != 0x80)
                return false;
        beyondAscii = beyondAscii || length > 1;
        i += length;
    }
    return beyondAscii;
}

// Running text is mostly small letters. Windows-1251 has them at 0xE0-0xFF and its capitals
// at 0xC0-0xDF; KOI8-R has them the other way round.
bool looksLikeKoi8(std::string_view bytes)
{
    std::size_t low = 0;
    std::size_t high = 0;
    for (const char c : bytes) {
        const auto byte = static_cast<unsigned char>(c);
        if (byte >= 0xC0 && byte <= 0xDF)
            ++low;
        else if (byte >= 0xE0)
            ++high;
    }
    return low > high;
}

} // namespace

std::string declaredCharset(std::string_view header, std::string_view body)
{
    std::string charset = headerCharset(header);
    return charset.empty() ? metaCharset(body) : charset;
}

std::string pageCharset(std::string_view header, std::string_view body)
{
    if (std::string declared = declaredCharset(header, body); !declared.empty())
        return declared;
    if (isUtf8Text(body))
        return "utf-8";
    return looksLikeKoi8(body) ? "koi8-r" : "windows-1251";
}

std::string pageOfLines(const std::vector<std::string>& lines)
{
    std::string page;
    for (std::size_t i = 0; i < lines.size(); ++i) {
        if (i > 0)
            page += "\r\n";
        page += lines[i];
    }
    return page;
}

SavedPage savedPage(const std::vector<std::string>& saved, const std::vector<std::string>& framed)
{
    const auto marker = std::find(framed.begin(), framed.end(), kPageMarker);
    const auto head = static_cast<std::size_t>(marker - framed.begin());
    const std::size_t tail = marker == framed.end() ? 0 : framed.size() - head - 1;
    const bool framedAsWritten = marker != framed.end() && saved.size() >= head + tail
        && std::equal(framed.begin(), marker, saved.begin())
        && std::equal(marker + 1, framed.end(), saved.end() - static_cast<std::ptrdiff_t>(tail));
    if (!framedAsWritten)
        return {{}, pageOfLines(saved), {}};
    return {std::vector<std::string>(saved.begin(), saved.begin() + static_cast<std::ptrdiff_t>(head)),
            pageOfLines({saved.begin() + static_cast<std::ptrdiff_t>(head),
                         saved.end() - static_cast<std::ptrdiff_t>(tail)}),
            std::vector<std::string>(saved.end() - static_cast<std::ptrdiff_t>(tail), saved.end())};
}

} // namespace brevio::news
