#pragma once

#include "core/exchange/xmltv_model.h"

#include <optional>
#include <string>
#include <string_view>

// XMLTV moments: "YYYYMMDDhhmmss +hhmm". Precision may stop after the day, the hour or the
// minute (the rest counts as zero); the offset may be left out (UTC), written without the
// blank, or as a zone name of one meaning ("UTC", "BST", "CET", "MSK", "PST", ...).
namespace brevio::exchange {

// Nothing for text that names no real moment (30 February, 24:00, an offset beyond 14 hours,
// a zone name this reader does not know, stray characters).
std::optional<XmltvTime> parseXmltvTime(std::string_view text);

// The zone name of a moment's text when it is one this reader does not know; nothing when the
// text names its zone by a known name, by an offset or not at all.
std::optional<std::string> unknownZoneName(std::string_view text);

// "YYYYMMDDhhmmss +hhmm" of a moment as shown at `offsetMinutes` east of UTC.
std::string formatXmltvTime(const XmltvTime& time);

} // namespace brevio::exchange
