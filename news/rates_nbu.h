#pragma once

#include <string>
#include <string_view>
#include <vector>

namespace brevio::news {

// The National Bank of Ukraine's rates page turned into the news pane's lines; `homePage` is
// the bank's site root ("http://host/").
std::vector<std::string> nbuRateLines(std::string_view page, std::string_view homePage);

} // namespace brevio::news
