#include "core/news/rtf.h"

#include "core/store/cp1251.h"
#include "core/store/line_reader.h"

#include <cctype>
#include <cstdio>
#include <cstdlib>

namespace brevio::news {

namespace {

constexpr std::string_view kRtfOpening = "{\\rtf";

std::string utf8Of(long code)
{
    std::string out;
    const auto c = static_cast<unsigned long>(code);
    if (c < 0x80) {
        out += static_cast<char>(c);
    } else if (c < 0x800) {
        out += static_cast<char>(0xC0 | (c >> 6));
        out += static_cast<char>(0x80 | (c & 0x3F));
    } else {
        out += static_cast<char>(0xE0 | ((c >> 12) & 0x0F));
        out += static_cast<char>(0x80 | ((c >> 6) & 0x3F));
        out += static_cast<char>(0x80 | (c & 0x3F));
    }
    return out;
}

// Control words that stand for one windows-1251 character.
char symbolOf(std::string_view word)
{
    struct Symbol
    {
        std::string_view word;
        unsigned char byte;
    };
    static constexpr Symbol symbols[] = {
        {"tab", '\t'},    {"emdash", 0x97},    {"endash", 0x96},    {"lquote", 0x91},
        {"rquote", 0x92}, {"ldblquote", 0x93}, {"rdblquote", 0x94}, {"bullet", 0x95},
    };
    for (const Symbol& s : symbols)
        if (s.word == word)
            return static_cast<char>(s.byte);
    return 0;
}

// Groups whose text is not part of the document.
bool isDestination(std::string_view word)
{
    static constexpr std::string_view skipped[]
        = {"fonttbl", "colortbl", "stylesheet", "info", "pict", "header", "footer", "object", "field"};
    for (std::string_view s : skipped)
        if (s == word)
            return true;
    return false;
}

class RtfReader
{
public:
    explicit RtfReader(std::string_view rtf)
        : m_rtf(rtf)
    {
    }

    std::vector<std::string> read()
    {
        std::vector<Group> stack{Group{}};
        while (m_at < m_rtf.size()) {
            const char c = m_rtf[m_at++];
            if (c == '{') {
                stack.push_back(stack.back());
            } else if (c == '}') {
                if (stack.size() > 1)
                    stack.pop_back();
            } else if (c == '\\') {
                controlSymbol(stack.back());
            } else if (c != '\r' && c != '\n' && !stack.back().skip) {
                m_line += c;
                m_pending = true;
            }
        }
        if (m_pending)
            m_lines.push_back(m_line);
        return std::move(m_lines);
    }

private:
    struct Group
    {
        bool skip = false;
        int unicodeSkip = 1;
    };

    void text(const Group& group, std::string_view bytes)
    {
        if (group.skip)
            return;
        m_line += bytes;
        m_pending = true;
    }

    void endLine(const Group& group)
    {
        if (group.skip)
            return;
        m_lines.push_back(m_line);
        m_line.clear();
        m_pending = false;
    }

    void controlSymbol(Group& group)
    {
        if (m_at >= m_rtf.size())
            return;
        const char c = m_rtf[m_at];
        if (std::isalpha(static_cast<unsigned char>(c))) {
            controlWord(group);
            return;
        }
        ++m_at;
        if (c == '\'') {
            const std::string hex(m_rtf.substr(m_at, 2));
            m_at += hex.size();
            text(group, std::string(1, static_cast<char>(std::strtol(hex.c_str(), nullptr, 16))));
        } else if (c == '*') {
            group.skip = true;
        } else if (c == '~') {
            text(group, "\xA0");
        } else if (c == '_') {
            text(group, "-");
        } else if (c == '\r' || c == '\n') {
            endLine(group);
        } else if (c == '\\' || c == '{' || c == '}') {
            text(group, std::string(1, c));
        }
    }

    void controlWord(Group& group)
    {
        const std::size_t start = m_at;
        while (m_at < m_rtf.size() && std::isalpha(static_cast<unsigned char>(m_rtf[m_at])))
            ++m_at;
        const std::string_view word = m_rtf.substr(start, m_at - start);
        const std::size_t numberStart = m_at;
        if (m_at < m_rtf.size() && m_rtf[m_at] == '-')
            ++m_at;
        while (m_at < m_rtf.size() && std::isdigit(static_cast<unsigned char>(m_rtf[m_at])))
            ++m_at;
        const std::string number(m_rtf.substr(numberStart, m_at - numberStart));
        const long value = number.empty() ? 0 : std::strtol(number.c_str(), nullptr, 10);
        if (m_at < m_rtf.size() && m_rtf[m_at] == ' ')
            ++m_at;

        if (word == "par" || word == "line") {
            endLine(group);
        } else if (word == "uc") {
            group.unicodeSkip = static_cast<int>(value);
        } else if (word == "u") {
            text(group, utf8ToCp1251(utf8Of(value < 0 ? value + 65536 : value)));
            skipFallback(group.unicodeSkip);
        } else if (isDestination(word)) {
            group.skip = true;
        } else if (const char symbol = symbolOf(word)) {
            text(group, std::string(1, symbol));
        }
    }

    // The characters written after \uN for readers that do not know it.
    void skipFallback(int count)
    {
        for (int i = 0; i < count && m_at < m_rtf.size(); ++i) {
            if (m_rtf[m_at] == '\\' && m_at + 1 < m_rtf.size() && m_rtf[m_at + 1] == '\'')
                m_at += 4;
            else if (m_rtf[m_at] == '{' || m_rtf[m_at] == '}' || m_rtf[m_at] == '\\')
                return;
            else
                ++m_at;
        }
    }

    std::string_view m_rtf;
    std::size_t m_at = 0;
    std::string m_line;
    bool m_pending = false;
    std::vector<std::string> m_lines;
};

} // namespace

std::string linesToRtf(const std::vector<std::string>& lines)
{
    std::string rtf = "{\\rtf1\\ansi\\ansicpg1251\\deff0\\deflang1049"
                      "{\\fonttbl{\\f0\\fswiss\\fcharset204 MS Sans Serif;}}\r\n"
                      "\\viewkind4\\uc1\\pard\\f0\\fs17 ";
    for (const std::string& line : lines) {
        for (const char ch : line) {
            const auto c = static_cast<unsigned char>(ch);
            if (c == '\\' || c == '{' || c == '}') {
                rtf += '\\';
                rtf += ch;
            } else if (c == '\t') {
                rtf += "\\tab ";
            } else if (c < 0x20 || c >= 0x7F) {
                char escaped[5];
                std::snprintf(escaped, sizeof escaped, "\\'%02x", c);
                rtf += escaped;
            } else {
                rtf += ch;
            }
        }
        rtf += "\\par\r\n";
    }
    rtf += "}\r\n";
    return rtf;
}

std::vector<std::string> readNewsText(std::string_view bytes)
{
    if (bytes.starts_with(kRtfOpening))
        return RtfReader(bytes).read();
    return store::splitPaneLines(bytes);
}

} // namespace brevio::news
