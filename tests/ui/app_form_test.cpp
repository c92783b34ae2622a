// The main window's start, settings, language and close, on a real window (offscreen).
#include "app/main_window.h"
#include "core/store/cp1251.h"
#include "core/store/temp_files.h"
#include "gui/news/news_page.h"
#include "gui/printing/printing_page.h"
#include "gui/retrieval/retrieval_page.h"
#include "gui/settings/settings_page.h"
#include "gui/viewing/viewing_page.h"
#include "gui/widgets/dialogs.h"
#include "support/core/processes.h"
#include "support/ui/form_fixture.h"

#include <QAbstractItemView>
#include <QApplication>
#include <QCheckBox>
#include <QComboBox>
#include <QElapsedTimer>
#include <QFileInfo>
#include <QGroupBox>
#include <QLabel>
#include <QLineEdit>
#include <QListWidget>
#include <QMenu>
#include <QMessageBox>
#include <QRadioButton>
#include <QScreen>
#include <QSpinBox>
#include <QTest>
#include <QTextEdit>
#include <QTimer>
#include <QToolButton>

using namespace brevio;
using namespace brevio::test;

namespace {

// windows-1251 bytes of a UTF-8 literal.
std::string cp(const char* utf8)
{
    return utf8ToCp1251(utf8);
}

QStringList items(QListWidget* list)
{
    QStringList out;
    for (int i = 0; i < list->count(); ++i)
        out << list->item(i)->text();
    return out;
}

void layOutTwoWeeks(FormFixture& f)
{
    f.write("dats.dat", "05.01.2026\r\n12.01.2026\r\n");
    f.write("ag_news.dat", "");
    f.write("05012026/aplp.dat", "Old:old.txt\r\n");
    f.write("12012026/aplp.dat", cp("Первый канал:perviy.txt\r\nKanal 1:k1.txt\r\nНТВ:ntv.txt\r\n"));
    f.write("12012026/selpn", cp("19.45 Новости - НТВ\r\n"));
    f.write("12012026/selsledpn", "00.30 Late - Kanal 1\r\n");
}

} // namespace

class AppFormTest : public QObject
{
    Q_OBJECT

private Q_SLOTS:
    void boxesShowServerTextAsPlainTextWithControlsVisible()
    {
        // Markup from a server draws nothing; a NUL cuts nothing short; line breaks stay.
        const QString server = QStringLiteral("<b>Warning</b><br><font color=red>Pay</font>") + QChar(0)
            + QStringLiteral("tail\r\nnext\rend\x1b");
        const QString expected = QStringLiteral("<b>Warning</b><br><font color=red>Pay</font>")
            + QChar(0x2400) + QStringLiteral("tail\nnext") + QChar(0x240D) + QStringLiteral("end")
            + QChar(0x241B);
        QtDialogs dialogs;
        QStringList shown;
        QTimer answer;
        connect(&answer, &QTimer::timeout, [&] {
            auto* box = qobject_cast<QMessageBox*>(QApplication::activeModalWidget());
            if (!box)
                return;
            QCOMPARE(box->textFormat(), Qt::PlainText);
            shown << box->text();
            box->button(box->buttons().contains(box->button(QMessageBox::No)) ? QMessageBox::No
                                                                              : QMessageBox::Ok)
                ->click();
        });
        answer.start(20);
        dialogs.message(server);
        QVERIFY(!dialogs.confirm(server));
        QCOMPARE(shown, (QStringList{expected, expected}));
    }

    void firstRunWritesDefaultsAndOpensSettings()
    {
        FormFixture f;
        f.setSetting("Main", "lastdate", "01.01.2026");
        f.setSetting("Proxy", "proxy", "1");
        f.setSetting("Proxy", "host", "proxy.local");
        TBrevioForm& form = f.start();
        QVERIFY(f.exists("dats.dat"));
        QVERIFY(f.exists("ag_news.dat"));
        QCOMPARE(f.read("dats.dat"), std::string());
        QCOMPARE(f.setting("Main", "Lang"), QString("eng")); // the tests run in the C locale
        QCOMPARE(f.setting("Main", "lastdate"), QString());
        QCOMPARE(f.setting("Proxy", "proxy"), QString("0"));
        QCOMPARE(f.setting("Proxy", "host"), QString());
        QCOMPARE(f.setting("Proxy", "port"), QString("0"));
        for (const char* name : {"avt", "save"})
            QCOMPARE(f.setting("Proxy", name), QString("0"));
        QVERIFY(!form.settingsPage()->isHidden());
        QVERIFY(form.viewingPage()->isHidden());
        QVERIFY(!form.weekSelector()->isEnabled());
        QCOMPARE(form.weekSelector()->count(), 0);
        QVERIFY(!form.settingsPage()->useProxy()->isChecked()); // defaults, not the old values
        QVERIFY(QFileInfo(f.settingsFile()).permissions()
                == (QFileDevice::ReadOwner | QFileDevice::WriteOwner | QFileDevice::ReadUser
                    | QFileDevice::WriteUser));
    }

