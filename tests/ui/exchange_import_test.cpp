// "Файл" → "Импорт XMLTV…" on a real main window (offscreen), driven through the menu bar with
// the mouse: the week store gains the listing's weeks, the view moves to the newest, and the
// progress box's Cancel leaves everything as it was.
#include "core/sources/refresh_lock.h"
#include "core/store/file_io.h"
#include "gui/exchange/import_dialog.h"
#include "gui/settings/settings_page.h"
#include "support/core/xmltv_samples.h"
#include "support/ui/modal.h"
#include "ui/view_week_data.h"

#include <QAction>
#include <QComboBox>
#include <QFileInfo>
#include <QListWidget>
#include <QMenu>
#include <QMenuBar>
#include <QProcess>
#include <QProgressDialog>
#include <QPushButton>
#include <QRadioButton>
#include <QTimer>

#include <filesystem>
#include <map>

using namespace brevio;
using namespace brevio::test;

namespace {

// Opens "File" in the menu bar and clicks the import entry, as a user does, and takes the
// reading options as offered.
void clickImport(MainWindow& form)
{
    withModal<QDialog>([&] { clickFileMenuEntry(form, "ImportXmltvItem"); },
                       [](QDialog* options) {
                           QCOMPARE(options->objectName(), QStringLiteral("ImportOptions"));
                           options->accept();
                       });
}

// The store's files; the refresh lock's file is no part of it.
std::map<std::string, std::string> snapshot(const std::filesystem::path& root)
{
    std::map<std::string, std::string> tree;
    for (const auto& entry : std::filesystem::recursive_directory_iterator(root))
        if (entry.path().filename() != sources::RefreshLock::kFileName)
            tree[entry.path().string()] = entry.is_directory() ? "<folder>" : store::readFile(entry.path());
    return tree;
}

QString sample(const char* name)
{
    return QString::fromStdString(xmltvSample(name).string());
}

QStringList selectorItems(QComboBox* box)
{
    QStringList items;
    for (int i = 0; i < box->count(); ++i)
        items << box->itemText(i);
    return items;
}

} // namespace

class ExchangeImportTest : public QObject
{
    Q_OBJECT

private Q_SLOTS:
    void fileMenuComesFirstAndSpeaksTheInterfaceLanguage()
    {
        FormFixture f;
        layOutWeek(f, "");
        MainWindow& form = f.start(true);
        const QList<QAction*> menus = form.menuBar()->actions();
        QCOMPARE(menus.first(), form.fileMenu()->menuAction());
        QCOMPARE(menus.at(1)->menu()->objectName(), QStringLiteral("N1"));
        QAction* entry = form.findChild<QAction*>(QStringLiteral("ImportXmltvItem"));
        QCOMPARE(form.fileMenu()->actions().first(), entry);
        QCOMPARE(form.fileMenu()->title(), QStringLiteral("File"));
        QCOMPARE(entry->text(), QStringLiteral("Import XMLTV…"));

        form.settingsPage()->russian()->setChecked(true);
        QCOMPARE(form.fileMenu()->title(), QStringLiteral("Файл"));
        QCOMPARE(entry->text(), QStringLiteral("Импорт XMLTV…"));
        form.settingsPage()->english()->setChecked(true);
        QCOMPARE(entry->text(), QStringLiteral("Import XMLTV…"));
    }

