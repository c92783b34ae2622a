#pragma once

#include <QString>
#include <QUrl>

namespace brevio {

class Settings;

// Outside addresses of the links menu and the about box. The hosts are configuration
// (section `Links`) with built-in defaults.
QString makerSite(const Settings& settings); // `maker`, scheme and host
QString subscribeSite(const Settings& settings); // `subscribe`
QString feedbackMail(const Settings& settings); // `mail`
// The product's home page on the maker's site.
QString homePageAddress(const Settings& settings);
// `path` on the maker's site.
QString makerAddress(const Settings& settings, const QString& path);
// `path` on the subscription service.
QString subscribeAddress(const Settings& settings, const QString& path);

// The address of a link as written (nothing trimmed); one without a scheme is taken as the
// user would type it into a browser.
QUrl linkUrl(const QString& address);
// Asks the desktop to open an address or file. Failures are not reported.
void openAddress(const QUrl& url);

} // namespace brevio
