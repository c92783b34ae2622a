#pragma once

#include "core/sources/listing_source.h"
#include "core/sources/source_fetch.h"

#include <chrono>
#include <functional>
#include <optional>
#include <ostream>
#include <string>
#include <string_view>
#include <vector>

// The listing sources' terminal commands: UTF-8 lines on a stream, no window, no single-instance
// lock. They work on the week store of the current folder.
namespace brevio::sources {

// Where the source list is kept (the settings file): read as it is now, written whole.
struct SourceListStore
{
    std::function<std::vector<ListingSource>()> load;
    std::function<std::optional<std::string>(const std::vector<ListingSource>&)> save; // the fault, if any
};

// How long "--refresh" waits for another process's refresh of the same store to end.
inline constexpr std::chrono::seconds kRefreshLockWait{60};

// "--refresh": refreshes every source that is due (isDue) in list order, a line on `out` for each
// one refreshed, its state stored after each (into the list as the store has it then). Returns 0
// when every enabled source is current afterwards; else 1 with a line on `err` per source that is
// not (its error, and when it tries again); 1 too when another refresh holds the store past
// `lockWait`. What killed refreshes left in the store's folder is swept first.
int refreshSources(SourceListStore& list, Seconds now, const FetchOptions& options, std::ostream& out,
                   std::ostream& err, std::chrono::milliseconds lockWait = kRefreshLockWait);

// "--add-source ADDRESS [--name NAME]": a source that keeps every channel it gives. Returns 0;
// 2 with a line on `err` for an address that is no source's or is one already; 1 when the list
// cannot be stored.
int addSource(SourceListStore& list, std::string_view address, std::string_view name, std::ostream& out,
              std::ostream& err);

} // namespace brevio::sources
