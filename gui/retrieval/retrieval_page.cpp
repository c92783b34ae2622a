#include "gui/retrieval/retrieval_page.h"

#include "core/net/http_client.h"
#include "core/net/http_reply.h"
#include "core/net/update_catalogue.h"
#include "core/store/file_io.h"
#include "core/store/file_names.h"
#include "core/store/week_folder.h"
#include "core/texts/text_ids.h"
#include "gui/widgets/dialogs.h"
#include "gui/widgets/form_builder.h"
#include "gui/widgets/http_session.h"
#include "gui/widgets/page_host.h"
#include "gui/widgets/qt_text.h"
#include "gui/widgets/settings.h"

#include <QLabel>
#include <QListWidget>
#include <QPlainTextEdit>
#include <QToolButton>

#include <algorithm>
#include <functional>

namespace brevio {

namespace {

const QRect kButtonSpot(8, 8, 207, 17);
constexpr int kMaxRefusalsShown = 20;
const QString kMain = QStringLiteral("Main");

// Runs the end of a step however the step ends.
class AtExit
{
public:
    explicit AtExit(std::function<void()> action)
        : m_action(std::move(action))
    {
    }
    ~AtExit() { m_action(); }
    AtExit(const AtExit&) = delete;
    AtExit& operator=(const AtExit&) = delete;

private:
    std::function<void()> m_action;
};

std::string channelListOf(const std::string& weekFolder)
{
    return weekFolder + std::string(store::kChannelListFile);
}

} // namespace

RetrievalPage::RetrievalPage(PageHost& host, QWidget* parent)
    : QFrame(parent)
    , m_host(host)
{
    setObjectName(QStringLiteral("Panel6"));
    new Anchors(this, QSize(707, 359));

    m_check = makeSpeedButton(this, "FlatSpeedButton19", QStringLiteral("Проверить наличие новой программки"),
                              kButtonSpot);
    m_download = makeSpeedButton(this, "FlatSpeedButton20",
                                 QStringLiteral("Получить отмеченые телепрограммы"), kButtonSpot);
    m_abort = makeSpeedButton(this, "FlatSpeedButton27", QStringLiteral("Прервать сеанс связи"), kButtonSpot);
    m_download->hide();
    m_abort->hide();
    // Beside the schedule server's steps, the other way listings come: sources that refresh
    // themselves (the host opens their window).
    m_sources = makeSpeedButton(this, "ListingSourcesButton", QStringLiteral("Источники программы…"),
                                {224, 4, 180, 17});
    m_host.connectGuarded(m_check, &QToolButton::clicked, this, &RetrievalPage::checkForNewWeek);
    m_host.connectGuarded(m_download, &QToolButton::clicked, this, &RetrievalPage::downloadTickedChannels);
    m_host.connectGuarded(m_abort, &QToolButton::clicked, &m_host.http(), &HttpSession::abortTransfer);

    m_memo = makeControl<QPlainTextEdit>(this, "FlatMemo1", {8, 32, 207, 52});
    m_memo->setReadOnly(true);
    m_checklist = makeControl<QListWidget>(this, "CheckListBox2", {8, 90, 208, 241},
                                           AnchorLeft | AnchorTop | AnchorBottom);
    m_status = makeControl<QLabel>(this, "Panel7", {8, 336, 209, 17}, AnchorLeft | AnchorBottom);
    m_status->setFrameStyle(QFrame::Panel | QFrame::Sunken);
    auto* filler = makeControl<QFrame>(this, "Panel12", {224, 24, 476, 329}, AnchorAll);
    filler->setFrameStyle(QFrame::Panel | QFrame::Sunken);

    // Every transfer's progress shows on the status line, this page's replies' ends too.
    HttpSession& http = m_host.http();
    connect(&http, &HttpSession::statusChanged, m_status, &QLabel::setText);
    connect(&http, &HttpSession::replyEnded, m_status, &QLabel::setText);
    connect(&http, &HttpSession::connectionChanged, this, &RetrievalPage::showConnected);
}

void RetrievalPage::showConnected(bool connected)
{
    m_abort->setVisible(connected);
    if (connected) {
        m_check->setVisible(false);
        m_download->setVisible(false);
    }
}

void RetrievalPage::pageOpened()
{
    m_check->setVisible(true);
    m_check->setEnabled(true);
    for (auto* button : {m_check, m_download, m_abort})
        Anchors::of(this)->replace(button, kButtonSpot);
    // Of two visible buttons on the spot, the later in the order check, download, abort is on top.
    m_check->raise();
    m_download->raise();
    m_abort->raise();
}

void RetrievalPage::showProgress(const QString& text)
{
    m_memo->setPlainText(text);
}

void RetrievalPage::setStepControlsEnabled(bool enabled)
{
    Q_EMIT stepRunning(!enabled);
    m_checklist->setEnabled(enabled);
}

bool RetrievalPage::received(const net::HttpReply& reply)
{
    if (net::replySucceeded(reply.header))
        return true;
    m_host.dialogs().message(m_host.text(TextId::SessionFailed));
    HttpSession::logHttpError(reply.header, reply.body);
    return false;
}

void RetrievalPage::checkForNewWeek()
{
    HttpSession& http = m_host.http();
    if (http.busy())
        return;
    http.clearAbortFlag();
    m_check->setEnabled(false);
    setStepControlsEnabled(false);
    bool offered = false;
    const AtExit end([this, &offered] {
        // Only a check that got to its end offers the download; after a failed one nothing of
        // it stays, and the check can be tried again at once.
        if (!offered)
            dropOffer();
        m_check->setVisible(!offered);
        m_check->setEnabled(!offered);
        m_download->setVisible(offered);
        m_download->setEnabled(offered);
        setStepControlsEnabled(true);
    });
    const ClientScope scope(m_host.http());
    http.loadServerUrl();
    offered = runCheck(scope.client());
}

void RetrievalPage::dropOffer() noexcept
{
    m_offeredCount = 0;
    m_checklist->clear();
    store::removeFile(std::string(store::kChannelOfferFile));
}

bool RetrievalPage::runCheck(net::HttpClient& client)
{
    HttpSession& http = m_host.http();
    Settings& settings = m_host.settings();
    const std::string& base = http.serverUrl();
    // An offer of an earlier check is no longer what the checklist shows.
    dropOffer();
    showProgress(m_host.text(TextId::CheckingServer));

    if (http.abortFlag())
        return false;
    const net::HttpReply& weeks = client.get(base + "datas.dat");
    if (!received(weeks))
        return false;
    QStringList offered;
    for (const std::string& line : net::offeredWeeks(weeks.body))
        offered << fromData(line);
    m_weekPath = net::weekPath(toData(m_host.dialogs().chooseWeek(offered)));

    const net::HttpReply& dateReply = client.get(net::serverFileUrl(base, m_weekPath, "data.dat"));
    if (!received(dateReply))
        return false;
    const std::string serverDate = net::serverWeekDate(dateReply.body);
    net::checkServerWeekDate(serverDate);
    const std::string lastDate = toData(lastWeek(settings));
    const std::string oldFolder = store::checkedWeekFolder(lastDate, store::FolderUse::Read);
    // The newest week under other separators is that week, not a new one.
    const bool newWeek = !store::sameWeek(serverDate, lastDate);

    // The date goes on a line of its own under the question.
    const QString question
        = m_host.text(newWeek ? TextId::NewWeekShowChannels : TextId::NoNewWeekShowChannels)
        + QLatin1Char('\n') + QStringLiteral("На сервере дата понедельника - ") + fromData(serverDate);
    if (m_host.dialogs().confirm(question)) {
        if (newWeek)
            showProgress(m_host.text(TextId::NewWeekFetchingChannels));
        if (http.abortFlag())
            return false;
        const net::HttpReply& catalogue = client.get(net::serverFileUrl(base, m_weekPath, "files.dat"));
        if (!received(catalogue))
            return false;
        const net::ChannelOffer offer = net::offerChannels(
            net::parseCatalogue(catalogue.body), net::joinedChannelList(channelListOf(oldFolder)), newWeek);
        store::replaceFile(std::string(store::kChannelOfferFile), net::offerFileText(offer.channels));
        // Recorded only with the offer it belongs to: a check that fails records nothing.
        settings.writeBool(kMain, QStringLiteral("new"), newWeek);
        if (newWeek)
            settings.writeString(kMain, QStringLiteral("newdate"), fromData(serverDate));
        m_host.storeSettings();
        for (const net::OfferedChannel& channel : offer.channels) {
            // Made whole before it joins the list: an item changed while it belongs to the list's
            // view but not yet to its rows is looked for among all rows, once per change.
            auto* item = new QListWidgetItem(fromData(channel.entry.name));
            item->setFlags(item->flags() | Qt::ItemIsUserCheckable);
            item->setCheckState(channel.checked ? Qt::Checked : Qt::Unchecked);
            m_checklist->addItem(item);
        }
        m_offeredCount = offer.channels.size();
        if (!offer.refused.empty())
            showRefusals(offer.refused);
    }
    showProgress(m_host.text(TextId::TickAndDownload));
    return true;
}

void RetrievalPage::showRefusals(const std::vector<net::RefusedChannel>& refused)
{
    // A box that lists them all could grow past the screen and take long to lay out.
    QStringList reasons;
    for (const net::RefusedChannel& channel : refused) {
        if (reasons.size() == kMaxRefusalsShown) {
            reasons << QStringLiteral("…");
            break;
        }
        reasons << fromUtf8(channel.reason);
    }
    m_host.dialogs().message(
        QStringLiteral("The server offers channels that cannot be stored safely; they are not offered:\n")
        + reasons.join(QLatin1Char('\n')));
}

void RetrievalPage::downloadTickedChannels()
{
    HttpSession& http = m_host.http();
    if (http.busy())
        return;
    http.clearAbortFlag();
    m_download->setEnabled(false);
    setStepControlsEnabled(false);
    {
        bool roundOver = true;
        const AtExit end([this, &roundOver] {
            // The offer belongs to one download: whatever its end, the next one needs a check.
            if (roundOver)
                dropOfferFile();
            m_check->setVisible(roundOver);
            m_download->setVisible(!roundOver);
            m_download->setEnabled(!roundOver);
            setStepControlsEnabled(true);
        });
        const ClientScope scope(m_host.http());
        http.loadServerUrl();
        roundOver = runDownload(scope.client());
    }
    // Reached when no error ended the step: also after a stop at the abort flag or a failed reply.
    m_host.showNewestWeek();
}

void RetrievalPage::dropOfferFile() noexcept
{
    m_offeredCount = 0;
    store::removeFile(std::string(store::kChannelOfferFile));
}

bool RetrievalPage::runDownload(net::HttpClient& client)
{
    // Every name is checked before anything is written or fetched.
    std::vector<bool> ticked;
    for (int i = 0; i < m_checklist->count(); ++i)
        ticked.push_back(m_checklist->item(i)->checkState() == Qt::Checked);
    const bool anyTicked = std::find(ticked.begin(), ticked.end(), true) != ticked.end();
    const std::vector<net::PlannedChannel> plan = net::plannedDownloads(
        anyTicked ? store::readLines(std::string(store::kChannelOfferFile)) : std::vector<std::string>{},
        ticked, m_offeredCount);
    if (plan.empty()) {
        // Nothing is fetched, written or recorded: a week never joins the list without a channel.
        // With channels on offer the user may still tick some and press again.
        const bool onOffer = m_offeredCount > 0 && m_checklist->count() > 0;
        showProgress(m_host.text(onOffer ? TextId::NoChannelTicked : TextId::NoChannelsToDownload));
        return !onOffer;
    }

    HttpSession& http = m_host.http();
    Settings& settings = m_host.settings();
    const std::string weekList(store::kWeekListFile);
    const bool newWeek = settings.readBool(kMain, QStringLiteral("new"), true);
    const net::DownloadTarget target = net::downloadTarget(
        newWeek, toData(settings.readString(kMain, QStringLiteral("newdate"))), toData(lastWeek(settings)),
        store::fileExists(weekList) ? store::readLines(weekList) : std::vector<std::string>{});

    store::createFolder(target.folder);
    bool completed = false;
    const AtExit tidy([&target, &completed] {
        // A week not in the list that received no channel leaves no folder behind.
        if (!completed && target.freshList)
            net::removeEmptyWeekFolder(target.folder);
    });
    net::ChannelListWriter channelList(channelListOf(target.folder), target.freshList);
    for (const net::PlannedChannel& channel : plan) {
        if (http.abortFlag())
            return true;
        showProgress(m_host.text(TextId::DownloadingChannel) + fromData(channel.entry.name));
        const net::HttpReply& reply
            = client.get(net::serverFileUrl(http.serverUrl(), m_weekPath, channel.entry.fileName));
        if (!received(reply))
            return true;
        store::replaceFile(target.folder + channel.entry.fileName, reply.body);
        channelList.add(channel.line);
    }
    completed = true;

    if (newWeek) {
        // A week already in the week list (an older one picked again) is not recorded twice.
        if (target.recordWeek)
            storeLastWeek(settings, fromData(target.weekDate));
        settings.writeBool(kMain, QStringLiteral("new"), false);
        m_host.storeSettings();
    }
    if (target.recordWeek) {
        m_host.addWeek(fromData(target.weekDate));
        store::appendToFile(weekList, target.weekDate + "\r\n");
    }
    showProgress(m_host.text(TextId::AllChannelsReceived));
    m_checklist->clear();
    return true;
}

} // namespace brevio
