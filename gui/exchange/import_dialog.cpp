#include "gui/exchange/import_dialog.h"

#include "core/exchange/exchange_errors.h"
#include "core/exchange/store_import.h"
#include "core/sources/refresh_lock.h"
#include "core/texts/text_ids.h"
#include "gui/widgets/dialogs.h"
#include "gui/widgets/http_session.h"
#include "gui/widgets/listing_options_form.h"
#include "gui/widgets/page_host.h"
#include "gui/widgets/qt_text.h"
#include "gui/widgets/settings.h"

#include <QAction>
#include <QCoreApplication>
#include <QDialogButtonBox>
#include <QElapsedTimer>
#include <QFile>
#include <QMenu>
#include <QProgressDialog>
#include <QScopedValueRollback>
#include <QTimer>
#include <QVBoxLayout>

namespace brevio {

namespace {

constexpr int kProgressSteps = 1000; // reading fills the first half of the bar, writing the rest
constexpr qint64 kPumpMilliseconds = 15;

constexpr std::size_t kNamesShown = 10; // per list; a box is no place for 300 channel names

QString nameList(const PageHost& host, const std::vector<std::string>& names)
{
    QStringList shown;
    for (std::size_t i = 0; i < names.size() && i < kNamesShown; ++i)
        shown << fromData(names[i]);
    if (names.size() > kNamesShown)
        shown << host.text(TextId::AndMore).arg(names.size() - kNamesShown);
    return shown.join(QStringLiteral(", "));
}

// "Week 07.12.2026 (new): channels added: A, B; channels with a span replaced: C."
QString weekReport(const PageHost& host, const exchange::ImportedWeek& week)
{
    QStringList parts;
    if (!week.addedChannels.empty())
        parts << host.text(TextId::ChannelsAdded).arg(nameList(host, week.addedChannels));
    if (!week.replacedChannels.empty())
        parts << host.text(TextId::ChannelsReplaced).arg(nameList(host, week.replacedChannels));
    return host.text(week.newWeek ? TextId::ImportedNewWeek : TextId::ImportedWeek)
               .arg(fromData(week.date), parts.join(QStringLiteral("; ")))
        + QLatin1Char('.');
}

} // namespace

XmltvImport::XmltvImport(PageHost& host)
    : QObject(host.window())
    , m_host(host)
{
    setObjectName(QStringLiteral("XmltvImport"));
    QMenu* menu = host.fileMenu();
    m_action = menu->addAction(QStringLiteral("Импорт XMLTV…"));
    m_action->setObjectName(QStringLiteral("ImportXmltvItem"));
    m_host.connectGuarded(m_action, &QAction::triggered, this, &XmltvImport::importXmltv);
    // A transfer writes the store too: one at a time.
    connect(menu, &QMenu::aboutToShow, this,
            [this] { m_action->setEnabled(!m_host.http().busy() && !m_busy); });
}

void XmltvImport::cancelAndCloseWhenDone()
{
    m_cancel = true;
    m_closeWhenDone = true;
}

std::optional<exchange::ListingOptions> XmltvImport::chooseOptions()
{
    // As the last import had them: a provider's listings come the same way every week.
    const exchange::ListingOptions last = lastImportOptions(m_host.settings());
    QDialog box(m_host.window());
    box.setObjectName(QStringLiteral("ImportOptions"));
    box.setWindowTitle(m_host.text(TextId::ImportXmltvTitle));
    auto* form = new ListingOptionsForm(m_host, &box);
    form->setValues(last.bareTimeZone.value_or(""), last.dayStartMinutes, last.languages);
    auto* buttons = new QDialogButtonBox(QDialogButtonBox::Ok | QDialogButtonBox::Cancel, &box);
    connect(buttons, &QDialogButtonBox::accepted, &box, &QDialog::accept);
    connect(buttons, &QDialogButtonBox::rejected, &box, &QDialog::reject);
    auto* layout = new QVBoxLayout(&box);
    layout->addWidget(form);
    layout->addWidget(buttons);
    if (box.exec() != QDialog::Accepted)
        return std::nullopt;

    exchange::ListingOptions options;
    options.bareTimeZone = form->zone();
    options.dayStartMinutes = form->dayStartMinutes();
    options.languages = form->languages();
    storeImportOptions(m_host.settings(), options);
    m_host.storeSettings();
    return options;
}

void XmltvImport::importXmltv()
{
    if (m_busy || m_host.http().busy())
        return;
    const auto file = m_host.dialogs().chooseOpenFile(m_host.text(TextId::ImportXmltvTitle),
                                                      m_host.text(TextId::XmltvFiles)
                                                          + QStringLiteral(" (*.xml *.xml.gz *.gz);;* (*)"));
    if (!file)
        return;
    const auto options = chooseOptions();
    if (!options)
        return;

    // Made without a cancel text, the box has Qt's own "Cancel" in the interface language.
    QProgressDialog progress(m_host.window());
    progress.setLabelText(m_host.text(TextId::ReadingListings));
    progress.setRange(0, kProgressSteps);
    progress.setObjectName(QStringLiteral("ImportProgress"));
    progress.setWindowTitle(m_host.text(TextId::ImportXmltvTitle));
    progress.setWindowModality(Qt::WindowModal);
    progress.setMinimumDuration(0);
    progress.setAutoClose(false);
    progress.setAutoReset(false);
    progress.show();

    m_cancel = false;
    QElapsedTimer sincePump;
    bool pumped = false;
    const auto onProgress = [&](exchange::ImportStep step, std::uint64_t done, std::uint64_t total) {
        if (!pumped || sincePump.elapsed() >= kPumpMilliseconds) {
            const bool reading = step == exchange::ImportStep::Reading;
            const double share = total > 0 ? double(done) / double(total) : 1.0;
            progress.setLabelText(m_host.text(reading ? TextId::ReadingListings : TextId::WritingWeeks));
            progress.setValue(int((reading ? 0.0 : 0.5) * kProgressSteps + share * kProgressSteps / 2));
            QCoreApplication::processEvents();
            sincePump.start();
            pumped = true;
        }
        return !m_cancel && !progress.wasCanceled();
    };

    std::optional<exchange::ImportSummary> summary;
    try {
        const QScopedValueRollback running(m_busy, true);
        // A listing source's refresh (the window's, or a timer's in another process) writes the
        // store too: the import waits for it to end.
        const auto lock = sources::RefreshLock::acquire(
            std::chrono::hours(24), [&] { return onProgress(exchange::ImportStep::Reading, 0, 1); });
        if (!lock)
            throw exchange::Cancelled();
        summary = exchange::importListings({QFile::encodeName(*file).toStdString()}, *options, onProgress);
    } catch (const exchange::Cancelled&) {
        // Nothing was changed; said below.
    } catch (...) {
        if (m_closeWhenDone)
            QTimer::singleShot(0, m_host.window(), [this] { m_host.window()->close(); });
        throw;
    }
    progress.close();
    if (m_closeWhenDone) {
        QTimer::singleShot(0, m_host.window(), [this] { m_host.window()->close(); });
        return;
    }
    if (!summary) {
        m_host.dialogs().message(m_host.text(TextId::ImportCancelled));
        return;
    }
    if (summary->weeks.empty()) {
        m_host.dialogs().message(m_host.text(TextId::NoProgrammes));
        return;
    }
    // The view moves to the newest week, as after a download; the weeks that can be deleted
    // are the new list's too.
    m_host.reloadWeeks();
    QString report = m_host.text(TextId::ImportedShows).arg(summary->shows).arg(summary->channelFiles);
    for (const exchange::ImportedWeek& week : summary->weeks)
        report += QLatin1Char('\n') + weekReport(m_host, week);
    if (summary->loss.count > 0)
        report += QLatin1Char('\n') + m_host.text(TextId::CharactersReplaced).arg(summary->loss.count);
    if (const auto& undeclared = summary->undeclared; undeclared.programmes > 0)
        report += QLatin1Char('\n')
            + m_host.text(TextId::UndeclaredChannels).arg(undeclared.programmes).arg(undeclared.channels);
    m_host.dialogs().message(report);
}

} // namespace brevio
