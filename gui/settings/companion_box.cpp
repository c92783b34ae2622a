#include "gui/settings/companion_box.h"

#include "core/extras/desktop_entry.h"
#include "gui/widgets/form_builder.h"
#include "gui/widgets/overlay.h"
#include "gui/widgets/page_host.h"
#include "gui/widgets/settings.h"

#include <QAction>
#include <QCheckBox>
#include <QCoreApplication>
#include <QFileDialog>
#include <QFileInfo>
#include <QGroupBox>
#include <QLabel>
#include <QLineEdit>
#include <QSpinBox>
#include <QStandardPaths>
#include <QStyle>
#include <QToolButton>

namespace brevio {

namespace {

const QString kSection = QStringLiteral("chimeo");

bool isFile(const QString& path)
{
    return !path.isEmpty() && QFileInfo(path).isFile();
}

} // namespace

CompanionBox::CompanionBox(PageHost& host, QWidget* page)
    : QObject(page)
    , m_host(host)
{
    setObjectName(QStringLiteral("ChimeoBox"));
    build(page);
    m_host.connectGuarded(m_save, &QToolButton::clicked, this, &CompanionBox::saveCompanionSettings);
    // Any change of state counts, also the one the window's stored state makes at start.
    m_host.connectGuarded(m_autostart, &QCheckBox::toggled, this, &CompanionBox::updateCompanionAutostart);
}

QLineEdit* CompanionBox::makeFileBox(const char* name, QRect rect, const QString& filter)
{
    auto* edit = makeControl<QLineEdit>(m_box, name, rect, AnchorLeft | AnchorTop | AnchorRight);
    QAction* browse
        = edit->addAction(m_box->style()->standardIcon(QStyle::SP_DirOpenIcon), QLineEdit::TrailingPosition);
    browse->setToolTip(QStringLiteral("Выбрать файл"));
    connect(browse, &QAction::triggered, edit, [edit, filter] {
        const QString file
            = QFileDialog::getOpenFileName(edit, QString(), QFileInfo(edit->text()).path(), filter);
        if (!file.isEmpty())
            edit->setText(file);
    });
    return edit;
}

void CompanionBox::build(QWidget* page)
{
    // The box covers the whole page while it is open: nothing of the page may show through.
    m_box = makeControl<QGroupBox>(page, "GroupBox4", {8, 3, 692, 347}, AnchorAll);
    setCaption(m_box, QStringLiteral("Chimeo"));
    new Anchors(m_box, QSize(692, 347));
    m_box->setAutoFillBackground(true);
    makeLabel(m_box, "Label18", QStringLiteral("Сигнализировать за"), {16, 24, 130, 17});
    m_minutes = makeSpinBox(m_box, "RxSpinEdit9", {150, 21, 49, 21}, 0, 30, 0);
    m_minutes->setAccessibleName(QStringLiteral("Сигнализировать за, минут"));
    makeLabel(m_box, "Label19", QStringLiteral("минут до начала"), {206, 24, 150, 17});

    m_startProgram
        = makeCheckBox(m_box, "FlatCheckBox9", QStringLiteral("Запустить приложение:"), {16, 56, 262, 17});
    m_programPath = makeFileBox("FilenameEdit2", {280, 54, 396, 21}, QString());
    m_programParams
        = makeControl<QLineEdit>(m_box, "Edit5", {280, 78, 396, 21}, AnchorLeft | AnchorTop | AnchorRight);
    makeLabel(m_box, "Label20", QStringLiteral("с параметрами:"), {34, 80, 200, 17})
        ->setBuddy(m_programParams);

    m_ownSound = makeCheckBox(m_box, "FlatCheckBox10", QStringLiteral("Воспроизвести нестандартный звук:"),
                              {16, 108, 262, 17});
    m_soundPath = makeFileBox("FilenameEdit1", {280, 106, 396, 21}, QStringLiteral("Файлы wav (*.wav)"));

    m_soundOnly = makeCheckBox(m_box, "FlatCheckBox11",
                               QStringLiteral("Только звуковой сигнал, без вывода окна сообщения"),
                               {16, 144, 450, 17});
    m_autostart = makeCheckBox(m_box, "FlatCheckBox12", QStringLiteral("Запускать вместе с Windows"),
                               {16, 176, 450, 17});
    // Kept for the companion's window: it has no setting of its own here.
    makeCheckBox(m_box, "FlatCheckBox13", QStringLiteral("Запускать в свернутом виде"), {16, 208, 450, 17});
    m_save = makeSpeedButton(m_box, "FlatSpeedButton35", QStringLiteral("Сохранить"), {456, 240, 121, 17});
    m_box->hide();
    new Overlay(m_box);
}

void CompanionBox::openCompanionSettings()
{
    const Settings& s = m_host.settings();
    m_minutes->setValue(s.readInteger(kSection, QStringLiteral("TimeSlideMin"), 0));
    m_ownSound->setChecked(s.readBool(kSection, QStringLiteral("WavNestandart"), false));
    m_soundPath->setText(s.readString(kSection, QStringLiteral("WavPath")));
    m_startProgram->setChecked(s.readBool(kSection, QStringLiteral("SoftStart"), false));
    m_programPath->setText(s.readString(kSection, QStringLiteral("SoftPath")));
    m_programParams->setText(s.readString(kSection, QStringLiteral("SoftParam")));
    m_soundOnly->setChecked(s.readBool(kSection, QStringLiteral("OnlyZvuk"), false));
    m_box->raise();
    m_box->show();
}

void CompanionBox::saveCompanionSettings()
{
    Settings& s = m_host.settings();
    s.writeInteger(kSection, QStringLiteral("TimeSlideMin"), m_minutes->value());
    // A file that is not there switches its feature off and keeps the path stored before.
    const bool sound = m_ownSound->isChecked() && isFile(m_soundPath->text());
    s.writeBool(kSection, QStringLiteral("WavNestandart"), sound);
    if (sound)
        s.writeString(kSection, QStringLiteral("WavPath"), m_soundPath->text());
    const bool program = m_startProgram->isChecked() && isFile(m_programPath->text());
    s.writeBool(kSection, QStringLiteral("SoftStart"), program);
    if (program) {
        s.writeString(kSection, QStringLiteral("SoftPath"), m_programPath->text());
        s.writeString(kSection, QStringLiteral("SoftParam"), m_programParams->text());
    }
    s.writeBool(kSection, QStringLiteral("OnlyZvuk"), m_soundOnly->isChecked());
    // The companion reads the section while it runs: let it see the change now.
    m_host.storeSettings();
    m_box->hide();
    m_box->lower();
}

void CompanionBox::updateCompanionAutostart()
{
    const QString autostart = QStandardPaths::writableLocation(QStandardPaths::GenericConfigLocation)
        + QStringLiteral("/autostart");
    // Nothing is reported, as for the desktop shortcut.
    setCompanionAutostart(autostart.toStdString(), m_autostart->isChecked(),
                          QCoreApplication::applicationDirPath().toStdString());
}

} // namespace brevio
