#include "view/viewing_page.h"

#include "app/brevio_form.h"
#include "app/form_builder.h"
#include "app/qt_text.h"
#include "store/channel_list.h"
#include "store/file_io.h"
#include "store/file_names.h"
#include "store/line_reader.h"
#include "store/week_folder.h"

#include <QButtonGroup>
#include <QComboBox>
#include <QListWidget>
#include <QTextEdit>
#include <QToolButton>

namespace brevio {

namespace {

const char* const kDayButtonNames[]
    = {"FlatSpeedButton1", "FlatSpeedButton2", "FlatSpeedButton3", "FlatSpeedButton4",
       "FlatSpeedButton5", "FlatSpeedButton6", "FlatSpeedButton7"};
const char* const kDayCaptions[] = {"Пн", "Вт", "Ср", "Чт", "Пт", "Сб", "Вс"};
const char* const kDayNames[]
    = {"Понедельник", "Вторник", "Среда", "Четверг", "Пятница", "Суббота", "Воскресенье"};

// Lines shown in a pane: one paragraph each.
QString paneTextOf(const std::vector<std::string>& lines)
{
    QStringList shown;
    shown.reserve(static_cast<qsizetype>(lines.size()));
    for (const auto& line : lines)
        shown << fromData(line);
    return shown.join(QLatin1Char('\n'));
}

} // namespace

ViewingPage::ViewingPage(TBrevioForm& form, QWidget* parent)
    : QFrame(parent)
    , m_form(form)
{
    setObjectName(QStringLiteral("Panel2"));
    new Anchors(this, QSize(707, 359));

    m_modeGroup = new QButtonGroup(this);
    m_dayGroup = new QButtonGroup(this);
    m_all = makeSpeedButton(this, "FlatSpeedButton8", QStringLiteral("Все"), {5, 6, 46, 20}, m_modeGroup);
    m_selected = makeSpeedButton(this, "FlatSpeedButton9", QStringLiteral("Отобранные"), {52, 6, 75, 20},
                                 m_modeGroup);
    m_nextMonday = makeSpeedButton(this, "FlatSpeedButton10", QStringLiteral("Следующий Пн"),
                                   {127, 6, 111, 20}, m_dayGroup);
    const int dayLefts[] = {5, 34, 61, 88, 115, 142, 169};
    for (int d = 0; d < kDays; ++d) {
        m_dayButtons[d] = makeSpeedButton(this, kDayButtonNames[d], QString::fromUtf8(kDayCaptions[d]),
                                          {dayLefts[d], 31, d == 0 ? 29 : 27, 20}, m_dayGroup);
        connect(m_dayButtons[d], &QToolButton::clicked, this,
                [this] { m_form.guard([this] { ButtonsDaysClick(); }); });
    }
    m_now = makeSpeedButton(this, "FlatSpeedButton31", QStringLiteral("Сейчас"), {196, 31, 42, 20},
                            m_modeGroup);
    m_all->setChecked(true);

    connect(m_all, &QToolButton::clicked, this,
            [this] { m_form.guard([this] { FlatSpeedButton8Click(); }); });
    connect(m_selected, &QToolButton::clicked, this,
            [this] { m_form.guard([this] { FlatSpeedButton9Click(); }); });
    connect(m_nextMonday, &QToolButton::clicked, this,
            [this] { m_form.guard([this] { FlatSpeedButton10Click(); }); });

    m_channelList = makeControl<QListWidget>(this, "TextListBox1", {5, 56, 234, 299},
                                             AnchorLeft | AnchorTop | AnchorBottom);
    m_channelList->setAccessibleName(QStringLiteral("Каналы"));
    m_channelList->setSelectionMode(QAbstractItemView::SingleSelection);

    // The panes lie on one spot; the visibility rule shows one at a time.
    const QRect paneRect(245, 5, 707 - 249, 359 - 9);
    for (int d = 0; d < kDays; ++d) {
        const QByteArray name = "RichEdit" + QByteArray::number(2 + d);
        m_dayPanes[d] = makePane(this, name.constData(), QString::fromUtf8(kDayNames[d]), paneRect, true);
    }
    for (int l = 0; l < kLists; ++l) {
        const QByteArray name = "RichEdit" + QByteArray::number(9 + l);
        const QString accessible = l < kDays
            ? QString::fromUtf8(kDayNames[l]) + QStringLiteral(" — отобранные")
            : QStringLiteral("Следующий понедельник — отобранные");
        m_listPanes[l] = makePane(this, name.constData(), accessible, paneRect, false);
    }
    m_nowPane = makePane(this, "RichEdit17", QStringLiteral("Сейчас в эфире"), paneRect, true);
    ButtonsDaysClick();
}

QList<QTextEdit*> ViewingPage::schedulePanes() const
{
    QList<QTextEdit*> panes(m_dayPanes.begin(), m_dayPanes.end());
    panes.append(QList<QTextEdit*>(m_listPanes.begin(), m_listPanes.end()));
    panes.append(m_nowPane);
    return panes;
}

void ViewingPage::setDayButtonDown(int day)
{
    m_dayButtons[day]->setChecked(true);
}

void ViewingPage::clearDayPanes()
{
    for (auto* pane : m_dayPanes)
        pane->clear();
}

void ViewingPage::ButtonsDaysClick()
{
    const bool all = m_all->isChecked();
    const bool selected = m_selected->isChecked();
    for (int d = 0; d < kDays; ++d) {
        m_dayPanes[d]->setVisible(all && m_dayButtons[d]->isChecked());
        m_listPanes[d]->setVisible(selected && m_dayButtons[d]->isChecked());
    }
    m_listPanes[kDays]->setVisible(selected && m_nextMonday->isChecked());
    m_nowPane->setVisible(m_now->isChecked());
    m_nextMonday->setEnabled(selected);
}

void ViewingPage::FlatSpeedButton8Click()
{
    for (auto* button : m_dayButtons)
        button->setEnabled(true);
    ButtonsDaysClick();
}

void ViewingPage::FlatSpeedButton9Click()
{
    for (auto* button : m_dayButtons)
        button->setEnabled(true);
    ButtonsDaysClick();
}

void ViewingPage::FlatSpeedButton10Click()
{
    ButtonsDaysClick();
}

void ViewingPage::FlatComboBox1Change()
{
    clearDayPanes();
    LoadWeek();
}

void ViewingPage::LoadWeek()
{
    m_form.setChannelNames({});
    const std::string folder = m_form.currentWeekFolder();
    QStringList names;
    for (const auto& line : store::readLines(folder + std::string(store::kChannelListFile)))
        names << fromData(store::splitChannelLine(line).name);
    m_form.setChannelNames(names);
    loadSelectedLists(folder);
}

void ViewingPage::loadSelectedLists(const std::string& weekFolder)
{
    for (int l = 0; l < kLists; ++l) {
        const std::string path = weekFolder + std::string(store::selectedListFile(l));
        if (store::fileExists(path))
            m_listPanes[l]->setPlainText(paneTextOf(store::splitPaneLines(store::readFile(path))));
        else
            m_listPanes[l]->clear();
    }
}

} // namespace brevio
