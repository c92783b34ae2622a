#include "gui/sources/source_refresher.h"

#include "core/exchange/broadcast_day.h"
#include "core/exchange/exchange_errors.h"
#include "core/session/clock.h"
#include "core/sources/refresh_lock.h"
#include "core/sources/source_refresh.h"
#include "core/texts/text_ids.h"
#include "gui/widgets/http_session.h"
#include "gui/widgets/page_host.h"
#include "gui/widgets/qt_text.h"
#include "gui/widgets/settings.h"

#include <QApplication>
#include <QElapsedTimer>
#include <QProgressDialog>
#include <QScopedValueRollback>
#include <QTimer>
#include <QWindow>

#include <algorithm>

namespace brevio {

namespace {

using sources::ListingSource;
using sources::RefreshReport;
using sources::RefreshStep;

constexpr qint64 kPumpMilliseconds = 15;
// A refresh that ends sooner (an unchanged source) shows no box; one whose progress promises
// to take longer shows it earlier.
constexpr int kBoxDelayMilliseconds = 300;
constexpr int kProgressSteps = 1000;

// Holds back the user's clicks and keys from every window but `open` for as long as it lives:
// they would start work that writes the store while the refresh writes it.
class InputHold : public QObject
{
public:
    explicit InputHold(QWidget& open)
        : m_open(open)
    {
        qApp->installEventFilter(this);
    }
    ~InputHold() override { qApp->removeEventFilter(this); }
    InputHold(const InputHold&) = delete;
    InputHold& operator=(const InputHold&) = delete;

    bool eventFilter(QObject* watched, QEvent* event) override
    {
        switch (event->type()) {
        case QEvent::MouseButtonPress:
        case QEvent::MouseButtonRelease:
        case QEvent::MouseButtonDblClick:
        case QEvent::KeyPress:
        case QEvent::KeyRelease:
        case QEvent::Shortcut:
        case QEvent::ShortcutOverride:
        case QEvent::Wheel:
        case QEvent::ContextMenu:
        case QEvent::TouchBegin:
            break;
        default:
            return false;
        }
        if (auto* widget = qobject_cast<QWidget*>(watched))
            return widget != &m_open && !m_open.isAncestorOf(widget);
        if (auto* window = qobject_cast<QWindow*>(watched))
            return window != m_open.windowHandle();
        return true; // a shortcut's action or a menu's
    }

private:
    QWidget& m_open;
};

QString outcomeText(const PageHost& host, const ListingSource& source, const RefreshReport& report)
{
    const QString name = fromUtf8(source.name);
    switch (report.outcome) {
    case RefreshReport::Outcome::Merged:
        return host.text(TextId::SourceMerged).arg(name).arg(report.channelsMerged);
    case RefreshReport::Outcome::Unchanged:
        return host.text(TextId::SourceUnchanged).arg(name);
    case RefreshReport::Outcome::Cancelled:
        return host.text(TextId::RefreshCancelled);
    case RefreshReport::Outcome::Failed:
        break;
    }
    return name + QStringLiteral(": ") + fromUtf8(report.error);
}

} // namespace

// The progress box, shown once a refresh takes longer than a moment, and the same text for the
// status line.
class RefreshProgress
{
public:
    RefreshProgress(PageHost& host, SourceRefresher& refresher)
        : m_host(host)
        , m_refresher(refresher)
        , m_box(QApplication::activeModalWidget() ? QApplication::activeModalWidget() : host.window())
    {
        m_box.setObjectName(QStringLiteral("RefreshProgress"));
        m_box.setWindowTitle(host.text(TextId::ListingSourcesTitle));
        m_box.setWindowModality(Qt::ApplicationModal);
        m_box.setRange(0, kProgressSteps);
        m_box.setMinimumDuration(kBoxDelayMilliseconds);
        m_box.setAutoClose(false);
        m_box.setAutoReset(false);
        m_box.setValue(0);
        m_started.start();
    }

    QProgressDialog& box() { return m_box; }

    // Shows the step now and then, and turns the event loop; false when Cancel was pressed.
    bool show(const QString& source, RefreshStep step, std::uint64_t done, std::uint64_t total)
    {
        if (!m_pumped.isValid() || m_pumped.elapsed() >= kPumpMilliseconds) {
            const double share = total > 0 ? std::min(1.0, double(done) / double(total)) : 0.0;
            // The download fills the first 40 % of the bar, the reading the next 40 %.
            const double starts[] = {0.0, 0.4, 0.8};
            const double widths[] = {0.4, 0.4, 0.2};
            const auto at = static_cast<std::size_t>(step);
            QString doing;
            if (step == RefreshStep::Downloading)
                doing = m_host.text(TextId::DownloadingSource)
                            .arg(source, QString::number(double(done) / 1e6, 'f', 1));
            else
                doing = source + QStringLiteral(": ")
                    + m_host.text(step == RefreshStep::Reading ? TextId::ReadingListings
                                                               : TextId::WritingWeeks);
            if (doing != m_box.labelText()) {
                m_box.setLabelText(doing);
                Q_EMIT m_refresher.statusChanged(doing);
            }
            pump(int((starts[at] + widths[at] * share) * kProgressSteps));
        }
        return !m_box.wasCanceled();
    }

