#include "support/ui/opened_urls.h"

#include <QDesktopServices>

namespace brevio::test {

namespace {
const char* const kSchemes[] = {"http", "https", "mailto", "file"};
}

OpenedUrls::OpenedUrls()
{
    for (const char* scheme : kSchemes)
        QDesktopServices::setUrlHandler(QString::fromLatin1(scheme), this, "open");
}

OpenedUrls::~OpenedUrls()
{
    for (const char* scheme : kSchemes)
        QDesktopServices::unsetUrlHandler(QString::fromLatin1(scheme));
}

} // namespace brevio::test