    void importShowsTheNewWeekAndSaysWhatItDid()
    {
        ScopedTimeZone zone("Europe/Moscow");
        FormFixture f;
        layOutWeek(f, "Kanal 1:k1.txt\r\n");
        f.write("07122026/k1.txt", channelFile({{"06.00 Утро"}}));
        MainWindow& form = f.start(true);
        f.dialogs.openFileAnswers = {sample("week.xml")};
        clickImport(form);

        QCOMPARE(f.dialogs.openFileDialogs,
                 QStringList{QStringLiteral("Import XMLTV: XMLTV listings (*.xml *.xml.gz *.gz);;* (*)")});
        QCOMPARE(f.read("dats.dat"), std::string("07.12.2026\r\n14.12.2026\r\n"));
        QCOMPARE(f.dialogs.messages.size(), 1);
        QCOMPARE(f.dialogs.messages[0],
                 QStringLiteral("Imported 20 shows in 6 channel files.\n"
                                "Week 07.12.2026: channels added: Кино. классика, Кино. классика "
                                "(kino2.example.ru), Первый канал, Спорт/Плюс.\n"
                                "Week 14.12.2026 (new): channels added: Первый канал, Спорт/Плюс.\n"
                                "2 characters had no windows-1251 equivalent and were replaced by '?'."));
        QVERIFY(!form.findChild<QProgressDialog*>(QStringLiteral("ImportProgress")));
        // The weeks that can be deleted are the new list's at once, before the page is opened.
        QListWidget* deletable = form.settingsPage()->weekList();
        QCOMPARE(deletable->count(), 2);
        QCOMPARE(deletable->item(1)->text(), QStringLiteral("14.12.2026"));

        // The view has moved to the new week; a channel reads as the listing has it.
        QCOMPARE(selectorItems(form.weekSelector()),
                 (QStringList{QStringLiteral("07.12.2026"), QStringLiteral("14.12.2026")}));
        QCOMPARE(form.weekSelector()->currentText(), QStringLiteral("14.12.2026"));
        ViewingPage* page = form.viewingPage();
        QCOMPARE(page->channelList()->count(), 2);
        clickChannel(page->channelList(), 0);
        QCOMPARE(shownLines(page->dayPane(0)),
                 QStringList({QStringLiteral("Первый канал"), QString(),
                              QStringLiteral("06:00 Утро второй недели")}));

        // The week that was there keeps its channel and gains the listing's, in alphabetical order.
        form.weekSelector()->setCurrentIndex(0);
        page->showChosenWeek();
        QCOMPARE(page->channelList()->count(), 5);
        QCOMPARE(page->channelList()->item(0)->text(), QStringLiteral("Kanal 1"));
        QCOMPARE(page->channelList()->item(1)->text(), QStringLiteral("Кино. классика"));
        QCOMPARE(page->channelList()->item(3)->text(), QStringLiteral("Первый канал"));
    }

    // Cancel in the box, and a close of the window, each as soon as the window can react while
    // the box is up: the store stays as it was.
    void cancelOrCloseWhileImportingChangesNothing()
    {
        for (const bool close : {false, true}) {
            ScopedTimeZone zone("Europe/Moscow");
            FormFixture f;
            layOutWeek(f, "Kanal 1:k1.txt\r\n");
            MainWindow& form = f.start(true);
            const auto before = snapshot(f.workDir());
            f.dialogs.openFileAnswers = {sample("week.xml")};

            bool acted = false;
            QTimer act;
            QObject::connect(&act, &QTimer::timeout, [&] {
                auto* box = form.findChild<QProgressDialog*>(QStringLiteral("ImportProgress"));
                if (!box || !box->isVisible() || acted)
                    return;
                QCOMPARE(box->windowTitle(), QStringLiteral("Import XMLTV"));
                QCOMPARE(box->labelText(), QStringLiteral("Reading the listings…"));
                if (close)
                    QVERIFY(!form.close()); // as the window manager or a logout asks
                else
                    QTest::mouseClick(box->findChild<QPushButton*>(), Qt::LeftButton);
                acted = true;
            });
            act.start(0);
            clickImport(form);
            act.stop();

            QVERIFY(acted);
            QCOMPARE(snapshot(f.workDir()), before);
            if (close) {
                QTRY_VERIFY(!form.isVisible()); // closed once the import has ended
                QVERIFY(f.dialogs.messages.isEmpty());
            } else {
                QCOMPARE(f.dialogs.messages,
                         QStringList{QStringLiteral("The import was cancelled; nothing was changed.")});
                QCOMPARE(selectorItems(form.weekSelector()), QStringList{QStringLiteral("07.12.2026")});
            }
        }
    }

