#pragma once

#include <map>
#include <string>

namespace brevio::test {

// The entries of a zip archive by their names as stored (bytes, no conversion); empty when
// libzip cannot open it.
std::map<std::string, std::string> unzipped(const std::string& archive);

} // namespace brevio::test
