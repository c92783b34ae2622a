#include "app/command_line.h"

#include "core/session/work_folder.h"

namespace brevio {

namespace {

constexpr const char* kProgram = "brevio";
constexpr int kMostHours = 24;

// The options the toolkit takes out of the command line when the application object is made
// (its own, the X11 ones and the widgets' ones). Known here too, so that the command line is
// judged whole before the single-instance lock, and an unknown option is refused while another
// copy runs, too. Not shown in the help.
constexpr const char* kToolkitValueOptions[] = {
    "platform",
    "platformpluginpath",
    "platformtheme",
    "plugin",
    "qwindowgeometry",
    "geometry",
    "qwindowtitle",
    "title",
    "qwindowicon",
    "icon",
    "session",
    "display",
    // "name" is declared as --add-source's --name
    "visual",
    "style",
    "stylesheet",
    "qmljsdebugger",
};
constexpr const char* kToolkitFlagOptions[] = {
    "reverse", "testability", "widgetcount", "nograb", "dograb", "qdevel", "qdebug",
};

} // namespace

CommandLine::CommandLine()
    : m_help({QStringLiteral("h"), QStringLiteral("help")}, QStringLiteral("Show this help and exit."))
    , m_version({QStringLiteral("v"), QStringLiteral("version")},
                QStringLiteral("Show the version and exit."))
    , m_dataHome(QString::fromLatin1(kDataHomeOption.substr(2).data(),
                                     static_cast<qsizetype>(kDataHomeOption.size() - 2)),
                 QStringLiteral("Keep the schedules and lists in $XDG_DATA_HOME/Brevio (default "
                                "~/.local/share/Brevio), made on first use. The applications menu starts "
                                "Brevio this way."))
    , m_workdir(QStringLiteral("workdir"),
                QStringLiteral("Keep the schedules and lists in DIR, made on first use. Without this option "
                               "or --data-home they are kept in the folder Brevio is started in."),
                QStringLiteral("DIR"))
    , m_now(QStringLiteral("now"),
            QStringLiteral("Print what is on the air now and in the next hours, as the "
                           "\"Now\" view shows it, and exit."))
    , m_hours(
          QStringLiteral("hours"),
          QStringLiteral("With --now: the hours to look ahead, 0 to 24 (by default the settings page's)."),
          QStringLiteral("N"))
    , m_search(QStringLiteral("search"),
               QStringLiteral("Print the shows of the newest week whose title or description holds TEXT "
                              "(letter case ignored): day, time, channel and title, and exit."),
               QStringLiteral("TEXT"))
    , m_reminders(
          QStringLiteral("reminders"),
          QStringLiteral("Print the reminders still to come, one a line: when each comes and when its "
                         "show starts (yyyy-mm-dd hh:mm), the channel and the title, and exit."))
    , m_refresh(
          QStringLiteral("refresh"),
          QStringLiteral("Refresh the listing sources that are due (older than their interval, or "
                         "failed and waited long enough) into the schedules, print a line per source "
                         "refreshed and exit: 0 when every enabled source is current, 1 with a line per "
                         "source that is not."))
    , m_addSource(QStringLiteral("add-source"),
                  QStringLiteral("Add a listing source: an XMLTV guide at an http:// or https:// ADDRESS, "
                                 "or the absolute path of a file; every channel of it is kept. Exit 2 for "
                                 "an address that is no source's."),
                  QStringLiteral("ADDRESS"))
    , m_name(
          QStringLiteral("name"),
          QStringLiteral("With --add-source: the source's name (by default the address's host or the "
                         "file's name). Without it, the window's application name, as the toolkit has it."),
          QStringLiteral("NAME"))
{
    m_parser.setApplicationDescription(QStringLiteral("Brevio: weekly TV listings of many channels."));
    m_parser.setSingleDashWordOptionMode(QCommandLineParser::ParseAsLongOptions);
    for (const QCommandLineOption* option : {&m_help, &m_version, &m_dataHome, &m_workdir, &m_now, &m_hours,
                                             &m_search, &m_reminders, &m_refresh, &m_addSource, &m_name})
        m_parser.addOption(*option);
    const auto addToolkitOption = [this](const char* name, bool takesValue) {
        QCommandLineOption option(QString::fromLatin1(name), QString(),
                                  takesValue ? QStringLiteral("value") : QString());
        option.setFlags(QCommandLineOption::HiddenFromHelp);
        m_parser.addOption(option);
    };
    for (const char* name : kToolkitValueOptions)
        addToolkitOption(name, true);
    for (const char* name : kToolkitFlagOptions)
        addToolkitOption(name, false);
}

bool CommandLine::parse(const QStringList& arguments)
{
    m_error.clear();
    if (!m_parser.parse(arguments))
        m_error = m_parser.errorText();
    else if (!m_parser.positionalArguments().isEmpty())
        m_error = QStringLiteral("Unexpected argument '%1'.").arg(m_parser.positionalArguments().first());
    else if (m_parser.isSet(m_dataHome) && m_parser.isSet(m_workdir))
        m_error = QStringLiteral("--data-home and --workdir exclude each other.");
    else if (m_parser.isSet(m_workdir) && m_parser.value(m_workdir).isEmpty())
        m_error = QStringLiteral("--workdir needs a folder.");
    else if (m_parser.isSet(m_dataHome) && workFolder().isEmpty())
        m_error = QStringLiteral("--data-home needs HOME or an absolute XDG_DATA_HOME.");
    else if (int(m_parser.isSet(m_now)) + int(m_parser.isSet(m_search)) + int(m_parser.isSet(m_reminders))
                 + int(m_parser.isSet(m_refresh)) + int(m_parser.isSet(m_addSource))
             > 1)
        m_error
            = QStringLiteral("--now, --search, --reminders, --refresh and --add-source exclude each other.");
    else if (m_parser.isSet(m_name) && m_parser.isSet(m_addSource)
             && m_parser.value(m_name).trimmed().isEmpty())
        m_error = QStringLiteral("--name needs a name.");
    else if (m_parser.isSet(m_hours) && !m_parser.isSet(m_now))
        m_error = QStringLiteral("--hours goes with --now.");
    else if (m_parser.isSet(m_hours) && !lookAheadHours())
        m_error = QStringLiteral("--hours needs a whole number from 0 to %1.").arg(kMostHours);
    return m_error.isEmpty();
}

bool CommandLine::helpWanted() const
{
    return m_parser.isSet(m_help);
}

bool CommandLine::versionWanted() const
{
    return m_parser.isSet(m_version);
}

QString CommandLine::helpText() const
{
    // Read before any application object exists, the parser does not know the program's name.
    QString text = m_parser.helpText();
    text.replace(QStringLiteral("<executable_name>"), QString::fromLatin1(kProgram));
    return text;
}

QString CommandLine::versionText()
{
    return QStringLiteral("%1 %2\n").arg(QString::fromLatin1(kProgram), QStringLiteral(BREVIO_VERSION));
}

bool CommandLine::consoleCommandWanted() const
{
    return m_parser.isSet(m_now) || m_parser.isSet(m_hours) || m_parser.isSet(m_search)
        || m_parser.isSet(m_reminders) || m_parser.isSet(m_refresh) || m_parser.isSet(m_addSource);
}

bool CommandLine::remindersWanted() const
{
    return m_parser.isSet(m_reminders);
}

bool CommandLine::refreshWanted() const
{
    return m_parser.isSet(m_refresh);
}

bool CommandLine::addSourceWanted() const
{
    return m_parser.isSet(m_addSource);
}

QString CommandLine::sourceAddress() const
{
    return m_parser.value(m_addSource).trimmed();
}

QString CommandLine::sourceName() const
{
    return m_parser.value(m_name).trimmed();
}

bool CommandLine::nowWanted() const
{
    return m_parser.isSet(m_now);
}

std::optional<int> CommandLine::lookAheadHours() const
{
    if (!m_parser.isSet(m_hours))
        return std::nullopt;
    bool ok = false;
    const int hours = m_parser.value(m_hours).toInt(&ok);
    if (!ok || hours < 0 || hours > kMostHours)
        return std::nullopt;
    return hours;
}

QString CommandLine::searchText() const
{
    return m_parser.value(m_search);
}

QString CommandLine::workFolder() const
{
    if (m_parser.isSet(m_workdir))
        return m_parser.value(m_workdir);
    if (m_parser.isSet(m_dataHome))
        return QString::fromStdString(dataHomeWorkFolder(qEnvironmentVariable("XDG_DATA_HOME").toStdString(),
                                                         qEnvironmentVariable("HOME").toStdString())
                                          .string());
    return {};
}

} // namespace brevio
