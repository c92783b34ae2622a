#pragma once

#include "core/exchange/week_builder.h"

#include <QObject>

#include <optional>

class QAction;

namespace brevio {

class PageHost;

// "Файл" → "Импорт XMLTV…": adds the weeks of an XMLTV file to the week store, read with the time
// zone, day start and languages the user confirms after choosing the file. The work runs
// on the window's thread and lets the window process its events between steps (as a transfer
// does), under a progress box whose Cancel leaves the store as it was. Owned by the main window.
class XmltvImport : public QObject
{
    Q_OBJECT

public:
    explicit XmltvImport(PageHost& host);

    // The menu entry: choose a file, import it, show the new week and what was done.
    void importXmltv();

    bool busy() const { return m_busy; }
    // Stops a running import (nothing is changed) and closes the window once it has ended.
    void cancelAndCloseWhenDone();

    QAction* action() const { return m_action; }

private:
    // The zone, day start and languages the listing is read with, offered as the last import
    // left them; none when the user cancels.
    std::optional<exchange::ListingOptions> chooseOptions();

    PageHost& m_host;
    QAction* m_action = nullptr;
    bool m_busy = false;
    bool m_cancel = false;
    bool m_closeWhenDone = false;
};

} // namespace brevio
