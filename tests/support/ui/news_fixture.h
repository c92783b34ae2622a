#pragma once

#include "gui/news/news_page.h"
#include "support/core/fixture_server.h"
#include "support/ui/form_fixture.h"

#include <string>
#include <vector>

namespace brevio::test {

// A real main window whose news sources all point at one loopback server.
struct NewsFixture
{
    NewsFixture();

    // Creates the window (shown when `show`) and opens the news page.
    NewsPage& start(bool show = false);
    void setLoadMode(bool load);
    void click(const char* button);
    // The news pane's lines.
    std::vector<std::string> pane();
    // Whether any source button of the page stays pressed.
    bool anySourcePressed();

    FixtureServer server;
    FormFixture fixture;
};

} // namespace brevio::test
