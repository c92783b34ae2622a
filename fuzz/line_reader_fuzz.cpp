// The line reader on any bytes: lines never hold a line end, and lines written with CR LF read
// back as the same lines, whether read line by line or whole into a pane.
#include "core/store/line_reader.h"
#include "fuzz/fuzz_check.h"

using namespace brevio;

namespace {

// The reading rule, byte by byte: a line ends at its first CR or LF, whatever follows up to
// and including the next LF is skipped, and a Ctrl-Z ends the text.
std::vector<std::string> referenceLines(std::string_view text)
{
    std::vector<std::string> lines;
    std::string line;
    enum { InLine, Skipping, Between } state = Between;
    for (const char c : text) {
        if (c == '\x1a')
            break;
        if (state == Skipping) {
            if (c == '\n')
                state = Between;
            continue;
        }
        if (c == '\r' || c == '\n') {
            lines.push_back(line);
            line.clear();
            state = c == '\n' ? Between : Skipping;
        } else {
            line += c;
            state = InLine;
        }
    }
    if (state == InLine)
        lines.push_back(line);
    return lines;
}

} // namespace

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size)
{
    const std::string_view text = fuzz::bytesOf(data, size);

    const auto lines = store::splitLines(text);
    fuzz::check(lines == referenceLines(text), "lines as the reading rule cuts them");
    for (const auto& line : lines)
        fuzz::check(line.find_first_of("\r\n\x1a") == std::string::npos,
                    "a read line holds no line end or Ctrl-Z");
    fuzz::check(store::splitLines(store::joinLinesCrLf(lines)) == lines,
                "lines -> CR LF text -> the same lines");
    fuzz::check(lines.empty() || !text.empty(), "no text, no lines");

    const auto paneLines = store::splitPaneLines(text);
    for (const auto& line : paneLines)
        fuzz::check(line.find_first_of("\r\n") == std::string::npos, "a pane line holds no line end");
    fuzz::check(store::splitPaneLines(store::joinLinesCrLf(paneLines)) == paneLines,
                "pane lines -> CR LF text -> the same pane lines");
    return 0;
}
