#include "app/main_window.h"

#include "app/form_storage.h"
#include "core/session/clock.h"
#include "core/store/file_io.h"
#include "core/store/file_names.h"
#include "core/store/temp_files.h"
#include "core/store/week_folder.h"
#include "core/texts/accessible_names.h"
#include "core/texts/caption_table.h"
#include "core/texts/string_table.h"
#include "gui/exchange/import_dialog.h"
#include "gui/exchange/week_exports.h"
#include "gui/extras/extras.h"
#include "gui/extras/links_menu.h"
#include "gui/news/news_page.h"
#include "gui/printing/printing_page.h"
#include "gui/reminders/reminder_service.h"
#include "gui/reminders/reminder_settings.h"
#include "gui/retrieval/retrieval_page.h"
#include "gui/search/search_window.h"
#include "gui/settings/maintenance_controls.h"
#include "gui/settings/settings_page.h"
#include "gui/viewing/viewing_page.h"
#include "gui/widgets/accessible_buttons.h"
#include "gui/widgets/dialogs.h"
#include "gui/widgets/form_builder.h"
#include "gui/widgets/handler_guard.h"
#include "gui/widgets/http_session.h"
#include "gui/widgets/qt_text.h"
#include "gui/widgets/settings.h"
#include "gui/widgets/system_locale.h"

#include <QApplication>
#include <QButtonGroup>
#include <QCloseEvent>
#include <QComboBox>
#include <QDate>
#include <QDir>
#include <QLabel>
#include <QLibraryInfo>
#include <QListWidget>
#include <QLocale>
#include <QMenuBar>
#include <QRadioButton>
#include <QScopeGuard>
#include <QShortcut>
#include <QTextEdit>
#include <QTimer>
#include <QToolButton>
#include <QTranslator>

