// The window between sessions on a real main window (offscreen, whose windows have a frame):
// settings that cannot be written, the place and size it comes back with, and the end of the
// desktop session (SIGTERM).
#include "app/termination_watcher.h"
#include "gui/news/news_page.h"
#include "gui/printing/printing_page.h"
#include "gui/retrieval/retrieval_page.h"
#include "gui/settings/font_dialog.h"
#include "gui/settings/settings_page.h"
#include "gui/widgets/form_builder.h"
#include "ui/view_week_data.h"

#include <QApplication>
#include <QCheckBox>
#include <QComboBox>
#include <QDialogButtonBox>
#include <QDir>
#include <QFontInfo>
#include <QLineEdit>
#include <QListView>
#include <QMessageBox>
#include <QPushButton>
#include <QRadioButton>
#include <QRegularExpression>
#include <QScreen>
#include <QTimer>
#include <QToolButton>

#include <csignal>
#include <filesystem>
#include <fstream>
#include <functional>
#include <unistd.h>

using namespace brevio;
using namespace brevio::test;

namespace {

// A one-channel week, then the window shown.
TBrevioForm& startOnAWeek(FormFixture& f)
{
    layOutWeek(f, "Kanal 1:k1.txt\r\n");
    return f.start(true);
}

std::filesystem::path settingsFolder(const FormFixture& f)
{
    return std::filesystem::path(f.settingsFile().toStdString()).parent_path();
}

// Ways a settings folder refuses writes. Root may write into a read-only folder, so one way
// works for every user: the folder replaced by a file.
using Blocker = std::function<void(const std::filesystem::path& folder)>;

void replaceByFile(const std::filesystem::path& folder)
{
    std::filesystem::remove_all(folder);
    std::ofstream(folder) << "not a folder";
}

void makeReadOnly(const std::filesystem::path& folder)
{
    std::filesystem::permissions(folder,
                                 std::filesystem::perms::owner_read | std::filesystem::perms::owner_exec);
}

void unblock(const std::filesystem::path& folder)
{
    if (std::filesystem::is_regular_file(folder))
        std::filesystem::remove(folder);
    std::filesystem::create_directories(folder);
    std::filesystem::permissions(folder, std::filesystem::perms::owner_all);
}

// Runs the event loop until the program is told to end; false when it was not within 5 s.
bool endsWithin5s(const std::function<void()>& meanwhile)
{
    bool late = false;
    QTimer deadline;
    deadline.setSingleShot(true);
    QObject::connect(&deadline, &QTimer::timeout, [&late] {
        late = true;
        QCoreApplication::exit(1);
    });
    deadline.start(5000);
    QTimer::singleShot(0, meanwhile);
    const int code = QApplication::exec();
    return code == 0 && !late;
}

// Opens "Шрифт" on the settings page, lets `use` work in the dialog, then presses its OK.
void inFontDialog(TBrevioForm& form, const std::function<void(FontColorDialog*)>& use)
{
    QTest::mouseClick(form.pageButtons()[2], Qt::LeftButton);
    bool seen = false;
    QTimer::singleShot(0, [&] {
        auto* dialog = qobject_cast<FontColorDialog*>(QApplication::activeModalWidget());
        if (!dialog)
            return;
        seen = true;
        use(dialog);
        QTest::mouseClick(dialog->findChild<QDialogButtonBox*>()->button(QDialogButtonBox::Ok),
                          Qt::LeftButton);
    });
    QTest::mouseClick(form.findChild<QToolButton*>("FlatSpeedButton28"), Qt::LeftButton);
    QVERIFY(seen);
}

} // namespace

Q_DECLARE_METATYPE(Blocker)

class AppSessionTest : public QObject
{
    Q_OBJECT

private Q_SLOTS:
    // The font dialog matches families against the program's own font.
    void initTestCase() { QApplication::setFont(interfaceFont()); }

    void settingsThatCannotBeWrittenAreReported_data()
    {
        QTest::addColumn<Blocker>("block");
        QTest::addColumn<bool>("needsNonRoot");
        QTest::newRow("folder replaced by a file") << Blocker(replaceByFile) << false;
        QTest::newRow("read-only folder") << Blocker(makeReadOnly) << true;
    }

