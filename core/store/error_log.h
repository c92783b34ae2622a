#pragma once

#include <cstddef>
#include <string>
#include <string_view>

namespace brevio::store {

// The most of a failed reply's body that one error.dat record keeps.
inline constexpr std::size_t kErrorLogBodyLimit = 64 * 1024;

// One error.dat record: 50 '=', CR LF, CR LF, header, CR LF, CR LF, body, CR LF, CR LF
// (six lines, each ended by CR LF; the header keeps its own line ends). A body longer than
// kErrorLogBodyLimit is cut there and followed by a line saying how much was left out.
std::string errorLogRecord(std::string_view header, std::string_view body);

// Appends a record to error.dat in the current (working) folder; creates it; throws IoError.
void appendErrorLog(std::string_view header, std::string_view body);

} // namespace brevio::store
