#include "print/printing_page.h"

#include "app/brevio_form.h"
#include "app/form_builder.h"

#include <QButtonGroup>
#include <QCheckBox>
#include <QLabel>
#include <QListWidget>
#include <QSpinBox>
#include <QToolButton>

namespace brevio {

namespace {

QLabel* rightAlignedLabel(QWidget* parent, const char* name, const QString& caption, int top)
{
    // Labels end just before the spin boxes at left 296.
    auto* label = makeControl<QLabel>(parent, name, {150, top + 3, 140, 15});
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
    auto* selected
        = makeSpeedButton(this, "FlatSpeedButton15", QStringLiteral("Отобранные"), {16, 8, 169, 17}, modes);
    makeSpeedButton(this, "FlatSpeedButton16", QStringLiteral("Все телеканалы"), {16, 24, 169, 17}, modes);
    selected->setChecked(true);

    auto* allDays = makeCheckBox(this, "FlatCheckBox8", QStringLiteral("Все дни"), {24, 48, 89, 17});
    allDays->setChecked(true);
    allDays->setEnabled(false);
    QWidget* days = makePanel(this, "Panel8", {16, 71, 169, 117});
    const char* const dayNames[]
        = {"Понедельник", "Вторник", "Среда", "Четверг", "Пятница", "Суббота", "Воскресенье"};
    for (int d = 0; d < 7; ++d) {
        const QByteArray name = "FlatCheckBox" + QByteArray::number(d + 1);
        makeCheckBox(days, name.constData(), QString::fromUtf8(dayNames[d]), {8, 4 + d * 16, 150, 16})
            ->setChecked(true);
    }
    days->hide();
    makeSpeedButton(this, "FlatButton1", QStringLiteral("Печатать"), {16, 232, 169, 17});

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
        m_spins[i]->setAccessibleName(label->text());
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
    m_channels = makeControl<QListWidget>(this, "CheckListBox1", {368, 32, 233, 319},
                                          AnchorLeft | AnchorTop | AnchorBottom);
    m_channels->setAccessibleName(QStringLiteral("Каналы для печати"));
    m_channels->hide();
}

} // namespace brevio
