// The line reader on any bytes: lines never hold a line end, and lines written with CR LF read
// back as the same lines, whether read line by line or whole into a pane.
#include "fuzz/fuzz_check.h"
#include "store/line_reader.h"

using namespace brevio;

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size)
{
    const std::string_view text = fuzz::bytesOf(data, size);

    const auto lines = store::splitLines(text);
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
