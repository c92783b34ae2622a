#pragma once

#include "core/news/news_lines.h"

#include <string>
#include <string_view>
#include <vector>

namespace brevio::news {

// Where a source is shown: in the news pane, or by the browser panel (the pane behind it
// still receives the lines that are saved).
enum class Surface { Pane, Browser };

// What a fetch knows besides the reply. Names are windows-1251 bytes.
struct SourceContext
{
    std::string baseUrl; // the source's configured base address
    std::string requestDate; // the exchange-rate request's date (one bank asks by date)
    std::string siteName; // the source's configured name (its button's caption unless set)
    std::string editor; // the daily column's editor and mail address, as configured
    std::string editorMail;
};

// The daily column's editor named in its closing lines unless the settings name another (UTF-8).
inline constexpr std::string_view kColumnEditor = "Ведущий колонки";
inline constexpr std::string_view kColumnEditorMail = "pravda@ezhe.example";

// One source button of the news page.
struct NewsSource
{
    std::string_view button; // the button's component name
    std::string_view stem; // saved-news file stem and settings name
    std::string_view caption; // UTF-8
    Surface surface;
    bool inGroup; // presses the hidden group button at the end (all but one bank)
    std::string_view missingMessage; // UTF-8, shown in view mode when there is no saved file
    std::string (*address)(const SourceContext&);
    NewsText (*lines)(std::string_view body, const SourceContext&);
    std::string_view rawCopy = {}; // a file that keeps the reply body as received, if any

    std::string savedFile() const { return std::string(stem) + ".nws"; }
};

const std::vector<NewsSource>& newsSources();

// The site's root with a trailing slash: "http://host:port/" of "http://host:port/any/path".
std::string homePageOf(std::string_view baseUrl);
// `baseUrl` with `path` (which starts with "/") appended, without a doubled slash.
std::string addressOf(std::string_view baseUrl, std::string_view path);

} // namespace brevio::news
