#include "gui/widgets/listing_options_form.h"

#include "core/exchange/broadcast_day.h"
#include "core/texts/text_ids.h"
#include "gui/widgets/form_builder.h"
#include "gui/widgets/page_host.h"

#include <QComboBox>
#include <QFormLayout>
#include <QLabel>
#include <QLineEdit>
#include <QRegularExpression>
#include <QTimeEdit>

namespace brevio {

std::vector<std::string> languageCodes(const QString& text)
{
    std::vector<std::string> codes;
    static const QRegularExpression separators(QStringLiteral("[,\\s]+"));
    for (const QString& code : text.split(separators, Qt::SkipEmptyParts))
        codes.push_back(code.toLower().toStdString());
    return codes;
}

ListingOptionsForm::ListingOptionsForm(const PageHost& host, QWidget* parent)
    : QWidget(parent)
    , m_host(host)
{
    setObjectName(QStringLiteral("ListingOptions"));
    m_zone = new QComboBox(this);
    m_zone->setObjectName(QStringLiteral("TimeZoneChoice"));
    m_zone->addItem(QString(), QString()); // this computer's; its text follows the language
    for (const std::string& zone : exchange::systemTimeZones())
        m_zone->addItem(QString::fromStdString(zone), QString::fromStdString(zone));
    if (m_zone->findData(QStringLiteral("UTC")) < 0)
        m_zone->addItem(QStringLiteral("UTC"), QStringLiteral("UTC"));
    m_dayStart = new QTimeEdit(this);
    m_dayStart->setObjectName(QStringLiteral("DayStartTime"));
    m_dayStart->setDisplayFormat(QStringLiteral("HH:mm"));
    m_languages = new QLineEdit(this);
    m_languages->setObjectName(QStringLiteral("LanguageField"));

    auto* layout = new QFormLayout(this);
    layout->setContentsMargins(0, 0, 0, 0);
    m_zoneLabel = new QLabel(this);
    m_dayStartLabel = new QLabel(this);
    m_languagesLabel = new QLabel(this);
    m_zoneLabel->setBuddy(m_zone);
    m_dayStartLabel->setBuddy(m_dayStart);
    m_languagesLabel->setBuddy(m_languages);
    layout->addRow(m_zoneLabel, m_zone);
    layout->addRow(m_dayStartLabel, m_dayStart);
    layout->addRow(m_languagesLabel, m_languages);
    setValues({}, exchange::kDefaultDayStartMinutes, {"ru"});
    connect(&m_host, &PageHost::languageChanged, this, &ListingOptionsForm::retranslate);
    retranslate();
}

void ListingOptionsForm::retranslate()
{
    const std::pair<QLabel*, TextId> labels[] = {{m_zoneLabel, TextId::TimeZoneLabel},
                                                 {m_dayStartLabel, TextId::DayStartLabel},
                                                 {m_languagesLabel, TextId::LanguagesLabel}};
    for (const auto& [label, id] : labels) {
        label->setText(m_host.text(id) + QLatin1Char(':'));
        setAccessibleNameOf(label->buddy(), m_host.text(id));
    }
    m_zone->setItemText(0, m_host.text(TextId::MachineZone));
}

void ListingOptionsForm::setValues(const std::string& zone, int dayStartMinutes,
                                   const std::vector<std::string>& languages)
{
    const QString name = QString::fromStdString(zone);
    // A zone that the list lacks (a rule such as "MSK-3", written by hand) is offered as it is.
    if (m_zone->findData(name) < 0)
        m_zone->addItem(name, name);
    m_zone->setCurrentIndex(m_zone->findData(name));
    m_dayStart->setTime(QTime(dayStartMinutes / 60, dayStartMinutes % 60));
    QStringList codes;
    for (const std::string& code : languages)
        codes << QString::fromStdString(code);
    m_languages->setText(codes.join(QStringLiteral(", ")));
}

std::string ListingOptionsForm::zone() const
{
    return m_zone->currentData().toString().toStdString();
}

int ListingOptionsForm::dayStartMinutes() const
{
    const QTime time = m_dayStart->time();
    return time.hour() * 60 + time.minute();
}

std::vector<std::string> ListingOptionsForm::languages() const
{
    return languageCodes(m_languages->text());
}

} // namespace brevio
