// The search window and the week's exports on a real main window (offscreen): Ctrl+F, typing,
// the keys and the double click of the results, the "File" menu's exports with their boxes.
#include "gui/exchange/export_dialog.h"
#include "gui/exchange/jtv_export_dialog.h"
#include "gui/search/search_window.h"
#include "gui/settings/settings_page.h"
#include "support/ui/modal.h"
#include "support/ui/shortcut_window.h"
#include "ui/view_week_data.h"

#include <QApplication>
#include <QCheckBox>
#include <QComboBox>
#include <QLabel>
#include <QLineEdit>
#include <QPushButton>
#include <QRadioButton>
#include <QTableView>
#include <QToolButton>

using namespace brevio;
using namespace brevio::test;

namespace {

// Two channels of 07.12.2026, the second an hour ahead (times.dat).
void layOutSearchWeek(FormFixture& f)
{
    layOutWeek(f, "Первый:p.txt\r\nНТВ:n.txt\r\n");
    f.write("times.dat", cp("НТВ|1|0\r\n"));
    f.write("07122026/p.txt",
            channelFile({{"06.00 Новости", "23.30 Фильм «Ёлки»", "Про ёжика", "00.30 Ночные новости"},
                         {"07.00 Утро"}}));
    f.write("07122026/n.txt", channelFile({{"08.00 Сегодня"}, {}, {"23.30 Поздние НОВОСТИ"}}));
}

// Row `r`'s cells, or the column headers for row -1.
QStringList row(const QTableView* table, int r)
{
    QStringList cells;
    for (int c = 0; c < table->model()->columnCount(); ++c)
        cells << (r < 0 ? table->model()->headerData(c, Qt::Horizontal) : table->model()->index(r, c).data())
                     .toString();
    return cells;
}

// Types `text` into `widget` key by key (QTest::keyClicks takes Latin-1 only).
void type(QWidget* widget, const QString& text)
{
    for (const QChar c : text)
        QTest::sendKeyEvent(QTest::Click, widget, Qt::Key(c.toUpper().unicode()), QString(c), Qt::NoModifier);
}

} // namespace

class ViewSearchTest : public QObject
{
    Q_OBJECT

private Q_SLOTS:
    void ctrlFFindsAsOneTypesEnterShowsTheShowAndInsertAddsIt()
    {
        FormFixture f;
        layOutSearchWeek(f);
        MainWindow& form = f.start(true);
        SearchWindow* search = openByShortcut<SearchWindow>(form, Qt::Key_F, "SearchWindow");
        QVERIFY(search);
        QTRY_COMPARE(QApplication::focusWidget(), search->field());

        type(search->field(), QStringLiteral("новости"));
        QTableView* results = search->results();
        QCOMPARE(results->model()->rowCount(), 3);
        QCOMPARE(row(results, 0), (QStringList{"Monday 07.12", "06:00", "Первый", "Новости"}));
        // After midnight in Monday's pane, on Tuesday; the shifted channel an hour later.
        QCOMPARE(row(results, 1), (QStringList{"Tuesday 08.12", "00:30", "Первый", "Ночные новости"}));
        QCOMPARE(row(results, 2), (QStringList{"Thursday 10.12", "00:30", "НТВ", "Поздние НОВОСТИ"}));
        QCOMPARE(search->status()->text(), QStringLiteral("Shows found: 3"));

        // Down from the field into the results, down once more, Enter: the viewing page shows
        // the channel's Monday with the show highlighted.
        QTest::keyClick(search->field(), Qt::Key_Down);
        QCOMPARE(QApplication::focusWidget(), results);
        QTest::keyClick(results, Qt::Key_Down);
        QTest::keyClick(results, Qt::Key_Return);
        ViewingPage* page = form.viewingPage();
        QVERIFY(form.pageButtons().first()->isChecked());
        QCOMPARE(page->channelList()->currentRow(), 0);
        QVERIFY(page->dayButton(0)->isChecked());
        QVERIFY(page->dayPane(0)->isVisibleTo(&form));
        QCOMPARE(page->dayPane(0)->textCursor().selectedText(), QStringLiteral("00.30 Ночные новости"));

        // Insert puts it into the selected shows as a right click would: into Tuesday's list.
        QTest::keyClick(results, Qt::Key_Insert);
        QCOMPARE(f.read("07122026/selvt"), cp("00.30 Ночные новости - Первый\r\n"));
        QVERIFY(!f.exists("07122026/selpn"));
        QVERIFY(f.dialogs.messages.isEmpty());
        // The button does the same, and the rules refuse a second copy.
        search->findChild<QPushButton*>(QStringLiteral("SearchAddButton"))->click();
        QCOMPARE(f.dialogs.messages,
                 QStringList{QStringLiteral("This Record Already Exists In The Selected List")});

        // A double click shows the other channel's show, found through its description.
        type(search->field(), QStringLiteral("x"));
        QCOMPARE(results->model()->rowCount(), 0);
        search->field()->clear();
        type(search->field(), QStringLiteral("ЁЖИК"));
        QCOMPARE(results->model()->rowCount(), 1);
        const QRect cell = results->visualRect(results->model()->index(0, 3));
        // As a desktop sends it: a click, then the second press as a double click.
        QTest::mouseClick(results->viewport(), Qt::LeftButton, {}, cell.center());
        QTest::mouseDClick(results->viewport(), Qt::LeftButton, {}, cell.center());
        QCOMPARE(page->dayPane(0)->textCursor().selectedText(),
                 QStringLiteral("23.30 Фильм «Ёлки»") + QChar::ParagraphSeparator
                     + QStringLiteral("Про ёжика"));

        // Escape closes the window, and the week's text goes with it.
        QTest::keyClick(results, Qt::Key_Escape);
        QVERIFY(!search->isVisible());
        QCOMPARE(results->model()->rowCount(), 0);
    }

