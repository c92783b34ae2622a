#pragma once

#include "core/reminders/reminder_file.h"
#include "core/texts/text_ids.h"
#include "core/view/week_lists.h"

#include <QColor>
#include <QFont>
#include <QObject>
#include <QStringList>

#include <functional>
#include <memory>
#include <string>
#include <type_traits>
#include <vector>

class QMenu;
class QWidget;

namespace brevio {

class Clock;
class Dialogs;
class HttpSession;
class Settings;
namespace net {
struct ProxySettings;
}
namespace view {
class LoadedWeek;
}

// What a page or window of the program may ask of the main window that holds it. A page knows
// this host and never another page: a value one page needs of another, and work one page asks
// of another, go through here, and the main window carries them out with the page concerned.
class PageHost : public QObject
{
    Q_OBJECT

public:
    using QObject::QObject;

    // What every page uses.
    virtual Dialogs& dialogs() const = 0;
    virtual Clock& clock() const = 0;
    virtual Settings& settings() const = 0;
    // Every transfer's client, status events, abort flag and error log.
    virtual HttpSession& http() const = 0;
    // The interface text of `id` in the current language.
    virtual QString text(TextId id) const = 0;
    virtual int languageOffset() const = 0;
    // Runs a handler; an error is shown in a message box and the window carries on. False when
    // the handler ended with an error.
    virtual bool guard(const std::function<void()>& handler) const = 0;
    // Writes the settings to disk; when they cannot be written, says so and where, and returns
    // false (the changes stay pending).
    virtual bool storeSettings() const = 0;
    // The main window: the parent of the pages' dialogs.
    virtual QWidget* window() const = 0;
    // "Файл", first in the menu bar; windows add their entries to it.
    virtual QMenu* fileMenu() const = 0;

    // The week in the week selector ("" when there is none) and its folder (checked for reading).
    virtual QString currentWeek() const = 0;
    virtual std::string currentWeekFolder() const = 0;
    // The week of `weekFolder` read whole, shared by the windows that show all of it (search,
    // programme grid): read once while one of them holds it and its files stay unchanged.
    virtual std::shared_ptr<const view::LoadedWeek> loadedWeek(const std::string& weekFolder) = 0;

    // What one page needs of another, as that page holds it now.
    // The settings page's proxy fields; ConvertError for a port that is not a whole number.
    virtual net::ProxySettings proxy() const = 0;
    virtual int transferTimeoutSeconds() const = 0;
    // The look-ahead of the "now" view and the selected shows' end-time option.
    virtual int nowHours() const = 0;
    virtual bool endTimeInSelected() const = 0;
    // The printing page's channel checklist: every channel, and the rows ticked.
    virtual QStringList printChannels() const = 0;
    virtual std::vector<int> tickedPrintChannels() const = 0;
    // The lines of the eight list panes of the selected shows.
    virtual view::SelectedLists selectedListLines() const = 0;
    // The schedule panes' font and colour.
    virtual QFont paneFont() const = 0;
    virtual QColor paneColor() const = 0;

    // Work one page asks of the window or of another page. Each throws what that work throws,
    // so the asking handler's guard reports it.
    // Brings `page` forward as a click on its button in the header does.
    virtual void showPage(QWidget* page) = 0;
    virtual void switchLanguage(int languageOffset) = 0;
    // Stores the chosen font and colour and gives them to the panes.
    virtual void changePaneFont(const QFont& font, const QColor& color) = 0;
    virtual void clearDayPanes() = 0;
    // A downloaded week joins the week selector; the selector's newest week is shown.
    virtual void addWeek(const QString& week) = 0;
    virtual void showNewestWeek() = 0;
    // The week list file has changed: the selector, the settings page's week list and the
    // viewing page follow it.
    virtual void reloadWeeks() = 0;
    // The same when the store changed under the window (a listing source's refresh): the week
    // shown stays shown while it is listed.
    virtual void followStoreChange() = 0;
    // A deleted week (at `row` of the week list) leaves the selector, which shows the newest;
    // followWeekSelector then loads that week unless the viewing page shows it already.
    virtual void removeWeek(int row, const QString& week) = 0;
    virtual void followWeekSelector() = 0;
    // A deleted channel leaves the viewing and printing pages' lists.
    virtual void removeChannel(const QString& name) = 0;
    // A show found in the week shown on the viewing page, and then put into the selected shows.
    virtual void showFoundShow(int channel, int day, int line) = 0;
    virtual void addFoundShow(int channel, int day, int line) = 0;

    // Reminders of shows. Whether `show` has a reminder to come (pending or snoozed; with "remind
    // of every selected show", a selected show unless its reminder was removed).
    virtual bool hasReminder(const reminders::ShowKey& show) const = 0;
    // Gives `show` a reminder or takes it away (remindersChanged follows). Says so in a box when
    // the show is over; throws IoError when the reminders file cannot be read or written.
    virtual void setReminder(const reminders::ShowKey& show, bool on) = 0;

    // Connects `signal` of `sender` to `handler` so that it runs inside the guard: the one place
    // of the rule that every handler runs inside it. `handler` is a method of `receiver` or a
    // function that `receiver` outlives; it takes no arguments (the signal's are not passed on).
    template <class Sender, class Signal, class Receiver, class Handler>
    QMetaObject::Connection connectGuarded(const Sender* sender, Signal signal, Receiver* receiver,
                                           Handler handler) const
    {
        return QObject::connect(sender, signal, receiver, [this, receiver, handler] {
            guard([receiver, &handler] {
                if constexpr (std::is_member_function_pointer_v<Handler>)
                    (receiver->*handler)();
                else
                    handler();
            });
        });
    }

Q_SIGNALS:
    // The interface language has changed (after every caption has followed it).
    void languageChanged();
    // The week selector shows another week.
    void weekSelectorChanged();
    // The shows that have a reminder to come are others now: the marks follow.
    void remindersChanged();
};

} // namespace brevio
