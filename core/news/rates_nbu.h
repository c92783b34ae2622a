#pragma once

#include "core/news/news_lines.h"

#include <string>
#include <string_view>

namespace brevio::news {

// The National Bank of Ukraine's rates page turned into the news pane's lines; `homePage` is
// the bank's site root ("http://host/").
NewsText nbuRateLines(std::string_view page, std::string_view homePage);

} // namespace brevio::news
