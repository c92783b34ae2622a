// Links and help menus, the about box, the desktop shortcut, the JTV export dialog and the
// companion alarm's settings box, on a real window (offscreen).
#include "app/main_window.h"
#include "core/store/cp1251.h"
#include "gui/exchange/jtv_export_dialog.h"
#include "gui/extras/about_box.h"
#include "gui/extras/credits_panel.h"
#include "gui/printing/printing_page.h"
#include "gui/settings/settings_page.h"
#include "support/core/temp_dir.h"
#include "support/ui/form_fixture.h"
#include "support/ui/modal.h"
#include "support/ui/opened_urls.h"

#include <QAccessible>
#include <QAccessibleInterface>
#include <QAction>
#include <QApplication>
#include <QCheckBox>
#include <QDesktopServices>
#include <QDir>
#include <QGroupBox>
#include <QLabel>
#include <QLineEdit>
#include <QListWidget>
#include <QMenu>
#include <QSpinBox>
#include <QTest>
#include <QToolButton>
#include <QUrl>

using namespace brevio;
using namespace brevio::test;

namespace {

// Points the desktop's folders into a temporary home: XDG_CONFIG_HOME and the desktop folder.
class XdgHome
{
public:
    XdgHome()
        : m_oldConfig(qgetenv("XDG_CONFIG_HOME"))
    {
        qputenv("XDG_CONFIG_HOME", QByteArray::fromStdString(config().string()));
        std::filesystem::create_directories(config());
        m_home.write("config/user-dirs.dirs", "XDG_DESKTOP_DIR=\"" + desktop().string() + "\"\n");
    }
    ~XdgHome() { qputenv("XDG_CONFIG_HOME", m_oldConfig); }
    std::filesystem::path config() const { return m_home / "config"; }
    std::filesystem::path desktop() const { return m_home / "desk"; }
    std::filesystem::path autostart() const { return config() / "autostart"; }
    std::string read(const std::filesystem::path& p) const
    {
        return m_home.read(std::filesystem::relative(p, m_home.path()).string());
    }

private:
    TempDir m_home;
    QByteArray m_oldConfig;
};

void trigger(FormFixture& f, const char* action)
{
    QAction* a = f.find<QAction>(action);
    QVERIFY2(a, action);
    a->trigger();
}

} // namespace

class ExtrasTest : public QObject
{
    Q_OBJECT

private Q_SLOTS:
    void fixedLinksOpenTheConfiguredSites()
    {
        FormFixture f;
        f.setSetting(QStringLiteral("Links"), QStringLiteral("maker"), QStringLiteral("http://127.0.0.1:9/"));
        f.setSetting(QStringLiteral("Links"), QStringLiteral("subscribe"), QStringLiteral("http://sub.test"));
        f.start();
        OpenedUrls opened;
        for (const char* name : {"N2", "N3", "N4", "N10", "N11", "N12", "ICQ1", "N13", "N8"})
            trigger(f, name);
        QStringList got;
        for (const QUrl& url : opened.urls)
            got << url.toString();
        const QString help
            = QUrl::fromLocalFile(QDir::current().absoluteFilePath(QStringLiteral("brevio.chm"))).toString();
        QCOMPARE(got,
                 QStringList({"http://127.0.0.1:9/tv/brevio.html", "http://127.0.0.1:9/anekdot/",
                              "http://127.0.0.1:9/test/", "http://127.0.0.1:9/book/",
                              "http://127.0.0.1:9/music/", "http://127.0.0.1:9/drink/",
                              "http://127.0.0.1:9/icq/", "http://sub.test/index.cgi", help}));
        QVERIFY(help.endsWith(QLatin1String("/brevio.chm")));
        QVERIFY(f.dialogs.messages.isEmpty());
    }

