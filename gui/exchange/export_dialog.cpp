#include "gui/exchange/export_dialog.h"

#include "core/texts/text_ids.h"
#include "gui/widgets/form_builder.h"
#include "gui/widgets/page_host.h"

#include <QCheckBox>
#include <QDialogButtonBox>
#include <QHBoxLayout>
#include <QLabel>
#include <QPushButton>
#include <QRadioButton>
#include <QSpinBox>
#include <QVBoxLayout>

namespace brevio {

namespace {

constexpr int kDefaultReminder = 15;
constexpr int kLongestReminder = 24 * 60;

} // namespace

ExportDialog::ExportDialog(const PageHost& host, Kind kind, const QString& title, const QString& week,
                           int tickedChannels)
    : QDialog(host.window())
{
    setObjectName(QStringLiteral("ExportDialog"));
    setWindowTitle(title);
    auto* layout = new QVBoxLayout(this);
    // What goes into the file, in words.
    auto* what = new QLabel(
        host.text(kind == Kind::Xmltv ? TextId::ListingExportWhat : TextId::CalendarExportWhat).arg(week),
        this);
    what->setObjectName(QStringLiteral("ExportWhat"));
    layout->addWidget(what);
    if (kind == Kind::Xmltv) {
        m_all = new QRadioButton(this);
        m_all->setObjectName(QStringLiteral("ExportAllChannels"));
        setCaption(m_all, host.text(TextId::ExportAllChannels));
        m_all->setChecked(true);
        m_ticked = new QRadioButton(this);
        m_ticked->setObjectName(QStringLiteral("ExportTickedChannels"));
        setCaption(m_ticked,
                   host.text(TextId::ExportTickedChannels) + QStringLiteral(" (%1)").arg(tickedChannels));
        m_ticked->setEnabled(tickedChannels > 0);
        layout->addWidget(m_all);
        layout->addWidget(m_ticked);
    } else {
        auto* row = new QHBoxLayout;
        m_reminder = new QCheckBox(this);
        m_reminder->setObjectName(QStringLiteral("ExportReminder"));
        setCaption(m_reminder, host.text(TextId::RemindBefore));
        m_minutes = new QSpinBox(this);
        m_minutes->setObjectName(QStringLiteral("ExportReminderMinutes"));
        m_minutes->setRange(0, kLongestReminder);
        m_minutes->setValue(kDefaultReminder);
        m_minutes->setEnabled(false);
        m_minutes->setAccessibleName(QString(host.text(TextId::RemindBefore)).remove(QLatin1Char(':')));
        connect(m_reminder, &QCheckBox::toggled, m_minutes, &QSpinBox::setEnabled);
        row->addWidget(m_reminder);
        row->addWidget(m_minutes);
        layout->addLayout(row);
    }
    auto* buttons = new QDialogButtonBox(QDialogButtonBox::Cancel, this);
    m_export = buttons->addButton(host.text(TextId::ExportButton), QDialogButtonBox::AcceptRole);
    m_export->setObjectName(QStringLiteral("ExportButton"));
    m_export->setDefault(true);
    for (QAbstractButton* button : buttons->buttons())
        button->setAccessibleName(button->text().remove(QLatin1Char('&')));
    connect(buttons, &QDialogButtonBox::accepted, this, &QDialog::accept);
    connect(buttons, &QDialogButtonBox::rejected, this, &QDialog::reject);
    layout->addWidget(buttons);
}

bool ExportDialog::tickedOnly() const
{
    return m_ticked && m_ticked->isChecked();
}

std::optional<int> ExportDialog::reminderMinutes() const
{
    if (!m_reminder || !m_reminder->isChecked())
        return std::nullopt;
    return m_minutes->value();
}

} // namespace brevio
