// The printing page on a real main window (offscreen): the mode switches, the document of both
// modes as printed to PDF, the column flow on the pages and the day panes left empty.
#include "gui/printing/print_preview.h"
#include "gui/printing/printing_page.h"
#include "ui/view_week_data.h"

#include <QApplication>
#include <QCheckBox>
#include <QPrintPreviewDialog>
#include <QPrintPreviewWidget>
#include <QProcess>
#include <QRegularExpression>
#include <QSpinBox>
#include <QStandardPaths>
#include <QTemporaryDir>
#include <QTimer>
#include <QToolButton>

using namespace brevio;
using namespace brevio::test;

namespace {

// One word of a PDF page as poppler finds it, in points from the page's top left corner.
struct Word
{
    int page;
    double x;
    double y;
    QString text;
};

// The words of a PDF with their places (pdftotext -bbox).
QList<Word> pdfWords(const QString& pdf)
{
    QProcess tool;
    tool.start(QStringLiteral("pdftotext"), {QStringLiteral("-bbox"), pdf, QStringLiteral("-")});
    if (!tool.waitForFinished(60000) || tool.exitCode() != 0)
        return {};
    const QString html = QString::fromUtf8(tool.readAllStandardOutput());
    static const QRegularExpression pageOrWord(
        QStringLiteral(R"re(<page |<word xMin="([\d.]+)" yMin="([\d.]+)"[^>]*>([^<]*)</word>)re"));
    QList<Word> words;
    int page = 0;
    for (auto it = pageOrWord.globalMatch(html); it.hasNext();) {
        const auto m = it.next();
        if (m.captured(0).startsWith(QLatin1String("<page")))
            ++page;
        else
            words.append({page, m.captured(1).toDouble(), m.captured(2).toDouble(), m.captured(3)});
    }
    return words;
}

QString pageText(const QList<Word>& words, int page)
{
    QStringList texts;
    for (const Word& w : words) {
        if (w.page == page)
            texts << w.text;
    }
    return texts.join(QLatin1Char(' '));
}

constexpr double kPointsPerMm = 72 / 25.4;

// Prints to a PDF in a temporary folder instead of opening the preview window.
struct PdfPreview
{
    QTemporaryDir dir;
    QString path = dir.filePath(QStringLiteral("print.pdf"));
    QString title;
    int pages = 0;
    int calls = 0;

    void attach(PrintingPage* page)
    {
        page->setPreview([this](const PrintPreview& printForm) {
            ++calls;
            title = printForm.reportTitle();
            pages = printForm.writePdf(path);
        });
    }
};

} // namespace

class PrintPageTest : public QObject
{
    Q_OBJECT

private Q_SLOTS:
    void initTestCase()
    {
        if (QStandardPaths::findExecutable(QStringLiteral("pdftotext")).isEmpty())
            QSKIP("pdftotext (poppler-utils) is needed to read the printed pages back");
    }

    void modeButtonsFollowTheModeTable()
    {
        FormFixture f;
        layOutWeek(f, "Kanal 1:k1.txt\r\n");
        MainWindow& form = f.start(true);
        auto* checklist = f.find<QListWidget>("CheckListBox1");
        auto* allDays = f.find<QCheckBox>("FlatCheckBox8");
        auto* dayPanel = f.find<QWidget>("Panel8");
        auto* byDays = f.find<QToolButton>("FlatSpeedButton17");
        auto* byChannels = f.find<QToolButton>("FlatSpeedButton18");
        auto daysChecked = [&f] {
            int n = 0;
            for (int d = 1; d <= 7; ++d)
                n += f.find<QCheckBox>(QByteArray("FlatCheckBox" + QByteArray::number(d)).constData())
                         ->isChecked();
            return n;
        };
        form.pageButtons()[3]->click();

        f.find<QToolButton>("FlatSpeedButton16")->click();
        QVERIFY(!checklist->isHidden() && !byDays->isHidden() && !byChannels->isHidden());
        QVERIFY(byDays->isChecked() && !byChannels->isEnabled());
        QVERIFY(!allDays->isChecked() && allDays->isEnabled());
        QVERIFY(!dayPanel->isHidden());
        QCOMPARE(daysChecked(), 0);

        allDays->click();
        QVERIFY(dayPanel->isHidden());
        QCOMPARE(daysChecked(), 7);
        allDays->click();
        QVERIFY(!dayPanel->isHidden());
        QCOMPARE(daysChecked(), 0);

        checklist->item(0)->setCheckState(Qt::Checked);
        f.find<QToolButton>("FlatSpeedButton15")->click();
        QVERIFY(checklist->isHidden() && byDays->isHidden() && byChannels->isHidden());
        QVERIFY(allDays->isChecked() && !allDays->isEnabled());
        QVERIFY(dayPanel->isHidden());
        QCOMPARE(daysChecked(), 7);
        // The checklist marks stay as they were.
        QCOMPARE(checklist->item(0)->checkState(), Qt::Checked);
    }

