// Every page of the real window (offscreen, in the interface font) at the sizes a user gives it:
// no visible control covers another or reaches past its panel, and every caption fits.
#include "app/brevio_form.h"
#include "app/form_builder.h"
#include "app/settings_page.h"
#include "net/retrieval_page.h"
#include "news/news_page.h"
#include "print/printing_page.h"
#include "support/ui/form_fixture.h"
#include "view/viewing_page.h"

#include <QAbstractButton>
#include <QApplication>
#include <QCheckBox>
#include <QGroupBox>
#include <QLabel>
#include <QScreen>
#include <QStyle>
#include <QTest>
#include <QToolButton>

using namespace brevio;
using namespace brevio::test;

namespace {

enum class WindowSize { Minimum, Created, HalfAgainAsLarge, Maximised };

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

void click(TBrevioForm& form, const char* name)
{
    auto* button = form.findChild<QAbstractButton*>(QString::fromLatin1(name));
    QVERIFY2(button, name);
    QTest::mouseClick(button, Qt::LeftButton);
}

} // namespace

Q_DECLARE_METATYPE(WindowSize)

class AppLayoutTest : public QObject
{
    Q_OBJECT

private Q_SLOTS:
    void initTestCase() { QApplication::setFont(interfaceFont()); }

    void everyPageShowsEveryControlWholeAtEverySize_data()
    {
        QTest::addColumn<QString>("language");
        QTest::addColumn<WindowSize>("size");
        const std::pair<const char*, WindowSize> sizes[] = {{"minimum", WindowSize::Minimum},
                                                            {"created", WindowSize::Created},
                                                            {"1.5 times", WindowSize::HalfAgainAsLarge},
                                                            {"maximised", WindowSize::Maximised}};
        for (const char* language : {"rus", "eng"}) {
            for (const auto& [name, size] : sizes)
                QTest::addRow("%s, %s", language, name) << QString::fromLatin1(language) << size;
        }
    }

    void everyPageShowsEveryControlWholeAtEverySize()
    {
        QFETCH(QString, language);
        QFETCH(WindowSize, size);
        FormFixture f;
        f.write("dats.dat", "07.12.2026\r\n");
        f.write("ag_news.dat", "");
        f.write("07122026/aplp.dat", "Kanal 1:k1.txt\r\n");
        f.setSetting("Main", "Lang", language);
        TBrevioForm& form = f.start(true);
        const QSize created = form.size();
        switch (size) {
        case WindowSize::Minimum:
            form.resize(form.minimumSize());
            QTRY_COMPARE(form.size(), form.minimumSize());
            break;
        case WindowSize::Created:
            break;
        case WindowSize::HalfAgainAsLarge:
            form.resize(created * 1.5);
            QTRY_COMPARE(form.size(), created * 1.5);
            break;
        case WindowSize::Maximised:
            form.showMaximized();
            QTRY_VERIFY(form.size().width() > created.width());
            break;
        }

        // Each page, and the states of a page that show other controls.
        const std::pair<const char*, std::function<void()>> views[] = {
            {"viewing", [&] { QTest::mouseClick(form.pageButtons()[0], Qt::LeftButton); }},
            {"retrieval", [&] { QTest::mouseClick(form.pageButtons()[1], Qt::LeftButton); }},
            {"settings", [&] { QTest::mouseClick(form.pageButtons()[2], Qt::LeftButton); }},
            {"time shift", [&] { click(form, "FlatSpeedButton22"); }},
            {"companion",
             [&] {
                 click(form, "FlatSpeedButton33");
                 click(form, "FlatSpeedButton44");
             }},
            {"printing", [&] { QTest::mouseClick(form.pageButtons()[3], Qt::LeftButton); }},
            {"printing every channel",
             [&] {
                 click(form, "FlatSpeedButton16");
                 click(form, "FlatCheckBox8");
             }},
            {"news", [&] { QTest::mouseClick(form.pageButtons()[4], Qt::LeftButton); }},
        };
        const QList<QWidget*> pages{form.viewingPage(), form.retrievalPage(), form.settingsPage(),
                                    form.printingPage(), form.newsPage()};
        QStringList faults;
        for (const auto& [name, show] : views) {
            show();
            for (QWidget* page : pages) {
                if (page->isHidden())
                    continue;
                if (!form.centralWidget()->rect().contains(page->geometry()))
                    faults << QString::fromLatin1(name) + QStringLiteral(" is cut by the window");
                faults << faultsOf(page, QString::fromLatin1(name));
            }
        }
        for (const QString& fault : std::as_const(faults))
            qWarning("%s", qPrintable(fault));
        QVERIFY(faults.isEmpty());
    }
};

QTEST_MAIN(AppLayoutTest)
#include "app_layout_test.moc"
