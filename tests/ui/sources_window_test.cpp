// The listing sources on a real main window (offscreen): the dialog's buttons and checklist drive
// the stored list and refresh a local listing into the store; the window's start refreshes a due
// source from a loopback server, and the progress box's Cancel leaves everything as it was.
#include "core/sources/refresh_lock.h"
#include "gui/retrieval/retrieval_page.h"
#include "gui/sources/source_editor.h"
#include "gui/sources/source_list_dialog.h"
#include "gui/widgets/settings.h"
#include "support/core/file_tree.h"
#include "support/core/fixture_server.h"
#include "support/core/source_listing.h"
#include "support/core/xmltv_samples.h"
#include "support/ui/modal.h"
#include "ui/view_week_data.h"

#include <QComboBox>
#include <QLabel>
#include <QLineEdit>
#include <QProgressDialog>
#include <QPushButton>
#include <QTimer>
#include <QTreeWidget>

using namespace brevio;
using namespace brevio::test;

namespace {

QStringList channelTexts(const QListWidget* list, bool tickedOnly = false)
{
    QStringList texts;
    for (int i = 0; i < list->count(); ++i)
        if (!tickedOnly || list->item(i)->checkState() == Qt::Checked)
            texts << list->item(i)->text();
    return texts;
}

// Presses `button` of the window; the source editor it opens gets `act`, then OK.
void editWith(QPushButton* button, const std::function<void(SourceEditor*)>& act)
{
    QVERIFY(withModal<SourceEditor>([&] { QTest::mouseClick(button, Qt::LeftButton); },
                                    [&](SourceEditor* editor) {
                                        act(editor);
                                        editor->accept();
                                    }));
}

QString stateOf(const SourceListDialog* dialog, int row)
{
    return dialog->sourceList()->topLevelItem(row)->text(3);
}

std::vector<sources::ListingSource> storedSources()
{
    const Settings settings;
    return listingSources(settings);
}

} // namespace

class SourcesWindowTest : public QObject
{
    Q_OBJECT

private Q_SLOTS:
    void theDialogAddsEditsOrdersAndRefreshesSources()
    {
        ScopedTimeZone zone("Europe/Moscow");
        FormFixture f;
        f.write("dats.dat", "");
        f.write("ag_news.dat", "");
        f.write("guide.xml", sourceListing({"Первый", "Второй"}, "v1"));
        f.write("other.xml", sourceListing({"Первый", "Третий"}, "w1"));
        const QString guide = QString::fromStdString((f.workDir() / "guide.xml").string());
        MainWindow& form = f.start(true);
        clickFileMenuEntry(form, "ListingSourcesItem");
        auto* dialog = form.findChild<SourceListDialog*>();
        QVERIFY(dialog->isVisible());
        QCOMPARE(dialog->sourceList()->topLevelItemCount(), 0);

        // A new source is refreshed at once: its two channels are few, so both are kept.
        editWith(dialog->addButton(), [&](SourceEditor* editor) {
            editor->nameField()->setText(QStringLiteral("Local"));
            editor->addressField()->setText(guide);
        });
        QCOMPARE(dialog->sourceList()->topLevelItemCount(), 1);
        QVERIFY2(stateOf(dialog, 0).endsWith(QStringLiteral("; channels: 2, weeks: 07.12.2026")),
                 qPrintable(stateOf(dialog, 0)));
        QCOMPARE(form.retrievalPage()->statusLine()->text(), QStringLiteral("Local: channels merged: 2"));
        QCOMPARE(f.read("dats.dat"), std::string("07.12.2026\r\n"));
        QCOMPARE(form.weekSelector()->currentText(), QStringLiteral("07.12.2026"));
        QCOMPARE(form.viewingPage()->channelList()->count(), 2);

        // The same address twice is refused, with the source that has it.
        QVERIFY(withModal<SourceEditor>([&] { QTest::mouseClick(dialog->addButton(), Qt::LeftButton); },
                                        [&](SourceEditor* editor) {
                                            editor->addressField()->setText(guide);
                                            editor->accept();
                                            QVERIFY(editor->isVisible());
                                        }));
        QCOMPARE(f.dialogs.messages.last(),
                 guide + QStringLiteral(" is the address of the source Local already."));

        // The checklist: the filter narrows what All and None act on.
        editWith(dialog->editButton(), [&](SourceEditor* editor) {
            QCOMPARE(channelTexts(editor->channelList(), true), (QStringList{"Второй", "Первый"}));
            editor->filterField()->setText(QStringLiteral("вто")); // as typed: the filter follows each change
            QTest::mouseClick(editor->noneButton(), Qt::LeftButton);
            editor->filterField()->clear();
            QCOMPARE(channelTexts(editor->channelList(), true), QStringList{"Первый"});
        });
        QCOMPARE(storedSources().at(0).kept, std::vector<std::string>{cp("Первый")});
        // Read again for the new choice, not taken as unchanged.
        QCOMPARE(form.retrievalPage()->statusLine()->text(), QStringLiteral("Local: channels merged: 1"));
        QTest::mouseClick(dialog->refreshButton(), Qt::LeftButton);
        QCOMPARE(form.retrievalPage()->statusLine()->text(), QStringLiteral("Local: unchanged"));

        // A second source: the channel the first keeps is given by it, and the editor says so.
        editWith(dialog->addButton(), [&](SourceEditor* editor) {
            editor->addressField()->setText(QString::fromStdString((f.workDir() / "other.xml").string()));
        });
        QCOMPARE(form.retrievalPage()->statusLine()->text(), QStringLiteral("other.xml: channels merged: 1"));
        QCOMPARE(dialog->sourceList()->currentItem()->text(0), QStringLiteral("other.xml"));
        editWith(dialog->editButton(), [&](SourceEditor* editor) {
            QCOMPARE(channelTexts(editor->channelList()), (QStringList{"Первый — given by Local", "Третий"}));
        });

        // Moved up, it gives the channel instead; removed, it is gone from the list.
        QTest::mouseClick(dialog->upButton(), Qt::LeftButton);
        QCOMPARE(storedSources().at(0).name, std::string("other.xml"));
        QVERIFY(!dialog->upButton()->isEnabled());
        QTest::mouseClick(dialog->removeButton(), Qt::LeftButton);
        QCOMPARE(storedSources().size(), 1u);
        QCOMPARE(dialog->sourceList()->topLevelItem(0)->text(0), QStringLiteral("Local"));
    }

