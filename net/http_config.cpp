#include "net/http_config.h"

#include "net/base64.h"

namespace brevio::net {

std::vector<std::string> programHeaderLines(const ProxySettings& proxy)
{
    std::vector<std::string> lines{"Pragma: no-cache", "Cache-Control: no-cache,no-store"};
    if (proxy.enabled && proxy.sendCredentials)
        lines.push_back("Proxy-Authorization: Basic " + encodeBase64(proxy.login + ":" + proxy.password));
    return lines;
}

} // namespace brevio::net