    void selectedShowsPrintInRussianAndLeaveTheDayPanesEmpty()
    {
        FormFixture f;
        layOutWeek(f, "Kanal 1:k1.txt\r\n");
        f.write("07122026/k1.txt", channelFile({{"06.00 Утро"}}));
        f.write("07122026/selpn", cp("07.00 Новости - Kanal 1\r\n"));
        f.write("07122026/selsledpn", cp("00.30 Ночной фильм - Kanal 1\r\n"));
        MainWindow& form = f.start(true);
        PdfPreview preview;
        preview.attach(form.printingPage());
        clickChannel(form.viewingPage()->channelList(), 0);
        QVERIFY(!form.viewingPage()->dayPane(0)->document()->isEmpty());

        form.pageButtons()[3]->click();
        f.find<QToolButton>("FlatButton1")->click();
        QVERIFY2(f.dialogs.messages.isEmpty(), qPrintable(f.dialogs.messages.join(QLatin1Char('\n'))));
        QCOMPARE(preview.calls, 1);
        QCOMPARE(preview.title, QStringLiteral("Brevio 2.5 - Print Preview"));
        for (int d = 0; d < 7; ++d)
            QVERIFY(form.viewingPage()->dayPane(d)->document()->isEmpty());

        const QString text = pageText(pdfWords(preview.path), 1);
        QVERIFY2(text.contains(QStringLiteral("Brevio - все телепрограммы бесплатно")), qPrintable(text));
        QVERIFY(
            text.contains(QStringLiteral("Отобранные телепередачи Monday 07.00 Новости - Kanal 1 Tuesday")));
        QVERIFY(text.contains(QStringLiteral("Следующий Понедельник 00.30 Ночной фильм - Kanal 1")));
        // The day headings follow the interface language; the header and titles do not.
        QVERIFY(!text.contains(QStringLiteral("Понедельник 07.00")));
    }

    void allChannelsFlowDownTwoColumnsThenOntoTheNextPage()
    {
        FormFixture f;
        layOutWeek(f, "Kanal 1:k1.txt\r\nKanal 2:k2.txt\r\n");
        std::vector<std::string> monday;
        for (int i = 1; i <= 200; ++i)
            monday.push_back(QStringLiteral("L%1 x").arg(i, 3, 10, QLatin1Char('0')).toStdString());
        f.write("07122026/k1.txt", channelFile({{"23.30 Film"}, {"9.00 Tue"}}));
        f.write("07122026/k2.txt", channelFile({monday}));
        f.write("times.dat", "Kanal 1|1|0\r\n");
        MainWindow& form = f.start(true);
        PdfPreview preview;
        preview.attach(form.printingPage());
        form.pageButtons()[3]->click();
        f.find<QToolButton>("FlatSpeedButton16")->click();
        f.find<QListWidget>("CheckListBox1")->item(1)->setCheckState(Qt::Checked);
        f.find<QCheckBox>("FlatCheckBox1")->setChecked(true);
        f.find<QSpinBox>("RxSpinEdit1")->setValue(2);
        f.find<QSpinBox>("RxSpinEdit6")->setValue(10);
        f.find<QSpinBox>("RxSpinEdit2")->setValue(20);

        f.find<QToolButton>("FlatButton1")->click();
        QVERIFY2(f.dialogs.messages.isEmpty(), qPrintable(f.dialogs.messages.join(QLatin1Char('\n'))));
        const QList<Word> words = pdfWords(preview.path);
        QVERIFY(preview.pages >= 2);
        QCOMPARE(words.last().page, preview.pages);
        QVERIFY(!pageText(words, 1).contains(QStringLiteral("Kanal 1")));
        QVERIFY(!pageText(words, 1).contains(QStringLiteral("Tuesday")));

        // Width between the margins: 210 - 20 - 10 mm, two columns of 85 mm with 10 mm between.
        const double column2 = (20 + 85 + 10) * kPointsPerMm;
        QList<Word> lines;
        for (const Word& w : words) {
            if (w.text.startsWith(QLatin1Char('L')) && w.text.size() == 4)
                lines << w;
        }
        QCOMPARE(lines.size(), 200);
        QCOMPARE(lines.first().page, 1);
        QVERIFY(qAbs(lines.first().x - 20 * kPointsPerMm) < 2);
        // In order, the lines go down a column, then top of the next column, then the next page.
        int columnChanges = 0;
        for (qsizetype i = 1; i < lines.size(); ++i) {
            const Word& a = lines[i - 1];
            const Word& b = lines[i];
            const bool inColumn2 = qAbs(b.x - column2) < 2;
            QVERIFY2(inColumn2 || qAbs(b.x - 20 * kPointsPerMm) < 2, qPrintable(b.text));
            if (b.page == a.page && b.x == a.x) {
                QVERIFY2(b.y > a.y, qPrintable(b.text));
                continue;
            }
            ++columnChanges;
            QVERIFY2(b.y < a.y, qPrintable(b.text)); // back to the top
            QVERIFY2(inColumn2 == (b.page == a.page), qPrintable(b.text));
        }
        QCOMPARE(columnChanges, 2 * preview.pages - 1 - (lines.last().x < column2 - 2 ? 1 : 0));
        // Every page has its header, and its number at the right end of the header band.
        for (int p = 1; p <= preview.pages; ++p) {
            QVERIFY(pageText(words, p).startsWith(QStringLiteral("Brevio - все телепрограммы бесплатно")));
            const bool numbered = std::any_of(words.begin(), words.end(), [p](const Word& w) {
                return w.page == p && w.text == QString::number(p) && w.x > 190 * kPointsPerMm
                    && w.y < 17 * kPointsPerMm;
            });
            QVERIFY2(numbered, qPrintable(QString::number(p)));
        }
    }