    void missingMarkerAloneRestartsFirstRunButKeepsTheWeekList()
    {
        FormFixture f;
        layOutTwoWeeks(f);
        f.setSetting("Main", "Lang", "rus");
        f.setSetting("Main", "lastdate", "12.01.2026");
        std::filesystem::remove(f.workDir() / "ag_news.dat");
        TBrevioForm& form = f.start();
        QVERIFY(f.exists("ag_news.dat"));
        QCOMPARE(f.read("dats.dat"), std::string("05.01.2026\r\n12.01.2026\r\n"));
        QCOMPARE(f.setting("Main", "Lang"), QString("eng"));
        QCOMPARE(f.setting("Main", "lastdate"), QString());
        QVERIFY(!form.settingsPage()->isHidden());
        QCOMPARE(items(form.settingsPage()->weekList()), QStringList({"05.01.2026", "12.01.2026"}));
    }

    void newestWeekFillsSelectorChannelListsAndListPanes()
    {
        FormFixture f;
        layOutTwoWeeks(f);
        TBrevioForm& form = f.start();
        QComboBox* selector = form.weekSelector();
        QCOMPARE(selector->count(), 2);
        QCOMPARE(selector->itemText(0), QString("05.01.2026"));
        QCOMPARE(selector->currentText(), QString("12.01.2026"));
        const QStringList channels{QString::fromUtf8("Первый канал"), "Kanal 1", QString::fromUtf8("НТВ")};
        QCOMPARE(items(form.viewingPage()->channelList()), channels);
        QCOMPARE(items(f.find<QListWidget>("CheckListBox1")), channels);
        QCOMPARE(items(f.find<QListWidget>("ListBox1")), channels);
        QCOMPARE(form.viewingPage()->listPane(0)->toPlainText(), QString::fromUtf8("19.45 Новости - НТВ"));
        QCOMPARE(form.viewingPage()->listPane(7)->toPlainText(), QString("00.30 Late - Kanal 1"));
        QVERIFY(form.viewingPage()->listPane(1)->toPlainText().isEmpty());
        // Viewing page, "Отобранные" and today's day button (the fixture's Wednesday).
        QVERIFY(!form.viewingPage()->isHidden());
        QVERIFY(form.viewingPage()->selectedButton()->isChecked());
        QVERIFY(form.viewingPage()->dayButton(2)->isChecked());
        QVERIFY(!form.viewingPage()->listPane(2)->isHidden());
        QVERIFY(form.viewingPage()->listPane(0)->isHidden());
        QVERIFY(form.viewingPage()->dayPane(2)->isHidden());
    }

    // One broken file at start: its step reports it, naming the file, and every other step
    // still runs (captions in the stored language, the weeks, the channels, the other lists).
    // A link to this process's memory stands for a file that cannot be read, root or not.
    void eachStartStepFailsOnItsOwn()
    {
        const struct
        {
            const char* broken;
            bool folder; // a folder where the file should be, else an unreadable file
            QStringList messages;
        } cases[] = {
            {"links", false, {"I/O error 5\nlinks"}},
            {"12012026/selpn", false, {"I/O error 5\n12012026/selpn"}},
            {"12012026/aplp.dat", false, {"I/O error 5\n12012026/aplp.dat"}},
            {"error.dat", true, {}},
            {"links", true, {}},
        };
        for (const auto& c : cases) {
            FormFixture f;
            layOutTwoWeeks(f);
            f.setSetting("Main", "Lang", "eng");
            f.write("links", "i|News\r\ns|Agency|http://example.org/\r\n");
            std::filesystem::remove(f.workDir() / c.broken);
            if (c.folder)
                std::filesystem::create_directory(f.workDir() / c.broken);
            else
                std::filesystem::create_symlink("/proc/self/mem", f.workDir() / c.broken);
            TBrevioForm& form = f.start();
            const QString broken = QString::fromLatin1(c.broken);
            QCOMPARE(f.dialogs.messages, c.messages);
            QCOMPARE(form.languageOffset(), 0);
            QCOMPARE(form.pageButtons()[0]->text(), QString("View TV Programs"));
            QCOMPARE(form.weekSelector()->currentText(), QString("12.01.2026"));
            QCOMPARE(form.viewingPage()->channelList()->count(), broken.endsWith("aplp.dat") ? 0 : 3);
            QCOMPARE(form.viewingPage()->listPane(0)->toPlainText().isEmpty(), broken.endsWith("selpn"));
            QCOMPARE(form.viewingPage()->listPane(7)->toPlainText(), QString("00.30 Late - Kanal 1"));
            QCOMPARE(f.find<QMenu>("N14")->actions().size(), broken == "links" ? 0 : 1);
            QVERIFY(form.viewingPage()->selectedButton()->isChecked());
        }
    }

