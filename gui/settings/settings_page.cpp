#include "gui/settings/settings_page.h"

#include "core/net/http_config.h"
#include "core/reminders/reminder_schedule.h"
#include "core/store/file_io.h"
#include "core/store/file_names.h"
#include "core/store/int_text.h"
#include "core/texts/text_ids.h"
#include "gui/settings/companion_box.h"
#include "gui/settings/font_dialog.h"
#include "gui/settings/maintenance_controls.h"
#include "gui/widgets/form_builder.h"
#include "gui/widgets/page_host.h"
#include "gui/widgets/qt_text.h"
#include "gui/widgets/settings.h"

#include <QCheckBox>
#include <QComboBox>
#include <QGroupBox>
#include <QLabel>
#include <QLineEdit>
#include <QListWidget>
#include <QRadioButton>
#include <QSpinBox>
#include <QToolButton>

namespace brevio {

namespace {

} // namespace

SettingsPage::SettingsPage(PageHost& host, QWidget* parent)
    : QFrame(parent)
    , m_host(host)
{
    setObjectName(QStringLiteral("Panel4"));
    new Anchors(this, QSize(707, 359));

    buildProxyGroup();

    auto* timeoutLabel = makeLabel(this, "Label25", QStringLiteral("TimeOut, sec"), {38, 153, 72, 15});
    m_timeout = makeSpinBox(this, kTimeoutControl, {110, 150, 49, 18}, 0, 900, kDefaultTimeoutSeconds, 10);
    timeoutLabel->setBuddy(m_timeout);

    auto* language = makeControl<QGroupBox>(this, "GroupBox2", {8, 170, 185, 45});
    setCaption(language, QStringLiteral("Язык"));
    m_russian = makeControl<QRadioButton>(language, "RadioButton1", {8, 18, 80, 20});
    setCaption(m_russian, QStringLiteral("Русский"));
    m_english = makeControl<QRadioButton>(language, "RadioButton2", {90, 18, 90, 20});
    setCaption(m_english, QStringLiteral("Английский"));
    m_english->setChecked(true);
    // Only the button that becomes checked switches; clicking the checked one changes nothing.
    for (auto* radio : {m_russian, m_english}) {
        m_host.connectGuarded(radio, &QRadioButton::toggled, this, [this, radio] {
            if (radio->isChecked())
                m_host.switchLanguage(chosenLanguageOffset());
        });
    }

    makeLabel(this, "Label20", QStringLiteral("\"Сейчас\" - на"), {8, 228, 78, 15});
    m_nowHours = makeSpinBox(this, kNowHoursControl, {88, 225, 49, 18}, 0, kMaxNowHours, 0);
    m_nowHours->setAccessibleName(QStringLiteral("\"Сейчас\" - на, часов"));
    makeLabel(this, "Label22", QStringLiteral("часов"), {144, 228, 40, 15});
    auto* save = makeSpeedButton(this, "FlatSpeedButton24", QStringLiteral("Сохранить изменения настроек"),
                                 {8, 253, 185, 17});
    m_host.connectGuarded(save, &QToolButton::clicked, this, &SettingsPage::saveSettings);

    // The list grows with the page; the two buttons and the reminders under it keep their
    // distance to its bottom.
    m_channels = makeControl<QListWidget>(this, "ListBox1", {200, 6, 225, 225},
                                          AnchorLeft | AnchorTop | AnchorBottom);
    m_deleteChannel = makeSpeedButton(this, "FlatSpeedButton30", QStringLiteral("Удалить канал"),
                                      {200, 231, 225, 17}, nullptr, AnchorLeft | AnchorBottom);
    makeSpeedButton(this, "FlatSpeedButton23", QStringLiteral("Сортировка каналов"), {200, 253, 225, 17},
                    nullptr, AnchorLeft | AnchorBottom)
        ->setEnabled(false);
    buildReminderGroup();

    buildRightColumn();
}

void SettingsPage::buildProxyGroup()
{
    auto* group = makeControl<QGroupBox>(this, "GroupBox1", {8, 1, 185, 145});
    setCaption(group, QStringLiteral("Параметры прокси"));
    new Anchors(group, QSize(185, 145));
    // Seven rows: the box, host, port, the password box, login, password, saving the password.
    m_useProxy
        = makeCheckBox(group, "CheckBox1", QStringLiteral("Использовать прокси сервер"), {8, 16, 175, 17});
    m_proxyHost = makeControl<QLineEdit>(group, "Edit1", {62, 34, 115, 18});
    makeLabel(group, "Label4", QStringLiteral("адрес"), {8, 36, 52, 15})->setBuddy(m_proxyHost);
    m_port = makeControl<QLineEdit>(group, "Edit2", {62, 53, 57, 18});
    makeLabel(group, "Label5", QStringLiteral("порт"), {8, 55, 52, 15})->setBuddy(m_port);
    m_needsPassword
        = makeCheckBox(group, "CheckBox2", QStringLiteral("Прокси требует пароль"), {8, 73, 172, 17});
    m_login = makeControl<QLineEdit>(group, "Edit3", {62, 91, 115, 18});
    makeLabel(group, "Label6", QStringLiteral("логин"), {8, 93, 52, 15})->setBuddy(m_login);
    m_password = makeControl<QLineEdit>(group, "Edit4", {62, 110, 115, 18});
    makeLabel(group, "Label7", QStringLiteral("пароль"), {8, 112, 52, 15})->setBuddy(m_password);
    m_password->setEchoMode(QLineEdit::Password);
    m_savePassword = makeCheckBox(group, "CheckBox3", QStringLiteral("Сохранить пароль"), {48, 128, 132, 16});
    m_savePassword->setChecked(true);

    // toggled, not clicked: checking the boxes from code at start-up runs the same rule.
    m_host.connectGuarded(m_useProxy, &QCheckBox::toggled, this, &SettingsPage::updateProxyControls);
    m_host.connectGuarded(m_needsPassword, &QCheckBox::toggled, this, &SettingsPage::updateLoginControls);
    updateProxyControls();
}

void SettingsPage::buildRightColumn()
{
    auto* weeks = makeControl<QGroupBox>(this, "GroupBox3", {432, 1, 167, 108});
    setCaption(weeks, QStringLiteral("Недели"));
    new Anchors(weeks, QSize(167, 108));
    m_weeks = makeControl<QListWidget>(weeks, "ListBox2", {8, 16, 151, 66});
    auto* deleteWeek
        = makeSpeedButton(weeks, "FlatSpeedButton29", QStringLiteral("Удалить"), {8, 85, 151, 17});

    auto* font = makeSpeedButton(this, "FlatSpeedButton28", QStringLiteral("Шрифт"), {432, 114, 167, 17});
    m_host.connectGuarded(font, &QToolButton::clicked, this, &SettingsPage::chooseFont);
    auto* shiftMode = makeSpeedButton(this, "FlatSpeedButton22", QStringLiteral("Установка сдвига времени"),
                                      {432, 135, 167, 17});
    m_desktopShortcut = makeSpeedButton(this, "FlatSpeedButton32", QStringLiteral("Иконку на рабочий стол"),
                                        {432, 157, 167, 17});
    auto* companion
        = makeSpeedButton(this, "FlatSpeedButton44", QStringLiteral("Настройки Chimeo"), {432, 179, 167, 17});
    m_endTime
        = makeCheckBox(this, "CheckBox5", QStringLiteral("время оконч. в Отобранных"), {432, 208, 170, 17});
    m_jtvExport = makeSpeedButton(this, "FlatButton2", QStringLiteral("Экспорт в JTV"), {432, 231, 167, 17});
    m_jtvExport->hide();
    makeSpeedButton(this, "FlatButton3", QStringLiteral("Экспорт в ListTV"), {432, 253, 167, 17})->hide();
    makeCheckBox(this, "CheckBox4", QStringLiteral("Автозапуск"), {432, 275, 167, 17})->hide();

    // The time-shift panel over the right column and the companion's settings over the whole
    // page, each made by the class that handles it.
    m_maintenance = new MaintenanceControls(m_host, this,
                                            {m_channels, m_weeks, shiftMode, m_deleteChannel, deleteWeek});
    m_companion = new CompanionBox(m_host, this);
    m_host.connectGuarded(companion, &QToolButton::clicked, m_companion,
                          &CompanionBox::openCompanionSettings);
}

void SettingsPage::buildReminderGroup()
{
    auto* group
        = makeControl<QGroupBox>(this, "ReminderGroup", {200, 274, 225, 81}, AnchorLeft | AnchorBottom);
    new Anchors(group, QSize(225, 81));
    m_remindEverySelected = makeCheckBox(group, "RemindEverySelected", QString(), {8, 18, 212, 17});
    auto* minutes = makeLabel(group, "ReminderMinutesLabel", QString(), {8, 38, 160, 15});
    m_reminderMinutes = makeSpinBox(group, "ReminderMinutes", {168, 36, 49, 18}, 0,
                                    reminders::kMostMinutesBefore, reminders::kDefaultMinutesBefore);
    minutes->setBuddy(m_reminderMinutes);
    auto* closed = makeLabel(group, "WhenClosedLabel", QString(), {8, 59, 100, 15});
    m_whenClosed = makeControl<QComboBox>(group, "WhenClosed", {108, 57, 109, 19});
    m_whenClosed->addItems({QString(), QString(), QString()});
    closed->setBuddy(m_whenClosed);
    connect(&m_host, &PageHost::languageChanged, this, &SettingsPage::retranslateReminderChoices);
}

void SettingsPage::retranslateReminderChoices()
{
    for (int i = 0; i < m_whenClosed->count(); ++i)
        m_whenClosed->setItemText(i, m_host.text(textAfter(TextId::WhenClosedAsk, i)));
    // Its list too is called as its label says.
    setAccessibleNameOf(m_whenClosed, m_host.text(TextId::WhenClosedLabel));
}

void SettingsPage::updateProxyControls()
{
    const bool on = m_useProxy->isChecked();
    m_proxyHost->setEnabled(on);
    m_port->setEnabled(on);
    m_needsPassword->setEnabled(on);
    const bool credentials = m_needsPassword->isEnabled() && m_needsPassword->isChecked();
    m_login->setEnabled(credentials);
    m_password->setEnabled(credentials);
    m_savePassword->setEnabled(credentials);
}

void SettingsPage::updateLoginControls()
{
    const bool on = m_needsPassword->isChecked();
    m_login->setEnabled(on);
    m_password->setEnabled(on);
    m_savePassword->setEnabled(on);
}

void SettingsPage::storeLanguage()
{
    storeLanguageOffset(m_host.settings(), chosenLanguageOffset());
}

void SettingsPage::storeProxy()
{
    Settings& settings = m_host.settings();
    if (m_useProxy->isChecked()) {
        // The host is written before the port is converted: a bad port stops after the host.
        writeProxyHost(settings, m_proxyHost->text());
        writeProxyPort(settings, store::strToInt(toData(m_port->text())));
        std::optional<std::pair<QString, QString>> savedLogin;
        if (m_needsPassword->isChecked() && m_savePassword->isChecked())
            savedLogin.emplace(m_login->text(), m_password->text());
        writeProxyLogin(settings, savedLogin);
    } else {
        writeProxyOff(settings);
    }
}

void SettingsPage::saveSettings()
{
    storeLanguage();
    storeProxy();
    m_host.storeSettings();
}

net::ProxySettings SettingsPage::proxy() const
{
    net::ProxySettings proxy;
    if (m_useProxy->isChecked()) {
        proxy.enabled = true;
        proxy.host = toData(m_proxyHost->text());
        proxy.port = store::strToInt(toData(m_port->text()));
        proxy.sendCredentials = m_needsPassword->isChecked();
        proxy.login = toData(m_login->text());
        proxy.password = toData(m_password->text());
    }
    return proxy;
}

int SettingsPage::chosenLanguageOffset() const
{
    return m_english->isChecked() ? kEnglishOffset : kRussianOffset;
}

void SettingsPage::chooseLanguage(int languageOffset)
{
    (languageOffset == kRussianOffset ? m_russian : m_english)->setChecked(true);
}

void SettingsPage::restoreProxy()
{
    const std::optional<StoredProxy> proxy = proxyAsStored(m_host.settings());
    if (!proxy)
        return;
    m_useProxy->setChecked(true);
    m_proxyHost->setText(proxy->host);
    m_port->setText(QString::number(proxy->port));
    if (proxy->savedLogin) {
        m_needsPassword->setChecked(true);
        m_savePassword->setChecked(true);
        m_login->setText(proxy->savedLogin->first);
        m_password->setText(proxy->savedLogin->second);
    }
}

void SettingsPage::chooseFont()
{
    FontColorDialog dialog(m_host.paneFont(), m_host.paneColor(), m_host.text(TextId::ColorLabel), this);
    if (dialog.exec() != QDialog::Accepted)
        return;
    m_host.changePaneFont(dialog.chosenFont(), dialog.chosenColor());
}

void SettingsPage::setChannelNames(const QStringList& names)
{
    m_channels->clear();
    m_channels->addItems(names);
}

void SettingsPage::reloadWeekList()
{
    m_weeks->clear();
    for (const auto& line : store::readLines(std::string(store::kWeekListFile)))
        m_weeks->addItem(fromData(line));
}

} // namespace brevio
