#include "core/net/http_client.h"
#include "core/net/request_url.h"

#include <gtest/gtest.h>

namespace brevio::net {
namespace {

TEST(RequestUrl, EscapesOnlyWhatCannotStandRaw)
{
    EXPECT_EQ(escapedUrl("http://h/a/b.txt?x=1&y=%20#f"), "http://h/a/b.txt?x=1&y=%20#f");
    EXPECT_EQ(escapedUrl("http://h/\xCA\xE0\xED\xE0\xEB 1.txt"), "http://h/%CA%E0%ED%E0%EB%201.txt");
    EXPECT_EQ(escapedUrl("http://h/\t\x7F\"<>\\^`{|}"), "http://h/%09%7F%22%3C%3E%5C%5E%60%7B%7C%7D");
}

TEST(RequestUrl, TypedHostReplacesHostAndOptionallyPort)
{
    const std::string url = "http://tv.brevio.invalid:8080/20040112/data.dat?a=1";
    EXPECT_EQ(urlWithHost(url, "127.0.0.1"), "http://127.0.0.1:8080/20040112/data.dat?a=1");
    EXPECT_EQ(urlWithHost(url, " tv2.example:81 "), "http://tv2.example:81/20040112/data.dat?a=1");
    EXPECT_EQ(urlWithHost(url, "[::1]:82"), "http://[::1]:82/20040112/data.dat?a=1");
    EXPECT_EQ(urlWithHost(url, "[::1]"), "http://[::1]:8080/20040112/data.dat?a=1");
    EXPECT_EQ(urlWithHost("http://a.invalid/x", "b.example"), "http://b.example/x");
    for (const char* bad : {"a b", "x/y", ":80", "host:port"})
        EXPECT_THROW(urlWithHost(url, bad), TransferError) << bad;
}

TEST(RequestUrl, NumericAddressesNeedNoLookup)
{
    for (const char* numeric :
         {"127.0.0.1", "10.0.0.1:3128", "[::1]:3128", "::1", "http://192.168.0.1:8080/"})
        EXPECT_FALSE(hostNeedsLookup(numeric)) << numeric;
    for (const char* name :
         {"localhost", "proxy.example:3128", "http://user:pw@proxy.example", "1.2.3.4.example"})
        EXPECT_TRUE(hostNeedsLookup(name)) << name;
}

TEST(RequestUrl, HostOfAnAddress)
{
    EXPECT_EQ(urlHost("http://Tv.Brevio.invalid:81/x"), "Tv.Brevio.invalid");
    EXPECT_THROW(urlHost("not an address"), TransferError);
}

} // namespace
} // namespace brevio::net
