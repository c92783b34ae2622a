#pragma once

#include <QCommandLineOption>
#include <QCommandLineParser>
#include <QString>
#include <QStringList>

namespace brevio {

// The program's command line. Every option is declared in the constructor; a new one is a
// declaration there and an accessor here.
class CommandLine
{
public:
    CommandLine();

    // Reads `arguments` (the first is the program). False on an unknown option, a missing value
    // or options that exclude each other; errorText() then says what is wrong.
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

private:
    QCommandLineParser m_parser;
    QCommandLineOption m_help;
    QCommandLineOption m_version;
    QCommandLineOption m_dataHome;
    QCommandLineOption m_workdir;
    QString m_error;
};

} // namespace brevio
