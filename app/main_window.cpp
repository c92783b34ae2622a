#include "app/main_window.h"

#include "app/form_storage.h"
#include "app/main_window_host.h"
#include "app/window_reminders.h"
#include "core/session/clock.h"
#include "core/store/file_io.h"
#include "core/store/file_names.h"
#include "core/store/temp_files.h"
#include "core/store/week_folder.h"
#include "core/texts/accessible_names.h"
#include "core/texts/caption_table.h"
#include "core/texts/string_table.h"
#include "core/texts/text_ids.h"
#include "gui/exchange/import_dialog.h"
#include "gui/exchange/week_exports.h"
#include "gui/extras/extras.h"
#include "gui/extras/links_menu.h"
#include "gui/grid/grid_window.h"
#include "gui/news/news_page.h"
#include "gui/printing/printing_page.h"
#include "gui/retrieval/retrieval_page.h"
#include "gui/search/search_window.h"
#include "gui/settings/companion_box.h"
#include "gui/settings/settings_page.h"
#include "gui/sources/source_list_dialog.h"
#include "gui/sources/source_refresher.h"
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
#include <QCheckBox>
#include <QCloseEvent>
#include <QComboBox>
#include <QDate>
#include <QDir>
#include <QLabel>
#include <QLibraryInfo>
#include <QLocale>
#include <QMenuBar>
#include <QScopeGuard>
#include <QShortcut>
#include <QSpinBox>
#include <QTextEdit>
#include <QTimer>
#include <QToolButton>
#include <QTranslator>

namespace brevio {

namespace {

constexpr QSize kDesignClientSize(708, 449);
const QRect kPageRect(0, 88, 707, 359);

QDate toQDate(std::chrono::local_days day)
{
    const std::chrono::year_month_day ymd(day);
    return QDate(static_cast<int>(ymd.year()), static_cast<int>(static_cast<unsigned>(ymd.month())),
                 static_cast<int>(static_cast<unsigned>(ymd.day())));
}

// The handlers of the page buttons, in the order of the header and of pages().
constexpr void (MainWindow::*kPageHandlers[])()
    = {&MainWindow::showViewingPage, &MainWindow::showRetrievalPage, &MainWindow::showSettingsPage,
       &MainWindow::showPrintingPage, &MainWindow::showNewsPage};

} // namespace

MainWindow::MainWindow(Dialogs& dialogs, Clock& clock, QWidget* parent)
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

    m_host = new MainWindowHost(*this);
    m_http = std::make_unique<HttpSession>(*m_host);
    buildHeader(central);
    m_viewingPage = new ViewingPage(*m_host, central);
    m_retrievalPage = new RetrievalPage(*m_host, central);
    m_settingsPage = new SettingsPage(*m_host, central);
    m_printingPage = new PrintingPage(*m_host, central);
    m_newsPage = new NewsPage(*m_host, central);
    for (QWidget* page : pages()) {
        Anchors::of(central)->place(page, kPageRect, AnchorAll);
        page->hide();
    }
    m_viewingPage->show();
    buildMenu();
    m_import = new XmltvImport(*m_host);
    new SearchWindow(*m_host);
    auto* grid = new GridWindow(*m_host);
    m_exports = new WeekExports(*m_host);
    m_sourceRefresher = new SourceRefresher(*m_host);
    m_sourceList = new SourceListDialog(*m_host, *m_sourceRefresher);
    auto* extras = new Extras(*m_host, m_usefulLinksMenu, m_helpMenu);
    m_host->connectPages(*extras);

    startSession();

    m_formStorage = std::make_unique<FormStorage>(this, *m_settings);
    m_formStorage->keepPlaceOf(grid, QStringLiteral("Grid"));
    QList<QWidget*> stored;
    for (QSpinBox* spin : m_printingPage->layoutSpins())
        stored << spin;
    stored << m_settingsPage->nowHours() << m_settingsPage->endTimeOption()
           << m_settingsPage->companionBox()->autostart();
    m_formStorage->setStoredControls(stored);
    m_formStorage->restore();

    // Reminders come from the start.
    m_reminders = new WindowReminders(*this, *m_host);

    // The pages and windows ask the host until they are gone, also while they close: it is
    // made the last child, so that it is deleted after them.
    m_host->setParent(nullptr);
    m_host->setParent(this);
}

MainWindow::~MainWindow()
{
    if (m_qtTranslator)
        QCoreApplication::removeTranslator(m_qtTranslator.get());
}

