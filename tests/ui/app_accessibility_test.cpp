// What a screen reader and a keyboard-only user meet on a real window (offscreen): a name for
// every control in the interface language, a Tab order that reaches every visible control of
// every page and nothing hidden, and the mouse-only actions done from the keyboard.
#include "gui/exchange/export_dialog.h"
#include "gui/exchange/jtv_export_dialog.h"
#include "gui/extras/about_box.h"
#include "gui/grid/grid_window.h"
#include "gui/news/news_page.h"
#include "gui/news/news_pane.h"
#include "gui/printing/printing_page.h"
#include "gui/search/search_window.h"
#include "gui/settings/font_dialog.h"
#include "gui/settings/settings_page.h"
#include "gui/sources/source_editor.h"
#include "gui/sources/source_list_dialog.h"
#include "gui/viewing/day_reminders.h"
#include "gui/widgets/settings.h"
#include "gui/widgets/week_choice_dialog.h"
#include "support/ui/accessibility.h"
#include "support/ui/opened_urls.h"
#include "ui/view_week_data.h"

#include <QAbstractSpinBox>
#include <QApplication>
#include <QComboBox>
#include <QLineEdit>
#include <QMenu>
#include <QRadioButton>
#include <QToolButton>

using namespace brevio;
using namespace brevio::test;

namespace {

void useLanguage(FormFixture& f, bool russian)
{
    QRadioButton* radio = russian ? f.form().settingsPage()->russian() : f.form().settingsPage()->english();
    radio->click();
}

// Controls the Tab key should reach on what is shown now: focusable, seen and enabled, not a
// part of another control, and of a group of radio buttons only the checked one.
QList<QWidget*> reachableControls(QWidget* window)
{
    QList<QWidget*> controls;
    for (QWidget* w : window->findChildren<QWidget*>()) {
        const auto* radio = qobject_cast<QRadioButton*>(w);
        const bool part = qobject_cast<QAbstractSpinBox*>(w->parentWidget())
            || qobject_cast<QComboBox*>(w->parentWidget()) || w->focusProxy();
        if ((w->focusPolicy() & Qt::TabFocus) && w->isEnabled() && seenByUser(w) && !part
            && !(radio && !radio->isChecked()))
            controls << w;
    }
    return controls;
}

QStringList shownItems(const QListWidget* list)
{
    QStringList items;
    for (int i = 0; i < list->count(); ++i)
        items << list->item(i)->text();
    return items;
}

QString names(const QList<QWidget*>& widgets)
{
    QStringList list;
    for (QWidget* w : widgets)
        list << w->objectName() + QLatin1Char('/') + QString::fromLatin1(w->metaObject()->className());
    return list.join(QStringLiteral(", "));
}

} // namespace

class AppAccessibilityTest : public QObject
{
    Q_OBJECT

private Q_SLOTS:
    void namesFollowTheInterfaceLanguage()
    {
        // Captionless controls by the names table, composed ones, buddies of translated labels.
        const char* const rows[][3] = {
            {"FlatComboBox1", "Week", "Неделя"},
            {"TextListBox1", "Channels", "Каналы"},
            {"RichEdit3", "Tuesday", "Вторник"},
            {"RichEdit15", "Sunday — selected", "Воскресенье — отобранные"},
            {"RichEdit16", "Next Monday — selected", "Следующий понедельник — отобранные"},
            {"RichEdit17", "On the air now", "Сейчас в эфире"},
            {"RxRichEdit2", "News", "Новости"},
            {"Edit1", "Host", "адрес"},
            {"RxSpinEdit2", "Left", "Левое"},
            {"RxSpinEdit7", "Hours", "Часы"},
            {"FlatSpeedButton31", "Now", "Сейчас"},
            {"GridDays", "Monday", "Понедельник"}, // the day chosen
            {"GridNowButton", "Now", "Сейчас"},
            {"ProgrammeGrid", "Programme grid, Monday", "Сетка передач, Понедельник"},
            {"FlatSpeedButton44", "Настройки Chimeo", "Настройки Chimeo"},
            {"RemindButton", "Remind Me", "Напомнить"},
            {"RemindEverySelected", "Remind of every selected show", "Напоминать обо всех отобранных"},
            {"ReminderMinutes", "Minutes before the start", "За сколько минут до начала"},
        };
        FormFixture f;
        f.start();
        for (const bool russian : {true, false, true}) {
            useLanguage(f, russian);
            for (const auto& row : rows) {
                auto* widget = f.form().findChild<QWidget*>(QString::fromLatin1(row[0]));
                QVERIFY2(widget, row[0]);
                QCOMPARE(accessibleName(widget), QString::fromUtf8(row[russian ? 2 : 1]));
            }
        }
    }