    void settingsThatCannotBeWrittenAreReported()
    {
        QFETCH(Blocker, block);
        QFETCH(bool, needsNonRoot);
        if (needsNonRoot && ::geteuid() == 0)
            QSKIP("root writes into read-only folders");
        FormFixture f;
        f.setSetting("Main", "Lang", "eng");
        TBrevioForm& form = startOnAWeek(f);
        const std::filesystem::path folder = settingsFolder(f);
        block(folder);
        const QString failed
            = "The Settings Could Not Be Saved To " + QDir::toNativeSeparators(f.settingsFile());

        QTest::mouseClick(f.find<QToolButton>("FlatSpeedButton24"), Qt::LeftButton);
        QCOMPARE(f.dialogs.messages, QStringList{failed});

        // Once the folder takes writes again, saving succeeds and says nothing.
        QTest::mouseClick(form.settingsPage()->russian(), Qt::LeftButton);
        unblock(folder);
        QTest::mouseClick(f.find<QToolButton>("FlatSpeedButton24"), Qt::LeftButton);
        QCOMPARE(f.dialogs.messages.size(), 1);
        QCOMPARE(f.setting("Main", "Lang"), QString("rus"));

        // Closing reports it too, and closes all the same.
        block(folder);
        QVERIFY(f.stop());
        QCOMPARE(f.dialogs.messages.size(), 2);
        QCOMPARE(f.dialogs.messages.last(),
                 QString::fromUtf8("Не удалось сохранить настройки в ")
                     + QDir::toNativeSeparators(f.settingsFile()));
        unblock(folder);
    }

    void theWindowComesBackWhereItWasLeftOrOntoAScreen()
    {
        FormFixture f;
        TBrevioForm& form = startOnAWeek(f);
        const QRect left(100, 100, 700, 500);
        form.setGeometry(left);
        QTRY_COMPARE(form.geometry(), left);
        QVERIFY(form.frameGeometry() != form.geometry()); // the platform draws a frame
        QVERIFY(f.stop());
        for (int start = 0; start < 3; ++start) {
            TBrevioForm& again = f.start(true);
            QTRY_COMPARE(again.geometry(), left);
            QVERIFY(f.stop());
        }
        QCOMPARE(f.setting("fm", "NormPos"), QString("100,100,799,599"));
        // The frame the desktop drew (2 pixels here) is kept with the place.
        QCOMPARE(f.setting("fm", "FrameMargins"), QString("2,2,2,2"));

        // A place far above every screen comes back whole onto one at its size, with the title
        // bar of the stored frame on the screen.
        f.setSetting("fm", "NormPos", "6000,-4000,6699,-3501");
        f.setSetting("fm", "FrameMargins", "2,60,2,2");
        TBrevioForm& moved = f.start(true);
        const QRect screen = QGuiApplication::primaryScreen()->availableGeometry();
        QTRY_VERIFY(screen.contains(moved.geometry().marginsAdded({2, 60, 2, 2})));
        QCOMPARE(moved.size(), QSize(700, 500));
    }

    void everyPageHasItsDesignSizeAtTheCreatedSize()
    {
        FormFixture f;
        TBrevioForm& form = startOnAWeek(f);
        QTRY_COMPARE(form.centralWidget()->height(), 449);
        const QList<QWidget*> pages{form.viewingPage(), form.retrievalPage(), form.settingsPage(),
                                    form.printingPage(), form.newsPage()};
        for (int i = 0; i < pages.size(); ++i) {
            QTest::mouseClick(form.pageButtons()[i], Qt::LeftButton);
            QCOMPARE(pages[i]->geometry(), QRect(0, 88, form.centralWidget()->width() - 1, 359));
        }
    }

    void theFontComesBackAsItWasChosenWithItsColour()
    {
        FormFixture f;
        f.setSetting("Font", "Name", "DejaVu Serif");
        f.setSetting("Font", "Size", "11");
        TBrevioForm& form = startOnAWeek(f);
        QTextEdit* pane = form.viewingPage()->listPane(2);
        const QFont before = pane->font();
        QCOMPARE(before.family(), QString("DejaVu Serif"));

        // OK without a change keeps the font as it was; a colour picked is stored and shown.
        inFontDialog(form, [](FontColorDialog*) {});
        QCOMPARE(pane->font(), before);
        QCOMPARE(f.setting("Font", "Name"), QString("DejaVu Serif"));
        inFontDialog(form, [](FontColorDialog* dialog) {
            auto* colors = dialog->findChild<QComboBox*>("FontColor");
            colors->setFocus();
            QTest::keyClicks(colors, "#ff0000");
        });
        QCOMPARE(f.setting("Font", "Color"), QString("255")); // 0x00BBGGRR
        QCOMPARE(pane->palette().color(QPalette::Text), QColor(Qt::red));
        QCOMPARE(pane->font(), before);

        QVERIFY(f.stop());
        TBrevioForm& again = f.start(true);
        QCOMPARE(again.viewingPage()->dayPane(0)->palette().color(QPalette::Text), QColor(Qt::red));
        QCOMPARE(again.viewingPage()->dayPane(0)->font().family(), QString("DejaVu Serif"));
    }

