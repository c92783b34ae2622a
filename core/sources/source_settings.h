#pragma once

#include "core/sources/listing_source.h"

#include <map>
#include <string>
#include <string_view>
#include <vector>

// The listing sources as values of the settings file: a section of their own, "count", then per
// source n (from 1) the values "n/name", "n/address", ... Texts are UTF-8; channel names are
// joined by '|', which no name holds; lists of languages and weeks by ','.
namespace brevio::sources {

// Not "Sources": that section holds the news sources' addresses.
inline constexpr std::string_view kSourcesSection = "ListingSources";

using SectionValues = std::map<std::string, std::string>; // name within the section -> value

// Every value of the section; a store writes them after removing what the section held.
SectionValues sourcesToSettings(const std::vector<ListingSource>& sources);

// The sources the section's values describe. A value that is missing or does not read gives its
// default; a source without an address is skipped.
std::vector<ListingSource> sourcesFromSettings(const SectionValues& values);

} // namespace brevio::sources
