#include "core/net/base64.h"
#include "core/net/http_client.h"
#include "support/core/fixture_server.h"
#include "support/core/recording_listener.h"
#include "support/core/temp_dir.h"
#include "support/core/tinyproxy_runner.h"

#include <gtest/gtest.h>

#include <cstdlib>

namespace brevio::net {
namespace {

using test::FixtureReply;
using test::FixtureRequest;
using test::FixtureServer;
using test::RecordingListener;
using test::ScopedEnv;

const std::string kAgent = "Brevio (tv.brevio.test)";

HttpClientConfig configWith(ProxySettings proxy = {})
{
    HttpClientConfig config;
    config.userAgent = kAgent;
    config.timeoutMs = 5000;
    config.proxy = std::move(proxy);
    return config;
}

ProxySettings proxyAt(long port, bool sendCredentials, std::string login = {}, std::string password = {})
{
    return {true, "127.0.0.1", port, sendCredentials, std::move(login), std::move(password)};
}

FixtureRequest fetchOne(FixtureServer& server, const HttpClientConfig& config, const std::string& url)
{
    RecordingListener events;
    HttpClient client(config, events, [] {});
    client.get(url);
    EXPECT_EQ(server.requests().size(), 1u);
    return server.requests().at(0);
}

TEST(Base64, EncodesPaddedWithoutLineBreaks)
{
    EXPECT_EQ(encodeBase64(""), "");
    EXPECT_EQ(encodeBase64(":"), "Og==");
    EXPECT_EQ(encodeBase64("f"), "Zg==");
    EXPECT_EQ(encodeBase64("fo"), "Zm8=");
    EXPECT_EQ(encodeBase64("foo"), "Zm9v");
    EXPECT_EQ(encodeBase64("foobar"), "Zm9vYmFy");
    EXPECT_EQ(encodeBase64("user:pass"), "dXNlcjpwYXNz");
    // High bytes (a windows-1251 password) and the last two letters of the alphabet.
    EXPECT_EQ(encodeBase64("\xCF\xE0\xF0\xEE\xEB\xFC"), "z+Dw7uv8");
    EXPECT_EQ(encodeBase64("\xFB\xFF\xBF"), "+/+/");
    const std::string longText(100, 'a');
    EXPECT_EQ(encodeBase64(longText).size(), 136u);
    EXPECT_EQ(encodeBase64(longText).find('\n'), std::string::npos);
}

TEST(ProgramHeaderLines, CredentialsOnlyForTheProxyWhenItIsOnAndWantsThem)
{
    EXPECT_EQ(programHeaderLines(),
              (std::vector<std::string>{"Pragma: no-cache", "Cache-Control: no-cache,no-store"}));
    EXPECT_TRUE(proxyHeaderLines({}).empty());
    EXPECT_TRUE(proxyHeaderLines({false, "proxy", 3128, true, "u", "p"}).empty());
    EXPECT_TRUE(proxyHeaderLines({true, "proxy", 3128, false, "u", "p"}).empty());
    EXPECT_EQ(proxyHeaderLines({true, "proxy", 3128, true, "", ""}),
              std::vector<std::string>{"Proxy-Authorization: Basic Og=="});
    EXPECT_EQ(proxyHeaderLines({true, "proxy", 3128, true, "user", "pass"}),
              std::vector<std::string>{"Proxy-Authorization: Basic dXNlcjpwYXNz"});
}

TEST(Request, IsHttp10WithProgramLinesAfterTheClientsOwn)
{
    FixtureServer server;
    server.addRoute("/week/data.dat", FixtureReply::ok("12.01.2004"));
    const FixtureRequest request = fetchOne(server, configWith(), server.url("/week/data.dat"));

    const std::string host = "127.0.0.1:" + std::to_string(server.port());
    EXPECT_EQ(request.raw,
              "GET /week/data.dat HTTP/1.0\r\n"
              "Host: "
                  + host
                  + "\r\n"
                    "User-Agent: "
                  + kAgent
                  + "\r\n"
                    "Accept: */*\r\n"
                    "Pragma: no-cache\r\n"
                    "Cache-Control: no-cache,no-store\r\n"
                    "\r\n");
}

TEST(Request, QueryTravelsUnchanged)
{
    FixtureServer server;
    const FixtureRequest request
        = fetchOne(server, configWith(), server.url("/cgi/rates.cgi?date=12.01.2004&list=usd,eur"));
    EXPECT_EQ(request.target, "/cgi/rates.cgi?date=12.01.2004&list=usd,eur");
}

TEST(Request, ProxyGetsWholeUrlAndCredentialsOfEmptyLogin)
{
    FixtureServer proxy; // plays the proxy: it sees the request exactly as the client sends it
    proxy.setHandler([](const FixtureRequest&) { return FixtureReply::ok("via proxy"); });
    RecordingListener events;
    HttpClient client(configWith(proxyAt(proxy.port(), true)), events, [] {});
    EXPECT_EQ(client.get("http://tv.brevio.invalid/20040112/files.dat").body, "via proxy");

    ASSERT_EQ(proxy.requests().size(), 1u);
    const FixtureRequest request = proxy.requests().at(0);
    EXPECT_EQ(request.method + " " + request.target + " " + request.version,
              "GET http://tv.brevio.invalid/20040112/files.dat HTTP/1.0");
    const std::vector<std::string> expected{
        "Host: tv.brevio.invalid",        "User-Agent: " + kAgent, "Accept: */*",
        "Proxy-Connection: Keep-Alive",   "Pragma: no-cache",      "Cache-Control: no-cache,no-store",
        "Proxy-Authorization: Basic Og=="};
    EXPECT_EQ(request.headerLines, expected);
}

TEST(Request, ARedirectToHttpsTakesTheProxyLoginToTheConnectAndNoServerLinesThere)
{
    FixtureServer proxy;
    proxy.setHandler([](const FixtureRequest& request) {
        if (request.method == "CONNECT")
            return FixtureReply::status("HTTP/1.0 403 Forbidden");
        return FixtureReply::redirect(302, "https://secure.invalid/20040112/data.dat");
    });
    RecordingListener events;
    HttpClient client(configWith(proxyAt(proxy.port(), true, "user", "pass")), events, [] {});
    EXPECT_THROW(client.get("http://tv.invalid/20040112/data.dat"), TransferError);

    const auto requests = proxy.requests();
    ASSERT_EQ(requests.size(), 2u);
    const std::string login = "Basic " + encodeBase64("user:pass");
    // The plain request keeps its lines and their order: the program's, then the proxy's.
    EXPECT_EQ(requests[0].target, "http://tv.invalid/20040112/data.dat");
    const auto& plain = requests[0].headerLines;
    ASSERT_GE(plain.size(), 3u);
    EXPECT_EQ(std::vector<std::string>(plain.end() - 3, plain.end()),
              (std::vector<std::string>{"Pragma: no-cache", "Cache-Control: no-cache,no-store",
                                        "Proxy-Authorization: " + login}));
    // The tunnel's CONNECT carries the login, and the lines meant for the web server stay out.
    EXPECT_EQ(requests[1].method + " " + requests[1].target, "CONNECT secure.invalid:443");
    EXPECT_EQ(requests[1].header("Proxy-Authorization"), login);
    EXPECT_FALSE(requests[1].header("Pragma"));
    EXPECT_FALSE(requests[1].header("Cache-Control"));
}

TEST(Request, ProxyCredentialsAreTheRawBytesOfLoginAndPassword)
{
    FixtureServer proxy;
    const FixtureRequest request = fetchOne(
        proxy, configWith(proxyAt(proxy.port(), true, "\xE8\xE2\xE0\xED", "p:w")), "http://a.invalid/");
    EXPECT_EQ(request.header("Proxy-Authorization"), "Basic " + encodeBase64("\xE8\xE2\xE0\xED:p:w"));
    EXPECT_EQ(std::count_if(request.headerLines.begin(), request.headerLines.end(),
                            [](const std::string& line) { return line.starts_with("Proxy-Authorization"); }),
              1);
}

TEST(Request, ProxyWithoutCredentialsSendsNoAuthorization)
{
    FixtureServer proxy;
    const FixtureRequest request
        = fetchOne(proxy, configWith(proxyAt(proxy.port(), false, "u", "p")), "http://a.invalid/");
    EXPECT_EQ(request.target, "http://a.invalid/");
    EXPECT_FALSE(request.header("Proxy-Authorization"));
}

TEST(Request, ProxyOffSendsNoProxyLineEvenWithCredentialsTicked)
{
    FixtureServer server;
    ProxySettings off = proxyAt(1, true, "u", "p");
    off.enabled = false;
    const FixtureRequest request = fetchOne(server, configWith(off), server.url("/x"));
    EXPECT_EQ(request.target, "/x");
    EXPECT_FALSE(request.header("Proxy-Authorization"));
    EXPECT_FALSE(request.header("Proxy-Connection"));
}

TEST(Request, ProxyOnWithoutAddressGoesDirectAndKeepsThePasswordHome)
{
    FixtureServer server;
    ProxySettings blank = proxyAt(0, true, "u", "secret");
    blank.host = "  ";
    const FixtureRequest request = fetchOne(server, configWith(blank), server.url("/x"));
    EXPECT_EQ(request.target, "/x");
    EXPECT_FALSE(request.header("Proxy-Authorization"));
}

TEST(Request, EnvironmentProxySettingsAreIgnored)
{
    FixtureServer server;
    FixtureServer trap;
    {
        // Proxy off: an http_proxy of the environment must not be used.
        const ScopedEnv env("http_proxy", trap.url());
        const ScopedEnv envUpper("HTTP_PROXY", trap.url());
        fetchOne(server, configWith(), server.url("/direct"));
    }
    {
        // Proxy on: a no_proxy of the environment must not bypass it.
        const ScopedEnv env("no_proxy", "*");
        RecordingListener events;
        HttpClient client(configWith(proxyAt(trap.port(), false)), events, [] {});
        client.get("http://127.0.0.1:1/via-proxy");
    }
    ASSERT_EQ(trap.requests().size(), 1u);
    EXPECT_EQ(trap.requests()[0].target, "http://127.0.0.1:1/via-proxy");
}

TEST(Request, NoUserAgentLineWhenNoneIsSet)
{
    FixtureServer server;
    HttpClientConfig config = configWith();
    config.userAgent.clear();
    EXPECT_FALSE(fetchOne(server, config, server.url("/")).header("User-Agent"));
}

TEST(Request, ThroughTinyproxyReachesTheServer)
{
    if (!test::TinyproxyRunner::binary())
        GTEST_SKIP() << "tinyproxy is not installed";
    test::TinyproxyRunner tinyproxy;
    FixtureServer server;
    server.addRoute("/20040112/data.dat", FixtureReply::ok("12.01.2004"));

    RecordingListener events;
    HttpClient client(configWith(proxyAt(tinyproxy.port(), true)), events, [] {});
    const HttpReply& reply = client.get(server.url("/20040112/data.dat"));
    EXPECT_TRUE(replySucceeded(reply.header));
    EXPECT_EQ(reply.body, "12.01.2004");

    ASSERT_EQ(server.requests().size(), 1u);
    const FixtureRequest forwarded = server.requests()[0];
    EXPECT_EQ(forwarded.path, "/20040112/data.dat");
    EXPECT_EQ(forwarded.header("User-Agent"), kAgent);
    EXPECT_EQ(forwarded.header("Pragma"), "no-cache");
    // This proxy asks for no login, so it passes the program's credentials line on.
    EXPECT_EQ(forwarded.header("Proxy-Authorization"), "Basic Og==");
    // tinyproxy logs the request line it was sent: the whole URL.
    EXPECT_NE(tinyproxy.log().find("GET " + server.url("/20040112/data.dat") + " HTTP/1.0"),
              std::string::npos)
        << tinyproxy.log();
}

} // namespace
} // namespace brevio::net