    void thePreviewWindowShowsThePagesUnderItsTitle()
    {
        FormFixture f;
        layOutWeek(f, "Kanal 1:k1.txt\r\n");
        f.setSetting(QStringLiteral("Main"), QStringLiteral("Lang"), QStringLiteral("rus"));
        MainWindow& form = f.start(true);
        QString title;
        int pages = -1;
        // The preview is modal: look at it from inside its own event loop, then close it.
        QTimer::singleShot(0, [&] {
            auto* dialog = qobject_cast<QPrintPreviewDialog*>(QApplication::activeModalWidget());
            if (!dialog)
                return;
            title = dialog->windowTitle();
            pages = dialog->findChild<QPrintPreviewWidget*>()->pageCount();
            dialog->reject();
        });
        form.printingPage()->printSchedule();
        QCOMPARE(title, QStringLiteral("Brevio 2.5 - просмотр перед печатью"));
        QCOMPARE(pages, 1);
    }

    void aTinyColumnStillGetsItsText()
    {
        // Five columns with 50 mm gaps do not fit between wide margins: the gaps give way.
        QTemporaryDir dir;
        PrintPreview printForm;
        printForm.report().setLayout({5, 50, 100, 100, 100, 100});
        QStringList lines;
        for (int i = 0; i < 40; ++i)
            lines << QStringLiteral("W%1 long line that has to wrap in a narrow column").arg(i);
        printForm.report().setLines(lines);
        const QString path = dir.filePath(QStringLiteral("tiny.pdf"));
        const int pages = printForm.writePdf(path);
        QVERIFY(pages >= 1);
        int found = 0;
        for (const Word& w : pdfWords(path)) {
            if (!w.text.startsWith(QLatin1Char('W')))
                continue;
            ++found;
            QVERIFY2(w.x >= 100 * kPointsPerMm - 1 && w.x <= 110 * kPointsPerMm, qPrintable(w.text));
        }
        QCOMPARE(found, 40);
    }

    void aMissingChannelFileStopsThePrint()
    {
        FormFixture f;
        layOutWeek(f, "Kanal 1:k1.txt\r\nKanal 2:gone.txt\r\n");
        f.write("07122026/k1.txt", channelFile({{"06.00 Утро"}}));
        MainWindow& form = f.start(true);
        PdfPreview preview;
        preview.attach(form.printingPage());
        clickChannel(form.viewingPage()->channelList(), 0);
        form.pageButtons()[3]->click();
        f.find<QToolButton>("FlatSpeedButton16")->click();
        f.find<QListWidget>("CheckListBox1")->item(0)->setCheckState(Qt::Checked);
        f.find<QListWidget>("CheckListBox1")->item(1)->setCheckState(Qt::Checked);
        f.find<QToolButton>("FlatButton1")->click();
        QCOMPARE(f.dialogs.messages, QStringList{QStringLiteral("File not found\n07122026/gone.txt")});
        QCOMPARE(preview.calls, 0);
        for (int d = 0; d < 7; ++d)
            QVERIFY(form.viewingPage()->dayPane(d)->document()->isEmpty());
    }
};

QTEST_MAIN(PrintPageTest)
#include "print_page_test.moc"
