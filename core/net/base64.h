#pragma once

#include <string>
#include <string_view>

namespace brevio::net {

// Base64 of RFC 4648: standard alphabet, '=' padding, no line breaks. Used for the proxy's
// Basic credentials, so the input is taken as raw bytes (windows-1251 login and password).
std::string encodeBase64(std::string_view bytes);

} // namespace brevio::net
