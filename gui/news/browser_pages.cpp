#include "gui/news/browser_pages.h"

#include "core/net/http_config.h"
#include "core/news/web_page.h"
#include "gui/widgets/qt_text.h"

#include <QStringDecoder>

namespace brevio {

namespace {

QString linesAsHtml(const std::vector<std::string>& lines)
{
    QString html;
    for (const std::string& line : lines)
        html += QStringLiteral("<div>%1&nbsp;</div>").arg(fromData(line).toHtmlEscaped());
    return html;
}

} // namespace

QString decodePage(const QByteArray& bytes, const QString& charset)
{
    QStringDecoder decoder(charset.toLatin1().constData());
    if (!decoder.isValid())
        decoder = QStringDecoder("windows-1251");
    return decoder.decode(bytes);
}

BrowserPage fetchedPage(const std::string& address, std::string_view header, const std::string& body)
{
    return {fromData(address), QByteArray::fromStdString(body),
            QString::fromStdString(news::pageCharset(header, body))};
}

BrowserPage savedCopyPage(const std::string& address, const news::SavedPage& saved)
{
    BrowserPage copy = fetchedPage(address, {}, saved.page);
    if (saved.before.empty() && saved.after.empty())
        return copy;
    const QString document
        = linesAsHtml(saved.before) + decodePage(copy.bytes, copy.charset) + linesAsHtml(saved.after);
    copy.bytes = document.toUtf8();
    copy.charset = QStringLiteral("utf-8");
    return copy;
}

BrowserProxy browserProxy(const net::ProxySettings& proxy)
{
    BrowserProxy out;
    out.enabled = proxy.enabled;
    out.host = fromData(proxy.host);
    out.port = static_cast<quint16>(proxy.port);
    out.needsLogin = proxy.sendCredentials;
    out.login = fromData(proxy.login);
    out.password = fromData(proxy.password);
    return out;
}

} // namespace brevio
