#pragma once

#include <QFrame>

#include <cstddef>
#include <string>
#include <vector>

class QLabel;
class QListWidget;
class QPlainTextEdit;
class QToolButton;

namespace brevio {

namespace net {
class HttpClient;
struct HttpReply;
struct RefusedChannel;
} // namespace net
class PageHost;

// The retrieval page: check and download buttons (with the abort button on the same spot),
// the progress memo, the channel checklist and the status line. Its two steps fetch the
// server's week and channel catalogue, then the ticked channels.
class RetrievalPage : public QFrame
{
    Q_OBJECT

public:
    RetrievalPage(PageHost& host, QWidget* parent);

    // Opening the page shows the check button, enabled, with the other two on its spot.
    void pageOpened();

    // "Проверить наличие новой программки": which week the server offers and which channels.
    void checkForNewWeek();
    // "Получить отмеченые телепрограммы": the ticked channels into the week folder.
    void downloadTickedChannels();

    QToolButton* checkButton() const { return m_check; }
    QToolButton* downloadButton() const { return m_download; }
    QToolButton* abortButton() const { return m_abort; }
    QToolButton* sourcesButton() const { return m_sources; }
    QPlainTextEdit* progressMemo() const { return m_memo; }
    QListWidget* channelChecklist() const { return m_checklist; }
    QLabel* statusLine() const { return m_status; }

    // What the last check left for the download.
    const std::string& weekPath() const { return m_weekPath; }
    std::size_t offeredCount() const { return m_offeredCount; }

Q_SIGNALS:
    // A step starts (true) or ends (false): the window's page buttons wait for it.
    void stepRunning(bool running);

private:
    // A connection of the step is up: the abort button takes the place of the other two.
    void showConnected(bool connected);
    // True when the check got to its end, so that the download may follow.
    bool runCheck(net::HttpClient& client);
    void showRefusals(const std::vector<net::RefusedChannel>& refused);
    // False when nothing was ticked of what is on offer: the download stays offered.
    bool runDownload(net::HttpClient& client);
    // The checklist, files.dat and the offered count of the last check, gone.
    void dropOffer() noexcept;
    void dropOfferFile() noexcept;
    // The reply passed the success test; otherwise its error message is shown and it is logged.
    bool received(const net::HttpReply& reply);
    void showProgress(const QString& text);
    // The page buttons and the checklist, while a step runs.
    void setStepControlsEnabled(bool enabled);

    PageHost& m_host;
    QToolButton* m_check = nullptr;
    QToolButton* m_download = nullptr;
    QToolButton* m_abort = nullptr;
    QToolButton* m_sources = nullptr;
    QPlainTextEdit* m_memo = nullptr;
    QListWidget* m_checklist = nullptr;
    QLabel* m_status = nullptr;
    std::string m_weekPath;
    std::size_t m_offeredCount = 0;
};

} // namespace brevio