    // A first run whose week list cannot be created still stores the defaults and opens the
    // settings page; each step that needs the file says so (creating it, the settings page's
    // week list, the week selector).
    void firstRunWithTheWeekListInTheWayReportsItAndGoesOn()
    {
        FormFixture f;
        std::filesystem::create_directory(f.workDir() / "dats.dat");
        TBrevioForm& form = f.start();
        QCOMPARE(f.dialogs.messages,
                 QStringList({"I/O error 5\ndats.dat", "I/O error 5\ndats.dat", "I/O error 5\ndats.dat"}));
        QVERIFY(f.exists("ag_news.dat"));
        QCOMPARE(f.setting("Proxy", "proxy"), QString("0"));
        QVERIFY(!form.settingsPage()->isHidden());
        QCOMPARE(form.weekSelector()->count(), 0);
    }

    // A rewrite killed in an earlier run left its file; the start removes it and nothing else.
    void startSweepsWhatAKilledRewriteLeft()
    {
        FormFixture f;
        layOutTwoWeeks(f);
        const std::string stale = store::tempSiblingName("selpn", endedProcessId(), 7, 0);
        f.write(stale, "x");
        f.write("12012026/" + stale, "x");
        f.write("12012026/.selpn.tmp", "x");
        f.start();
        QVERIFY(!f.exists(stale));
        QVERIFY(!f.exists("12012026/" + stale));
        QVERIFY(f.exists("12012026/.selpn.tmp"));
        QVERIFY(f.exists("12012026/selpn"));
    }

    void missingChannelListOfTheNewestWeekIsSkipped()
    {
        FormFixture f;
        f.write("dats.dat", "12.01.2026\r\n");
        f.write("ag_news.dat", "");
        TBrevioForm& form = f.start();
        QVERIFY(f.dialogs.messages.isEmpty());
        QCOMPARE(form.viewingPage()->channelList()->count(), 0);
    }

    void sundayStartShowsTheSundayList()
    {
        FormFixture f;
        layOutTwoWeeks(f);
        f.write("12012026/selvs", "21.00 Sunday film - Kanal 1\r\n");
        f.clock.set(at(2026, 12, 13, 9, 0)); // a Sunday
        TBrevioForm& form = f.start();
        QVERIFY(form.viewingPage()->dayButton(6)->isChecked());
        QVERIFY(!form.viewingPage()->listPane(6)->isHidden());
        QCOMPARE(form.viewingPage()->listPane(6)->toPlainText(), QString("21.00 Sunday film - Kanal 1"));
    }

    void unsafeWeekDateIsRefusedWithAMessage()
    {
        FormFixture f;
        f.write("dats.dat", ".s.sh.\r\n"); // not a week date: the folder would be ".ssh"
        f.write("ag_news.dat", "");
        f.start();
        QCOMPARE(f.dialogs.messages.size(), 1);
        QVERIFY(f.dialogs.messages.first().contains("cannot name a week folder"));
    }

    void storedValuesReadWithTheirDefaults()
    {
        FormFixture f;
        layOutTwoWeeks(f);
        f.setSetting("Proxy", "proxy", "2"); // any non-zero number is true
        f.setSetting("Proxy", "host", "cache.local");
        f.setSetting("Proxy", "port", "abc");
        f.setSetting("Proxy", "avt", "1");
        f.setSetting("Proxy", "save", "0");
        f.setSetting("Proxy", "login", "someone");
        TBrevioForm& form = f.start();
        SettingsPage* page = form.settingsPage();
        QVERIFY(page->useProxy()->isChecked());
        QCOMPARE(page->proxyHost()->text(), QString("cache.local"));
        QCOMPARE(page->proxyPort()->text(), QString("0"));
        QVERIFY(page->proxyHost()->isEnabled());
        QVERIFY(!page->proxyNeedsPassword()->isChecked()); // login only with both avt and save
        QVERIFY(page->proxyLogin()->text().isEmpty());
        QCOMPARE(page->timeoutSeconds()->value(), 300);
    }

