#include "gui/exchange/week_exports.h"

#include "core/exchange/broadcast_day.h"
#include "core/exchange/jtv_writer.h"
#include "core/exchange/selected_calendar.h"
#include "core/exchange/xmltv_export.h"
#include "core/session/clock.h"
#include "core/store/errors.h"
#include "core/store/file_io.h"
#include "core/store/week_folder.h"
#include "core/texts/text_ids.h"
#include "core/view/week_lists.h"
#include "gui/exchange/export_dialog.h"
#include "gui/exchange/jtv_export_dialog.h"
#include "gui/widgets/dialogs.h"
#include "gui/widgets/page_host.h"
#include "gui/widgets/qt_text.h"
#include "gui/widgets/wait_cursor.h"

#include <QAction>
#include <QDir>
#include <QFile>
#include <QFileInfo>
#include <QMenu>

#include <set>

namespace brevio {

namespace {

// The week in the selector; none (said) when there is no week.
std::optional<std::string> chosenWeek(const PageHost& host)
{
    const QString week = host.currentWeek();
    if (week.isEmpty()) {
        host.dialogs().message(host.text(TextId::NoWeekYet));
        return std::nullopt;
    }
    return toData(week);
}

// "brevio-07122026.xml": the week folder's name with the format's suffix.
QString suggestedName(const std::string& week, const char* suffix)
{
    std::string folder = store::checkedWeekFolder(week, store::FolderUse::Read);
    if (!folder.empty() && folder.back() == '/')
        folder.pop_back();
    return QStringLiteral("brevio-%1.%2").arg(fromData(folder), QLatin1String(suffix));
}

std::function<bool(int)> onlyRows(const std::vector<int>& rows)
{
    const std::set<int> chosen(rows.begin(), rows.end());
    return [chosen](int index) { return chosen.count(index) > 0; };
}

// What an export holds, for the message that says where it went.
struct Written
{
    std::size_t shows = 0;
    std::size_t channels = 0;
    QString note; // what was left out, if anything
};

// A menu entry's text as a title: "Export XMLTV…" gives "Export XMLTV".
QString titleOf(QString entry)
{
    if (entry.endsWith(QChar(0x2026)))
        entry.chop(1);
    return entry;
}

// Writes an export to a file the user picks, and says what was written where.
void saveExport(const PageHost& host, const QString& title, const QString& filter, const QString& suggested,
                const std::string& bytes, const Written& written)
{
    Dialogs& dialogs = host.dialogs();
    const auto file = dialogs.chooseSaveFile(title, filter, suggested);
    if (!file)
        return;
    const QString shown = QDir::toNativeSeparators(*file);
    if (QFileInfo::exists(*file) && !dialogs.confirm(host.text(TextId::ReplaceFile).arg(shown)))
        return;
    try {
        store::replaceFile(QFile::encodeName(*file).toStdString(), bytes);
    } catch (const Error& e) {
        dialogs.message(host.text(TextId::ExportNotWritten).arg(shown, fromUtf8(e.what())));
        return;
    }
    QString done = host.text(TextId::Exported)
                       .arg(QString::number(written.shows), QString::number(written.channels), shown);
    if (!written.note.isEmpty())
        done += QLatin1Char('\n') + written.note;
    dialogs.message(done);
}

} // namespace

WeekExports::WeekExports(PageHost& host)
    : QObject(host.window())
    , m_host(host)
{
    setObjectName(QStringLiteral("WeekExports"));
    QMenu* menu = host.fileMenu();
    menu->addSeparator();
    const std::pair<const char*, void (WeekExports::*)()> entries[] = {
        {"ExportXmltvItem", &WeekExports::exportXmltv},
        {"ExportIcsItem", &WeekExports::exportCalendar},
        {"ExportJtvItem", &WeekExports::openJtvExport},
    };
    for (const auto& [name, handler] : entries) {
        QAction* action = menu->addAction(QString());
        action->setObjectName(QString::fromLatin1(name));
        m_host.connectGuarded(action, &QAction::triggered, this, handler);
    }
}

void WeekExports::exportXmltv()
{
    const auto week = chosenWeek(m_host);
    if (!week)
        return;
    const std::vector<int> ticked = m_host.tickedPrintChannels();
    const QString title = titleOf(m_host.text(TextId::ExportXmltvItem));
    ExportDialog options(m_host, ExportDialog::Kind::Xmltv, title, fromData(*week),
                         static_cast<int>(ticked.size()));
    if (options.exec() != QDialog::Accepted)
        return;
    std::string listing;
    exchange::ExportCount count;
    {
        const WaitCursor waiting;
        const auto wanted = options.tickedOnly() ? onlyRows(ticked) : std::function<bool(int)>();
        listing = exchange::weekToXmltv(exchange::readWeekListing(*week, wanted), count);
    }
    if (count.shows == 0) {
        m_host.dialogs().message(m_host.text(TextId::NothingToExport));
        return;
    }
    saveExport(m_host, options.windowTitle(), m_host.text(TextId::XmltvFiles) + QStringLiteral(" (*.xml)"),
               suggestedName(*week, "xml"), listing, {count.shows, count.channels, {}});
}

void WeekExports::exportCalendar()
{
    const auto week = chosenWeek(m_host);
    if (!week)
        return;
    ExportDialog options(m_host, ExportDialog::Kind::Calendar, titleOf(m_host.text(TextId::ExportIcsItem)),
                         fromData(*week), 0);
    if (options.exec() != QDialog::Accepted)
        return;
    std::vector<exchange::CalendarEvent> events;
    std::set<std::string> channels;
    {
        const WaitCursor waiting;
        const auto listing = exchange::readWeekListing(*week);
        view::SelectedLists lists;
        view::loadSelectedLists(store::checkedWeekFolder(*week, store::FolderUse::Read), lists);
        events = exchange::selectedEvents(listing, lists);
        for (const auto& event : events)
            channels.insert(event.description.substr(0, event.description.find('\n')));
    }
    if (events.empty()) {
        m_host.dialogs().message(m_host.text(TextId::NothingToExport));
        return;
    }
    saveExport(
        m_host, options.windowTitle(), QStringLiteral("iCalendar (*.ics)"), suggestedName(*week, "ics"),
        exchange::calendarText(events, options.reminderMinutes(), exchange::utcMoment(m_host.clock().now())),
        {events.size(), channels.size(), {}});
}

void WeekExports::openJtvExport()
{
    JtvExportDialog dialog(m_host.printChannels(), m_host.window());
    dialog.setExporter(
        [this](const std::vector<int>& rows) { m_host.guard([&] { exportJtvChannels(m_host, rows); }); });
    dialog.exec();
}

void exportJtvChannels(const PageHost& host, const std::vector<int>& rows)
{
    const auto week = chosenWeek(host);
    if (!week)
        return;
    if (rows.empty()) {
        host.dialogs().message(host.text(TextId::NothingToExport));
        return;
    }
    exchange::JtvExport archive;
    {
        const WaitCursor waiting;
        archive = exchange::weekToJtv(exchange::readWeekListing(*week, onlyRows(rows)));
    }
    Written written{archive.shows, archive.channels, {}};
    if (!archive.refused.empty()) {
        QStringList names;
        for (const std::string& name : archive.refused)
            names << fromData(name);
        written.note = host.text(TextId::JtvLeftOut).arg(names.join(QStringLiteral(", ")));
    }
    if (archive.channels == 0) {
        host.dialogs().message(written.note.isEmpty() ? host.text(TextId::NothingToExport) : written.note);
        return;
    }
    saveExport(host, titleOf(host.text(TextId::ExportJtvItem)), QStringLiteral("JTV (*.zip)"),
               suggestedName(*week, "zip"), archive.archive, written);
}

} // namespace brevio
