#include "news/news_page.h"

#include "app/brevio_form.h"
#include "app/form_builder.h"

#include <QButtonGroup>
#include <QComboBox>
#include <QLabel>
#include <QTextEdit>
#include <QToolButton>

namespace brevio {

NewsPage::NewsPage(TBrevioForm& form, QWidget* parent)
    : QFrame(parent)
    , m_form(form)
{
    setObjectName(QStringLiteral("Panel10"));
    new Anchors(this, QSize(707, 359));

    makeSpeedButton(this, "FlatSpeedButton49", QStringLiteral("Загрузить все новости"), {8, 8, 185, 17})
        ->setEnabled(false);
    auto* modes = new QButtonGroup(this);
    makeSpeedButton(this, "FlatSpeedButton37", QStringLiteral("Просмотр"), {8, 32, 92, 17}, modes)
        ->setChecked(true);
    makeSpeedButton(this, "FlatSpeedButton38", QStringLiteral("Загрузка"), {102, 32, 91, 17}, modes);

    setCaption(makeControl<QLabel>(this, "Label24", {11, 62, 80, 15}), QStringLiteral("Курсы валют:"));
    auto* sources = new QButtonGroup(this);
    makeSpeedButton(this, "FlatSpeedButton39", QStringLiteral("НБУ"), {94, 60, 33, 17}, sources);
    makeSpeedButton(this, "FlatSpeedButton40", QStringLiteral("ЦБР"), {127, 60, 33, 17}, sources);
    makeSpeedButton(this, "FlatSpeedButton48", QStringLiteral("ЦБК"), {160, 60, 33, 17});
    setCaption(makeControl<QLabel>(this, "Label21", {75, 82, 60, 15}), QStringLiteral("Новости:"));
    makeSpeedButton(this, "FlatSpeedButton43", QStringLiteral("РИА \"Ореанда\""), {8, 96, 89, 17}, sources);
    makeSpeedButton(this, "FlatSpeedButton25", QStringLiteral("Подробности"), {104, 96, 89, 17}, sources);
    makeSpeedButton(this, "FlatSpeedButton47", QStringLiteral("EZHEpravda"), {8, 113, 89, 17}, sources);
    makeSpeedButton(this, "FlatSpeedButton26", QStringLiteral("uaSport"), {104, 113, 89, 17}, sources);
    makeSpeedButton(this, "FlatSpeedButton51", QStringLiteral("Корреспондент"), {8, 136, 185, 17}, sources);
    makeSpeedButton(this, "FlatSpeedButton52", QStringLiteral("УНЛ результаты тиражей"), {8, 160, 185, 17},
                    sources);
    makeSpeedButton(this, "FlatSpeedButton53", QStringLiteral("RusDisney"), {8, 184, 89, 17}, sources);
    auto* city = makeControl<QComboBox>(this, "FlatComboBox2", {8, 224, 129, 21});
    city->setEditable(true);
    city->setEditText(QStringLiteral("выбрать город"));
    city->setAccessibleName(QStringLiteral("Город"));
    makeSpeedButton(this, "FlatSpeedButton54", QStringLiteral("Погода"), {144, 224, 49, 21}, sources);
    auto* dummy
        = makeSpeedButton(this, "FlatSpeedButton41", QStringLiteral("пустышка"), {0, 0, 0, 0}, sources);
    dummy->hide();
    sources->setExclusive(true);

    m_status = makeControl<QLabel>(this, "Panel11", {8, 320, 185, 19});
    m_status->setFrameStyle(QFrame::Panel | QFrame::Sunken);
    m_status->setAccessibleName(QStringLiteral("Состояние связи"));

    // Placed at start-up 250 and 40 pixels short of the page's width and height.
    const QRect paneRect(208, 8, 707 - 250, 359 - 40);
    m_pane = makePane(this, "RxRichEdit2", QStringLiteral("Новости"), paneRect, true);
    m_pane->setLineWrapMode(QTextEdit::WidgetWidth);
    m_browserPanel = makePanel(this, "Panel13", paneRect, AnchorAll);
    m_browserPanel->hide();
}

void NewsPage::pageOpened()
{
    const QRect fitted(208, 8, width() - 213, height() - 13);
    // Design coordinates: the anchoring keeps the 5-pixel margins as the window changes size.
    const QRect design(208, 8, 707 - 213, 359 - 13);
    Anchors::of(this)->replace(m_pane, design);
    Anchors::of(this)->replace(m_browserPanel, design);
    Q_ASSERT(m_pane->geometry() == fitted);
    m_browserPanel->hide();
}

} // namespace brevio
