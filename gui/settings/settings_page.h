#pragma once

#include <QFrame>
#include <QStringList>

class QCheckBox;
class QComboBox;
class QGroupBox;
class QLineEdit;
class QListWidget;
class QRadioButton;
class QSpinBox;
class QToolButton;

namespace brevio {

class CompanionBox;
class MaintenanceControls;
class PageHost;
namespace net {
struct ProxySettings;
}

// The settings page: proxy, time-out, language, the "now" look-ahead, the reminders, channel and
// week upkeep, the font and the extras.
class SettingsPage : public QFrame
{
    Q_OBJECT

public:
    SettingsPage(PageHost& host, QWidget* parent);

    // Proxy group enabling.
    void updateProxyControls();
    void updateLoginControls();
    // "Сохранить изменения настроек": language and proxy, as at close. Throws ConvertError
    // when the proxy is on and the port box holds no integer (nothing after the host is written).
    void saveSettings();
    // "Шрифт".
    void chooseFont();
    // The values that saving and closing both write.
    void storeLanguage();
    // Throws ConvertError when the proxy is on and the port box holds no integer; the values
    // before the port are written by then, the ones after it are not.
    void storeProxy();
    // Fills the proxy controls from the settings (start-up, not on a first run).
    void restoreProxy();
    // Refills the week list from the week list file.
    void reloadWeekList();
    // The shown week's channel names in the channel list.
    void setChannelNames(const QStringList& names);

    // The proxy as the fields hold it now. Throws ConvertError for a port that is not a whole
    // number.
    net::ProxySettings proxy() const;
    // The language the radio buttons choose (kEnglishOffset or kRussianOffset); checking the
    // other one switches the language.
    int chosenLanguageOffset() const;
    void chooseLanguage(int languageOffset);

    QCheckBox* useProxy() const { return m_useProxy; }
    QCheckBox* proxyNeedsPassword() const { return m_needsPassword; }
    QCheckBox* savePassword() const { return m_savePassword; }
    QLineEdit* proxyHost() const { return m_proxyHost; }
    QLineEdit* proxyPort() const { return m_port; }
    QLineEdit* proxyLogin() const { return m_login; }
    QLineEdit* proxyPassword() const { return m_password; }
    QSpinBox* timeoutSeconds() const { return m_timeout; }
    QSpinBox* nowHours() const { return m_nowHours; }
    QRadioButton* russian() const { return m_russian; }
    QRadioButton* english() const { return m_english; }
    QListWidget* channelList() const { return m_channels; }
    QListWidget* weekList() const { return m_weeks; }
    QCheckBox* endTimeOption() const { return m_endTime; }
    QToolButton* jtvExport() const { return m_jtvExport; }
    QToolButton* desktopShortcut() const { return m_desktopShortcut; }
    MaintenanceControls* maintenance() const { return m_maintenance; }
    CompanionBox* companionBox() const { return m_companion; }
    // The reminders' controls; the window reads and stores their values.
    QSpinBox* reminderMinutes() const { return m_reminderMinutes; }
    QCheckBox* remindEverySelected() const { return m_remindEverySelected; }
    QComboBox* whenClosed() const { return m_whenClosed; }

private:
    void buildProxyGroup();
    void buildRightColumn();
    void buildReminderGroup();
    void retranslateReminderChoices();

    PageHost& m_host;
    QCheckBox* m_useProxy = nullptr;
    QCheckBox* m_needsPassword = nullptr;
    QCheckBox* m_savePassword = nullptr;
    QLineEdit* m_proxyHost = nullptr;
    QLineEdit* m_port = nullptr;
    QLineEdit* m_login = nullptr;
    QLineEdit* m_password = nullptr;
    QSpinBox* m_timeout = nullptr;
    QSpinBox* m_nowHours = nullptr;
    QRadioButton* m_russian = nullptr;
    QRadioButton* m_english = nullptr;
    QListWidget* m_channels = nullptr;
    QListWidget* m_weeks = nullptr;
    QCheckBox* m_endTime = nullptr;
    QToolButton* m_jtvExport = nullptr;
    QToolButton* m_desktopShortcut = nullptr;
    QToolButton* m_deleteChannel = nullptr;
    MaintenanceControls* m_maintenance = nullptr;
    CompanionBox* m_companion = nullptr;
    QSpinBox* m_reminderMinutes = nullptr;
    QCheckBox* m_remindEverySelected = nullptr;
    QComboBox* m_whenClosed = nullptr;
};

} // namespace brevio
