#include "core/net/http_config.h"

#include "core/net/base64.h"

namespace brevio::net {

std::vector<std::string> programHeaderLines()
{
    return {"Pragma: no-cache", "Cache-Control: no-cache,no-store"};
}

std::vector<std::string> proxyHeaderLines(const ProxySettings& proxy)
{
    if (!proxy.enabled || !proxy.sendCredentials)
        return {};
    return {"Proxy-Authorization: Basic " + encodeBase64(proxy.login + ":" + proxy.password)};
}

} // namespace brevio::net
