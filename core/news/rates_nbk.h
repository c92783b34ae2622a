#pragma once

#include "core/news/news_lines.h"

#include <string>
#include <string_view>

namespace brevio::news {

// The National Bank of Kazakhstan's rates page as the news pane's lines.
NewsText nbkRateLines(std::string_view page, std::string_view homePage);

} // namespace brevio::news
