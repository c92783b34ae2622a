#pragma once

#include "gui/retrieval/retrieval_page.h"
#include "support/core/fixture_server.h"
#include "support/ui/form_fixture.h"

#include <QStringList>

#include <string>
#include <vector>

class QListWidget;

namespace brevio::test {

// A real main window (not a first run) whose schedule server is a loopback FixtureServer
// with its files below "/tv/".
class RetrievalFixture
{
public:
    RetrievalFixture();

    // Serves `body` (200 OK) at "/tv/" + path.
    void serve(const std::string& path, std::string body);
    void serve(const std::string& path, FixtureReply reply);
    // Creates the window and opens the retrieval page.
    MainWindow& start();

    RetrievalPage& page() { return *fixture.form().retrievalPage(); }
    // The two steps as a click runs them: an error goes to a message box.
    bool check();
    bool download();
    // Ticks the checklist items at `positions` (and unticks the others).
    void tick(const std::vector<int>& positions);
    QStringList checklistNames();
    std::vector<bool> checklistTicks();
    // The request paths the server saw, in order.
    std::vector<std::string> requestPaths() const;
    // True when every page button is enabled.
    bool pageButtonsEnabled();

    FixtureServer server;
    FormFixture fixture;
};

// windows-1251 bytes of a UTF-8 literal.
std::string cp(const char* utf8);

} // namespace brevio::test