    void linksFileItemsOpenTheFirstLineWithTheirCaption()
    {
        FormFixture f;
        f.write(
            "links",
            utf8ToCp1251("i|Погода\r\ns|Прогноз|http://one.test/a\r\ns|Прогноз|http://two.test/b\r\n"
                         "s|Пробел|http://three.test/x y \r\nx|Чужой|http://four.test/\r\n"
                         "s|Файл|file:///etc/passwd\r\ns|Архив|ftp://five.test/\r\ns|Сайт|www.six.test\r\n"));
        f.start();
        OpenedUrls opened;
        QMenu* weather = f.find<QMenu>("N14")->findChildren<QMenu*>().value(0);
        QVERIFY(weather);
        const QList<QAction*> items = weather->actions();
        QCOMPARE(items.size(), 7);
        items[1]->trigger(); // the second "Прогноз" still opens the first one's address
        items[2]->trigger();
        items[3]->trigger(); // a line tagged "x" is an item, but no "s" line carries its caption
        // Only web and mail addresses open, as in the news pane: no files, no other schemes.
        for (int i = 4; i < 7; ++i)
            items[i]->trigger();
        QCOMPARE(opened.urls.size(), 3);
        QCOMPARE(opened.urls[0].toString(), QStringLiteral("http://one.test/a"));
        // Spaces inside and after the address are kept, not trimmed.
        QCOMPARE(opened.urls[1].toString(QUrl::FullyEncoded), QStringLiteral("http://three.test/x%20y%20"));
        QCOMPARE(opened.urls[2].toString(), QStringLiteral("http://www.six.test"));
        QCOMPARE(f.dialogs.messages,
                 QStringList({QStringLiteral("Прогноз"), QStringLiteral("Пробел"), QStringLiteral("Чужой"),
                              QStringLiteral("Файл"), QStringLiteral("Архив"), QStringLiteral("Сайт")}));
    }

    void linkCaptionsShowAsWritten()
    {
        FormFixture f;
        f.write("links",
                utf8ToCp1251("i|Кино & мульты\r\ns|Tom & Jerry|http://one.test/\r\n"
                             "s|Tab\there|http://two.test/\r\n"));
        f.start();
        OpenedUrls opened;
        QMenu* links = f.find<QMenu>("N14");
        QMenu* heading = links->findChildren<QMenu*>().value(0);
        QVERIFY(heading);
        // What the menu shows, as a screen reader reads it.
        const auto shown = [](QMenu* menu, int item) {
            return QAccessible::queryAccessibleInterface(menu)->child(item)->text(QAccessible::Name);
        };
        QCOMPARE(shown(links, 0), QStringLiteral("Кино & мульты"));
        QCOMPARE(shown(heading, 0), QStringLiteral("Tom & Jerry"));
        QCOMPARE(shown(heading, 1), QStringLiteral("Tab here"));
        // The caption as written still finds its line.
        for (QAction* item : heading->actions())
            item->trigger();
        QCOMPARE(f.dialogs.messages,
                 QStringList({QStringLiteral("Tom & Jerry"), QStringLiteral("Tab\there")}));
        QCOMPARE(opened.urls, QList<QUrl>({QUrl("http://one.test/"), QUrl("http://two.test/")}));
    }

    void aboutBoxShowsPictureVersionLinksAndRunningCredits()
    {
        FormFixture f;
        f.setSetting(QStringLiteral("Links"), QStringLiteral("maker"), QStringLiteral("http://maker.test"));
        f.setSetting(QStringLiteral("Links"), QStringLiteral("mail"), QStringLiteral("tv@maker.test"));
        f.start();
        OpenedUrls opened;
        const bool shown = withModal<TAboutBox>(
            [&] { trigger(f, "N7"); },
            [&](TAboutBox* box) {
                QCOMPARE(box->windowTitle(), QStringLiteral("О программе"));
                QCOMPARE(box->size(), QSize(312, 223));
                const QPixmap picture = box->programIcon()->pixmap();
                QCOMPARE(picture.size(), QSize(65, 57));
                QCOMPARE(box->findChild<QLabel*>(QStringLiteral("Version"))->text(),
                         QStringLiteral("Version 2.53 от 10/02/2004"));
                QCOMPARE(box->homePageLine()->text(),
                         QStringLiteral("Домашняя страница - http://maker.test/tv/brevio.html"));
                QCOMPARE(box->feedbackLine()->text(), QStringLiteral("Отзывы и пожелания - tv@maker.test"));

                // Hovering lights the line under the pointer and only that one.
                QMouseEvent move(QEvent::MouseMove, QPointF(5, 5), QPointF(5, 5), Qt::NoButton, Qt::NoButton,
                                 Qt::NoModifier);
                QApplication::sendEvent(box->feedbackLine(), &move);
                QCOMPARE(box->feedbackLine()->palette().color(QPalette::WindowText), QColor(Qt::blue));
                QCOMPARE(box->homePageLine()->palette().color(QPalette::WindowText), QColor(0, 128, 128));
                QApplication::sendEvent(box->homePageLine(), &move);
                QCOMPARE(box->feedbackLine()->palette().color(QPalette::WindowText), QColor(0, 128, 128));
                QCOMPARE(box->homePageLine()->palette().color(QPalette::WindowText), QColor(Qt::blue));
                QApplication::sendEvent(box->findChild<QWidget*>(QStringLiteral("Panel1")), &move);
                QCOMPARE(box->homePageLine()->palette().color(QPalette::WindowText), QColor(0, 128, 128));

                QTest::mouseClick(box->feedbackLine(), Qt::LeftButton);
                QTest::mouseClick(box->programIcon(), Qt::LeftButton);

                // The credits run upwards every 90 ms and come back from below after the last line.
                CreditsPanel* credits = box->credits();
                QVERIFY(credits->timer().isActive());
                QCOMPARE(credits->timer().interval(), 90);
                const int start = credits->offset();
                QCOMPARE(start, credits->height());
                credits->step();
                QCOMPARE(credits->offset(), start - 1);
                int steps = 1;
                while (credits->offset() <= start - 1 && steps < 10000) {
                    credits->step();
                    ++steps;
                }
                QCOMPARE(credits->offset(), start);
                QVERIFY(steps > credits->height() + 10 * credits->fontMetrics().height() - 2);

                QTest::mouseClick(box->findChild<QWidget*>(QStringLiteral("OKButton")), Qt::LeftButton);
                QVERIFY(!box->isVisible());
                QCOMPARE(box->result(), int(QDialog::Accepted));
            });
        QVERIFY(shown);
        QCOMPARE(opened.urls.size(), 2);
        QCOMPARE(opened.urls[0].toString(), QStringLiteral("mailto:tv@maker.test"));
        QCOMPARE(opened.urls[1].toString(), QStringLiteral("http://maker.test/tv/brevio.html"));
    }

