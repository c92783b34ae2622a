#pragma once

#include "gui/widgets/dialogs.h"

#include <QElapsedTimer>
#include <QString>
#include <QTemporaryDir>
#include <QTimer>

#include <optional>

// What the benchmarks that drive a real main window share: boxes answered without a user, a
// fresh working folder and settings file, and the event loop's heartbeat.
namespace brevio::bench {

// Prints every message, answers no question, chooses the first week and `file` in the file
// dialog.
class PrintingDialogs : public Dialogs
{
public:
    explicit PrintingDialogs(QString file = {});
    void message(const QString& text) override;
    bool confirm(const QString&) override { return false; }
    std::optional<QString> input(const QString&, const QString&, const QString&) override
    {
        return std::nullopt;
    }
    QString chooseWeek(const QStringList& weeks) override { return weeks.value(0); }
    std::optional<QString> chooseOpenFile(const QString&, const QString&) override;

private:
    QString m_file;
};

// An empty working folder, made current, that has been used before (no first run), and a
// settings file of its own.
class FreshSession
{
public:
    FreshSession();
    QString workPath() const { return m_work.path(); }

private:
    QTemporaryDir m_work;
    QTemporaryDir m_config;
};

// The longest time the event loop went without a turn, from start() on: what a user feels as a
// frozen window.
class Heartbeat
{
public:
    Heartbeat();
    void start();
    // Stops and returns the longest gap in milliseconds, the last one included.
    qint64 stop();

private:
    QTimer m_beat;
    QElapsedTimer m_since;
    qint64 m_longest = 0;
};

} // namespace brevio::bench
