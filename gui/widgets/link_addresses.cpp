#include "gui/widgets/link_addresses.h"

#include "gui/widgets/settings.h"

#include <QDesktopServices>

namespace brevio {

namespace {

const QString kSection = QStringLiteral("Links");

// "http://host/" and "http://host" both take a path that starts with '/'.
QString joined(QString site, const QString& path)
{
    while (site.endsWith(QLatin1Char('/')))
        site.chop(1);
    return site + path;
}

} // namespace

QString makerSite(const Settings& settings)
{
    return settings.readString(kSection, QStringLiteral("maker"),
                               QStringLiteral("http://www.morvane.example"));
}

QString subscribeSite(const Settings& settings)
{
    return settings.readString(kSection, QStringLiteral("subscribe"),
                               QStringLiteral("http://subscribe.morvane.example"));
}

QString feedbackMail(const Settings& settings)
{
    return settings.readString(kSection, QStringLiteral("mail"), QStringLiteral("brevio@morvane.example"));
}

QString homePageAddress(const Settings& settings)
{
    return makerAddress(settings, QStringLiteral("/tv/brevio.html"));
}

QString makerAddress(const Settings& settings, const QString& path)
{
    return joined(makerSite(settings), path);
}

QString subscribeAddress(const Settings& settings, const QString& path)
{
    return joined(subscribeSite(settings), path);
}

QUrl linkUrl(const QString& address)
{
    const QUrl url(address, QUrl::TolerantMode);
    if (url.isValid() && !url.scheme().isEmpty())
        return url;
    return QUrl::fromUserInput(address);
}

void openAddress(const QUrl& url)
{
    QDesktopServices::openUrl(url);
}

} // namespace brevio