    void everyFocusableControlOfTheWindowAndItsDialogsHasAName()
    {
        FormFixture f;
        layOutWeek(f, "Первый:k1.txt\r\nНТВ:k2.txt\r\n");
        const auto settings = std::make_unique<Settings>();
        // A listing source with channels kept and offered (switched off: nothing refreshes it).
        sources::ListingSource source;
        source.address = "/srv/guide.xml";
        source.enabled = false;
        source.kept = {"A"};
        source.offered = {"B"};
        storeListingSources(*settings, {source});
        MainWindow& form = f.start(true);
        auto* sourceList = form.findChild<SourceListDialog*>();
        sourceList->openList();
        for (const bool russian : {false, true}) {
            useLanguage(f, russian);
            QCOMPARE(unnamedFocusable(&form), QStringList());
            // The dialogs of the window, as they open.
            AboutBox about(*settings, &form);
            FontColorDialog font(form.paneFont(), form.paneColor(), form.text(TextId::ColorLabel), &form);
            WeekChoiceDialog week(&form);
            week.setWeeks({QStringLiteral("07.12.2026")});
            JtvExportDialog jtv(form.printingPage()->channelNames(), &form);
            ExportDialog listing(form.host(), ExportDialog::Kind::Xmltv, QStringLiteral("XMLTV"), QString(),
                                 1);
            ExportDialog calendar(form.host(), ExportDialog::Kind::Calendar, QStringLiteral("iCalendar"),
                                  QString(), 0);
            SourceEditor sourceEditor(form.host(), {source}, 0, &form);
            auto* search = form.findChild<SearchWindow*>();
            search->openSearch();
            search->field()->setText(QStringLiteral("a"));
            auto* grid = form.findChild<GridWindow*>();
            grid->openGrid();
            // The menus of the day panes and of the search results.
            QMenu* dayMenu = form.viewingPage()->dayReminders()->menu();
            for (QWidget* dialog : std::initializer_list<QWidget*>{
                     &about, &font, &week, &jtv, &listing, &calendar, search, grid, dayMenu,
                     search->resultMenu(), sourceList, &sourceEditor}) {
                dialog->show();
                const QStringList unnamed = unnamedFocusable(dialog);
                QVERIFY2(unnamed.isEmpty(), qPrintable(unnamed.join(QLatin1Char('\n'))));
            }
        }
    }

    void tabReachesEverySeenControlOfEveryPageAndNothingHidden()
    {
        FormFixture f;
        layOutWeek(f, "Первый:k1.txt\r\nНТВ:k2.txt\r\n");
        MainWindow& form = f.start(true);
        QApplication::setActiveWindow(&form);
        QVERIFY(QTest::qWaitForWindowActive(&form));
        SettingsPage* settings = form.settingsPage();
        const auto button = [&](const char* name) { return form.findChild<QToolButton*>(name); };
        // Each page as its button shows it, then the settings page under each of its panels.
        const QList<QToolButton*> pages = form.pageButtons();
        const std::pair<const char*, QList<QToolButton*>> views[] = {
            {"viewing", {pages[0]}},
            {"retrieval", {pages[1]}},
            {"settings", {pages[2]}},
            {"printing", {pages[3]}},
            {"news", {pages[4]}},
            {"time-shift panel", {pages[2], button("FlatSpeedButton22")}},
            {"companion panel", {button("FlatSpeedButton33"), button("FlatSpeedButton44")}},
        };
        for (const auto& [view, clicks] : views) {
            for (QToolButton* click : clicks)
                QTest::mouseClick(click, Qt::LeftButton);
            const QList<QWidget*> chain = tabChain(&form, form.pageButtons()[0]);
            for (QWidget* reached : chain)
                QVERIFY2(seenByUser(reached),
                         qPrintable(QStringLiteral("%1: Tab reaches the unseen %2")
                                        .arg(QLatin1String(view), names({reached}))));
            QList<QWidget*> missed;
            for (QWidget* control : reachableControls(&form)) {
                if (!chain.contains(control))
                    missed << control;
            }
            QVERIFY2(missed.isEmpty(),
                     qPrintable(QStringLiteral("%1: Tab misses %2").arg(QLatin1String(view), names(missed))));
        }
        // Closed, a panel gives back what it covered; opened, it takes the focus and gives it
        // back when it closes.
        QWidget* companion = settings->findChild<QWidget*>("GroupBox4");
        companion->hide();
        QVERIFY(button("FlatSpeedButton28")->isVisible());
        QVERIFY(!button("FlatButton3")->isVisible()); // hidden before, hidden still
        button("FlatSpeedButton44")->setFocus();
        QTest::keyClick(button("FlatSpeedButton44"), Qt::Key_Space);
        QVERIFY(companion->isAncestorOf(QApplication::focusWidget()));
        QVERIFY(!button("FlatSpeedButton28")->isVisible());
        companion->hide();
        QCOMPARE(QApplication::focusWidget(), button("FlatSpeedButton44"));
    }

