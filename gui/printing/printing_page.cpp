#include "gui/printing/printing_page.h"

#include "app/main_window.h"
#include "core/print/print_document.h"
#include "gui/extras/link_addresses.h"
#include "gui/printing/print_form.h"
#include "gui/viewing/viewing_page.h"
#include "gui/widgets/form_builder.h"
#include "gui/widgets/pane_lines.h"
#include "gui/widgets/qt_text.h"

#include <QButtonGroup>
#include <QCheckBox>
#include <QLabel>
#include <QListWidget>
#include <QSpinBox>
#include <QTextEdit>
#include <QToolButton>

namespace brevio {

namespace {

QLabel* rightAlignedLabel(QWidget* parent, const char* name, const QString& caption, int top)
{
    // Labels end just before the spin boxes at left 296, right of the buttons that end at 185.
    auto* label = makeControl<QLabel>(parent, name, {190, top + 3, 100, 15});
    label->setAlignment(Qt::AlignRight | Qt::AlignVCenter);
    setCaption(label, caption);
    return label;
}

} // namespace

PrintingPage::PrintingPage(TBrevioForm& form, QWidget* parent)
    : QFrame(parent)
    , m_form(form)
{
    setObjectName(QStringLiteral("Panel5"));
    new Anchors(this, QSize(707, 359));

    auto* modes = new QButtonGroup(this);
    m_selectedMode
        = makeSpeedButton(this, "FlatSpeedButton15", QStringLiteral("Отобранные"), {16, 8, 169, 17}, modes);
    m_allChannelsMode = makeSpeedButton(this, "FlatSpeedButton16", QStringLiteral("Все телеканалы"),
                                        {16, 25, 169, 17}, modes);
    m_selectedMode->setChecked(true);

    m_allDays = makeCheckBox(this, "FlatCheckBox8", QStringLiteral("Все дни"), {24, 48, 89, 17});
    m_allDays->setChecked(true);
    m_allDays->setEnabled(false);
    QWidget* days = makePanel(this, "Panel8", {16, 71, 169, 117});
    m_dayPanel = days;
    const char* const dayNames[]
        = {"Понедельник", "Вторник", "Среда", "Четверг", "Пятница", "Суббота", "Воскресенье"};
    for (int d = 0; d < 7; ++d) {
        const QByteArray name = "FlatCheckBox" + QByteArray::number(d + 1);
        m_days[static_cast<std::size_t>(d)]
            = makeCheckBox(days, name.constData(), QString::fromUtf8(dayNames[d]), {8, 4 + d * 16, 150, 16});
        m_days[static_cast<std::size_t>(d)]->setChecked(true);
    }
    days->hide();
    auto* print = makeSpeedButton(this, "FlatButton1", QStringLiteral("Печатать"), {16, 232, 169, 17});

    struct SpinRow
    {
        const char* spin;
        const char* label;
        const char* caption;
        int top, minimum, maximum, value;
    };
    const SpinRow rows[] = {
        {"RxSpinEdit1", "Label8", "Колонок", 16, 1, 5, 3},
        {"RxSpinEdit6", "Label14", "Между колонками", 40, 0, 50, 0},
        {"RxSpinEdit2", "Label9", "Левое", 96, 1, 100, 10},
        {"RxSpinEdit3", "Label10", "Правое", 120, 1, 100, 10},
        {"RxSpinEdit4", "Label11", "Верхнее", 144, 1, 100, 10},
        {"RxSpinEdit5", "Label12", "Нижнее", 168, 1, 100, 10},
    };
    for (std::size_t i = 0; i < m_spins.size(); ++i) {
        const SpinRow& row = rows[i];
        m_spins[i] = makeSpinBox(this, row.spin, {296, row.top, 57, 21}, row.minimum, row.maximum, row.value);
        auto* label = rightAlignedLabel(this, row.label, QString::fromUtf8(row.caption), row.top);
        label->setBuddy(m_spins[i]);
    }
    auto* margins = makeControl<QLabel>(this, "Label13", {232, 80, 120, 15});
    setCaption(margins, QStringLiteral("Поля печати:"));

    auto* byDays = new QButtonGroup(this);
    auto* days1
        = makeSpeedButton(this, "FlatSpeedButton17", QStringLiteral("По дням"), {368, 8, 113, 17}, byDays);
    auto* byChannels
        = makeSpeedButton(this, "FlatSpeedButton18", QStringLiteral("По каналам"), {488, 8, 113, 17}, byDays);
    days1->setChecked(true);
    byChannels->setEnabled(false);
    days1->hide();
    byChannels->hide();
    m_layoutButtons = {days1, byChannels};
    m_channels = makeControl<QListWidget>(this, "CheckListBox1", {368, 32, 233, 319},
                                          AnchorLeft | AnchorTop | AnchorBottom);
    m_channels->hide();

    connect(m_selectedMode, &QToolButton::clicked, this,
            [this] { m_form.guard([this] { FlatSpeedButton15Click(); }); });
    connect(m_allChannelsMode, &QToolButton::clicked, this,
            [this] { m_form.guard([this] { FlatSpeedButton16Click(); }); });
    connect(m_allDays, &QCheckBox::clicked, this, [this] { m_form.guard([this] { FlatCheckBox8Click(); }); });
    connect(print, &QToolButton::clicked, this, [this] { m_form.guard([this] { FlatButton1Click(); }); });
}

void PrintingPage::FlatSpeedButton15Click()
{
    m_channels->hide();
    for (auto* button : m_layoutButtons)
        button->hide();
    m_allDays->setChecked(true);
    m_allDays->setEnabled(false);
    FlatCheckBox8Click();
}

void PrintingPage::FlatSpeedButton16Click()
{
    m_channels->show();
    for (auto* button : m_layoutButtons)
        button->show();
    m_allDays->setChecked(false);
    m_allDays->setEnabled(true);
    FlatCheckBox8Click();
}

void PrintingPage::FlatCheckBox8Click()
{
    const bool all = m_allDays->isChecked();
    m_dayPanel->setVisible(!all);
    for (auto* day : m_days)
        day->setChecked(all);
}

std::array<std::string, 7> PrintingPage::dayCaptions() const
{
    // The weekday boxes carry the day names of the interface language.
    std::array<std::string, 7> captions;
    for (std::size_t d = 0; d < captions.size(); ++d)
        captions[d] = toData(m_days[d]->text());
    return captions;
}

std::vector<std::string> PrintingPage::buildDocument() const
{
    if (m_selectedMode->isChecked()) {
        print::SelectedLists lists;
        for (std::size_t l = 0; l < lists.size(); ++l)
            lists[l] = view::linesOf(m_form.viewingPage()->listPane(static_cast<int>(l)));
        return print::selectedShowsDocument(dayCaptions(), lists);
    }
    std::vector<bool> checked(static_cast<std::size_t>(m_channels->count()));
    for (int i = 0; i < m_channels->count(); ++i)
        checked[static_cast<std::size_t>(i)] = m_channels->item(i)->checkState() == Qt::Checked;
    std::array<bool, 7> printedDays{};
    for (std::size_t d = 0; d < printedDays.size(); ++d)
        printedDays[d] = m_days[d]->isChecked();
    view::DayPanes days;
    print::collectCheckedChannels(m_form.currentWeekFolder(), checked, days);
    return print::weekScheduleDocument(dayCaptions(), printedDays, days);
}

void PrintingPage::FlatButton1Click()
{
    TTVPrintForm printForm;
    printForm.setReportTitle(m_form.text(104));
    ReportLayout layout;
    layout.bottom = m_spins[5]->value();
    layout.left = m_spins[2]->value();
    layout.right = m_spins[3]->value();
    layout.top = m_spins[4]->value();
    layout.columns = m_spins[0]->value();
    layout.columnGap = m_spins[1]->value();
    printForm.report().setLayout(layout);
    printForm.report().setTextFont(m_form.paneFont());
    printForm.report().setHeaderText(ColumnReport::headerText(homePageAddress(m_form.settings())));

    // The day panes once served as the document's buffers, so a print leaves them empty, and
    // a print that stops half-way leaves no mixture of channels in them either.
    std::vector<std::string> document;
    try {
        document = buildDocument();
    } catch (...) {
        m_form.viewingPage()->clearDayPanes();
        throw;
    }
    m_form.viewingPage()->clearDayPanes();

    QStringList lines;
    lines.reserve(static_cast<qsizetype>(document.size()));
    for (const auto& line : document)
        lines << fromData(line);
    printForm.report().setLines(std::move(lines));
    if (m_preview)
        m_preview(printForm);
    else
        printForm.preview(window());
}

} // namespace brevio
