#pragma once

#include <QColor>
#include <QFont>
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
namespace brevio::exchange {
struct ListingOptions;
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

// The values that more than one place reads, each with its one section, key and encoding.

// Section Main, "Lang": the interface language, "rus" for Russian and anything else English.
int storedLanguageOffset(const Settings& settings);
void storeLanguageOffset(Settings& settings, int languageOffset);

// Section Main, "lastdate": the newest downloaded week's date ("" before the first download).
QString lastWeek(const Settings& settings);
void storeLastWeek(Settings& settings, const QString& weekDate);

// Section Proxy as the settings page stores it; nullopt when no proxy is used. The login is
// given only when the password was saved.
struct StoredProxy
{
    QString host;
    int port = 0;
    std::optional<std::pair<QString, QString>> savedLogin;
};
std::optional<StoredProxy> proxyAsStored(const Settings& settings);
// A proxy in use: its host (the port follows on its own, as its text may be no number).
void writeProxyHost(Settings& settings, const QString& host);
void writeProxyPort(Settings& settings, int port);
// The login values are written only when the password is saved (login and password given);
// otherwise avt and save are false and login and pasw empty.
void writeProxyLogin(Settings& settings, const std::optional<std::pair<QString, QString>>& savedLogin);
// No proxy: all seven values at their first-run defaults.
void writeProxyOff(Settings& settings);

// Section Font: the schedule panes' typeface, size and colour. `font` with the stored family
// and size; the rest of it (a style chosen in the font dialog) stays.
QFont storedPaneFont(const Settings& settings, QFont font);
QColor storedPaneColor(const Settings& settings);
void storePaneFont(Settings& settings, const QFont& font, const QColor& color);

// Section "fm": the main window's placement and the values of the controls it keeps, each under
// the control's objectName with "_Value" (spin boxes) or "_Checked" (check boxes).
QString formSection();
QString storedValueKey(const QString& control);
QString storedCheckedKey(const QString& control);
// The look-ahead of the "now" view, as its spin box on the settings page keeps it (0 to 5).
inline constexpr char kNowHoursControl[] = "RxSpinEdit10";
inline constexpr int kMaxNowHours = 5;
int storedNowHours(const Settings& settings);

// The stored proxy as a transfer takes it (disabled when none is used); the login only when
// its password was saved.
net::ProxySettings storedProxy(const Settings& settings);
// The settings page's "TimeOut, sec" spin box: not stored, 300 at every start, which is also
// what a transfer without a window waits.
inline constexpr char kTimeoutControl[] = "RxSpinEdit11";
inline constexpr int kDefaultTimeoutSeconds = 300;

// The listing sources (their own section; the encoding is the core's).
std::vector<sources::ListingSource> listingSources(const Settings& settings);
void storeListingSources(Settings& settings, const std::vector<sources::ListingSource>& sources);

// What the last "Import XMLTV…" read its file with; the defaults before the first.
exchange::ListingOptions lastImportOptions(const Settings& settings);
void storeImportOptions(Settings& settings, const exchange::ListingOptions& options);

// Outside addresses, kept in the settings with built-in defaults.
QString serverBaseUrl(const Settings& settings);
QString sourceBaseUrl(const Settings& settings, const QString& sourceStem);

} // namespace brevio