    void theWindowFollowsTheLanguageAndTheWeek()
    {
        FormFixture f;
        layOutSearchWeek(f);
        f.write("dats.dat", "07.12.2026\r\n14.12.2026\r\n");
        f.write("14122026/aplp.dat", cp("Второй:v.txt\r\n"));
        f.write("14122026/v.txt", channelFile({{"09.00 Новости недели"}}));
        MainWindow& form = f.start(true);
        form.weekSelector()->setCurrentIndex(0);
        SearchWindow* search = openByShortcut<SearchWindow>(form, Qt::Key_F, "SearchWindow");
        QVERIFY(search);
        type(search->field(), QStringLiteral("утро"));
        QCOMPARE(row(search->results(), 0), (QStringList{"Tuesday 08.12", "07:00", "Первый", "Утро"}));

        form.settingsPage()->russian()->setChecked(true);
        QCOMPARE(search->windowTitle(), QStringLiteral("Поиск по неделе 07.12.2026"));
        QCOMPARE(search->findChild<QLabel*>(QStringLiteral("SearchLabel"))->text(), QStringLiteral("Найти:"));
        QCOMPARE(row(search->results(), -1), (QStringList{"День", "Время", "Канал", "Передача"}));
        QCOMPARE(row(search->results(), 0).first(), QStringLiteral("Вторник 08.12"));
        QCOMPARE(search->status()->text(), QStringLiteral("Найдено передач: 1"));
        QCOMPARE(search->action()->text(), QStringLiteral("Поиск…"));
        QCOMPARE(search->results()->accessibleName(), QStringLiteral("Найденные передачи"));

        // Another week in the selector is searched at once.
        form.weekSelector()->setCurrentIndex(1);
        QTRY_COMPARE(search->windowTitle(), QStringLiteral("Поиск по неделе 14.12.2026"));
        QTRY_COMPARE(search->results()->model()->rowCount(), 0);
        search->field()->setText(QStringLiteral("новости"));
        QCOMPARE(row(search->results(), 0),
                 (QStringList{"Понедельник 14.12", "09:00", "Второй", "Новости недели"}));
    }

