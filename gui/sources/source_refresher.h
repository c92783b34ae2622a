#pragma once

#include "core/sources/listing_source.h"

#include <QObject>
#include <QString>

#include <chrono>
#include <functional>
#include <string>
#include <vector>

class QTimer;

namespace brevio {

class PageHost;
class RefreshProgress;

// Refreshes the listing sources from the window: once the window runs for those that are due,
// then every few minutes for those that have become due, and when asked ("Refresh now", a source
// added or changed). One refresh at a time, under the store's refresh lock that a terminal's
// `brevio --refresh` takes too, on the window's thread with its events turned between steps, as
// the XMLTV import does. While it runs the windows paint but take no input, so that nothing else
// writes the store meanwhile; a progress box with Cancel comes up when it takes more than a
// moment, and the retrieval page's status line follows it too. A cancel leaves the store and the
// sources as they were. Owned by the main window.
class SourceRefresher : public QObject
{
    Q_OBJECT

public:
    // How often the window looks for sources that have become due.
    static constexpr std::chrono::minutes kCheckInterval{5};

    explicit SourceRefresher(PageHost& host);

    // Every enabled source that is due. Quiet: a fault shows on the status line, not in a box.
    void refreshDue();
    // Every enabled source now, due or not ("Refresh now").
    void refreshAll();
    // The enabled sources of these addresses now: added ones, or ones that read their listing
    // otherwise now.
    void refreshAddresses(const std::vector<std::string>& addresses);

    bool busy() const { return m_busy; }
    // Stops a running refresh; the store stays as it was.
    void cancel() { m_cancel = true; }
    // Closing the window: the refresh stops, and the window closes once it has.
    void cancelAndCloseWhenDone();

    QTimer* checkTimer() const { return m_timer; }

Q_SIGNALS:
    // What the refresh does now, and how it ended, for a status line.
    void statusChanged(const QString& text);
    // The sources' states are stored anew.
    void sourcesRefreshed();

private:
    using Choice = std::function<bool(const sources::ListingSource&, sources::Seconds now)>;
    // Refreshes the chosen sources in list order. `asked`: the user asked, so the refresh waits
    // for another process's to end, and faults reach the handler's guard.
    void run(const Choice& chosen, bool asked);
    void refreshChosen(const Choice& chosen, RefreshProgress& progress, bool asked);
    // The refreshed source's state into the list as the settings hold it now.
    void storeState(const sources::ListingSource& refreshed);

    PageHost& m_host;
    QTimer* m_timer = nullptr;
    bool m_busy = false;
    bool m_cancel = false;
    bool m_closeWhenDone = false;
};

} // namespace brevio
