#pragma once

#include <string>
#include <string_view>
#include <vector>

namespace brevio::news {

// The National Bank of Kazakhstan's rates page as the news pane's lines.
std::vector<std::string> nbkRateLines(std::string_view page, std::string_view homePage);

} // namespace brevio::news