    void shortcutStartsOnThisSessionsWorkingFolderAndGoesIntoTheDesktopFolderOnEveryClick()
    {
        XdgHome xdg;
        FormFixture f;
        f.start();
        auto* button = f.find<QToolButton>("FlatSpeedButton32");
        button->click(); // no desktop folder: nothing made, nothing said
        QVERIFY(!std::filesystem::exists(xdg.desktop()));
        std::filesystem::create_directories(xdg.desktop());
        button->click();
        const std::string first = xdg.read(xdg.desktop() / "brevio.desktop");
        // Not the data home: the working folder is named.
        const std::string exec = "Exec=\"" + QCoreApplication::applicationFilePath().toStdString()
            + "\" \"--workdir\" \"" + std::filesystem::canonical(f.workDir()).string() + "\"\n";
        QVERIFY2(first.find(exec) != std::string::npos, first.c_str());
        button->click();
        QCOMPARE(xdg.read(xdg.desktop() / "brevio.desktop"), first);
        QVERIFY(f.dialogs.messages.isEmpty());
    }

    void jtvExportListsTheWeeksChannelsUnticked()
    {
        FormFixture f;
        f.start();
        f.form().setChannelNames({QStringLiteral("Первый"), QStringLiteral("НТВ"), QStringLiteral("K1")});
        f.form().printingPage()->channelChecklist()->item(1)->setCheckState(Qt::Checked);
        const bool shown
            = withModal<TForm3>([&] { f.find<QToolButton>("FlatButton2")->click(); },
                                [](TForm3* d) {
                                    QCOMPARE(d->windowTitle(), QStringLiteral("Экспорт в JTV"));
                                    QListWidget* list = d->channelList();
                                    QCOMPARE(list->count(), 3);
                                    QCOMPARE(list->item(0)->text(), QStringLiteral("Первый"));
                                    QCOMPARE(list->item(2)->text(), QStringLiteral("K1"));
                                    for (int i = 0; i < list->count(); ++i)
                                        QCOMPARE(list->item(i)->checkState(), Qt::Unchecked);
                                    d->findChild<QToolButton*>(QStringLiteral("FlatSpeedButton1"))->click();
                                    QVERIFY(d->isVisible());
                                    d->findChild<QToolButton*>(QStringLiteral("FlatSpeedButton2"))->click();
                                    QVERIFY(!d->isVisible());
                                });
        QVERIFY(shown);
        // The main window's own ticks are not the dialog's business.
        QCOMPARE(f.form().printingPage()->channelChecklist()->item(1)->checkState(), Qt::Checked);
    }

