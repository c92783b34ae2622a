#pragma once

#include <QCommandLineOption>
#include <QCommandLineParser>
#include <QString>
#include <QStringList>

#include <optional>

namespace brevio {

// The program's command line. Every option is declared in the constructor; a new one is a
// declaration there and an accessor here.
class CommandLine
{
public:
    CommandLine();

    // Reads `arguments` (the first is the program). False on an unknown option, a missing value
    // or options that exclude each other; errorText() then says what is wrong. The toolkit's
    // own options (-platform NAME, -style NAME, ...) are accepted and left to the toolkit, so
    // the judgement is final before the application object exists.
    bool parse(const QStringList& arguments);
    QString errorText() const { return m_error; }

    // --help and --version: answered on standard output without a window, a display or the
    // single-instance lock.
    bool helpWanted() const;
    bool versionWanted() const;
    QString helpText() const;
    static QString versionText();

    // The working folder asked for: the DIR of --workdir, the data home's "Brevio" folder for
    // --data-home, or empty: the folder the program was started in.
    QString workFolder() const;

    // The terminal commands, "--now [--hours N]", "--search TEXT" and "--reminders" (they only read
    // the store and answer on standard output) and the listing sources' below, all without a window.
    // Wanted when any of their options is given, even on a command line parse() refused.
    bool consoleCommandWanted() const;
    bool nowWanted() const;
    std::optional<int> lookAheadHours() const; // --hours, checked by parse()
    QString searchText() const;
    bool remindersWanted() const;

    // The listing sources' commands, "--refresh" and "--add-source ADDRESS [--name NAME]": they
    // write the store or the settings, without a window, a display or the single-instance lock.
    bool refreshWanted() const;
    bool addSourceWanted() const;
    QString sourceAddress() const;
    QString sourceName() const; // empty when --name is not given

private:
    QCommandLineParser m_parser;
    QCommandLineOption m_help;
    QCommandLineOption m_version;
    QCommandLineOption m_dataHome;
    QCommandLineOption m_workdir;
    QCommandLineOption m_now;
    QCommandLineOption m_hours;
    QCommandLineOption m_search;
    QCommandLineOption m_reminders;
    QCommandLineOption m_refresh;
    QCommandLineOption m_addSource;
    QCommandLineOption m_name;
    QString m_error;
};

} // namespace brevio