    void proxyGroupEnabling()
    {
        FormFixture f;
        layOutTwoWeeks(f);
        SettingsPage* page = f.start().settingsPage();
        QVERIFY(!page->proxyHost()->isEnabled());
        QVERIFY(!page->proxyNeedsPassword()->isEnabled());
        QVERIFY(page->savePassword()->isChecked());
        QVERIFY(!page->savePassword()->isEnabled());
        page->useProxy()->setChecked(true);
        QVERIFY(page->proxyHost()->isEnabled() && page->proxyPort()->isEnabled());
        QVERIFY(page->proxyNeedsPassword()->isEnabled());
        QVERIFY(!page->proxyLogin()->isEnabled());
        page->proxyNeedsPassword()->setChecked(true);
        QVERIFY(page->proxyLogin()->isEnabled() && page->proxyPassword()->isEnabled()
                && page->savePassword()->isEnabled());
        page->useProxy()->setChecked(false);
        QVERIFY(!page->proxyLogin()->isEnabled()); // the password box follows the disabled box
        QCOMPARE(page->proxyPassword()->echoMode(), QLineEdit::Password);
    }

    void savingTheSettingsFollowsTheProxyRules()
    {
        FormFixture f;
        layOutTwoWeeks(f);
        TBrevioForm& form = f.start();
        SettingsPage* page = form.settingsPage();
        page->useProxy()->setChecked(true);
        page->proxyHost()->setText("gate");
        page->proxyPort()->setText("3128");
        page->proxyNeedsPassword()->setChecked(true);
        page->proxyLogin()->setText("me");
        page->proxyPassword()->setText("secret");
        page->savePassword()->setChecked(false);
        f.find<QToolButton>("FlatSpeedButton24")->click();
        QCOMPARE(f.setting("Proxy", "proxy"), QString("1"));
        QCOMPARE(f.setting("Proxy", "port"), QString("3128"));
        QCOMPARE(f.setting("Proxy", "avt"), QString("0"));
        QCOMPARE(f.setting("Proxy", "login"), QString());
        QCOMPARE(f.setting("Proxy", "pasw"), QString());

        page->savePassword()->setChecked(true);
        page->FlatSpeedButton24Click();
        QCOMPARE(f.setting("Proxy", "avt"), QString("1"));
        QCOMPARE(f.setting("Proxy", "pasw"), QString("secret"));

        page->useProxy()->setChecked(false);
        page->FlatSpeedButton24Click();
        QCOMPARE(f.setting("Proxy", "host"), QString());
        QCOMPARE(f.setting("Proxy", "port"), QString("0"));
        QCOMPARE(f.setting("Proxy", "save"), QString("0"));
    }

    void closeStoresLanguageFontAndProxy()
    {
        FormFixture f;
        layOutTwoWeeks(f);
        TBrevioForm& form = f.start();
        form.settingsPage()->russian()->setChecked(true); // switched, not saved
        form.settingsPage()->useProxy()->setChecked(true);
        form.settingsPage()->proxyHost()->setText("gate");
        form.settingsPage()->proxyPort()->setText("8080");
        f.find<QSpinBox>("RxSpinEdit10")->setValue(4);
        QVERIFY(f.stop());
        QCOMPARE(f.setting("Main", "Lang"), QString("rus"));
        QCOMPARE(f.setting("Font", "Name"), QString("MS Sans Serif"));
        QCOMPARE(f.setting("Font", "Size"), QString("8"));
        QCOMPARE(f.setting("Proxy", "host"), QString("gate"));
        QCOMPARE(f.setting("Proxy", "port"), QString("8080"));
        QCOMPARE(f.setting("fm", "RxSpinEdit10_Value"), QString("4"));

        TBrevioForm& again = f.start();
        QVERIFY(again.settingsPage()->russian()->isChecked());
        QCOMPARE(again.languageOffset(), 200);
        QCOMPARE(f.find<QSpinBox>("RxSpinEdit10")->value(), 4);
        QCOMPARE(again.settingsPage()->timeoutSeconds()->value(), 300);
    }

