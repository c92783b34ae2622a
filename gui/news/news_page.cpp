#include "gui/news/news_page.h"

#include "app/main_window.h"
#include "core/net/http_client.h"
#include "core/net/http_reply.h"
#include "core/news/news_sources.h"
#include "core/news/rates_cbr.h"
#include "core/news/rtf.h"
#include "core/news/web_address.h"
#include "core/news/web_page.h"
#include "core/session/clock.h"
#include "core/store/file_io.h"
#include "gui/news/browser_loader.h"
#include "gui/news/browser_pages.h"
#include "gui/news/news_pane.h"
#include "gui/widgets/dialogs.h"
#include "gui/widgets/form_builder.h"
#include "gui/widgets/http_session.h"
#include "gui/widgets/qt_text.h"
#include "gui/widgets/settings.h"
#include "gui/widgets/system_locale.h"

#include <QButtonGroup>
#include <QComboBox>
#include <QDesktopServices>
#include <QLabel>
#include <QTextEdit>
#include <QToolButton>
#include <QUrl>
#include <QVBoxLayout>

#include <chrono>
#include <optional>

namespace brevio {

namespace {

// Names are configuration like the addresses: a source's name by its stem, and the daily
// column's editor, with the built-in texts as defaults.
const QString kNames = QStringLiteral("SourceNames");

const news::NewsSource* sourceOf(std::string_view stem)
{
    for (const news::NewsSource& source : news::newsSources())
        if (source.stem == stem)
            return &source;
    return nullptr;
}

} // namespace

NewsPage::NewsPage(TBrevioForm& form, QWidget* parent)
    : QFrame(parent)
    , m_form(form)
{
    setObjectName(QStringLiteral("Panel10"));
    new Anchors(this, QSize(707, 359));

    makeSpeedButton(this, "FlatSpeedButton49", QStringLiteral("Загрузить все новости"), {8, 8, 185, 17})
        ->setEnabled(false);
    auto* modes = new QButtonGroup(this);
    makeSpeedButton(this, "FlatSpeedButton37", QStringLiteral("Просмотр"), {8, 32, 92, 17}, modes)
        ->setChecked(true);
    m_loadMode
        = makeSpeedButton(this, "FlatSpeedButton38", QStringLiteral("Загрузка"), {102, 32, 91, 17}, modes);

    setCaption(makeControl<QLabel>(this, "Label24", {11, 62, 80, 15}), QStringLiteral("Курсы валют:"));
    auto* sources = new QButtonGroup(this);
    makeSpeedButton(this, "FlatSpeedButton39", QStringLiteral("НБУ"), {94, 60, 33, 17}, sources);
    makeSpeedButton(this, "FlatSpeedButton40", QStringLiteral("ЦБР"), {127, 60, 33, 17}, sources);
    makeSpeedButton(this, "FlatSpeedButton48", QStringLiteral("ЦБК"), {160, 60, 33, 17});
    setCaption(makeControl<QLabel>(this, "Label21", {75, 82, 60, 14}), QStringLiteral("Новости:"));
    makeSpeedButton(this, "FlatSpeedButton43", QStringLiteral("РИА \"Ореанда\""), {8, 96, 89, 17}, sources);
    makeSpeedButton(this, "FlatSpeedButton25", QStringLiteral("Подробности"), {104, 96, 89, 17}, sources);
    makeSpeedButton(this, "FlatSpeedButton47", QStringLiteral("EZHEpravda"), {8, 113, 89, 17}, sources);
    makeSpeedButton(this, "FlatSpeedButton26", QStringLiteral("uaSport"), {104, 113, 89, 17}, sources);
    makeSpeedButton(this, "FlatSpeedButton51", QStringLiteral("Корреспондент"), {8, 136, 185, 17}, sources);
    makeSpeedButton(this, "FlatSpeedButton52", QStringLiteral("УНЛ результаты тиражей"), {8, 160, 185, 17},
                    sources);
    makeSpeedButton(this, "FlatSpeedButton53", QStringLiteral("RusDisney"), {8, 184, 89, 17}, sources);
    auto* city = makeControl<QComboBox>(this, "FlatComboBox2", {8, 224, 129, 21});
    city->setEditable(true);
    city->setEditText(QStringLiteral("выбрать город"));
    makeSpeedButton(this, "FlatSpeedButton54", QStringLiteral("Погода"), {144, 224, 49, 21}, sources);
    m_dummy = makeSpeedButton(this, "FlatSpeedButton41", QStringLiteral("пустышка"), {0, 0, 0, 0}, sources);
    m_dummy->hide();
    sources->setExclusive(true);

    m_status = makeControl<QLabel>(this, "Panel11", {8, 320, 185, 19}, AnchorLeft | AnchorBottom);
    m_status->setFrameStyle(QFrame::Panel | QFrame::Sunken);

    // Placed at start-up 250 and 40 pixels short of the page's width and height.
    const QRect paneRect(208, 8, 707 - 250, 359 - 40);
    m_pane = makePane(this, "RxRichEdit2", paneRect, true);
    m_pane->setLineWrapMode(QTextEdit::WidgetWidth);
    m_browserPanel = makePanel(this, "Panel13", paneRect, AnchorAll);
    m_browserPanel->hide();
    m_openUrl = [](const QString& address) { QDesktopServices::openUrl(QUrl(address)); };
    // The browser itself is made when a browser source first shows a page (browser()).
    new QVBoxLayout(m_browserPanel);
    m_browserPanel->layout()->setContentsMargins(0, 0, 0, 0);
    new LinkClicks(m_pane, [this](const QString& address) { RxRichEdit2URLClick(address); });

    for (const news::NewsSource& source : news::newsSources()) {
        auto* button = findChild<QToolButton*>(QString::fromLatin1(source.button));
        setCaption(button, fromUtf8(source.caption));
        connect(button, &QToolButton::clicked, this,
                [this, &source] { m_form.guard([this, &source] { runSource(source); }); });
    }
}

QString NewsPage::sourceName(const news::NewsSource& source) const
{
    return m_form.settings().readString(kNames, QString::fromLatin1(source.stem), fromUtf8(source.caption));
}

NewsPage::~NewsPage() = default;

void NewsPage::pageOpened()
{
    for (const news::NewsSource& source : news::newsSources())
        setCaption(findChild<QToolButton*>(QString::fromLatin1(source.button)), sourceName(source));
    const QRect fitted(208, 8, width() - 213, height() - 13);
    // Design coordinates: the anchoring keeps the 5-pixel margins as the window changes size.
    const QRect design(208, 8, 707 - 213, 359 - 13);
    Anchors::of(this)->replace(m_pane, design);
    Anchors::of(this)->replace(m_browserPanel, design);
    Q_ASSERT(m_pane->geometry() == fitted);
    m_browserPanel->hide();
}

BrowserView& NewsPage::browser()
{
    if (!m_browser) {
        BrowserSetup setup;
        setup.openLink = [this](const QString& address) { RxRichEdit2URLClick(address); };
        setup.refused = [this] { m_status->setText(m_form.text(140)); };
        m_browser = createBrowserView(m_browserPanel, std::move(setup));
        QWidget* view = m_browser->widget();
        view->setObjectName(QStringLiteral("WebBrowser3"));
        // Named as the other panes are; a later change of language renames it with them.
        setAccessibleNameOf(view, m_form.text(184));
        m_browserPanel->layout()->addWidget(view);
    }
    return *m_browser;
}

void NewsPage::sourceClicked(std::string_view stem)
{
    if (const news::NewsSource* source = sourceOf(stem))
        runSource(*source);
}

void NewsPage::runSource(const news::NewsSource& source)
{
    // One transfer at a time: a click while any fetch runs is ignored.
    if (m_form.http().busy()) {
        if (source.inGroup)
            m_dummy->setChecked(true);
        return;
    }
    const bool browser = source.surface == news::Surface::Browser;
    m_pane->setVisible(!browser);
    m_browserPanel->setVisible(browser);
    if (m_loadMode->isChecked())
        fetch(source);
    else
        view(source);
    if (source.inGroup)
        m_dummy->setChecked(true);
}

void NewsPage::fetch(const news::NewsSource& source)
{
    const news::SourceContext context = contextOf(source);
    const std::string address = source.address(context);
    std::optional<net::HttpReply> reply;
    bool tooLarge = false;
    {
        const ClientScope scope(m_form);
        try {
            const net::HttpReply& received = scope.client().get(address);
            if (net::replySucceeded(received.header))
                reply = received;
        } catch (const net::TransferError& error) {
            // The client's events have already told the user; the pane and the file stay.
            tooLarge = error.kind() == net::TransferError::Kind::TooLarge;
        }
    }
    // After the client's last event, which would cover the text.
    if (tooLarge) {
        m_status->setText(m_form.text(115));
        showSavedCopy(source);
    }
    if (!reply)
        return;
    const std::string& body = reply->body;
    const news::NewsText text = source.lines(body, context);
    if (text.items == 0) {
        // A reply without the source's markers (an error page, an empty reply, noise) is no
        // news: the last good copy stays and is shown.
        m_status->setText(m_form.text(116));
        showSavedCopy(source);
        return;
    }
    if (!source.rawCopy.empty())
        store::replaceFile(std::string(source.rawCopy), body);
    if (source.surface == news::Surface::Browser)
        browser().navigate(fetchedPage(address, reply->header, body), browserProxy(m_form.http().proxy()));
    showNewsLines(m_pane, text.lines);
    store::replaceFile(source.savedFile(), news::linesToRtf(text.lines));
}

void NewsPage::showSavedCopy(const news::NewsSource& source)
{
    // The pane shows the clicked source, never the page of the one before.
    if (store::fileExists(source.savedFile()))
        view(source);
    else
        m_pane->clear();
}

void NewsPage::view(const news::NewsSource& source)
{
    const std::string file = source.savedFile();
    if (!store::fileExists(file)) {
        m_form.dialogs().message(fromUtf8(source.missingMessage));
        return;
    }
    // A copy saved before panes were capped may be longer than a pane shows.
    const std::vector<std::string> lines = news::paneLines(news::readNewsText(store::readFile(file)));
    showNewsLines(m_pane, lines);
    // A browser source shows its copy in the browser panel, offline: the pane behind it
    // cannot be seen.
    if (source.surface == news::Surface::Browser) {
        const news::SourceContext context = contextOf(source);
        const std::vector<std::string> framing = source.lines(news::kPageMarker, context).lines;
        browser().showCopy(savedCopyPage(source.address(context), news::savedPage(lines, framing)));
    }
}

news::SourceContext NewsPage::contextOf(const news::NewsSource& source) const
{
    const Settings& settings = m_form.settings();
    return {
        toData(sourceBaseUrl(settings, QString::fromLatin1(source.stem))), requestDate(),
        toData(sourceName(source)),
        toData(settings.readString(kNames, QStringLiteral("ezhe_editor"), fromUtf8(news::kColumnEditor))),
        toData(settings.readString(kNames, QStringLiteral("ezhe_mail"), fromUtf8(news::kColumnEditorMail)))};
}

std::string NewsPage::requestDate() const
{
    const std::chrono::year_month_day day{std::chrono::floor<std::chrono::days>(m_form.clock().now())};
    return news::cbrRequestDate(static_cast<int>(day.year()), static_cast<unsigned>(day.month()),
                                static_cast<unsigned>(day.day()),
                                static_cast<char>(systemDateSeparator(QLatin1Char('.')).unicode()));
}

void NewsPage::RxRichEdit2URLClick(const QString& address)
{
    const std::string openable = news::openableAddress(toData(address));
    if (!openable.empty())
        m_openUrl(fromData(openable));
}

} // namespace brevio