    void theMouseOnlyActionsWorkFromTheKeyboard()
    {
        FormFixture f;
        layOutWeek(f, "Kanal 1:k1.txt\r\nKanal 2:k2.txt\r\nKanal 3:k3.txt\r\n");
        f.write("07122026/k1.txt",
                channelFile({{"06.00 Утро", "19.30 News", "19.45 Film"}, {}, {}, {}, {}, {}, {}}));
        MainWindow& form = f.start(true);
        QApplication::setActiveWindow(&form);
        QVERIFY(QTest::qWaitForWindowActive(&form));
        ViewingPage* page = form.viewingPage();
        clickChannel(page->channelList(), 0);
        page->dayButton(0)->click();

        // A day pane: the caret to 19.30, Space marks the show, Enter puts it into the list.
        QTextEdit* monday = page->dayPane(0);
        monday->setFocus();
        QTest::keyClick(monday, Qt::Key_Home, Qt::ControlModifier);
        for (int i = 0; i < 3; ++i)
            QTest::keyClick(monday, Qt::Key_Down);
        QTest::keyClick(monday, Qt::Key_Space);
        QCOMPARE(monday->textCursor().selectedText(), QStringLiteral("19.30 News"));
        QTest::keyClick(monday, Qt::Key_Return);
        QCOMPARE(f.read(std::string(kWeekFolder) + "selpn"), cp("19.30 News - Kanal 1\r\n"));

        // A list pane: Enter on the entry offers to remove it.
        page->selectedButton()->click();
        QTextEdit* list = page->listPane(0);
        list->setFocus();
        f.dialogs.confirmAnswers.push_back(true);
        QTest::keyClick(list, Qt::Key_Return);
        QCOMPARE(f.dialogs.confirmations.size(), 1);
        QCOMPARE(f.read(std::string(kWeekFolder) + "selpn"), std::string());

        // The settings page's channel list: Alt+arrows move the chosen channel.
        form.pageButtons()[2]->click();
        QListWidget* channels = form.settingsPage()->channelList();
        channels->setFocus();
        channels->setCurrentRow(0);
        QTest::keyClick(channels, Qt::Key_Down, Qt::AltModifier);
        QTest::keyClick(channels, Qt::Key_Down, Qt::AltModifier);
        QTest::keyClick(channels, Qt::Key_Down, Qt::AltModifier); // already the last: stays
        QCOMPARE(shownItems(channels), QStringList({"Kanal 2", "Kanal 3", "Kanal 1"}));
        QTest::keyClick(channels, Qt::Key_Up, Qt::AltModifier);
        QCOMPARE(shownItems(channels), QStringList({"Kanal 2", "Kanal 1", "Kanal 3"}));
        QCOMPARE(channels->currentItem()->text(), QStringLiteral("Kanal 1"));

        // F10 opens the menu bar at its first menu, "File".
        QTest::keyClick(&form, Qt::Key_F10);
        QTRY_VERIFY(QApplication::activePopupWidget());
        QCOMPARE(QApplication::activePopupWidget()->objectName(), QStringLiteral("FileMenu"));
        QTest::keyClick(QApplication::activePopupWidget(), Qt::Key_Escape);
    }

    void linksOpenWithEnter()
    {
        OpenedUrls opened;
        FormFixture f;
        MainWindow& form = f.start(true);
        QTextEdit* news = form.newsPage()->newsPane();
        showNewsLines(news, {"see http://one.test/a today", "no link here"});
        news->setFocus();
        QTextCursor caret(news->document());
        caret.setPosition(6); // on the 'h' of the address
        news->setTextCursor(caret);
        QTest::keyClick(news, Qt::Key_Return);
        caret.setPosition(QStringLiteral("see http://one.test/a today\nno").size());
        news->setTextCursor(caret);
        QTest::keyClick(news, Qt::Key_Return);
        QCOMPARE(opened.urls, QList<QUrl>{QUrl(QStringLiteral("http://one.test/a"))});

        // The about box's lines are reached with Tab and followed with Enter.
        const auto settings = std::make_unique<Settings>();
        AboutBox about(*settings, &form);
        about.show();
        QApplication::setActiveWindow(&about);
        QVERIFY(QTest::qWaitForWindowActive(&about));
        const QList<QWidget*> chain = tabChain(&about, about.findChild<QWidget*>("OKButton"));
        QWidget* feedback = about.findChild<QWidget*>("Label1");
        QVERIFY(chain.contains(feedback));
        QTest::keyClick(feedback, Qt::Key_Return);
        QCOMPARE(opened.urls.last().scheme(), QStringLiteral("mailto"));
    }
};

QTEST_MAIN(AppAccessibilityTest)
#include "app_accessibility_test.moc"