void MainWindow::buildHeader(QWidget* central)
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

    m_pageGroup = new QButtonGroup(this);
    const char* const names[] = {"FlatSpeedButton11", "FlatSpeedButton12", "FlatSpeedButton13",
                                 "FlatSpeedButton14", "FlatSpeedButton36"};
    const char* const captions[]
        = {"Просмотр телепрограмм", "Получение телепрограмм", "Настройки", "Печать телепрограмм", "Новости"};
    for (int i = 0; i < 5; ++i) {
        auto* button = makeSpeedButton(central, names[i], QString::fromUtf8(captions[i]),
                                       {123, 1 + 16 * i, 156, 17}, m_pageGroup);
        m_host->connectGuarded(button, &QToolButton::clicked, this, kPageHandlers[i]);
    }
    m_pageGroup->buttons().first()->setChecked(true);
    makeControl<QFrame>(central, "Panel3", {283, 0, 424, 84}, AnchorLeft | AnchorTop | AnchorRight);
}

void MainWindow::buildMenu()
{
    QMenuBar* bar = menuBar();
    bar->setObjectName(QStringLiteral("RxMainMenu1"));
    auto addMenu = [bar](const char* name, const char* caption) {
        QMenu* menu = bar->addMenu(QString::fromUtf8(caption));
        menu->setObjectName(QString::fromLatin1(name));
        return menu;
    };
    m_fileMenu = addMenu("FileMenu", "Файл");
    // The links and help entries are made by Extras; the links file's by buildLinksMenu.
    m_usefulLinksMenu = addMenu("N1", "Полезные ссылки");
    m_linksMenu = addMenu("N14", "Интересные ссылки");
    m_helpMenu = addMenu("N6", "Помощь");
    QAction* exit = bar->addAction(QStringLiteral("Выход"));
    exit->setObjectName(QStringLiteral("N5"));
    exit->setParent(bar);
    m_host->connectGuarded(exit, &QAction::triggered, this, &MainWindow::exitProgram);
    // F10 opens the menu bar from the keyboard, as on other desktops; arrows and Enter go on.
    auto* openMenu = new QShortcut(QKeySequence(Qt::Key_F10), this);
    connect(openMenu, &QShortcut::activated, bar,
            [bar] { bar->setActiveAction(bar->actions().constFirst()); });
}

PageHost& MainWindow::host() const
{
    return *m_host;
}

bool MainWindow::guard(const std::function<void()>& handler) const
{
    return runGuarded(m_dialogs, handler);
}

bool MainWindow::storeSettings() const
{
    if (m_settings->sync())
        return true;
    m_dialogs.message(text(TextId::SettingsNotSaved).arg(QDir::toNativeSeparators(m_settings->fileName())));
    return false;
}

QString MainWindow::text(TextId id) const
{
    return fromUtf8(textOf(id, m_languageOffset));
}

QList<QToolButton*> MainWindow::pageButtons() const
{
    QList<QToolButton*> buttons;
    for (auto* button : m_pageGroup->buttons())
        buttons << static_cast<QToolButton*>(button);
    return buttons;
}

void MainWindow::startSession()
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
            showSettingsPage();
        });
    } else {
        guard([this] { m_settingsPage->restoreProxy(); });
    }
    guard([this] { buildLinksMenu(m_linksMenu, *m_host); });
    guard([this] { applyStoredFont(); });
    guard([this] { chooseLanguage(storedLanguageOffset(*m_settings)); });
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
        m_viewingPage->showSelectedMode();
    });
}

void MainWindow::writeFirstRunDefaults()
{
    storeLanguageOffset(*m_settings,
                        QLocale::system().language() == QLocale::Russian ? kRussianOffset : kEnglishOffset);
    writeProxyOff(*m_settings);
    storeLastWeek(*m_settings, QString());
    storeSettings();
}

void MainWindow::chooseLanguage(int languageOffset)
{
    // Choosing the other language on the settings page runs the switch, which also applies it.
    if (m_settingsPage->chosenLanguageOffset() == languageOffset)
        switchLanguage(languageOffset);
    else
        m_settingsPage->chooseLanguage(languageOffset);
    applyLanguage();
}

void MainWindow::fillWeekSelector()
{
    m_weekSelector->clear();
    for (const auto& line : store::readLines(std::string(store::kWeekListFile)))
        m_weekSelector->addItem(fromData(line));
    m_weekSelector->setCurrentIndex(m_weekSelector->count() - 1);
}

std::string MainWindow::currentWeekFolder() const
{
    return store::checkedWeekFolder(toData(m_weekSelector->currentText()), store::FolderUse::Read);
}

void MainWindow::setChannelNames(const QStringList& names)
{
    m_viewingPage->setChannelNames(names);
}

void MainWindow::onFirstShow()
{
    updateClockPanel();
    const bool converter = store::fileExists("txt2jtv.dll") && store::fileExists("txt2jtv.ini");
    m_settingsPage->jtvExport()->setVisible(converter);
}