    // The window's start refreshes a source that is due: the first time Cancel is pressed in
    // the progress box, and the store and the source stay as they were; the next start merges.
    void theStartRefreshesADueSourceAndCancelChangesNothing()
    {
        ScopedTimeZone zone("Europe/Moscow");
        FixtureServer server;
        FixtureReply slow = FixtureReply::ok(sourceListing({"Первый"}, "v1", 7));
        slow.chunkSize = 64; // over a second in all
        slow.chunkDelay = std::chrono::milliseconds(50);
        server.addRoute("/guide.xml", slow);
        FormFixture f;
        f.write("dats.dat", "");
        f.write("ag_news.dat", "");
        {
            sources::ListingSource source;
            source.name = "Slow";
            source.address = server.url("/guide.xml");
            Settings settings;
            storeListingSources(settings, {source});
            QVERIFY(settings.sync());
        }
        const FileTree before = fileTree(f.workDir());

        // The refresh runs inside the event loop's turn that starts it: the box is looked for
        // from a timer, as the window's own events reach it meanwhile.
        QString shown;
        QTimer act;
        MainWindow* window = nullptr;
        QObject::connect(&act, &QTimer::timeout, [&] {
            auto* box
                = window ? window->findChild<QProgressDialog*>(QStringLiteral("RefreshProgress")) : nullptr;
            if (!box || !box->isVisible() || !shown.isEmpty())
                return;
            shown = box->labelText();
            QTest::mouseClick(box->findChild<QPushButton*>(), Qt::LeftButton);
        });
        act.start(10);
        MainWindow& form = f.start(true);
        window = &form;
        QLabel* status = form.retrievalPage()->statusLine();
        QTRY_COMPARE(status->text(), QStringLiteral("The refresh was cancelled; nothing was changed."));
        act.stop();
        QVERIFY2(shown.startsWith(QStringLiteral("Downloading Slow: ")), qPrintable(shown));
        QVERIFY(!form.findChild<QProgressDialog*>(QStringLiteral("RefreshProgress")));
        FileTree after = fileTree(f.workDir());
        after.erase(sources::RefreshLock::kFileName);
        QCOMPARE(changedPaths(before, after), std::set<std::string>{});
        QCOMPARE(storedSources().at(0).state, sources::SourceState{});
        QVERIFY(f.stop());

        server.addRoute("/guide.xml", FixtureReply::ok(sourceListing({"Первый"}, "v1", 7)));
        MainWindow& again = f.start(true);
        QTRY_COMPARE(again.retrievalPage()->statusLine()->text(), QStringLiteral("Slow: channels merged: 1"));
        QCOMPARE(again.weekSelector()->currentText(), QStringLiteral("07.12.2026"));
        QCOMPARE(again.viewingPage()->channelList()->count(), 1);
        QVERIFY(storedSources().at(0).state.lastSuccess);
    }
};

QTEST_MAIN(SourcesWindowTest)
#include "sources_window_test.moc"
