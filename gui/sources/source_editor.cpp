#include "gui/sources/source_editor.h"

#include "core/texts/text_ids.h"
#include "gui/widgets/dialogs.h"
#include "gui/widgets/form_builder.h"
#include "gui/widgets/listing_options_form.h"
#include "gui/widgets/page_host.h"
#include "gui/widgets/qt_text.h"

#include <QCheckBox>
#include <QDialogButtonBox>
#include <QFormLayout>
#include <QHBoxLayout>
#include <QLabel>
#include <QLineEdit>
#include <QListWidget>
#include <QPushButton>
#include <QSpinBox>
#include <QVBoxLayout>

#include <algorithm>

namespace brevio {

namespace {

using sources::ListingSource;

constexpr int kNameRole = Qt::UserRole; // the channel's name, windows-1251
constexpr int kGiverRole = Qt::UserRole + 1; // the source above that gives it, if one does

int hoursOf(int minutes)
{
    return std::max(1, (minutes + 30) / 60);
}

} // namespace

SourceEditor::SourceEditor(PageHost& host, const std::vector<ListingSource>& sources, std::size_t index,
                           QWidget* parent)
    : QDialog(parent)
    , m_host(host)
    , m_source(index < sources.size() ? sources[index] : ListingSource{})
{
    setObjectName(QStringLiteral("SourceEditor"));
    for (std::size_t i = 0; i < sources.size(); ++i) {
        if (i == index)
            continue;
        m_otherAddresses.push_back(sources[i].address);
        m_otherNames.push_back(sources[i].name);
    }
    auto* layout = new QVBoxLayout(this);
    layout->addLayout(buildFields());
    m_options = new ListingOptionsForm(host, this);
    m_options->setValues(m_source.timeZone, m_source.dayStartMinutes, m_source.languages);
    layout->addWidget(m_options);
    m_keepLater = new QCheckBox(this);
    m_keepLater->setObjectName(QStringLiteral("KeepLaterChannels"));
    m_keepLater->setChecked(m_source.keepAll);
    layout->addWidget(m_keepLater);

    auto* filterRow = new QHBoxLayout;
    m_filterLabel = new QLabel(this);
    m_filter = new QLineEdit(this);
    m_filter->setObjectName(QStringLiteral("ChannelFilter"));
    m_filter->setClearButtonEnabled(true);
    m_filterLabel->setBuddy(m_filter);
    m_all = new QPushButton(this);
    m_all->setObjectName(QStringLiteral("TickAllChannels"));
    m_none = new QPushButton(this);
    m_none->setObjectName(QStringLiteral("TickNoChannels"));
    for (QPushButton* button : {m_all, m_none})
        button->setAutoDefault(false);
    filterRow->addWidget(m_filterLabel);
    filterRow->addWidget(m_filter, 1);
    filterRow->addWidget(m_all);
    filterRow->addWidget(m_none);
    m_channelsLabel = new QLabel(this);
    m_channels = new QListWidget(this);
    m_channels->setObjectName(QStringLiteral("SourceChannels"));
    m_channelsLabel->setBuddy(m_channels);
    layout->addWidget(m_channelsLabel);
    layout->addLayout(filterRow);
    layout->addWidget(m_channels, 1);
    fillChannels(sources, index);

    auto* buttons = new QDialogButtonBox(QDialogButtonBox::Ok | QDialogButtonBox::Cancel, this);
    layout->addWidget(buttons);
    connect(buttons, &QDialogButtonBox::accepted, this, &SourceEditor::accept);
    connect(buttons, &QDialogButtonBox::rejected, this, &SourceEditor::reject);
    m_host.connectGuarded(m_filter, &QLineEdit::textChanged, this, &SourceEditor::filterChannels);
    m_host.connectGuarded(m_all, &QPushButton::clicked, this, [this] { tickShown(true); });
    m_host.connectGuarded(m_none, &QPushButton::clicked, this, [this] { tickShown(false); });
    connect(&m_host, &PageHost::languageChanged, this, &SourceEditor::retranslate);
    retranslate();
    resize(520, 600);
}

QLayout* SourceEditor::buildFields()
{
    m_name = new QLineEdit(fromUtf8(m_source.name), this);
    m_name->setObjectName(QStringLiteral("SourceName"));
    m_address = new QLineEdit(fromUtf8(m_source.address), this);
    m_address->setObjectName(QStringLiteral("SourceAddress"));
    m_address->setPlaceholderText(QStringLiteral("https://…/guide.xml.gz"));
    m_enabled = new QCheckBox(this);
    m_enabled->setObjectName(QStringLiteral("SourceEnabled"));
    m_enabled->setChecked(m_source.enabled);
    m_interval = new QSpinBox(this);
    m_interval->setObjectName(QStringLiteral("SourceInterval"));
    m_interval->setRange(1, sources::kLongestIntervalMinutes / 60);
    m_interval->setValue(hoursOf(m_source.intervalMinutes));
    m_nameLabel = new QLabel(this);
    m_addressLabel = new QLabel(this);
    m_intervalLabel = new QLabel(this);
    m_nameLabel->setBuddy(m_name);
    m_addressLabel->setBuddy(m_address);
    m_intervalLabel->setBuddy(m_interval);
    auto* fields = new QFormLayout;
    fields->addRow(m_nameLabel, m_name);
    fields->addRow(m_addressLabel, m_address);
    fields->addRow(m_intervalLabel, m_interval);
    fields->addRow(m_enabled);
    return fields;
}

void SourceEditor::fillChannels(const std::vector<ListingSource>& sources, std::size_t index)
{
    const auto givenAbove = sources::channelsGivenAbove(sources, index);
    std::vector<std::pair<std::string, bool>> channels;
    for (const std::string& name : m_source.kept)
        channels.emplace_back(name, true);
    for (const std::string& name : m_source.offered)
        channels.emplace_back(name, false);
    std::sort(channels.begin(), channels.end(), [](const auto& a, const auto& b) {
        return fromData(a.first).compare(fromData(b.first), Qt::CaseInsensitive) < 0;
    });
    for (const auto& [name, kept] : channels) {
        // Made whole before it joins the list: an item changed afterwards is looked for among
        // all rows.
        auto* item = new QListWidgetItem;
        item->setData(kNameRole, QByteArray::fromStdString(name));
        if (const auto giver = givenAbove.find(name); giver != givenAbove.end())
            item->setData(kGiverRole, fromUtf8(sources[giver->second].name));
        item->setFlags(item->flags() | Qt::ItemIsUserCheckable);
        item->setCheckState(kept ? Qt::Checked : Qt::Unchecked);
        m_channels->addItem(item);
    }
}

void SourceEditor::retranslate()
{
    setWindowTitle(m_host.text(TextId::ListingSourcesTitle));
    const std::pair<QLabel*, TextId> labels[] = {{m_nameLabel, TextId::SourceNameColumn},
                                                 {m_addressLabel, TextId::SourceAddressColumn},
                                                 {m_intervalLabel, TextId::IntervalHours},
                                                 {m_channelsLabel, TextId::ChannelListName},
                                                 {m_filterLabel, TextId::FilterLabel}};
    for (const auto& [label, id] : labels) {
        label->setText(m_host.text(id) + QLatin1Char(':'));
        setAccessibleNameOf(label->buddy(), m_host.text(id));
    }
    setCaption(m_enabled, m_host.text(TextId::SourceEnabledColumn));
    setCaption(m_keepLater, m_host.text(TextId::KeepLaterChannels));
    setCaption(m_all, m_host.text(TextId::TickAll));
    setCaption(m_none, m_host.text(TextId::TickNone));
    for (int i = 0; i < m_channels->count(); ++i) {
        QListWidgetItem* item = m_channels->item(i);
        const QString name = fromData(item->data(kNameRole).toByteArray().toStdString());
        const QString giver = item->data(kGiverRole).toString();
        item->setText(giver.isEmpty() ? name : m_host.text(TextId::GivenAbove).arg(name, giver));
    }
}

void SourceEditor::filterChannels()
{
    const QString wanted = m_filter->text().trimmed();
    for (int i = 0; i < m_channels->count(); ++i) {
        QListWidgetItem* item = m_channels->item(i);
        const QString name = fromData(item->data(kNameRole).toByteArray().toStdString());
        item->setHidden(!name.contains(wanted, Qt::CaseInsensitive));
    }
}

void SourceEditor::tickShown(bool ticked)
{
    for (int i = 0; i < m_channels->count(); ++i) {
        QListWidgetItem* item = m_channels->item(i);
        if (!item->isHidden())
            item->setCheckState(ticked ? Qt::Checked : Qt::Unchecked);
    }
}

ListingSource SourceEditor::edited() const
{
    ListingSource source = m_source;
    source.address = m_address->text().trimmed().toStdString();
    const QString name = m_name->text().trimmed();
    source.name = name.isEmpty() ? sources::defaultSourceName(source.address) : name.toStdString();
    source.enabled = m_enabled->isChecked();
    // An interval of other than whole hours (set in the settings file) stays while left alone.
    if (m_interval->value() != hoursOf(m_source.intervalMinutes))
        source.intervalMinutes = m_interval->value() * 60;
    source.timeZone = m_options->zone();
    source.dayStartMinutes = m_options->dayStartMinutes();
    source.languages = m_options->languages();
    source.keepAll = m_keepLater->isChecked();
    source.kept.clear();
    source.offered.clear();
    for (int i = 0; i < m_channels->count(); ++i) {
        const QListWidgetItem* item = m_channels->item(i);
        (item->checkState() == Qt::Checked ? source.kept : source.offered)
            .push_back(item->data(kNameRole).toByteArray().toStdString());
    }
    return source;
}

void SourceEditor::accept()
{
    const ListingSource source = edited();
    if (const auto problem = sources::addressProblem(source.address)) {
        m_host.dialogs().message(fromUtf8(*problem));
        return;
    }
    const auto same = std::find(m_otherAddresses.begin(), m_otherAddresses.end(), source.address);
    if (same != m_otherAddresses.end()) {
        const auto at = static_cast<std::size_t>(same - m_otherAddresses.begin());
        m_host.dialogs().message(
            m_host.text(TextId::AddressTaken).arg(fromUtf8(source.address), fromUtf8(m_otherNames[at])));
        return;
    }
    QDialog::accept();
}

} // namespace brevio