    void exportsWriteTheChosenFileAskBeforeReplacingAndSayWhatHappened()
    {
        FormFixture f;
        layOutSearchWeek(f);
        f.write("07122026/selpn", cp("06.00 Новости - Первый\r\n"));
        MainWindow& form = f.start(true);
        const auto inWork
            = [&f](const char* name) { return QString::fromStdString((f.workDir() / name).string()); };
        const QString target = inWork("out.xml");
        f.write("out.xml", "old");
        const auto exportXmltv = [&] {
            return withModal<ExportDialog>([&] { clickFileMenuEntry(form, "ExportXmltvItem"); },
                                           [](ExportDialog* d) { d->exportButton()->click(); });
        };

        // Asked before replacing: No keeps the file, Yes replaces it.
        f.dialogs.saveFileAnswers = {target, target};
        f.dialogs.confirmAnswers = {false, true};
        QVERIFY(exportXmltv());
        QCOMPARE(f.read("out.xml"), std::string("old"));
        QVERIFY(exportXmltv());
        QVERIFY(f.read("out.xml").starts_with("<?xml"));
        QCOMPARE(f.dialogs.confirmations.size(), 2);
        QCOMPARE(f.dialogs.confirmations[0], QStringLiteral("%1 already exists. Replace it?").arg(target));
        QCOMPARE(f.dialogs.messages,
                 QStringList{QStringLiteral("Exported to %1. Shows: 6, channels: 2.").arg(target)});
        QCOMPARE(f.dialogs.saveFileDialogs[0],
                 QStringLiteral("Export XMLTV: XMLTV listings (*.xml): brevio-07122026.xml"));

        // A folder that does not exist: said, and nothing is left behind.
        f.dialogs.messages.clear();
        const QString nowhere = inWork("gone/out.xml");
        f.dialogs.saveFileAnswers = {nowhere};
        QVERIFY(exportXmltv());
        QCOMPARE(f.dialogs.messages.size(), 1);
        QVERIFY2(f.dialogs.messages[0].startsWith(
                     QStringLiteral("The export could not be written to %1: ").arg(nowhere)),
                 qPrintable(f.dialogs.messages[0]));
        QVERIFY(f.dialogs.messages[0].endsWith(QStringLiteral("Nothing was changed.")));
        QVERIFY(!f.exists("gone"));

        // The calendar with a reminder.
        f.dialogs.saveFileAnswers = {inWork("week.ics")};
        QVERIFY(withModal<ExportDialog>([&] { clickFileMenuEntry(form, "ExportIcsItem"); },
                                        [](ExportDialog* d) {
                                            d->reminder()->click();
                                            d->exportButton()->click();
                                        }));
        const std::string calendar = f.read("week.ics");
        QVERIFY(calendar.find("SUMMARY:Новости\r\n") != std::string::npos);
        QVERIFY(calendar.find("TRIGGER:-PT15M\r\n") != std::string::npos);

        // JTV from the menu: the dialog's "Экспорт" writes the ticked channel's archive.
        f.dialogs.messages.clear();
        f.dialogs.saveFileAnswers = {inWork("jtv.zip")};
        QVERIFY(withModal<JtvExportDialog>(
            [&] { clickFileMenuEntry(form, "ExportJtvItem"); },
            [](JtvExportDialog* d) {
                d->channelList()->item(1)->setCheckState(Qt::Checked);
                d->findChild<QToolButton*>(QStringLiteral("FlatSpeedButton1"))->click();
                QVERIFY(d->isVisible());
            }));
        QVERIFY(f.read("jtv.zip").starts_with("PK\x03\x04"));
        QCOMPARE(f.dialogs.messages.size(), 1);
        QVERIFY2(f.dialogs.messages[0].endsWith(QStringLiteral("jtv.zip. Shows: 2, channels: 1.")),
                 qPrintable(f.dialogs.messages[0]));
        QCOMPARE(f.dialogs.unscripted, 0);
    }
};

QTEST_MAIN(ViewSearchTest)
#include "view_search_test.moc"