    void badPortKeepsTheWindowOpen()
    {
        FormFixture f;
        layOutTwoWeeks(f);
        TBrevioForm& form = f.start(true);
        form.settingsPage()->useProxy()->setChecked(true);
        form.settingsPage()->proxyHost()->setText("gate");
        form.settingsPage()->proxyPort()->setText("80x");
        QVERIFY(!form.close());
        QVERIFY(form.isVisible());
        QCOMPARE(f.dialogs.messages.last(), QString("'80x' is not a valid integer value"));
        QCOMPARE(f.setting("Proxy", "host"), QString("gate")); // written before the port
        form.settingsPage()->proxyPort()->setText("80");
        QVERIFY(f.stop());
        QCOMPARE(f.setting("Proxy", "port"), QString("80"));
    }

    void languageSwitchRelabelsEveryCaption()
    {
        FormFixture f;
        layOutTwoWeeks(f);
        f.setSetting("Main", "Lang", "rus");
        TBrevioForm& form = f.start(true);
        QCOMPARE(f.find<QToolButton>("FlatSpeedButton11")->text(),
                 QString::fromUtf8("Просмотр телепрограмм"));
        QCOMPARE(f.find<QGroupBox>("GroupBox1")->title(), QString::fromUtf8("Параметры проски"));
        QCOMPARE(f.find<QLabel>("Label2")->text(), QString::fromUtf8("Среда"));
        QCOMPARE(f.find<QMenu>("N14")->title(), QString::fromUtf8("Интересные ссылки"));
        // Qt's own boxes speak the interface language too.
        QCOMPARE(QCoreApplication::translate("QPlatformTheme", "&Yes"), QString::fromUtf8("&Да"));

        form.settingsPage()->english()->click();
        QCOMPARE(form.languageOffset(), 0);
        QCOMPARE(QCoreApplication::translate("QPlatformTheme", "&Yes"), QString("&Yes"));
        QCOMPARE(f.find<QToolButton>("FlatSpeedButton11")->text(), QString("View TV Programs"));
        QCOMPARE(f.find<QGroupBox>("GroupBox1")->title(), QString("Proxy Setup"));
        QCOMPARE(f.find<QToolButton>("FlatSpeedButton10")->text(), QString("Next Mon"));
        QCOMPARE(f.find<QLabel>("Label15")->text().left(22), QString("Select The Title Of Th"));
        QCOMPARE(f.find<QMenu>("N6")->title(), QString("Help"));
        QCOMPARE(f.find<QAction>("N8")->text(), QString("Index"));
        QCOMPARE(f.find<QLabel>("Label2")->text(), QString("Wednesday"));
        QCOMPARE(f.find<QLabel>("Label3")->text().size(), 10);
        // Captions that keep the design's Russian wording in both languages.
        QCOMPARE(f.find<QToolButton>("FlatSpeedButton36")->text(), QString::fromUtf8("Новости"));
        QCOMPARE(f.find<QGroupBox>("GroupBox3")->title(), QString::fromUtf8("Недели"));
        QCOMPARE(f.find<QToolButton>("FlatSpeedButton44")->text(), QString::fromUtf8("Настройки Chimeo"));
        QCOMPARE(f.find<QLabel>("Label25")->text(), QString("TimeOut, sec"));
        QCOMPARE(form.windowTitle(), QString("Brevio v.2.53"));

        form.settingsPage()->english()->click(); // already checked: nothing changes
        QCOMPARE(form.languageOffset(), 0);
        QCOMPARE(form.text(105), QString("At First Select A Program"));
    }

    void langOtherThanExactlyRusIsEnglish()
    {
        FormFixture f;
        layOutTwoWeeks(f);
        f.setSetting("Main", "Lang", "RUS");
        TBrevioForm& form = f.start();
        QCOMPARE(form.languageOffset(), 0);
        QVERIFY(form.settingsPage()->english()->isChecked());
    }

    void pageSwitchingEnablesTheSelectorOnlyOnTheViewingPage()
    {
        FormFixture f;
        layOutTwoWeeks(f);
        TBrevioForm& form = f.start(true);
        const auto buttons = form.pageButtons();
        for (int i : {1, 2, 3, 4, 0}) {
            buttons[i]->click();
            QCOMPARE(form.weekSelector()->isEnabled(), i == 0);
            const QList<QWidget*> pages{form.viewingPage(), form.retrievalPage(), form.settingsPage(),
                                        form.printingPage(), form.newsPage()};
            for (int p = 0; p < pages.size(); ++p)
                QCOMPARE(pages[p]->isVisible(), p == i);
        }
        buttons[2]->click();
        QCOMPARE(items(form.settingsPage()->weekList()), QStringList({"05.01.2026", "12.01.2026"}));
    }

