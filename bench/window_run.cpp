#include "window_run.h"

#include <QDir>
#include <QFile>
#include <QSettings>

#include <algorithm>
#include <cstdio>
#include <utility>

namespace brevio::bench {

PrintingDialogs::PrintingDialogs(QString file)
    : m_file(std::move(file))
{
}

void PrintingDialogs::message(const QString& text)
{
    std::printf("message: %s\n", qPrintable(text));
}

std::optional<QString> PrintingDialogs::chooseOpenFile(const QString&, const QString&)
{
    if (m_file.isEmpty())
        return std::nullopt;
    return m_file;
}

FreshSession::FreshSession()
{
    QSettings::setPath(QSettings::NativeFormat, QSettings::UserScope, m_config.path());
    QDir::setCurrent(m_work.path());
    for (const char* name : {"dats.dat", "ag_news.dat"}) {
        QFile file(m_work.filePath(QString::fromLatin1(name)));
        file.open(QIODevice::WriteOnly);
    }
}

Heartbeat::Heartbeat()
{
    QObject::connect(&m_beat, &QTimer::timeout, [this] {
        m_longest = std::max(m_longest, m_since.elapsed());
        m_since.restart();
    });
}

void Heartbeat::start()
{
    m_longest = 0;
    m_beat.start(1);
    m_since.start();
}

qint64 Heartbeat::stop()
{
    m_beat.stop();
    m_longest = std::max(m_longest, m_since.elapsed());
    return m_longest;
}

} // namespace brevio::bench
