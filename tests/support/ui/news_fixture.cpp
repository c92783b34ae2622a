#include "support/ui/news_fixture.h"

#include "gui/news/news_pane.h"

#include <QToolButton>

namespace brevio::test {

NewsFixture::NewsFixture()
{
    for (const char* stem : {"kurs_nbu", "kurs_cbr", "kurs_nbk", "oreanda", "ezhe", "kornet", "uasport",
                             "podrobn", "unl", "rusdisn"})
        fixture.setSetting(QStringLiteral("Sources"), QString::fromLatin1(stem),
                           QString::fromStdString(server.url("/")));
}

NewsPage& NewsFixture::start(bool show)
{
    fixture.start(show);
    fixture.form().showNewsPage();
    return *fixture.form().newsPage();
}

void NewsFixture::setLoadMode(bool load)
{
    fixture.find<QToolButton>(load ? "FlatSpeedButton38" : "FlatSpeedButton37")->click();
}

void NewsFixture::click(const char* button)
{
    fixture.find<QToolButton>(button)->click();
}

std::vector<std::string> NewsFixture::pane()
{
    return newsPaneLines(fixture.form().newsPage()->newsPane());
}

bool NewsFixture::anySourcePressed()
{
    for (const char* name :
         {"FlatSpeedButton39", "FlatSpeedButton40", "FlatSpeedButton43", "FlatSpeedButton25",
          "FlatSpeedButton47", "FlatSpeedButton26", "FlatSpeedButton51", "FlatSpeedButton52",
          "FlatSpeedButton53", "FlatSpeedButton54", "FlatSpeedButton48"})
        if (fixture.find<QToolButton>(name)->isChecked())
            return true;
    return false;
}

} // namespace brevio::test
