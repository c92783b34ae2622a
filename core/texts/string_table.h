#pragma once

#include <string_view>

namespace brevio {

// Offsets into the string table: English texts stand at their id, Russian ones 200 further.
inline constexpr int kEnglishOffset = 0;
inline constexpr int kRussianOffset = 200;

// The UTF-8 text stored at `id`; empty when the table has no such entry.
std::string_view loadString(int id);

} // namespace brevio
