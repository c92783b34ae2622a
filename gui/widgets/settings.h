#pragma once

#include <QSettings>
#include <QString>

#include <map>
#include <memory>
#include <optional>
#include <string>
#include <utility>
#include <vector>

namespace brevio::net {
struct ProxySettings;
}
namespace brevio::sources {
struct ListingSource;
}

namespace brevio {

// The settings object: sections and values of the user's settings, every value stored as a
// string (see setting_value.h for the encoding). On Linux it is an INI file under
// $XDG_CONFIG_HOME/Morvane/, readable by its owner only: it can hold a proxy password.
class Settings
{
public:
    Settings();
    ~Settings();

    QString readString(const QString& section, const QString& name, const QString& fallback = {}) const;
    int readInteger(const QString& section, const QString& name, int fallback) const;
    bool readBool(const QString& section, const QString& name, bool fallback) const;

    void writeString(const QString& section, const QString& name, const QString& value);
    void writeInteger(const QString& section, const QString& name, int value);
    void writeBool(const QString& section, const QString& name, bool value);

    // Every value of a section (names within it, "a/b" for deeper ones), and the section replaced
    // by exactly these values.
    std::map<std::string, std::string> readSection(const QString& section) const;
    void replaceSection(const QString& section, const std::map<std::string, std::string>& values);

    // Writes pending changes to disk now; false when they could not be written (a folder or
    // file that may not be written, a full disk). The changes stay pending for the next try.
    bool sync();
    QString fileName() const;

private:
    std::optional<std::string> raw(const QString& section, const QString& name) const;
    void restrictToOwner();

    std::unique_ptr<QSettings> m_store;
    bool m_lastSyncFailed = false;
};

// Section Proxy. The login values are written only when the password is saved (login and
// password given); otherwise avt and save are false and login and pasw empty.
void writeProxyLogin(Settings& settings, const std::optional<std::pair<QString, QString>>& savedLogin);
// No proxy: all seven values at their first-run defaults.
void writeProxyOff(Settings& settings);

// The proxy as the settings page stored it; the login only when its password was saved.
net::ProxySettings storedProxy(const Settings& settings);

// The listing sources (their own section; the encoding is the core's).
std::vector<sources::ListingSource> listingSources(const Settings& settings);
void storeListingSources(Settings& settings, const std::vector<sources::ListingSource>& sources);

// Outside addresses, kept in the settings with built-in defaults.
QString serverBaseUrl(const Settings& settings);
QString sourceBaseUrl(const Settings& settings, const QString& sourceStem);

} // namespace brevio