void MainWindow::showEvent(QShowEvent* event)
{
    QMainWindow::showEvent(event);
    if (!m_shown) {
        m_shown = true;
        guard([this] { onFirstShow(); });
    }
}

void MainWindow::updateClockPanel()
{
    const auto today = std::chrono::floor<std::chrono::days>(m_clock.now());
    const QChar sep = systemDateSeparator(QLatin1Char('/'));
    m_dateLabel->setText(toQDate(today).toString(QStringLiteral("dd'%1'MM'%1'yyyy").arg(sep)));
    m_weekdayLabel->setText(text(textAfter(TextId::Monday, weekdayIndex(today))));
}

QList<QWidget*> MainWindow::pages() const
{
    return {m_viewingPage, m_retrievalPage, m_settingsPage, m_printingPage, m_newsPage};
}

void MainWindow::showPage(QWidget* page)
{
    m_weekSelector->setEnabled(m_pageGroup->buttons().first()->isChecked());
    for (QWidget* p : pages())
        p->setVisible(p == page);
}

void MainWindow::bringForward(QWidget* page)
{
    const auto index = pages().indexOf(page);
    pageButtons()[index]->setChecked(true);
    (this->*kPageHandlers[index])();
}

void MainWindow::showViewingPage()
{
    showPage(m_viewingPage);
}

void MainWindow::showRetrievalPage()
{
    showPage(m_retrievalPage);
    m_retrievalPage->pageOpened();
}

void MainWindow::showSettingsPage()
{
    showPage(m_settingsPage);
    m_settingsPage->reloadWeekList();
}

void MainWindow::showPrintingPage()
{
    showPage(m_printingPage);
}

void MainWindow::showNewsPage()
{
    showPage(m_newsPage);
    m_newsPage->pageOpened();
}

void MainWindow::applyLanguage()
{
    // The caption and screen-reader tables name their controls by objectName, as form storage
    // and screen-reader tools do: the look-ups only set texts.
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
            = entry.argument ? text(entry.id).arg(text(*entry.argument)) : text(entry.id);
        for (QWidget* control : findChildren<QWidget*>(name))
            setAccessibleNameOf(control, accessibleName);
    }
    // The title bar shows the window's own caption, which is never translated.
    setWindowTitle(windowTitle());
    Q_EMIT languageChanged();
}

void MainWindow::switchLanguage(int languageOffset)
{
    m_languageOffset = languageOffset;
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
    applyLanguage();
    updateClockPanel();
}

void MainWindow::applyStoredFont()
{
    m_paneFont = storedPaneFont(*m_settings, m_paneFont);
    const QColor color = storedPaneColor(*m_settings);
    for (QTextEdit* pane : m_viewingPage->schedulePanes()) {
        pane->setFont(m_paneFont);
        QPalette palette = pane->palette();
        palette.setColor(QPalette::Text, color);
        pane->setPalette(palette);
    }
    m_paneColor = color;
}

void MainWindow::storeFont()
{
    storePaneFont(*m_settings, m_paneFont, m_paneColor);
}

bool MainWindow::storeOnClose()
{
    return guard([this] {
        m_settingsPage->storeLanguage();
        storeFont();
        m_settingsPage->storeProxy();
    });
}

void MainWindow::closeEvent(QCloseEvent* event)
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
    if (m_sourceRefresher->busy()) {
        m_sourceRefresher->cancelAndCloseWhenDone();
        event->ignore();
        return;
    }
    m_formStorage->store();
    if (!storeOnClose()) {
        event->ignore();
        return;
    }
    const bool stayInTray = m_reminders->keepRunningOnClose();
    // Settings that cannot be written are reported, and the window closes all the same.
    storeSettings();
    if (stayInTray) {
        event->ignore();
        hide();
        return;
    }
    QMainWindow::closeEvent(event);
}

void MainWindow::endSession()
{
    // Leaves every event loop, also those of boxes that are open, and the ones a handler would
    // start after them; the settings are stored once, however often the signal comes.
    const auto end = qScopeGuard([] { QCoreApplication::exit(0); });
    if (m_ending)
        return;
    m_ending = true;
    // A transfer or a refresh in progress ends at once; its handler unwinds as the program ends.
    m_http->abortTransfer();
    m_sourceRefresher->cancel();
    const std::pair<const char*, std::function<void()>> steps[] = {
        {"window placement", [this] { m_formStorage->store(); }},
        {"language", [this] { m_settingsPage->storeLanguage(); }},
        {"font", [this] { storeFont(); }},
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

void MainWindow::exitProgram()
{
    close();
}

} // namespace brevio