    void chimeoSettingsRoundTripAndMissingFilesSwitchOff()
    {
        FormFixture f;
        f.write("ring.wav", "RIFF");
        f.write("tool", "#!");
        f.start();
        auto* box = f.find<QGroupBox>("GroupBox4");
        QVERIFY(!box->isVisible());
        f.find<QToolButton>("FlatSpeedButton44")->click();
        QVERIFY(!box->isHidden());
        auto* minutes = f.find<QSpinBox>("RxSpinEdit9");
        auto* sound = f.find<QLineEdit>("FilenameEdit1");
        auto* program = f.find<QLineEdit>("FilenameEdit2");
        auto* params = f.find<QLineEdit>("Edit5");
        // A fresh system: nothing set.
        QCOMPARE(minutes->value(), 0);
        QVERIFY(sound->text().isEmpty() && program->text().isEmpty() && params->text().isEmpty());
        for (const char* name : {"FlatCheckBox9", "FlatCheckBox10", "FlatCheckBox11"})
            QVERIFY(!f.find<QCheckBox>(name)->isChecked());

        minutes->setValue(45);
        QCOMPARE(minutes->value(), 30);
        f.find<QCheckBox>("FlatCheckBox10")->setChecked(true);
        sound->setText(QStringLiteral("ring.wav"));
        f.find<QCheckBox>("FlatCheckBox9")->setChecked(true);
        program->setText(QStringLiteral("tool"));
        params->setText(QStringLiteral("-q \"x\""));
        f.find<QCheckBox>("FlatCheckBox11")->setChecked(true);
        f.find<QToolButton>("FlatSpeedButton35")->click();
        QVERIFY(box->isHidden());
        const QString s = QStringLiteral("chimeo");
        QCOMPARE(f.setting(s, QStringLiteral("TimeSlideMin")), QStringLiteral("30"));
        QCOMPARE(f.setting(s, QStringLiteral("WavNestandart")), QStringLiteral("1"));
        QCOMPARE(f.setting(s, QStringLiteral("WavPath")), QStringLiteral("ring.wav"));
        QCOMPARE(f.setting(s, QStringLiteral("SoftStart")), QStringLiteral("1"));
        QCOMPARE(f.setting(s, QStringLiteral("SoftPath")), QStringLiteral("tool"));
        QCOMPARE(f.setting(s, QStringLiteral("SoftParam")), QStringLiteral("-q \"x\""));
        QCOMPARE(f.setting(s, QStringLiteral("OnlyZvuk")), QStringLiteral("1"));

        // A sound file that has gone switches the sound off and keeps the stored path; an
        // unticked program keeps its path and parameters.
        f.find<QToolButton>("FlatSpeedButton44")->click();
        QCOMPARE(sound->text(), QStringLiteral("ring.wav"));
        QCOMPARE(params->text(), QStringLiteral("-q \"x\""));
        sound->setText(QStringLiteral("gone.wav"));
        f.find<QCheckBox>("FlatCheckBox9")->setChecked(false);
        program->setText(QStringLiteral("other"));
        minutes->setValue(0);
        f.find<QToolButton>("FlatSpeedButton35")->click();
        QCOMPARE(f.setting(s, QStringLiteral("TimeSlideMin")), QStringLiteral("0"));
        QCOMPARE(f.setting(s, QStringLiteral("WavNestandart")), QStringLiteral("0"));
        QCOMPARE(f.setting(s, QStringLiteral("WavPath")), QStringLiteral("ring.wav"));
        QCOMPARE(f.setting(s, QStringLiteral("SoftStart")), QStringLiteral("0"));
        QCOMPARE(f.setting(s, QStringLiteral("SoftPath")), QStringLiteral("tool"));
        f.find<QToolButton>("FlatSpeedButton44")->click();
        QVERIFY(f.find<QCheckBox>("FlatCheckBox10")->isChecked() == false);
        QCOMPARE(program->text(), QStringLiteral("tool"));
    }

    void autostartEntryFollowsTheBoxAndMakesItsFolder()
    {
        XdgHome xdg;
        const auto entry = xdg.autostart() / "chimeo.desktop";
        {
            FormFixture f;
            f.start(true);
            f.find<QToolButton>("FlatSpeedButton13")->click();
            f.find<QToolButton>("FlatSpeedButton44")->click();
            auto* autostart = f.find<QCheckBox>("FlatCheckBox12");
            QVERIFY(!std::filesystem::exists(xdg.autostart())); // a fresh desktop
            QTest::mouseClick(autostart, Qt::LeftButton, {}, QPoint(8, autostart->height() / 2));
            QVERIFY(std::filesystem::exists(entry));
            autostart->setChecked(false);
            QVERIFY(!std::filesystem::exists(entry));
            autostart->setChecked(true);
            QVERIFY(f.stop());
        }
        // The stored ticked state rewrites the entry at the next start.
        std::filesystem::remove(entry);
        FormFixture g;
        g.setSetting(QStringLiteral("fm"), QStringLiteral("FlatCheckBox12_Checked"), QStringLiteral("1"));
        g.start();
        QVERIFY(g.find<QCheckBox>("FlatCheckBox12")->isChecked());
        const std::string text = xdg.read(entry);
        QVERIFY2(text.find("Exec=\"" + QCoreApplication::applicationDirPath().toStdString() + "/chimeo\"")
                     != std::string::npos,
                 text.c_str());
    }
};

QTEST_MAIN(ExtrasTest)
#include "extras_test.moc"
