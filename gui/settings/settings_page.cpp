#include "gui/settings/settings_page.h"

#include "app/main_window.h"
#include "core/store/file_io.h"
#include "core/store/file_names.h"
#include "core/store/int_text.h"
#include "gui/settings/font_dialog.h"
#include "gui/widgets/form_builder.h"
#include "gui/widgets/overlay.h"
#include "gui/widgets/qt_text.h"
#include "gui/widgets/settings.h"

#include <QCheckBox>
#include <QGroupBox>
#include <QLabel>
#include <QLineEdit>
#include <QListWidget>
#include <QRadioButton>
#include <QSpinBox>
#include <QToolButton>

namespace brevio {

namespace {

const QString kMain = QStringLiteral("Main");
const QString kProxy = QStringLiteral("Proxy");

QLabel* makeLabel(QWidget* parent, const char* name, const QString& caption, QRect rect)
{
    auto* label = makeControl<QLabel>(parent, name, rect);
    setCaption(label, caption);
    return label;
}

} // namespace

SettingsPage::SettingsPage(TBrevioForm& form, QWidget* parent)
    : QFrame(parent)
    , m_form(form)
{
    setObjectName(QStringLiteral("Panel4"));
    new Anchors(this, QSize(707, 359));

    buildProxyGroup();

    auto* timeoutLabel = makeLabel(this, "Label25", QStringLiteral("TimeOut, sec"), {38, 153, 72, 15});
    m_timeout = makeSpinBox(this, "RxSpinEdit11", {110, 150, 49, 18}, 0, 900, 300, 10);
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
        connect(radio, &QRadioButton::toggled, this, [this](bool on) {
            if (on)
                m_form.guard([this] { m_form.RadioButton1Click(); });
        });
    }

    makeLabel(this, "Label20", QStringLiteral("\"Сейчас\" - на"), {8, 228, 78, 15});
    m_nowHours = makeSpinBox(this, "RxSpinEdit10", {88, 225, 49, 18}, 0, 5, 0);
    m_nowHours->setAccessibleName(QStringLiteral("\"Сейчас\" - на, часов"));
    makeLabel(this, "Label22", QStringLiteral("часов"), {144, 228, 40, 15});
    auto* save = makeSpeedButton(this, "FlatSpeedButton24", QStringLiteral("Сохранить изменения настроек"),
                                 {8, 253, 185, 17});
    connect(save, &QToolButton::clicked, this,
            [this] { m_form.guard([this] { FlatSpeedButton24Click(); }); });

    // The list grows with the page; the two buttons under it keep their distance to its bottom.
    m_channels = makeControl<QListWidget>(this, "ListBox1", {200, 6, 225, 295},
                                          AnchorLeft | AnchorTop | AnchorBottom);
    makeSpeedButton(this, "FlatSpeedButton30", QStringLiteral("Удалить канал"), {200, 301, 225, 17}, nullptr,
                    AnchorLeft | AnchorBottom);
    makeSpeedButton(this, "FlatSpeedButton23", QStringLiteral("Сортировка каналов"), {200, 323, 225, 17},
                    nullptr, AnchorLeft | AnchorBottom)
        ->setEnabled(false);

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
    m_host = makeControl<QLineEdit>(group, "Edit1", {62, 34, 115, 18});
    makeLabel(group, "Label4", QStringLiteral("адрес"), {8, 36, 52, 15})->setBuddy(m_host);
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
    connect(m_useProxy, &QCheckBox::toggled, this, [this] { CheckBox1Click(); });
    connect(m_needsPassword, &QCheckBox::toggled, this, [this] { CheckBox2Click(); });
    CheckBox1Click();
}

