#include "support/ui/retrieval_fixture.h"

#include "core/store/cp1251.h"

#include <QListWidget>
#include <QToolButton>

namespace brevio::test {

std::string cp(const char* utf8)
{
    return utf8ToCp1251(utf8);
}

RetrievalFixture::RetrievalFixture()
{
    fixture.write("dats.dat", "");
    fixture.write("ag_news.dat", "");
    fixture.setSetting(QStringLiteral("Server"), QStringLiteral("url"),
                       QString::fromStdString(server.url("/tv/")));
}

void RetrievalFixture::serve(const std::string& path, std::string body)
{
    server.addRoute("/tv/" + path, FixtureReply::ok(std::move(body)));
}

void RetrievalFixture::serve(const std::string& path, FixtureReply reply)
{
    server.addRoute("/tv/" + path, std::move(reply));
}

MainWindow& RetrievalFixture::start()
{
    MainWindow& form = fixture.start();
    form.pageButtons()[1]->click();
    return form;
}

bool RetrievalFixture::check()
{
    return fixture.form().guard([this] { page().checkForNewWeek(); });
}

bool RetrievalFixture::download()
{
    return fixture.form().guard([this] { page().downloadTickedChannels(); });
}

void RetrievalFixture::tick(const std::vector<int>& positions)
{
    QListWidget* list = page().channelChecklist();
    for (int i = 0; i < list->count(); ++i)
        list->item(i)->setCheckState(Qt::Unchecked);
    for (const int i : positions)
        list->item(i)->setCheckState(Qt::Checked);
}

QStringList RetrievalFixture::checklistNames()
{
    QStringList names;
    QListWidget* list = fixture.form().retrievalPage()->channelChecklist();
    for (int i = 0; i < list->count(); ++i)
        names << list->item(i)->text();
    return names;
}

std::vector<bool> RetrievalFixture::checklistTicks()
{
    std::vector<bool> ticks;
    QListWidget* list = fixture.form().retrievalPage()->channelChecklist();
    for (int i = 0; i < list->count(); ++i)
        ticks.push_back(list->item(i)->checkState() == Qt::Checked);
    return ticks;
}

std::vector<std::string> RetrievalFixture::requestPaths() const
{
    std::vector<std::string> paths;
    for (const FixtureRequest& request : server.requests())
        paths.push_back(request.path);
    return paths;
}

bool RetrievalFixture::pageButtonsEnabled()
{
    for (QToolButton* button : fixture.form().pageButtons()) {
        if (!button->isEnabled())
            return false;
    }
    return true;
}

} // namespace brevio::test
