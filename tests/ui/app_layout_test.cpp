// Every page of the real window (offscreen, in the interface font) at the sizes a user gives it:
// no visible control covers another or reaches past its panel, and every caption fits.
#include "app/main_window.h"
#include "gui/news/news_page.h"
#include "gui/printing/printing_page.h"
#include "gui/retrieval/retrieval_page.h"
#include "gui/settings/settings_page.h"
#include "gui/viewing/viewing_page.h"
#include "gui/widgets/form_builder.h"
#include "support/ui/form_fixture.h"

#include <QAbstractButton>
#include <QApplication>
#include <QGroupBox>
#include <QLabel>
#include <QStyle>
#include <QTest>
#include <QToolButton>

using namespace brevio;
using namespace brevio::test;

namespace {

// The width a control's one-line caption takes, 0 for a control without one.
int captionWidth(const QWidget* control)
{
    if (auto* button = qobject_cast<const QToolButton*>(control)) {
        // A flat button draws its caption inside its frame.
        const int frame = button->style()->pixelMetric(QStyle::PM_DefaultFrameWidth, nullptr, button);
        return button->fontMetrics().horizontalAdvance(button->text()) + 2 * frame;
    }
    if (auto* group = qobject_cast<const QGroupBox*>(control))
        return group->fontMetrics().horizontalAdvance(group->title());
    if (auto* label = qobject_cast<const QLabel*>(control))
        return label->wordWrap() ? 0 : label->sizeHint().width();
    if (qobject_cast<const QAbstractButton*>(control))
        return control->sizeHint().width();
    return 0;
}

// What keeps a visible control of `container`, or of a panel in it, from showing whole.
QStringList faultsOf(QWidget* container, const QString& where)
{
    QList<QWidget*> controls;
    for (QWidget* child : container->findChildren<QWidget*>(Qt::FindDirectChildrenOnly)) {
        if (!child->isHidden() && !child->objectName().isEmpty() && !child->isWindow())
            controls << child;
    }
    QStringList faults;
    for (int i = 0; i < controls.size(); ++i) {
        QWidget* control = controls[i];
        const QString name = where + QLatin1Char('/') + control->objectName();
        if (!container->rect().contains(control->geometry()))
            faults << name + QStringLiteral(" is cut by its panel");
        for (int j = i + 1; j < controls.size(); ++j) {
            if (control->geometry().intersects(controls[j]->geometry()))
                faults << name + QStringLiteral(" overlaps ") + controls[j]->objectName();
        }
        const int caption = captionWidth(control);
        if (caption > control->width())
            faults << name
                    + QStringLiteral(" cuts its caption (%1 of %2 pixels)")
                          .arg(control->width())
                          .arg(caption);
        if (caption > 0 && control->fontMetrics().height() > control->height())
            faults << name + QStringLiteral(" cuts its caption's height");
        if (Anchors::of(control))
            faults << faultsOf(control, name);
    }
    return faults;
}

} // namespace

class AppLayoutTest : public QObject
{
    Q_OBJECT

private Q_SLOTS:
    void initTestCase() { QApplication::setFont(interfaceFont()); }

    void everyPageShowsEveryControlWholeAtEverySize_data()
    {
        QTest::addColumn<QString>("language");
        QTest::addColumn<QString>("size");
        for (const char* language : {"rus", "eng"}) {
            for (const char* size : {"minimum", "created", "1.5 times", "maximised"})
                QTest::addRow("%s, %s", language, size) << QString::fromLatin1(language) << size;
        }
    }

    void everyPageShowsEveryControlWholeAtEverySize()
    {
        QFETCH(QString, language);
        QFETCH(QString, size);
        FormFixture f;
        f.write("dats.dat", "07.12.2026\r\n");
        f.write("ag_news.dat", "");
        f.write("07122026/aplp.dat", "Kanal 1:k1.txt\r\n");
        f.setSetting("Main", "Lang", language);
        TBrevioForm& form = f.start(true);
        const QSize created = form.size();
        if (size == "maximised") {
            form.showMaximized();
            QTRY_VERIFY(form.width() > created.width());
        } else {
            const QSize wanted = size == "minimum" ? form.minimumSize()
                : size == "created"                ? created
                                                   : created * 1.5;
            form.resize(wanted);
            QTRY_COMPARE(form.size(), wanted);
        }

        // Each page, and the states of a page that show more controls: the buttons pressed to get
        // there (the time-shift panel, the companion's settings, printing every channel on chosen
        // days).
        const char* const views[] = {"FlatSpeedButton11",
                                     "FlatSpeedButton12",
                                     "FlatSpeedButton13",
                                     "FlatSpeedButton22",
                                     "FlatSpeedButton33 FlatSpeedButton44",
                                     "FlatSpeedButton14",
                                     "FlatSpeedButton16 FlatCheckBox8",
                                     "FlatSpeedButton36"};
        const QList<QWidget*> pages{form.viewingPage(), form.retrievalPage(), form.settingsPage(),
                                    form.printingPage(), form.newsPage()};
        QStringList faults;
        for (const QString view : views) {
            for (const QString& name : view.split(QLatin1Char(' ')))
                QTest::mouseClick(form.findChild<QAbstractButton*>(name), Qt::LeftButton);
            for (QWidget* page : pages) {
                if (page->isHidden())
                    continue;
                if (!form.centralWidget()->rect().contains(page->geometry()))
                    faults << view + QStringLiteral(" is cut by the window");
                faults << faultsOf(page, view);
            }
        }
        for (const QString& fault : std::as_const(faults))
            qWarning("%s", qPrintable(fault));
        QVERIFY(faults.isEmpty());
    }
};

QTEST_MAIN(AppLayoutTest)
#include "app_layout_test.moc"