void SettingsPage::buildRightColumn()
{
    auto* weeks = makeControl<QGroupBox>(this, "GroupBox3", {432, 1, 167, 108});
    setCaption(weeks, QStringLiteral("Недели"));
    new Anchors(weeks, QSize(167, 108));
    m_weeks = makeControl<QListWidget>(weeks, "ListBox2", {8, 16, 151, 66});
    makeSpeedButton(weeks, "FlatSpeedButton29", QStringLiteral("Удалить"), {8, 85, 151, 17});

    auto* font = makeSpeedButton(this, "FlatSpeedButton28", QStringLiteral("Шрифт"), {432, 114, 167, 17});
    connect(font, &QToolButton::clicked, this,
            [this] { m_form.guard([this] { FlatSpeedButton28Click(); }); });
    makeSpeedButton(this, "FlatSpeedButton22", QStringLiteral("Установка сдвига времени"),
                    {432, 135, 167, 17});
    makeSpeedButton(this, "FlatSpeedButton32", QStringLiteral("Иконку на рабочий стол"), {432, 157, 167, 17});
    makeSpeedButton(this, "FlatSpeedButton44", QStringLiteral("Настройки Chimeo"), {432, 179, 167, 17});
    m_endTime
        = makeCheckBox(this, "CheckBox5", QStringLiteral("время оконч. в Отобранных"), {432, 208, 170, 17});
    m_jtvExport = makeSpeedButton(this, "FlatButton2", QStringLiteral("Экспорт в JTV"), {432, 231, 167, 17});
    m_jtvExport->hide();
    makeSpeedButton(this, "FlatButton3", QStringLiteral("Экспорт в ListTV"), {432, 253, 167, 17})->hide();
    makeCheckBox(this, "CheckBox4", QStringLiteral("Автозапуск"), {432, 275, 167, 17})->hide();

    // The time-shift panel covers the right column while it is open.
    QWidget* shift = makePanel(this, "Panel9", {432, 2, 169, 269});
    shift->setToolTip(QStringLiteral("Сдвиг времени канала"));
    auto* hint = makeLabel(shift, "Label15", QString(), {6, 6, 157, 150});
    hint->setWordWrap(true);
    makeLabel(shift, "Label16", QStringLiteral("Часы"), {6, 166, 60, 15})
        ->setBuddy(makeSpinBox(shift, "RxSpinEdit7", {80, 163, 60, 21}, -23, 23, 0));
    makeLabel(shift, "Label17", QStringLiteral("Минуты"), {6, 192, 60, 15})
        ->setBuddy(makeSpinBox(shift, "RxSpinEdit8", {80, 189, 60, 21}, -59, 59, 0));
    makeSpeedButton(shift, "FlatSpeedButton34", QStringLiteral("Сохранить"), {6, 220, 157, 17});
    makeSpeedButton(shift, "FlatSpeedButton33", QStringLiteral("Скрыть"), {6, 242, 157, 17});
    shift->hide();
    new Overlay(shift);

    // The companion alarm's settings cover the whole page while they are open.
    auto* chimeo = makeControl<QGroupBox>(this, "GroupBox4", {8, 3, 692, 347}, AnchorAll);
    setCaption(chimeo, QStringLiteral("Chimeo"));
    new Anchors(chimeo, QSize(692, 347));
    makeCheckBox(chimeo, "FlatCheckBox12", QStringLiteral("Запускать вместе с Windows"), {16, 24, 250, 17});
    chimeo->hide();
    new Overlay(chimeo);
}

void SettingsPage::CheckBox1Click()
{
    const bool on = m_useProxy->isChecked();
    m_host->setEnabled(on);
    m_port->setEnabled(on);
    m_needsPassword->setEnabled(on);
    const bool credentials = m_needsPassword->isEnabled() && m_needsPassword->isChecked();
    m_login->setEnabled(credentials);
    m_password->setEnabled(credentials);
    m_savePassword->setEnabled(credentials);
}

void SettingsPage::CheckBox2Click()
{
    const bool on = m_needsPassword->isChecked();
    m_login->setEnabled(on);
    m_password->setEnabled(on);
    m_savePassword->setEnabled(on);
}

void SettingsPage::storeLanguage()
{
    m_form.settings().writeString(kMain, QStringLiteral("Lang"),
                                  m_russian->isChecked() ? QStringLiteral("rus") : QStringLiteral("eng"));
}

void SettingsPage::storeProxy()
{
    Settings& settings = m_form.settings();
    if (m_useProxy->isChecked()) {
        // The host is written before the port is converted: a bad port stops after the host.
        settings.writeBool(kProxy, QStringLiteral("proxy"), true);
        settings.writeString(kProxy, QStringLiteral("host"), m_host->text());
        settings.writeInteger(kProxy, QStringLiteral("port"), store::strToInt(toData(m_port->text())));
        std::optional<std::pair<QString, QString>> savedLogin;
        if (m_needsPassword->isChecked() && m_savePassword->isChecked())
            savedLogin.emplace(m_login->text(), m_password->text());
        writeProxyLogin(settings, savedLogin);
    } else {
        writeProxyOff(settings);
    }
}

void SettingsPage::FlatSpeedButton24Click()
{
    storeLanguage();
    storeProxy();
    m_form.storeSettings();
}

void SettingsPage::restoreProxy()
{
    const Settings& settings = m_form.settings();
    if (!settings.readBool(kProxy, QStringLiteral("proxy"), false))
        return;
    m_useProxy->setChecked(true);
    m_host->setText(settings.readString(kProxy, QStringLiteral("host")));
    m_port->setText(QString::number(settings.readInteger(kProxy, QStringLiteral("port"), 0)));
    if (settings.readBool(kProxy, QStringLiteral("avt"), false)
        && settings.readBool(kProxy, QStringLiteral("save"), false)) {
        m_needsPassword->setChecked(true);
        m_savePassword->setChecked(true);
        m_login->setText(settings.readString(kProxy, QStringLiteral("login")));
        m_password->setText(settings.readString(kProxy, QStringLiteral("pasw")));
    }
}

void SettingsPage::FlatSpeedButton28Click()
{
    FontColorDialog dialog(m_form.paneFont(), m_form.paneColor(), m_form.text(121), this);
    if (dialog.exec() != QDialog::Accepted)
        return;
    m_form.paneFont() = dialog.chosenFont();
    m_form.paneColor() = dialog.chosenColor();
    m_form.StoreFont();
    // The stored values come back on top of the chosen font, so a chosen style lasts until exit.
    m_form.ApplyStoredFont();
    m_form.storeSettings();
}

void SettingsPage::reloadWeekList()
{
    m_weeks->clear();
    for (const auto& line : store::readLines(std::string(store::kWeekListFile)))
        m_weeks->addItem(fromData(line));
}

} // namespace brevio