    // Turns the event loop (after `value` is shown); false when Cancel was pressed.
    bool pump(int value = -1)
    {
        if (!m_box.isVisible() && m_started.elapsed() >= kBoxDelayMilliseconds)
            m_box.show();
        if (value >= 0)
            m_box.setValue(value);
        QCoreApplication::processEvents();
        m_pumped.start();
        return !m_box.wasCanceled();
    }

private:
    PageHost& m_host;
    SourceRefresher& m_refresher;
    QProgressDialog m_box;
    QElapsedTimer m_started;
    QElapsedTimer m_pumped;
};

SourceRefresher::SourceRefresher(PageHost& host)
    : QObject(host.window())
    , m_host(host)
{
    setObjectName(QStringLiteral("SourceRefresher"));
    // Short checks every few minutes rather than one long timer per source: a source's interval
    // counts from its last refresh, which a terminal's refresh may move, and a sleeping computer
    // stops long timers.
    m_timer = new QTimer(this);
    m_timer->setInterval(std::chrono::duration_cast<std::chrono::milliseconds>(kCheckInterval));
    connect(m_timer, &QTimer::timeout, this, &SourceRefresher::refreshDue);
    m_timer->start();
    // The start's refresh, once the window's event loop runs: the window is up and painted.
    QTimer::singleShot(0, this, &SourceRefresher::refreshDue);
}

void SourceRefresher::refreshDue()
{
    run([](const ListingSource& source, sources::Seconds now) { return sources::isDue(source, now); }, false);
}

void SourceRefresher::refreshAll()
{
    run([](const ListingSource& source, sources::Seconds) { return source.enabled; }, true);
}

void SourceRefresher::refreshAddresses(const std::vector<std::string>& addresses)
{
    run(
        [&addresses](const ListingSource& source, sources::Seconds) {
            return source.enabled
                && std::find(addresses.begin(), addresses.end(), source.address) != addresses.end();
        },
        true);
}

void SourceRefresher::cancelAndCloseWhenDone()
{
    m_cancel = true;
    m_closeWhenDone = true;
}

void SourceRefresher::run(const Choice& chosen, bool asked)
{
    // A transfer turns the event loop while it runs, and so may call here: the next check
    // tries again.
    if (m_busy || m_host.http().busy())
        return;
    const auto now = std::chrono::floor<std::chrono::seconds>(exchange::utcMoment(m_host.clock().now()));
    m_host.settings().sync(); // what a terminal's refresh stored meanwhile
    const auto listed = listingSources(m_host.settings());
    // Nothing to do makes nothing, not even the lock's file.
    if (std::none_of(listed.begin(), listed.end(), [&](const ListingSource& s) { return chosen(s, now); }))
        return;

    const QScopedValueRollback running(m_busy, true);
    m_cancel = false;
    try {
        RefreshProgress progress(m_host, *this);
        const InputHold hold(progress.box());
        refreshChosen(chosen, progress, asked);
    } catch (const std::exception& e) {
        if (m_closeWhenDone)
            QTimer::singleShot(0, m_host.window(), [this] { m_host.window()->close(); });
        // The start's and the timer's checks say it on the status line: a box every few minutes
        // would only be in the way.
        if (asked)
            throw;
        Q_EMIT statusChanged(fromUtf8(e.what()));
        return;
    }
    if (m_closeWhenDone)
        QTimer::singleShot(0, m_host.window(), [this] { m_host.window()->close(); });
}

void SourceRefresher::refreshChosen(const Choice& chosen, RefreshProgress& progress, bool asked)
{
    const auto pump = [&] { return progress.pump() && !m_cancel; };
    // The timer's check does not wait for a terminal's refresh to end; the user's request does.
    const auto lock
        = sources::RefreshLock::acquire(asked ? std::chrono::hours(24) : std::chrono::hours(0), pump);
    if (!lock) {
        if (m_cancel || asked)
            Q_EMIT statusChanged(m_host.text(TextId::RefreshCancelled));
        return;
    }
    sources::FetchOptions options;
    options.http.proxy = m_host.proxy();
    options.http.timeoutMs = m_host.transferTimeoutSeconds() * 1000L;
    const auto now = std::chrono::floor<std::chrono::seconds>(exchange::utcMoment(m_host.clock().now()));
    // The list as it is once the store is ours: a terminal's refresh may just have stored it.
    m_host.settings().sync();
    std::vector<ListingSource> list = listingSources(m_host.settings());
    QStringList said;
    bool storeChanged = false;
    for (std::size_t i = 0; i < list.size() && !m_cancel; ++i) {
        if (!chosen(list[i], now))
            continue;
        const QString name = fromUtf8(list[i].name);
        const RefreshReport report = sources::refreshSource(
            list, i, now, options, *lock, [&](RefreshStep step, std::uint64_t done, std::uint64_t total) {
                return progress.show(name, step, done, total) && !m_cancel;
            });
        if (report.outcome != RefreshReport::Outcome::Cancelled)
            storeState(list[i]);
        said << outcomeText(m_host, list[i], report);
        storeChanged |= report.outcome == RefreshReport::Outcome::Merged && !report.summary.weeks.empty();
    }
    if (storeChanged)
        m_host.followStoreChange();
    Q_EMIT statusChanged(said.join(QStringLiteral("; ")));
    Q_EMIT sourcesRefreshed();
}

void SourceRefresher::storeState(const ListingSource& refreshed)
{
    Settings& settings = m_host.settings();
    settings.sync();
    std::vector<ListingSource> stored = listingSources(settings);
    if (!sources::applyRefresh(stored, refreshed))
        return; // removed meanwhile
    storeListingSources(settings, stored);
    m_host.storeSettings();
}

} // namespace brevio
