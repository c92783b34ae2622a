#pragma once

#include "core/news/news_lines.h"

#include <string>
#include <string_view>

namespace brevio::news {

// The day's rates of the Central Bank of the Russian Federation (its XML list) as the news
// pane's lines. `date` is the request's date as sent ("09.12.2026" or "09/12/2026").
NewsText cbrRateLines(std::string_view xml, std::string_view homePage, std::string_view date);

// The request's date: two-digit day, month and four-digit year joined by `separator`.
std::string cbrRequestDate(int year, unsigned month, unsigned day, char separator);

} // namespace brevio::news
