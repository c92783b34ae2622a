#pragma once

#include <QObject>

#include <vector>

class QAction;

namespace brevio {

class PageHost;

// "Файл" → "Экспорт XMLTV…", "Экспорт iCalendar…", "Экспорт JTV…": the week in the week selector
// written for other programs. Each asks for a file, asks before replacing one, writes it whole
// or not at all (a file beside it, then a rename) and says what it wrote or why it could not.
// Owned by the main window.
class WeekExports : public QObject
{
    Q_OBJECT

public:
    explicit WeekExports(PageHost& host);

    // All channels of the week, or those ticked on the printing page, as an XMLTV listing.
    void exportXmltv();
    // The week's selected shows as calendar events, with a reminder if asked for.
    void exportCalendar();
    // The JTV export dialog (also the settings page's "Экспорт в JTV"): the channels ticked
    // in it go to a JTV archive.
    void openJtvExport();

private:
    PageHost& m_host;
};

// The JTV archive of the channels on `rows` of the week's channel list (the JTV dialog's
// "Экспорт"); channels whose titles do not fit the format's index are left out and named.
void exportJtvChannels(const PageHost& host, const std::vector<int>& rows);

} // namespace brevio
