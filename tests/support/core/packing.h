#pragma once

#include <string>
#include <string_view>

namespace brevio::test {

// `bytes` as one gzip member, and as one xz stream (the tools' defaults).
std::string gzipped(std::string_view bytes);
std::string xzPacked(std::string_view bytes);

} // namespace brevio::test
