#pragma once

#include "gui/news/browser_view.h"

#include <string>
#include <string_view>

namespace brevio {

namespace net {
struct ProxySettings;
}
namespace news {
struct SavedPage;
}

// A page fetched from `address`, in the character set its header or body declares (or that
// its letters suggest).
BrowserPage fetchedPage(const std::string& address, std::string_view header, const std::string& body);

// A page's bytes as text, in `charset`; a character set the program does not know (a name
// the page made up or misspelt) reads as windows-1251, so that nothing of the page is lost.
QString decodePage(const QByteArray& bytes, const QString& charset);

// A browser source's saved copy. The page keeps its own bytes when it stands alone; with the
// program's lines around it (windows-1251, while the page may be in another code page) the
// copy becomes one UTF-8 document, the lines on top and below.
BrowserPage savedCopyPage(const std::string& address, const news::SavedPage& saved);

// The proxy of a fetch as the browser view takes it.
BrowserProxy browserProxy(const net::ProxySettings& proxy);

} // namespace brevio
