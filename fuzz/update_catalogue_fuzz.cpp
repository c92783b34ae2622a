// The update check's catalogue and the download plan: the catalogue reads back as sent, the offer
// is the catalogue less the refused (and, for the same week, the loaded) channels with the loaded
// ones ticked, files.dat holds exactly the offered channels, the i-th planned download is the
// i-th ticked offered channel, and no planned file leads outside the week folder, even from an
// edited files.dat.
#include "core/net/update_catalogue.h"
#include "core/store/errors.h"
#include "core/store/line_reader.h"
#include "core/store/week_folder.h"
#include "fuzz/fuzz_check.h"

#include <fuzzer/FuzzedDataProvider.h>

#include <filesystem>

using namespace brevio;

namespace {

const std::string kWeekFolder = "12012004/";

std::string joined(const std::vector<store::ChannelEntry>& catalogue)
{
    std::string text;
    for (std::size_t i = 0; i < catalogue.size(); ++i)
        text += (i > 0 ? ":" : "") + catalogue[i].name + ":" + catalogue[i].fileName;
    return text;
}

bool refused(const store::ChannelEntry& entry)
{
    try {
        store::checkNoControlCharacters(entry.name);
        store::checkBareFileName(entry.fileName);
        return false;
    } catch (const UnsafeNameError&) {
        return true;
    }
}

bool same(const store::ChannelEntry& a, const store::ChannelEntry& b)
{
    return a.name == b.name && a.fileName == b.fileName;
}

void checkInsideWeekFolder(const std::string& fileName)
{
    const std::filesystem::path path = std::filesystem::path(kWeekFolder + fileName).lexically_normal();
    fuzz::check(path.parent_path() == "12012004" && path.filename() == fileName,
                "a planned file lies directly in the week folder");
}

} // namespace

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size)
{
    FuzzedDataProvider input(data, size);
    const bool newWeek = input.ConsumeBool();
    const std::vector<std::uint8_t> ticks = input.ConsumeBytes<std::uint8_t>(8);
    // The newest week's aplp.dat, then the server's files.dat.
    const std::string aplp = input.ConsumeRandomLengthString(size);
    const std::string body = input.ConsumeRemainingBytesAsString();

    const std::vector<store::ChannelEntry> catalogue = net::parseCatalogue(body);
    const std::string rejoined = joined(catalogue);
    fuzz::check(rejoined == body || rejoined + ":" == body || rejoined == body + ":",
                "the catalogue reads back as sent, but for a last ':'");

    std::string loadedList;
    for (const std::string& line : store::splitLines(aplp))
        loadedList += line;
    const net::ChannelOffer offer = net::offerChannels(catalogue, loadedList, newWeek);

    std::size_t offered = 0, refusals = 0;
    for (const store::ChannelEntry& entry : catalogue) {
        if (refused(entry)) {
            fuzz::check(refusals < offer.refused.size() && same(offer.refused[refusals++].entry, entry),
                        "an unsafe channel is refused in its place");
            continue;
        }
        const bool loaded = loadedList.find(entry.name + ":" + entry.fileName) != std::string::npos;
        if (!newWeek && loaded)
            continue;
        fuzz::check(offered < offer.channels.size() && same(offer.channels[offered].entry, entry)
                        && offer.channels[offered].checked == (newWeek && loaded),
                    "the offer is the catalogue in order, the loaded channels ticked in a new week");
        ++offered;
    }
    fuzz::check(offered == offer.channels.size() && refusals == offer.refused.size(),
                "nothing else is offered");

    const std::vector<std::string> offerLines = store::splitLines(net::offerFileText(offer.channels));
    fuzz::check(offerLines.size() == offer.channels.size(), "files.dat has one line per offered channel");
    // The user's ticks (as offered when the input has none), a few past the offer too.
    std::vector<bool> ticked;
    for (std::size_t i = 0; i < offer.channels.size() + 2; ++i)
        ticked.push_back(ticks.empty() ? i < offer.channels.size() && offer.channels[i].checked
                                       : (ticks[i / 8 % ticks.size()] >> (i % 8)) & 1);
    const auto plan = net::plannedDownloads(offerLines, ticked, offer.channels.size());
    std::size_t k = 0;
    for (std::size_t i = 0; i < offer.channels.size(); ++i) {
        if (!ticked[i])
            continue;
        fuzz::check(k < plan.size() && plan[k].position == i && same(plan[k].entry, offer.channels[i].entry)
                        && plan[k].line == offerLines[i],
                    "the i-th planned download is the i-th ticked offered channel");
        checkInsideWeekFolder(plan[k++].entry.fileName);
    }
    fuzz::check(k == plan.size(), "nothing unticked is planned");

    // An edited files.dat, every line ticked: refused as a whole, or every file inside; and one
    // line short of the checklist, refused.
    const std::vector<std::string> edited = store::splitLines(aplp);
    try {
        for (const net::PlannedChannel& channel :
             net::plannedDownloads(edited, std::vector<bool>(edited.size(), true), edited.size()))
            checkInsideWeekFolder(channel.entry.fileName);
    } catch (const UnsafeNameError&) {
    }
    try {
        net::plannedDownloads(edited, std::vector<bool>(edited.size() + 1, true), edited.size() + 1);
        fuzz::check(false, "a files.dat shorter than the checklist is refused");
    } catch (const Error&) {
    }
    return 0;
}
