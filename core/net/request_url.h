#pragma once

#include <string>
#include <string_view>

namespace brevio::net {

// `text` without blanks and tabs at either end (host names as typed).
std::string_view trimmedBlanks(std::string_view text);

// Percent-escapes what may not stand raw in a URL: blanks, control and 8-bit bytes (channel
// file names are windows-1251) and the few unsafe signs. Escapes already present are kept.
std::string escapedUrl(std::string_view url);

// One path segment (a file or folder name as it stands on the server) for a URL: everything but
// letters, digits and the signs "-._~!$&'()*+,;=:@" is percent-escaped, '%', '#', '?' and blanks
// included, so that the server receives the name unchanged.
std::string escapedPathSegment(std::string_view name);

// The host of an absolute URL. Throws TransferError when the URL does not parse.
std::string urlHost(const std::string& url);

// The URL with its host replaced by `typed` ("name", "name:port", "[v6]:port"); a port typed
// replaces the URL's too. Throws TransferError (host not found) when `typed` is no host.
std::string urlWithHost(const std::string& url, std::string_view typed);

// Whether reaching `host` (a host name, or a proxy text like "http://name:port") needs a name
// lookup: numeric addresses need none.
bool hostNeedsLookup(std::string_view host);

} // namespace brevio::net
