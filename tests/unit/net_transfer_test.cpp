#include "core/net/http_client.h"
#include "support/core/fixture_server.h"
#include "support/core/recording_listener.h"

#include <gtest/gtest.h>

#include <chrono>
#include <memory>

namespace brevio::net {
namespace {

using namespace std::chrono_literals;
using test::FixtureReply;
using test::FixtureServer;
using test::RecordingListener;
using Kind = TransferError::Kind;
using Events = std::vector<std::string>;

HttpClientConfig config(long timeoutMs = 5000, std::size_t maxBodyBytes = 64u << 20)
{
    HttpClientConfig c;
    c.userAgent = "Brevio (tv.brevio.test)";
    c.timeoutMs = timeoutMs;
    c.maxBodyBytes = maxBodyBytes;
    return c;
}

// The kind of the TransferError that get() throws; nullopt (and a failure) when it returns.
std::optional<Kind> failureOf(HttpClient& client, const std::string& url)
{
    try {
        client.get(url);
    } catch (const TransferError& e) {
        EXPECT_NE(std::string(e.what()), "");
        return e.kind();
    }
    ADD_FAILURE() << "get(" << url << ") returned";
    return std::nullopt;
}

double secondsSince(std::chrono::steady_clock::time_point start)
{
    return std::chrono::duration<double>(std::chrono::steady_clock::now() - start).count();
}

// A port on which nothing listens: a server that has been stopped.
long deadPort()
{
    return FixtureServer().port();
}

FixtureReply dripped(std::string body, std::size_t chunk, std::chrono::milliseconds pause,
                     bool withLength = true)
{
    FixtureReply reply = FixtureReply::ok(std::move(body));
    reply.contentLength = withLength;
    reply.chunkSize = chunk;
    reply.chunkDelay = pause;
    return reply;
}

TEST(Events, SuccessfulGetRaisesThemInOrder)
{
    FixtureServer server;
    server.addRoute("/a", FixtureReply::ok("0123456789"));
    RecordingListener events;
    HttpClient client(config(), events, [] {});

    client.get("http://localhost:" + std::to_string(server.port()) + "/a");
    EXPECT_EQ(events.outline(),
              (Events{"hostResolved", "connected", "sent", "received", "succeeded", "disconnected"}));

    events.events.clear(); // a numeric address needs no lookup
    client.get(server.url("/a"));
    EXPECT_EQ(events.outline(), (Events{"connected", "sent", "received", "succeeded", "disconnected"}));
}

TEST(Events, StatusDecidesBetweenSucceededAndFailed)
{
    const std::vector<std::pair<int, const char*>> cases{
        {200, "succeeded"}, {298, "succeeded"}, {299, ""},      {300, ""},
        {400, "failed"},    {404, "failed"},    {503, "failed"}};
    FixtureServer server;
    server.setHandler([](const test::FixtureRequest& request) {
        return FixtureReply::status("HTTP/1.0 " + request.path.substr(1) + " Whatever", "page");
    });
    RecordingListener events;
    HttpClient client(config(), events, [] {});
    for (const auto& [status, verdict] : cases) {
        events.events.clear();
        const HttpReply& reply
            = client.get(server.url("/" + std::to_string(status))); // never throws for a status
        EXPECT_EQ(reply.body, "page");
        Events expected{"connected", "sent", "received"};
        if (*verdict)
            expected.push_back(verdict);
        expected.push_back("disconnected");
        EXPECT_EQ(events.outline(), expected) << status;
    }
}

TEST(Reply, HoldsHeaderAsReceivedAndTheBodyUpToTheClose)
{
    FixtureServer server;
    const std::string header = "HTTP/1.0 200 OK\r\nServer: fixture\r\nX-Empty:\r\n\r\n";
    const std::string body("bytes \0\x01\xFF\xCF\xF0 and no length", 25);
    server.addRoute("/raw", FixtureReply::rawBytes(header + body));
    RecordingListener events;
    HttpClient client(config(), events, [] {});
    EXPECT_EQ(client.reply().header, "Head.txt");
    EXPECT_EQ(client.reply().body, "Default.htm");

    const HttpReply& reply = client.get(server.url("/raw"));
    EXPECT_EQ(reply.header, header);
    EXPECT_EQ(reply.body, body);
}

TEST(Reply, EachGetReplacesTheLastOne)
{
    FixtureServer server;
    server.addRoute("/one", FixtureReply::ok("first, longer body"));
    FixtureReply second = FixtureReply::status("HTTP/1.0 404 Not Found", "2nd");
    second.headers.push_back("X-Second: yes");
    server.addRoute("/two", second);
    RecordingListener events;
    HttpClient client(config(), events, [] {});
    client.get(server.url("/one"));
    const HttpReply& reply = client.get(server.url("/two"));
    EXPECT_EQ(reply.header, "HTTP/1.0 404 Not Found\r\nX-Second: yes\r\nContent-Length: 3\r\n\r\n");
    EXPECT_EQ(reply.body, "2nd");
}

TEST(Reply, PathBytesThatCannotStandRawAreEscaped)
{
    FixtureServer server;
    server.addRoute("/\xCD\xEE\xE2\xEE\xF1\xF2\xE8/a b.txt", FixtureReply::ok("found"));
    RecordingListener events;
    HttpClient client(config(), events, [] {});
    EXPECT_EQ(client.get(server.url("/\xCD\xEE\xE2\xEE\xF1\xF2\xE8/a b.txt?x=%41")).body, "found");
    ASSERT_EQ(server.requests().size(), 1u);
    EXPECT_EQ(server.requests()[0].target, "/%CD%EE%E2%EE%F1%F2%E8/a%20b.txt?x=%41");
}

TEST(Redirect, IsFollowedAndOnlyTheFinalHeaderIsKept)
{
    FixtureServer server;
    FixtureServer other;
    FixtureReply final = FixtureReply::ok("new place");
    final.headers.push_back("X-Final: 1");
    server.addRoute("/new", final);
    other.addRoute("/elsewhere", FixtureReply::ok("other server"));
    server.addRoute("/301", FixtureReply::redirect(301, "/new"));
    server.addRoute("/302", FixtureReply::redirect(302, "new"));
    server.addRoute("/303", FixtureReply::redirect(303, server.url("/new")));
    server.addRoute("/307", FixtureReply::redirect(307, other.url("/elsewhere")));

    RecordingListener events;
    HttpClient client(config(), events, [] {});
    for (const char* path : {"/301", "/302", "/303"}) {
        const HttpReply& reply = client.get(server.url(path));
        EXPECT_EQ(reply.header, "HTTP/1.0 200 OK\r\nX-Final: 1\r\nContent-Length: 9\r\n\r\n") << path;
        EXPECT_EQ(reply.body, "new place") << path;
    }
    EXPECT_EQ(client.get(server.url("/307")).body, "other server");

    const auto requests = server.requests();
    ASSERT_EQ(requests.size(), 7u);
    EXPECT_EQ(requests[1].path, "/new");
    EXPECT_EQ(requests[1].header("Cache-Control"), "no-cache,no-store"); // the program's lines go every time
    ASSERT_EQ(other.requests().size(), 1u);
    EXPECT_EQ(other.requests()[0].header("Pragma"), "no-cache");
}

TEST(Redirect, EndlessLoopEndsInAnError)
{
    FixtureServer server;
    server.addRoute("/loop", FixtureReply::redirect(302, "/loop"));
    RecordingListener events;
    HttpClient client(config(), events, [] {});
    EXPECT_EQ(failureOf(client, server.url("/loop")), Kind::Broken);
    EXPECT_LE(server.requests().size(), 12u);
}

TEST(Progress, CountersFollowTheContentLength)
{
    const std::string body(20000, 'x');
    for (const bool withLength : {true, false}) {
        FixtureServer server;
        server.addRoute("/big", dripped(body, 4096, 5ms, withLength));
        RecordingListener events;
        HttpClient client(config(), events, [] {});
        client.get(server.url("/big"));

        const std::uint64_t total = withLength ? body.size() : 0;
        ASSERT_GE(events.received.size(), 2u) << withLength;
        for (std::size_t i = 0; i < events.received.size(); ++i) {
            EXPECT_EQ(events.received[i].total, total) << withLength;
            if (i > 0) {
                EXPECT_GT(events.received[i].count, events.received[i - 1].count);
            }
        }
        EXPECT_EQ(events.received.back().count, body.size());

        ASSERT_FALSE(events.sent.empty());
        EXPECT_EQ(events.sent.back().count, server.requests().at(0).raw.size());
        EXPECT_EQ(events.sent.back().total, 0u); // no reply is being read yet
    }
}

TEST(TimeOut, StalledServerIsCutOffWhileTheWindowKeepsPumping)
{
    FixtureServer server;
    server.addRoute("/stall", FixtureReply::stall());
    FixtureReply headerOnly = FixtureReply::ok("0123456789");
    headerOnly.sendLimit = headerOnly.bytes().size() - 10;
    headerOnly.after = FixtureReply::After::Stall;
    server.addRoute("/half", headerOnly);

    for (const auto& [path, timeoutMs] : {std::pair{"/stall", 1000}, std::pair{"/half", 500}}) {
        RecordingListener events;
        int pumps = 0;
        HttpClient client(config(timeoutMs), events, [&] { ++pumps; });
        const auto start = std::chrono::steady_clock::now();
        EXPECT_EQ(failureOf(client, server.url(path)), Kind::TimedOut) << path;
        EXPECT_GE(secondsSince(start), timeoutMs / 1000.0 - 0.05) << path;
        EXPECT_LT(secondsSince(start), timeoutMs / 1000.0 + 1.5) << path;
        EXPECT_GE(pumps, timeoutMs / 50) << path; // the window was served all along
        EXPECT_EQ(events.events.back(), "disconnected") << path;
    }
}

TEST(TimeOut, CountsFromTheLastProgressNotFromTheStart)
{
    FixtureServer server;
    const std::string body(160, 'z');
    server.addRoute("/slow", dripped(body, 20, 150ms)); // about 1.4 s in all
    RecordingListener events;
    HttpClient client(config(500), events, [] {});
    EXPECT_EQ(client.get(server.url("/slow")).body, body);
}

TEST(TimeOut, ZeroWaitsUntilTheServerCloses)
{
    FixtureServer server;
    const std::string header = "HTTP/1.0 200 OK\r\n\r\n";
    FixtureReply late = FixtureReply::rawBytes(header + "late body");
    late.chunkSize = header.size();
    late.chunkDelay = 700ms;
    server.addRoute("/late", late);
    RecordingListener events;
    HttpClient client(config(0), events, [] {});
    EXPECT_EQ(client.get(server.url("/late")).body, "late body");
}

TEST(Connection, RefusedRaisesConnectionFailedThenThrows)
{
    const long port = deadPort();
    RecordingListener events;
    HttpClient client(config(), events, [] {});
    EXPECT_EQ(failureOf(client, "http://127.0.0.1:" + std::to_string(port) + "/x"), Kind::ConnectionFailed);
    EXPECT_EQ(events.events, Events{"connectionFailed"});
    EXPECT_EQ(client.reply().header, "Head.txt"); // nothing arrived, nothing replaced

    HttpClientConfig viaProxy = config();
    viaProxy.proxy = {true, "127.0.0.1", port, false, {}, {}};
    HttpClient proxied(viaProxy, events, [] {});
    EXPECT_EQ(failureOf(proxied, "http://tv.brevio.invalid/"), Kind::ConnectionFailed);
    EXPECT_EQ(events.events, (Events{"connectionFailed", "connectionFailed"}));
}

TEST(Connection, BrokenRepliesAreErrorsNotShortReplies)
{
    FixtureServer server;
    FixtureReply truncated = FixtureReply::ok(std::string(100, 'a'));
    truncated.sendLimit = truncated.bytes().size() - 50;
    server.addRoute("/truncated", truncated);
    FixtureReply reset = truncated;
    reset.after = FixtureReply::After::Reset;
    server.addRoute("/reset", reset);
    FixtureReply silent = FixtureReply::ok("");
    silent.sendLimit = 0;
    server.addRoute("/nothing", silent);

    RecordingListener events;
    HttpClient client(config(), events, [] {});
    for (const char* path : {"/truncated", "/reset", "/nothing"}) {
        events.events.clear();
        EXPECT_EQ(failureOf(client, server.url(path)), Kind::Broken) << path;
        EXPECT_EQ(events.events.back(), "disconnected") << path;
    }
}

TEST(InvalidHost, NewHostWithPortIsTriedOnce)
{
    FixtureServer server;
    server.addRoute("/20040112/data.dat", FixtureReply::ok("12.01.2004"));
    RecordingListener events;
    events.newHost = "127.0.0.1:" + std::to_string(server.port());
    HttpClient client(config(), events, [] {});

    EXPECT_EQ(client.get("http://tv.brevio.invalid/20040112/data.dat").body, "12.01.2004");
    EXPECT_EQ(events.invalidHostAsked, 1);
    EXPECT_EQ(events.events.front(), "invalidHost");
    EXPECT_EQ(server.requests().at(0).header("Host"), "127.0.0.1:" + std::to_string(server.port()));
}

TEST(InvalidHost, NewHostAloneKeepsThePortOfTheAddress)
{
    FixtureServer server;
    RecordingListener events;
    events.newHost = " 127.0.0.1 ";
    HttpClient client(config(), events, [] {});
    client.get("http://tv.brevio.invalid:" + std::to_string(server.port()) + "/x");
    EXPECT_EQ(events.invalidHostAsked, 1);
    EXPECT_EQ(server.requests().size(), 1u);
}

TEST(InvalidHost, AskedAtMostOncePerRequest)
{
    RecordingListener events;
    HttpClient client(config(), events, [] {});
    EXPECT_EQ(failureOf(client, "http://tv.brevio.invalid/"), Kind::HostNotFound); // cancelled
    EXPECT_EQ(events.invalidHostAsked, 1);

    events.newHost = "still-not-there.invalid";
    EXPECT_EQ(failureOf(client, "http://tv.brevio.invalid/"), Kind::HostNotFound);
    EXPECT_EQ(events.invalidHostAsked, 2);

    events.newHost = "bad host/";
    EXPECT_EQ(failureOf(client, "http://tv.brevio.invalid/"), Kind::HostNotFound);
    EXPECT_EQ(events.invalidHostAsked, 3);
    EXPECT_EQ(std::count(events.events.begin(), events.events.end(), "connected"), 0);
}

TEST(Abort, FromThePumpEndsTheTransfer)
{
    FixtureServer server;
    server.addRoute("/stall", FixtureReply::stall());
    RecordingListener events;
    int pumps = 0;
    std::unique_ptr<HttpClient> client;
    client = std::make_unique<HttpClient>(config(0), events, [&] {
        if (++pumps == 3)
            client->abort();
    });
    const auto start = std::chrono::steady_clock::now();
    EXPECT_EQ(failureOf(*client, server.url("/stall")), Kind::Aborted);
    EXPECT_LT(secondsSince(start), 1.0);
    EXPECT_EQ(pumps, 3);
    EXPECT_EQ(events.events.back(), "disconnected");
}

TEST(Abort, MidBodyLeavesTheIncompleteReplyBehindTheError)
{
    FixtureServer server;
    server.addRoute("/drip", dripped(std::string(1000, 'd'), 100, 30ms));
    RecordingListener events;
    HttpClient client(config(), events, [] {});
    events.onEvent = [&](const std::string& name) {
        if (name == "received" && events.received.back().count >= 300)
            client.abort();
    };
    EXPECT_EQ(failureOf(client, server.url("/drip")), Kind::Aborted);
    EXPECT_GE(client.reply().body.size(), 300u);
    EXPECT_LT(client.reply().body.size(), 1000u);
    EXPECT_EQ(events.events.back(), "disconnected");
}

TEST(Abort, OutsideATransferIsForgotten)
{
    FixtureServer server;
    server.addRoute("/a", FixtureReply::ok("fine"));
    RecordingListener events;
    HttpClient client(config(), events, [] {});
    client.abort();
    EXPECT_EQ(client.get(server.url("/a")).body, "fine");
}

TEST(BodyCap, LargerBodyEndsTheTransfer)
{
    FixtureServer server;
    server.addRoute("/exact", FixtureReply::ok(std::string(1000, 'e')));
    server.addRoute("/over", FixtureReply::ok(std::string(1001, 'o')));
    FixtureReply unannounced = FixtureReply::ok(std::string(50000, 'u'));
    unannounced.contentLength = false;
    server.addRoute("/unannounced", unannounced);

    RecordingListener events;
    HttpClient client(config(5000, 1000), events, [] {});
    EXPECT_EQ(client.get(server.url("/exact")).body.size(), 1000u);
    EXPECT_EQ(failureOf(client, server.url("/over")), Kind::TooLarge);
    EXPECT_EQ(failureOf(client, server.url("/unannounced")), Kind::TooLarge);
    EXPECT_LE(client.reply().body.size(), 1000u);
    EXPECT_EQ(events.events.back(), "disconnected");
}

} // namespace
} // namespace brevio::net
