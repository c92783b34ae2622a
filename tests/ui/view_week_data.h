#pragma once

// Schedules laid out in a fixture's working folder for the viewing page tests.
#include "core/store/cp1251.h"
#include "gui/viewing/viewing_page.h"
#include "support/ui/form_fixture.h"

#include <QAction>
#include <QListWidget>
#include <QMenu>
#include <QMenuBar>
#include <QTest>
#include <QTextBlock>
#include <QTextEdit>

#include <string>
#include <vector>

namespace brevio::test {

// windows-1251 bytes of a UTF-8 literal.
inline std::string cp(const std::string& utf8)
{
    return utf8ToCp1251(utf8);
}

// A channel file: a header line, then one block per day, each opened by an empty line.
inline std::string channelFile(const std::vector<std::vector<std::string>>& days)
{
    std::string text = cp("Программа на неделю") + "\r\n";
    for (const auto& day : days) {
        text += "\r\n";
        for (const auto& line : day)
            text += cp(line) + "\r\n";
    }
    return text;
}

// The fixture's week: 07.12.2026, the week that holds the fixture clock's day.
inline constexpr const char* kWeekFolder = "07122026/";

inline void layOutWeek(FormFixture& f, const std::string& channelList)
{
    f.write("dats.dat", "07.12.2026\r\n");
    f.write("ag_news.dat", "");
    f.write(std::string(kWeekFolder) + "aplp.dat", cp(channelList));
}

// A pane's lines as shown (UTF-8).
inline QStringList shownLines(const QTextEdit* pane)
{
    QStringList lines;
    if (pane->document()->isEmpty())
        return lines;
    for (QTextBlock block = pane->document()->begin(); block.isValid(); block = block.next())
        lines << block.text();
    return lines;
}

inline void clickChannel(QListWidget* list, int row)
{
    QTest::mouseClick(list->viewport(), Qt::LeftButton, {}, list->visualItemRect(list->item(row)).center());
}

// Clicks a pane a little way into line `line`.
inline void clickLine(QTextEdit* pane, int line, Qt::MouseButton button = Qt::LeftButton)
{
    const QTextBlock block = pane->document()->findBlockByNumber(line);
    QTextCursor at(block);
    at.setPosition(block.position() + std::min(2, block.length() - 1));
    QTest::mouseClick(pane->viewport(), button, {}, pane->cursorRect(at).center());
}

// Opens "File" in the menu bar and clicks the entry named `name`, as a user does.
inline void clickFileMenuEntry(MainWindow& form, const char* name)
{
    QMenuBar* bar = form.menuBar();
    QMenu* file = form.fileMenu();
    QTest::mouseClick(bar, Qt::LeftButton, {}, bar->actionGeometry(file->menuAction()).center());
    QTRY_VERIFY(file->isVisible());
    QAction* entry = form.findChild<QAction*>(QString::fromLatin1(name));
    QVERIFY2(entry && entry->isEnabled(), name);
    QTest::mouseClick(file, Qt::LeftButton, {}, file->actionGeometry(entry).center());
}

} // namespace brevio::test
