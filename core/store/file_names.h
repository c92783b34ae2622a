#pragma once

#include <string_view>

namespace brevio::store {

// Files in the working folder (and, for the channel lists, in each week folder).
inline constexpr std::string_view kWeekListFile = "dats.dat";
inline constexpr std::string_view kFirstRunMarker = "ag_news.dat";
inline constexpr std::string_view kLinksFile = "links";
inline constexpr std::string_view kTimeShiftFile = "times.dat";
inline constexpr std::string_view kTimeShiftTemp = "times.tmp";
inline constexpr std::string_view kChannelOfferFile = "files.dat";
inline constexpr std::string_view kWeekChoiceTemp = "ttt.txt";
inline constexpr std::string_view kErrorLogFile = "error.dat";
inline constexpr std::string_view kChannelListFile = "aplp.dat";
inline constexpr std::string_view kChannelListTemp = "aplp.tmp";

inline constexpr int kSelectedListCount = 8;

// Selected-programme list of a week folder: 0 Monday .. 6 Sunday, 7 the Monday after the week
// (selpn selvt selsr selcht selpt selsb selvs selsledpn). Throws ListIndexError outside 0..7.
std::string_view selectedListFile(int day);

} // namespace brevio::store