    void aBrokenFileIsReportedWithItsLineAndChangesNothing()
    {
        FormFixture f;
        layOutWeek(f, "Kanal 1:k1.txt\r\n");
        f.write("broken.xml",
                "<?xml version=\"1.0\"?>\n<tv>\n  <programme channel=\"x.y\"><title>A</title></programme>\n"
                "</tv>\n");
        MainWindow& form = f.start(true);
        const auto before = snapshot(f.workDir());
        f.dialogs.openFileAnswers = {QString::fromStdString((f.workDir() / "broken.xml").string())};
        clickImport(form);
        QCOMPARE(f.dialogs.messages.size(), 1);
        QVERIFY2(f.dialogs.messages[0].endsWith(
                     QStringLiteral("broken.xml, line 3: <programme> has no 'start' attribute")),
                 qPrintable(f.dialogs.messages[0]));
        QCOMPARE(snapshot(f.workDir()), before);

        // A cancelled file dialog does nothing at all, and asks no more.
        clickFileMenuEntry(form, "ImportXmltvItem");
        QCOMPARE(f.dialogs.unscripted, 1);
        QCOMPARE(f.dialogs.messages.size(), 1);
    }

    // A listing as a sorted or merged copy may give it, without <channel> elements: imported
    // under the channel ids, and the box says so once.
    void channelsWithoutAnElementAreImportedUnderTheirIdsWithAWarning()
    {
        ScopedTimeZone zone("Europe/Moscow");
        FormFixture f;
        layOutWeek(f, "");
        f.write(
            "bare.xml",
            "<?xml version=\"1.0\"?>\n<tv>\n"
            "  <programme start=\"20261207100000 MSK\" channel=\"a.example\"><title>A</title></programme>\n"
            "  <programme start=\"20261207110000 MSK\" channel=\"a.example\"><title>B</title></programme>\n"
            "  <programme start=\"20261207120000 MSK\" channel=\"b.example\"><title>C</title></programme>\n"
            "</tv>\n");
        MainWindow& form = f.start(true);
        f.dialogs.openFileAnswers = {QString::fromStdString((f.workDir() / "bare.xml").string())};
        clickImport(form);
        QCOMPARE(f.dialogs.messages.size(), 1);
        QVERIFY2(f.dialogs.messages[0].endsWith(
                     QStringLiteral("\nProgrammes of channels without a <channel> element: 3 (channels: 2). "
                                    "They were imported under their channel ids.")),
                 qPrintable(f.dialogs.messages[0]));
        QCOMPARE(form.viewingPage()->channelList()->item(0)->text(), QStringLiteral("a.example"));
    }

    void theWindowKeepsPaintingWhileItImports()
    {
        ScopedTimeZone zone("Europe/Moscow");
        FormFixture f;
        layOutWeek(f, "");
        MainWindow& form = f.start(true);
        // A listing big enough to take a while: the demo generator's, as the peer test checks it.
        const QString generator
            = QString::fromLocal8Bit(qgetenv("BREVIO_BINARY_DIR")) + "/tools/brevio-demo-data";
        if (!QFileInfo::exists(generator))
            QSKIP("the tools are not built (BREVIO_TOOLS)");
        QProcess make;
        make.start(generator,
                   {"--xmltv", QString::fromStdString((f.workDir() / "big.xml").string()), "--today",
                    "2026-12-09", "--channels", "10", "--days", "14", "--detail", "2"});
        QVERIFY(make.waitForFinished(60000) && make.exitCode() == 0);
        f.dialogs.openFileAnswers = {QString::fromStdString((f.workDir() / "big.xml").string())};

        struct PaintCounter : QObject
        {
            int paints = 0;
            bool eventFilter(QObject*, QEvent* event) override
            {
                paints += event->type() == QEvent::Paint;
                return false;
            }
        } counter;
        QWidget* clock = form.findChild<QWidget*>(QStringLiteral("RxClock1"));
        clock->installEventFilter(&counter);
        QTimer repaint;
        QObject::connect(&repaint, &QTimer::timeout, clock, [clock] { clock->update(); });
        repaint.start(5);
        QElapsedTimer took;
        took.start();
        clickImport(form);
        repaint.stop();
        QCOMPARE(f.read("dats.dat"), std::string("07.12.2026\r\n14.12.2026\r\n"));
        QVERIFY2(counter.paints >= std::max<qint64>(2, took.elapsed() / 100),
                 qPrintable(QStringLiteral("%1 paints in %2 ms").arg(counter.paints).arg(took.elapsed())));
    }
};

QTEST_MAIN(ExchangeImportTest)
#include "exchange_import_test.moc"