    void changingOnlyTheSizeKeepsTheShownStyle_data()
    {
        QTest::addColumn<QString>("language");
        QTest::addColumn<QString>("stored"); // the family in the settings; empty: none stored
        QTest::newRow("a stored family") << QStringLiteral("eng") << QStringLiteral("DejaVu Serif");
        // The stored default is not installed: the dialog opens on the family the panes show.
        QTest::newRow("the default font, in Russian") << QStringLiteral("rus") << QString();
    }

    void changingOnlyTheSizeKeepsTheShownStyle()
    {
        QFETCH(QString, language);
        QFETCH(QString, stored);
        FormFixture f;
        f.setSetting("Main", "Lang", language);
        if (!stored.isEmpty())
            f.setSetting("Font", "Name", stored);
        TBrevioForm& form = startOnAWeek(f);
        QTextEdit* pane = form.viewingPage()->listPane(2);
        const QString family = QFontInfo(pane->font()).family();

        inFontDialog(form, [](FontColorDialog* dialog) {
            for (auto* list : dialog->findChildren<QListView*>()) { // the size list holds "14"
                for (const QModelIndex& size : list->model()->match(
                         list->model()->index(0, 0), Qt::DisplayRole, "14", 1, Qt::MatchExactly)) {
                    list->scrollTo(size);
                    QTest::mouseClick(list->viewport(), Qt::LeftButton, {}, list->visualRect(size).center());
                }
            }
        });
        // The face the family shows without a style: upright, regular, of normal width.
        const QFontInfo shown(pane->font());
        QCOMPARE(shown.pointSize(), 14);
        QCOMPARE(shown.family(), family);
        QCOMPARE(shown.styleName(), QFontInfo(QFont(family, 14)).styleName());
    }

    void theEndOfTheSessionStoresWhatItCanAndEnds()
    {
        FormFixture f;
        TBrevioForm& form = startOnAWeek(f);
        TerminationWatcher watcher([&form] { form.endSession(); });
        SettingsPage* page = form.settingsPage();
        QTest::mouseClick(form.pageButtons()[2], Qt::LeftButton);
        QTest::mouseClick(page->russian(), Qt::LeftButton);
        QTest::mouseClick(page->useProxy(), Qt::LeftButton);
        QTest::keyClicks(page->proxyHost(), "gate");
        QTest::keyClicks(page->proxyPort(), "80x");

        // A port that is no number keeps the window open at a close by the user...
        QVERIFY(!form.close());
        QCOMPARE(f.dialogs.messages, QStringList{QString::fromUtf8("'80x' is not a valid integer value")});

        // ...but the end of the session ends the program, a box open or not, and only the log
        // tells what was not stored.
        QTest::ignoreMessage(
            QtWarningMsg,
            QRegularExpression("proxy settings could not be saved.*'80x' is not a valid integer"));
        QVERIFY(endsWithin5s([&form] {
            QTimer::singleShot(50, [] { ::raise(SIGTERM); });
            QMessageBox::information(&form, "Brevio", "open while the session ends");
        }));
        QCOMPARE(f.dialogs.messages.size(), 1);
        QCOMPARE(f.setting("Main", "Lang"), QString("rus"));
        QCOMPARE(f.setting("Proxy", "host"), QString("gate"));
        QCOMPARE(f.setting("Font", "Name"), QString("MS Sans Serif"));
        QVERIFY(f.setting("fm", "NormPos").has_value());
        QVERIFY(!f.setting("Proxy", "port").has_value());

        // A signal that comes again is answered the same way.
        QVERIFY(endsWithin5s([] { ::raise(SIGTERM); }));
    }
};

QTEST_MAIN(AppSessionTest)
#include "app_session_test.moc"
