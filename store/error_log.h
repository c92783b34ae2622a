#pragma once

#include <string>
#include <string_view>

namespace brevio::store {

// One error.dat record: 50 '=', CR LF, CR LF, header, CR LF, CR LF, body, CR LF, CR LF
// (six lines, each ended by CR LF; the header keeps its own line ends).
std::string errorLogRecord(std::string_view header, std::string_view body);

// Appends a record to error.dat in the current (working) folder; creates it; throws IoError.
void appendErrorLog(std::string_view header, std::string_view body);

} // namespace brevio::store
