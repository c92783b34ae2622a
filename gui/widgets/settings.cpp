#include "gui/widgets/settings.h"

#include "core/exchange/week_builder.h"
#include "core/net/http_config.h"
#include "core/session/setting_value.h"
#include "core/sources/source_settings.h"
#include "core/texts/string_table.h"
#include "gui/widgets/qt_text.h"

#include <QDir>
#include <QFile>
#include <QFileInfo>
#include <QHash>

#include <algorithm>

namespace brevio {

namespace {

QString key(const QString& section, const QString& name)
{
    return section + QLatin1Char('/') + name;
}

std::unique_ptr<QSettings> openStore()
{
    return std::make_unique<QSettings>(QSettings::NativeFormat, QSettings::UserScope,
                                       QStringLiteral("Morvane"), QStringLiteral("brevio"));
}

} // namespace

Settings::Settings()
    : m_store(openStore())
{
    restrictToOwner();
}

Settings::~Settings()
{
    sync();
}

std::optional<std::string> Settings::raw(const QString& section, const QString& name) const
{
    const QVariant value = m_store->value(key(section, name));
    if (!value.isValid())
        return std::nullopt;
    return value.toString().toStdString();
}

QString Settings::readString(const QString& section, const QString& name, const QString& fallback) const
{
    const QVariant value = m_store->value(key(section, name));
    return value.isValid() ? value.toString() : fallback;
}

int Settings::readInteger(const QString& section, const QString& name, int fallback) const
{
    return settingToInt(raw(section, name), fallback);
}

bool Settings::readBool(const QString& section, const QString& name, bool fallback) const
{
    return settingToBool(raw(section, name), fallback);
}

void Settings::writeString(const QString& section, const QString& name, const QString& value)
{
    m_store->setValue(key(section, name), value);
}

void Settings::writeInteger(const QString& section, const QString& name, int value)
{
    writeString(section, name, QString::fromStdString(intToSetting(value)));
}

void Settings::writeBool(const QString& section, const QString& name, bool value)
{
    writeString(section, name, QString::fromStdString(boolToSetting(value)));
}

std::map<std::string, std::string> Settings::readSection(const QString& section) const
{
    std::map<std::string, std::string> values;
    m_store->beginGroup(section);
    for (const QString& name : m_store->allKeys())
        values[name.toStdString()] = m_store->value(name).toString().toStdString();
    m_store->endGroup();
    return values;
}

void Settings::replaceSection(const QString& section, const std::map<std::string, std::string>& values)
{
    m_store->remove(section);
    for (const auto& [name, value] : values)
        m_store->setValue(key(section, QString::fromStdString(name)), QString::fromStdString(value));
}

bool Settings::sync()
{
    if (m_lastSyncFailed) {
        // A store keeps its first error for good: a fresh one tells about this write. It is made
        // while the old one lives, so the changes not yet written pass over to it.
        auto fresh = openStore();
        m_store.swap(fresh);
    }
    m_store->sync();
    restrictToOwner();
    m_lastSyncFailed = m_store->status() != QSettings::NoError;
    return !m_lastSyncFailed;
}

QString Settings::fileName() const
{
    return m_store->fileName();
}

void Settings::restrictToOwner()
{
    const QString path = m_store->fileName();
    if (!QFileInfo::exists(path)) {
        // Create it empty with owner-only rights before the first write can make it wider.
        QFile file(path);
        QFileInfo(path).dir().mkpath(QStringLiteral("."));
        if (!file.open(QIODevice::WriteOnly))
            return;
        file.close();
    }
    QFile::setPermissions(path, QFileDevice::ReadOwner | QFileDevice::WriteOwner);
}

namespace {

const QString kMain = QStringLiteral("Main");
const QString kProxy = QStringLiteral("Proxy");
const QString kFont = QStringLiteral("Font");

// Windows colour values are 0x00BBGGRR.
QColor fromColorValue(int value)
{
    return QColor(value & 0xFF, (value >> 8) & 0xFF, (value >> 16) & 0xFF);
}

int toColorValue(const QColor& color)
{
    return color.red() | (color.green() << 8) | (color.blue() << 16);
}

} // namespace

int storedLanguageOffset(const Settings& settings)
{
    return settings.readString(kMain, QStringLiteral("Lang"), QStringLiteral("eng")) == QLatin1String("rus")
        ? kRussianOffset
        : kEnglishOffset;
}

void storeLanguageOffset(Settings& settings, int languageOffset)
{
    settings.writeString(kMain, QStringLiteral("Lang"),
                         languageOffset == kRussianOffset ? QStringLiteral("rus") : QStringLiteral("eng"));
}

QString lastWeek(const Settings& settings)
{
    return settings.readString(kMain, QStringLiteral("lastdate"));
}

void storeLastWeek(Settings& settings, const QString& weekDate)
{
    settings.writeString(kMain, QStringLiteral("lastdate"), weekDate);
}

std::optional<StoredProxy> proxyAsStored(const Settings& settings)
{
    if (!settings.readBool(kProxy, QStringLiteral("proxy"), false))
        return std::nullopt;
    StoredProxy proxy;
    proxy.host = settings.readString(kProxy, QStringLiteral("host"));
    proxy.port = settings.readInteger(kProxy, QStringLiteral("port"), 0);
    if (settings.readBool(kProxy, QStringLiteral("avt"), false)
        && settings.readBool(kProxy, QStringLiteral("save"), false))
        proxy.savedLogin.emplace(settings.readString(kProxy, QStringLiteral("login")),
                                 settings.readString(kProxy, QStringLiteral("pasw")));
    return proxy;
}

void writeProxyHost(Settings& settings, const QString& host)
{
    settings.writeBool(kProxy, QStringLiteral("proxy"), true);
    settings.writeString(kProxy, QStringLiteral("host"), host);
}

void writeProxyPort(Settings& settings, int port)
{
    settings.writeInteger(kProxy, QStringLiteral("port"), port);
}

void writeProxyLogin(Settings& settings, const std::optional<std::pair<QString, QString>>& savedLogin)
{
    settings.writeBool(kProxy, QStringLiteral("avt"), savedLogin.has_value());
    settings.writeString(kProxy, QStringLiteral("login"), savedLogin ? savedLogin->first : QString());
    settings.writeString(kProxy, QStringLiteral("pasw"), savedLogin ? savedLogin->second : QString());
    settings.writeBool(kProxy, QStringLiteral("save"), savedLogin.has_value());
}

void writeProxyOff(Settings& settings)
{
    settings.writeBool(kProxy, QStringLiteral("proxy"), false);
    settings.writeString(kProxy, QStringLiteral("host"), QString());
    writeProxyPort(settings, 0);
    writeProxyLogin(settings, std::nullopt);
}

QFont storedPaneFont(const Settings& settings, QFont font)
{
    font.setFamily(settings.readString(kFont, QStringLiteral("Name"), QStringLiteral("MS Sans Serif")));
    font.setPointSize(std::max(1, settings.readInteger(kFont, QStringLiteral("Size"), 8)));
    return font;
}

QColor storedPaneColor(const Settings& settings)
{
    return fromColorValue(settings.readInteger(kFont, QStringLiteral("Color"), 0));
}

void storePaneFont(Settings& settings, const QFont& font, const QColor& color)
{
    settings.writeInteger(kFont, QStringLiteral("Color"), toColorValue(color));
    settings.writeString(kFont, QStringLiteral("Name"), font.family());
    settings.writeInteger(kFont, QStringLiteral("Size"), font.pointSize());
}

QString formSection()
{
    return QStringLiteral("fm");
}

QString storedValueKey(const QString& control)
{
    return control + QStringLiteral("_Value");
}

QString storedCheckedKey(const QString& control)
{
    return control + QStringLiteral("_Checked");
}

int storedNowHours(const Settings& settings)
{
    return std::clamp(
        settings.readInteger(formSection(), storedValueKey(QString::fromLatin1(kNowHoursControl)), 0), 0,
        kMaxNowHours);
}

net::ProxySettings storedProxy(const Settings& settings)
{
    net::ProxySettings proxy;
    const std::optional<StoredProxy> stored = proxyAsStored(settings);
    if (!stored)
        return proxy;
    proxy.enabled = true;
    proxy.host = toData(stored->host);
    proxy.port = stored->port;
    proxy.sendCredentials = stored->savedLogin.has_value();
    if (stored->savedLogin) {
        proxy.login = toData(stored->savedLogin->first);
        proxy.password = toData(stored->savedLogin->second);
    }
    return proxy;
}

namespace {

const QString kImportSection = QStringLiteral("XmltvImport");

} // namespace

exchange::ListingOptions lastImportOptions(const Settings& settings)
{
    exchange::ListingOptions options;
    options.bareTimeZone = settings.readString(kImportSection, QStringLiteral("zone")).toStdString();
    options.dayStartMinutes = std::clamp(
        settings.readInteger(kImportSection, QStringLiteral("dayStart"), options.dayStartMinutes), 0,
        24 * 60 - 1);
    const QString languages
        = settings.readString(kImportSection, QStringLiteral("languages"), QStringLiteral("ru"));
    options.languages.clear();
    for (const QString& code : languages.split(QLatin1Char(','), Qt::SkipEmptyParts))
        options.languages.push_back(code.toStdString());
    return options;
}

void storeImportOptions(Settings& settings, const exchange::ListingOptions& options)
{
    settings.writeString(kImportSection, QStringLiteral("zone"),
                         QString::fromStdString(options.bareTimeZone.value_or("")));
    settings.writeInteger(kImportSection, QStringLiteral("dayStart"), options.dayStartMinutes);
    QStringList languages;
    for (const std::string& code : options.languages)
        languages << QString::fromStdString(code);
    settings.writeString(kImportSection, QStringLiteral("languages"), languages.join(QLatin1Char(',')));
}

std::vector<sources::ListingSource> listingSources(const Settings& settings)
{
    return sources::sourcesFromSettings(settings.readSection(QString::fromLatin1(
        sources::kSourcesSection.data(), static_cast<qsizetype>(sources::kSourcesSection.size()))));
}

void storeListingSources(Settings& settings, const std::vector<sources::ListingSource>& sources)
{
    settings.replaceSection(QString::fromLatin1(sources::kSourcesSection.data(),
                                                static_cast<qsizetype>(sources::kSourcesSection.size())),
                            sources::sourcesToSettings(sources));
}

QString serverBaseUrl(const Settings& settings)
{
    QString url = settings.readString(QStringLiteral("Server"), QStringLiteral("url"),
                                      QStringLiteral("http://tv.brevio.example/data/"));
    if (!url.endsWith(QLatin1Char('/')))
        url += QLatin1Char('/');
    return url;
}

QString sourceBaseUrl(const Settings& settings, const QString& sourceStem)
{
    static const QHash<QString, QString> defaults = {
        {QStringLiteral("kurs_nbu"), QStringLiteral("http://www.bank.gov.ua")},
        {QStringLiteral("kurs_cbr"), QStringLiteral("http://www.cbr.ru")},
        {QStringLiteral("kurs_nbk"), QStringLiteral("http://www.nationalbank.kz")},
        {QStringLiteral("oreanda"), QStringLiteral("http://www.oreanda.example")},
        {QStringLiteral("ezhe"), QStringLiteral("http://ezhe.example")},
        {QStringLiteral("kornet"), QStringLiteral("http://kornet.example")},
        {QStringLiteral("uasport"), QStringLiteral("http://uasport.example")},
        {QStringLiteral("podrobn"), QStringLiteral("http://podrobnosti.example")},
        {QStringLiteral("unl"), QStringLiteral("http://unl.example")},
        {QStringLiteral("rusdisn"), QStringLiteral("http://rusdisn.example")},
    };
    return settings.readString(QStringLiteral("Sources"), sourceStem, defaults.value(sourceStem));
}

} // namespace brevio
