// The links file: every line becomes one heading or one entry, in file order, and a link click
// finds the target of the first "s" line with the clicked caption.
#include "core/store/line_reader.h"
#include "core/store/links_file.h"
#include "fuzz/fuzz_check.h"

using namespace brevio;

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size)
{
    const std::string_view text = fuzz::bytesOf(data, size);
    const auto menu = store::parseLinks(text);
    const auto lines = store::splitLines(text);

    std::vector<const store::LinkEntry*> entries;
    for (const auto& entry : menu.beforeFirstHeading)
        entries.push_back(&entry);
    for (const auto& heading : menu.headings) {
        for (const auto& entry : heading.entries)
            entries.push_back(&entry);
    }
    fuzz::check(entries.size() + menu.headings.size() == lines.size(), "each line is a heading or an entry");

    for (const auto* entry : entries) {
        fuzz::check(entry->tag != "i", "an entry is no heading");
        fuzz::check(entry->tag.find('|') == std::string::npos
                        && entry->caption.find('|') == std::string::npos,
                    "tag and caption hold no '|'");
        if (entry->tag != "s")
            continue;
        const store::LinkEntry* first = nullptr;
        for (const auto* e : entries) {
            if (e->tag == "s" && e->caption == entry->caption) {
                first = e;
                break;
            }
        }
        const auto target = store::findLinkTarget(text, entry->caption);
        fuzz::check(target && *target == first->target, "a click opens the first line of its caption");
    }
    fuzz::check(!store::findLinkTarget(text, "\n"), "no caption holds a line end");
    return 0;
}