    void linksFileBuildsTheMenu()
    {
        FormFixture f;
        layOutTwoWeeks(f);
        f.write("links",
                cp("i|Новости|спорт\r\ns|Агентство|http://a.example/\r\ns|Second|http://b.example/\r\n"
                   "i|Weather\r\n\r\n"));
        f.start();
        const QList<QAction*> headings = f.find<QMenu>("N14")->actions();
        QCOMPARE(headings.size(), 2);
        QCOMPARE(headings[0]->text(), QString::fromUtf8("Новости|спорт"));
        QCOMPARE(headings[0]->menu()->actions().size(), 2);
        QCOMPARE(headings[0]->menu()->actions()[0]->text(), QString::fromUtf8("Агентство"));
        QCOMPARE(headings[1]->menu()->actions().size(), 1); // the empty line: an empty caption
    }

    void withoutLinksFileTheMenuIsEmpty()
    {
        FormFixture f;
        layOutTwoWeeks(f);
        f.start();
        QVERIFY(f.find<QMenu>("N14")->actions().isEmpty());
    }

    void exportButtonNeedsBothConverterFiles()
    {
        FormFixture f;
        layOutTwoWeeks(f);
        f.write("txt2jtv.dll", "");
        f.start(true);
        QVERIFY(f.find<QToolButton>("FlatButton2")->isHidden());
        QVERIFY(f.stop());
        f.write("txt2jtv.ini", "");
        f.start(true);
        QVERIFY(!f.find<QToolButton>("FlatButton2")->isHidden());
    }

    void theWeekListOpensAtOnceAsWideAsTheScreenAllowsAndStaysOpen()
    {
        FormFixture f;
        f.write("dats.dat", "05.01.2026\r\n" + std::string(2 << 20, 'x') + "\r\n12.01.2026\r\n");
        f.write("ag_news.dat", "");
        TBrevioForm& form = f.start(true);
        QVERIFY(QTest::qWaitForWindowExposed(&form));
        QComboBox* selector = form.weekSelector();
        QWidget* popup = selector->view()->window();

        // Pressed and released as a user clicks: it opens, laid out and painted, at once.
        QElapsedTimer opening;
        opening.start();
        QTest::mousePress(selector, Qt::LeftButton);
        QVERIFY(QTest::qWaitForWindowExposed(popup));
        QVERIFY2(opening.elapsed() <= 100, QByteArray::number(opening.elapsed()));
        QTest::mouseRelease(selector, Qt::LeftButton);
        QCOMPARE(popup->width(), selector->screen()->availableGeometry().width());
        QCOMPARE(selector->itemText(1).size(), qsizetype(2 << 20)); // kept whole

        // It stays open until the user closes it.
        QTest::qWait(QApplication::doubleClickInterval() + 100);
        QVERIFY(popup->isVisible());
        QTest::keyClick(selector->view(), Qt::Key_Escape);
        QTRY_VERIFY(!popup->isVisible());
        QCOMPARE(selector->currentText(), QString("12.01.2026"));
    }

    void controlsHaveTheirDesignPlaces()
    {
        FormFixture f;
        layOutTwoWeeks(f);
        TBrevioForm& form = f.start(true);
        form.resize(800, 600);
        QCOMPARE(f.find<QToolButton>("FlatSpeedButton12")->geometry(), QRect(123, 17, 156, 17));
        QCOMPARE(f.find<QComboBox>("FlatComboBox1")->geometry(), QRect(2, 62, 118, 21));
        QVERIFY(form.minimumSize() == QSize(617, 418));
        // Panes keep their distances to the page's edges as the window grows.
        QWidget* page = form.viewingPage();
        QTextEdit* pane = form.viewingPage()->listPane(2);
        QCOMPARE(pane->x(), 245);
        QCOMPARE(page->width() - pane->geometry().right() - 1, 4);
        QCOMPARE(page->height() - pane->geometry().bottom() - 1, 4);
        QCOMPARE(form.viewingPage()->channelList()->width(), 234);
    }
};

QTEST_MAIN(AppFormTest)
#include "app_form_test.moc"