namespace brevio {

namespace {

const QString kMain = QStringLiteral("Main");
const QString kFont = QStringLiteral("Font");
constexpr QSize kDesignClientSize(708, 449);
const QRect kPageRect(0, 88, 707, 359);

QDate toQDate(std::chrono::local_days day)
{
    const std::chrono::year_month_day ymd(day);
    return QDate(static_cast<int>(ymd.year()), static_cast<int>(static_cast<unsigned>(ymd.month())),
                 static_cast<int>(static_cast<unsigned>(ymd.day())));
}

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

TBrevioForm::TBrevioForm(Dialogs& dialogs, Clock& clock, QWidget* parent)
    : QMainWindow(parent)
    , m_dialogs(dialogs)
    , m_clock(clock)
{
    setObjectName(QStringLiteral("BrevioForm"));
    installAccessibleButtons();
    auto* central = new QWidget(this);
    central->setObjectName(QStringLiteral("ClientArea"));
    central->resize(kDesignClientSize);
    new Anchors(central, kDesignClientSize);
    setCentralWidget(central);

    buildHeader(central);
    m_viewingPage = new ViewingPage(*this, central);
    m_retrievalPage = new RetrievalPage(*this, central);
    m_settingsPage = new SettingsPage(*this, central);
    m_printingPage = new PrintingPage(*this, central);
    m_newsPage = new NewsPage(*this, central);
    for (QWidget* page : std::initializer_list<QWidget*>{m_viewingPage, m_retrievalPage, m_settingsPage,
                                                         m_printingPage, m_newsPage}) {
        Anchors::of(central)->place(page, kPageRect, AnchorAll);
        page->hide();
    }
    m_viewingPage->show();
    m_http = std::make_unique<HttpSession>(*this);
    buildMenu();
    m_import = new XmltvImport(*this);
    new SearchWindow(*this);
    new WeekExports(*this);
    new MaintenanceControls(*this);
    new Extras(*this);

    FormCreate();

    m_formStorage = std::make_unique<FormStorage>(this, *m_settings);
    m_formStorage->setStoredControls(
        {QStringLiteral("RxSpinEdit1"), QStringLiteral("RxSpinEdit2"), QStringLiteral("RxSpinEdit3"),
         QStringLiteral("RxSpinEdit4"), QStringLiteral("RxSpinEdit5"), QStringLiteral("RxSpinEdit6"),
         QStringLiteral("RxSpinEdit10"), QStringLiteral("CheckBox5"), QStringLiteral("FlatCheckBox12")});
    m_formStorage->restore();

    // Reminders come from the start; "Show" brings the window up.
    auto* reminders = new ReminderService(m_clock, readReminderOptions(*m_settings), m_languageOffset,
                                          m_dialogs, QDBusConnection::sessionBus(), this);
    connect(this, &TBrevioForm::languageChanged, reminders,
            [this, reminders] { reminders->setLanguageOffset(m_languageOffset); });
    connect(reminders, &ReminderService::showRequested, this, [this] {
        showNormal();
        raise();
        activateWindow();
    });
}

TBrevioForm::~TBrevioForm()
{
    if (m_qtTranslator)
        QCoreApplication::removeTranslator(m_qtTranslator.get());
}

void TBrevioForm::buildHeader(QWidget* central)
{
    auto* clockPanel = makeControl<QFrame>(central, "Panel1", {2, 0, 117, 61});
    clockPanel->setFrameStyle(QFrame::Panel | QFrame::Sunken);
    auto centred = [clockPanel](const char* name, int top) {
        auto* label = new QLabel(clockPanel);
        label->setObjectName(QString::fromLatin1(name));
        label->setGeometry(8, top, 101, 13);
        label->setAlignment(Qt::AlignCenter);
        return label;
    };
    setCaption(centred("Label1", 2), QStringLiteral("Сейчас:"));
    m_dateLabel = centred("Label3", 13);
    m_weekdayLabel = centred("Label2", 24);
    m_runningClock = new QLabel(clockPanel);
    m_runningClock->setObjectName(QStringLiteral("RxClock1"));
    m_runningClock->setGeometry(13, 38, 90, 17);
    m_runningClock->setAlignment(Qt::AlignCenter);
    m_runningClock->setFrameStyle(QFrame::Panel | QFrame::Sunken);
    auto* tick = new QTimer(this);
    const auto showTime = [this] {
        const auto now = m_clock.now();
        const auto time = std::chrono::hh_mm_ss(now - std::chrono::floor<std::chrono::days>(now));
        m_runningClock->setText(QTime(static_cast<int>(time.hours().count()),
                                      static_cast<int>(time.minutes().count()),
                                      static_cast<int>(time.seconds().count()))
                                    .toString(QStringLiteral("HH:mm:ss")));
    };
    connect(tick, &QTimer::timeout, this, showTime);
    tick->start(1000);
    showTime();

    m_weekSelector = makeControl<ShortTextComboBox>(central, "FlatComboBox1", {2, 62, 118, 21});
    connect(m_weekSelector, &QComboBox::activated, this,
            [this] { guard([this] { m_viewingPage->FlatComboBox1Change(); }); });

    m_pageGroup = new QButtonGroup(this);
    const char* const names[] = {"FlatSpeedButton11", "FlatSpeedButton12", "FlatSpeedButton13",
                                 "FlatSpeedButton14", "FlatSpeedButton36"};
    const char* const captions[]
        = {"Просмотр телепрограмм", "Получение телепрограмм", "Настройки", "Печать телепрограмм", "Новости"};
    void (TBrevioForm::*handlers[])()
        = {&TBrevioForm::FlatSpeedButton11Click, &TBrevioForm::FlatSpeedButton12Click,
           &TBrevioForm::FlatSpeedButton13Click, &TBrevioForm::FlatSpeedButton14Click,
           &TBrevioForm::FlatSpeedButton36Click};
    for (int i = 0; i < 5; ++i) {
        auto* button = makeSpeedButton(central, names[i], QString::fromUtf8(captions[i]),
                                       {123, 1 + 16 * i, 156, 17}, m_pageGroup);
        const auto handler = handlers[i];
        connect(button, &QToolButton::clicked, this,
                [this, handler] { guard([this, handler] { (this->*handler)(); }); });
    }
    m_pageGroup->buttons().first()->setChecked(true);
    makeControl<QFrame>(central, "Panel3", {283, 0, 424, 84}, AnchorLeft | AnchorTop | AnchorRight);
}

void TBrevioForm::buildMenu()
{
    QMenuBar* bar = menuBar();
    bar->setObjectName(QStringLiteral("RxMainMenu1"));
    auto addItem = [this](QMenu* menu, const char* name, const char* caption) {
        QAction* action = menu->addAction(QString::fromUtf8(caption));
        action->setObjectName(QString::fromLatin1(name));
        action->setParent(menu);
        return action;
    };
    auto addMenu = [bar](const char* name, const char* caption) {
        QMenu* menu = bar->addMenu(QString::fromUtf8(caption));
        menu->setObjectName(QString::fromLatin1(name));
        return menu;
    };
    m_fileMenu = addMenu("FileMenu", "Файл");
    QMenu* useful = addMenu("N1", "Полезные ссылки");
    addItem(useful, "N2", "Домашняя страница Brevio");
    useful->addSeparator()->setObjectName(QStringLiteral("N15"));
    addItem(useful, "N3", "Анекдоты");
    addItem(useful, "N4", "Психологические тесты");
    addItem(useful, "N10", "Библиотеки");
    addItem(useful, "N11", "Рок-сайт");
    addItem(useful, "N12", "Безалкогольные напитки");
    addItem(useful, "ICQ1", "ICQ лист");
    addItem(useful, "N13", "Пикантные анекдоты");
    m_linksMenu = addMenu("N14", "Интересные ссылки");
    QMenu* help = addMenu("N6", "Помощь");
    addItem(help, "N8", "Справка");
    help->addSeparator()->setObjectName(QStringLiteral("N18"));
    addItem(help, "N7", "О программе");
    QAction* exit = bar->addAction(QStringLiteral("Выход"));
    exit->setObjectName(QStringLiteral("N5"));
    exit->setParent(bar);
    connect(exit, &QAction::triggered, this, [this] { N5Click(); });
    // F10 opens the menu bar from the keyboard, as on other desktops; arrows and Enter go on.
    auto* openMenu = new QShortcut(QKeySequence(Qt::Key_F10), this);
    connect(openMenu, &QShortcut::activated, bar,
            [bar] { bar->setActiveAction(bar->actions().constFirst()); });
}

bool TBrevioForm::guard(const std::function<void()>& handler)
{
    return runGuarded(m_dialogs, handler);
}

bool TBrevioForm::storeSettings()
{
    if (m_settings->sync())
        return true;
    m_dialogs.message(text(120).arg(QDir::toNativeSeparators(m_settings->fileName())));
    return false;
}

net::HttpClient& TBrevioForm::CreateHttpClient()
{
    return m_http->CreateHttpClient();
}

QString TBrevioForm::text(int id) const
{
    return fromUtf8(loadString(id + m_languageOffset));
}

QList<QToolButton*> TBrevioForm::pageButtons() const
{
    QList<QToolButton*> buttons;
    for (auto* button : m_pageGroup->buttons())
        buttons << static_cast<QToolButton*>(button);
    return buttons;
}

void TBrevioForm::FormCreate()
{
    // The form was laid out with 487 pixels counting the title and menu bars (38) above its
    // client area of 449; here the window's height counts only the menu bar, so the area below
    // it gets the design height and every page its design size.
    resize(660, kDesignClientSize.height() + menuBar()->heightForWidth(660));
    setWindowTitle(QStringLiteral("Brevio v.2.53"));
    m_settings = std::make_unique<Settings>();
    // What a rewrite killed in an earlier run left beside its file.
    store::removeStaleStoreTempFiles();
    // Each step runs on its own: one that fails shows its error, naming the file, and the
    // steps after it still run.
    const bool firstRun = !store::fileExists(std::string(store::kWeekListFile))
        || !store::fileExists(std::string(store::kFirstRunMarker));
    if (firstRun) {
        guard([] { store::createEmptyIfMissing(std::string(store::kWeekListFile)); });
        guard([] { store::createEmptyIfMissing(std::string(store::kFirstRunMarker)); });
        guard([this] { writeFirstRunDefaults(); });
        guard([this] {
            pageButtons()[2]->setChecked(true);
            FlatSpeedButton13Click();
        });
    } else {
        guard([this] { m_settingsPage->restoreProxy(); });
    }
    guard([this] { buildLinksMenu(); });
    guard([this] { ApplyStoredFont(); });
    guard([this] {
        applyLanguage(m_settings->readString(kMain, QStringLiteral("Lang"), QStringLiteral("eng"))
                              == QLatin1String("rus")
                          ? kRussianOffset
                          : kEnglishOffset);
    });
    guard([this] { fillWeekSelector(); });
    std::string folder;
    if (guard([&] { folder = currentWeekFolder(); })) {
        guard([&] {
            if (store::fileExists(folder + std::string(store::kChannelListFile)))
                m_viewingPage->loadChannelNames(folder);
        });
        guard([&] { m_viewingPage->loadSelectedLists(); });
    }
    guard([this] {
        m_viewingPage->selectedButton()->setChecked(true);
        m_viewingPage->setDayButtonDown(weekdayIndex(std::chrono::floor<std::chrono::days>(m_clock.now())));
        m_viewingPage->FlatSpeedButton9Click();
    });
}

void TBrevioForm::writeFirstRunDefaults()
{
    m_settings->writeString(kMain, QStringLiteral("Lang"),
                            QLocale::system().language() == QLocale::Russian ? QStringLiteral("rus")
                                                                             : QStringLiteral("eng"));
    writeProxyOff(*m_settings);
    m_settings->writeString(kMain, QStringLiteral("lastdate"), QString());
    storeSettings();
}

void TBrevioForm::buildLinksMenu()
{
    brevio::buildLinksMenu(m_linksMenu, *this);
}

void TBrevioForm::applyLanguage(int offset)
{
    // Checking a radio button runs the language switch, which also calls SetEnglish.
    QRadioButton* radio = offset == kRussianOffset ? m_settingsPage->russian() : m_settingsPage->english();
    if (radio->isChecked())
        RadioButton1Click();
    else
        radio->setChecked(true);
    SetEnglish();
}

void TBrevioForm::fillWeekSelector()
{
    m_weekSelector->clear();
    for (const auto& line : store::readLines(std::string(store::kWeekListFile)))
        m_weekSelector->addItem(fromData(line));
    m_weekSelector->setCurrentIndex(m_weekSelector->count() - 1);
}

std::string TBrevioForm::currentWeekFolder() const
{
    return store::checkedWeekFolder(toData(m_weekSelector->currentText()), store::FolderUse::Read);
}

void TBrevioForm::setChannelNames(const QStringList& names)
{
    for (QListWidget* list :
         {m_viewingPage->channelList(), m_printingPage->channelChecklist(), m_settingsPage->channelList()}) {
        list->clear();
        list->addItems(names);
    }
    for (int i = 0; i < m_printingPage->channelChecklist()->count(); ++i)
        m_printingPage->channelChecklist()->item(i)->setCheckState(Qt::Unchecked);
}

void TBrevioForm::FormShow()
{
    updateClockPanel();
    const bool converter = store::fileExists("txt2jtv.dll") && store::fileExists("txt2jtv.ini");
    m_settingsPage->jtvExport()->setVisible(converter);
}

void TBrevioForm::showEvent(QShowEvent* event)
{
    QMainWindow::showEvent(event);
    if (!m_shown) {
        m_shown = true;
        guard([this] { FormShow(); });
    }
}

void TBrevioForm::updateClockPanel()
{
    const auto today = std::chrono::floor<std::chrono::days>(m_clock.now());
    const QChar sep = systemDateSeparator(QLatin1Char('/'));
    m_dateLabel->setText(toQDate(today).toString(QStringLiteral("dd'%1'MM'%1'yyyy").arg(sep)));
    m_weekdayLabel->setText(text(15 + weekdayIndex(today)));
}

void TBrevioForm::showPage(QWidget* page)
{
    m_weekSelector->setEnabled(m_pageGroup->buttons().first()->isChecked());
    for (QWidget* p : std::initializer_list<QWidget*>{m_viewingPage, m_retrievalPage, m_settingsPage,
                                                      m_printingPage, m_newsPage})
        p->setVisible(p == page);
}

void TBrevioForm::FlatSpeedButton11Click()
{
    showPage(m_viewingPage);
}

void TBrevioForm::FlatSpeedButton12Click()
{
    showPage(m_retrievalPage);
    m_retrievalPage->pageOpened();
}

void TBrevioForm::FlatSpeedButton13Click()
{
    showPage(m_settingsPage);
    m_settingsPage->reloadWeekList();
}

void TBrevioForm::FlatSpeedButton14Click()
{
    showPage(m_printingPage);
}

void TBrevioForm::FlatSpeedButton36Click()
{
    showPage(m_newsPage);
    m_newsPage->pageOpened();
}

void TBrevioForm::SetEnglish()
{
    for (const CaptionEntry& entry : kCaptionTable) {
        const QString name
            = QString::fromLatin1(entry.control.data(), static_cast<qsizetype>(entry.control.size()));
        for (QObject* control : findChildren<QObject*>(name))
            setCaption(control, text(entry.id));
    }
    // Controls without a caption are named for screen readers in the same language.
    for (const AccessibleNameEntry& entry : kAccessibleNames) {
        const QString name
            = QString::fromLatin1(entry.control.data(), static_cast<qsizetype>(entry.control.size()));
        const QString accessibleName
            = entry.argument ? text(entry.id).arg(text(entry.argument)) : text(entry.id);
        for (QWidget* control : findChildren<QWidget*>(name))
            setAccessibleNameOf(control, accessibleName);
    }
    // The title bar shows the window's own caption, which is never translated.
    setWindowTitle(windowTitle());
    Q_EMIT languageChanged();
}

void TBrevioForm::RadioButton1Click()
{
    m_languageOffset = m_settingsPage->english()->isChecked() ? kEnglishOffset : kRussianOffset;
    if (m_languageOffset == kRussianOffset && !m_qtTranslator) {
        // Qt's own boxes (Yes/No, the font dialog, the print preview) speak the same language.
        auto translator = std::make_unique<QTranslator>();
        if (translator->load(QLocale(QLocale::Russian), QStringLiteral("qtbase"), QStringLiteral("_"),
                             QLibraryInfo::path(QLibraryInfo::TranslationsPath))) {
            QCoreApplication::installTranslator(translator.get());
            m_qtTranslator = std::move(translator);
        }
    } else if (m_languageOffset == kEnglishOffset && m_qtTranslator) {
        QCoreApplication::removeTranslator(m_qtTranslator.get());
        m_qtTranslator.reset();
    }
    SetEnglish();
    updateClockPanel();
}

void TBrevioForm::ApplyStoredFont()
{
    m_paneFont.setFamily(
        m_settings->readString(kFont, QStringLiteral("Name"), QStringLiteral("MS Sans Serif")));
    m_paneFont.setPointSize(std::max(1, m_settings->readInteger(kFont, QStringLiteral("Size"), 8)));
    const QColor color = fromColorValue(m_settings->readInteger(kFont, QStringLiteral("Color"), 0));
    for (QTextEdit* pane : m_viewingPage->schedulePanes()) {
        pane->setFont(m_paneFont);
        QPalette palette = pane->palette();
        palette.setColor(QPalette::Text, color);
        pane->setPalette(palette);
    }
    m_paneColor = color;
}

void TBrevioForm::StoreFont()
{
    m_settings->writeInteger(kFont, QStringLiteral("Color"), toColorValue(m_paneColor));
    m_settings->writeString(kFont, QStringLiteral("Name"), m_paneFont.family());
    m_settings->writeInteger(kFont, QStringLiteral("Size"), m_paneFont.pointSize());
}

bool TBrevioForm::FormClose()
{
    return guard([this] {
        m_settingsPage->storeLanguage();
        StoreFont();
        m_settingsPage->storeProxy();
    });
}

void TBrevioForm::closeEvent(QCloseEvent* event)
{
    // A running transfer is aborted first; the window closes once its step has ended.
    if (m_http->busy()) {
        m_http->closeWhenDone();
        event->ignore();
        return;
    }
    if (m_import->busy()) {
        m_import->cancelAndCloseWhenDone();
        event->ignore();
        return;
    }
    m_formStorage->store();
    if (!FormClose()) {
        event->ignore();
        return;
    }
    // Settings that cannot be written are reported, and the window closes all the same.
    storeSettings();
    QMainWindow::closeEvent(event);
}

void TBrevioForm::endSession()
{
    // Leaves every event loop, also those of boxes that are open, and the ones a handler would
    // start after them; the settings are stored once, however often the signal comes.
    const auto end = qScopeGuard([] { QCoreApplication::exit(0); });
    if (m_ending)
        return;
    m_ending = true;
    // A transfer in progress ends at once; its handler unwinds as the program ends.
    m_http->FlatSpeedButton27Click();
    const std::pair<const char*, std::function<void()>> steps[] = {
        {"window placement", [this] { m_formStorage->store(); }},
        {"language", [this] { m_settingsPage->storeLanguage(); }},
        {"font", [this] { StoreFont(); }},
        {"proxy settings", [this] { m_settingsPage->storeProxy(); }},
    };
    // Nobody is left to answer a box: each step stores what it can and the log tells the rest.
    for (const auto& [what, step] : steps) {
        try {
            step();
        } catch (const std::exception& e) {
            qWarning("brevio: the %s could not be saved as the session ended: %s", what, e.what());
        }
    }
    if (!m_settings->sync())
        qWarning("brevio: the settings could not be written to %s as the session ended",
                 qUtf8Printable(QDir::toNativeSeparators(m_settings->fileName())));
}

void TBrevioForm::N5Click()
{
    close();
}

} // namespace brevio
