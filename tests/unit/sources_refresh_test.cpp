// Listing sources refreshed against a loopback server that plays every kind of reply: after each
// refresh the store is compared file by file with what it was, and only the channels the source
// may change have changed.
#include "core/sources/refresh_lock.h"
#include "core/sources/source_commands.h"
#include "core/sources/source_refresh.h"
#include "core/store/cp1251.h"
#include "support/core/fixture_server.h"
#include "support/core/packing.h"
#include "support/core/source_listing.h"
#include "support/core/temp_dir.h"
#include "support/core/xmltv_samples.h"

#include <gtest/gtest.h>

#include <sstream>

namespace brevio::sources {
namespace {

using namespace std::chrono;
using namespace std::chrono_literals;
using test::FixtureReply;
using test::FixtureRequest;
using test::gzipped;
using test::sourceListing;
using Outcome = RefreshReport::Outcome;
using Names = std::vector<std::string>;

const Seconds kNow = sys_days(year(2026) / 12 / 9) + hours(12);
const Names kTwo{"Первый", "Второй"};
constexpr const char* kModified = "Tue, 08 Dec 2026 10:00:00 GMT";

FixtureReply okWith(std::string body, std::vector<std::string> headers)
{
    FixtureReply reply = FixtureReply::ok(std::move(body));
    reply.headers = std::move(headers);
    return reply;
}

// A server's answer to one request, and what the refresh must make of it.
struct Round
{
    std::function<FixtureReply(const FixtureRequest&)> serve;
    Outcome outcome = Outcome::Merged;
    std::set<std::string> changed = {}; // the channels whose files change (UTF-8)
    const char* said = ""; // in the error
    const char* sent = ""; // a header line the request carried
    std::size_t source = 0;
    Names offered = {}; // afterwards, by the source that refreshed (UTF-8)
};

struct Case
{
    Case(const char* caseName, std::vector<Round> caseRounds, std::size_t sourceCount = 1)
        : name(caseName)
        , rounds(std::move(caseRounds))
        , sources(sourceCount)
    {
    }
    const char* name;
    std::vector<Round> rounds;
    std::size_t sources; // at /s0, /s1, ...
};

std::function<FixtureReply(const FixtureRequest&)> always(FixtureReply reply)
{
    return [reply](const FixtureRequest&) { return reply; };
}

// 304 when the request names `validator` in `header`, else the listing with `replyHeader`.
std::function<FixtureReply(const FixtureRequest&)> conditional(const char* header, std::string validator,
                                                               std::string replyHeader, std::string body)
{
    return [=](const FixtureRequest& request) {
        if (request.header(header) == validator)
            return FixtureReply::status("HTTP/1.1 304 Not Modified");
        return okWith(body, {replyHeader});
    };
}

Names utf8(const std::vector<std::string>& names)
{
    Names out;
    for (const std::string& name : names)
        out.push_back(cp1251ToUtf8(name));
    return out;
}

// A week the schedule server brought: a channel no source gives, and one a source gives, with a
// show before the sources' listings begin.
void layOutStore(const test::TempDir& work)
{
    work.write("dats.dat", "07.12.2026\r\n");
    work.write("07122026/aplp.dat", utf8ToCp1251("Другой:other.txt\r\nПервый:first.txt\r\n"));
    work.write("07122026/other.txt", utf8ToCp1251("Другой\r\n\r\n09:00 Своё\r\n\r\n\r\n\r\n\r\n\r\n\r\n"));
    work.write("07122026/first.txt",
               utf8ToCp1251("Первый\r\n\r\n06:00 Старое утро\r\n\r\n\r\n\r\n\r\n\r\n\r\n"));
}

class SourceRefreshTest : public ::testing::Test
{
protected:
    void SetUp() override
    {
        layOutStore(m_work);
        m_lock = RefreshLock::acquire();
        ASSERT_TRUE(m_lock);
    }

    std::vector<ListingSource> sourcesAt(std::size_t count) const
    {
        std::vector<ListingSource> sources(count);
        for (std::size_t i = 0; i < count; ++i) {
            sources[i].name = "s" + std::to_string(i);
            sources[i].address = m_server.url("/s" + std::to_string(i));
        }
        return sources;
    }

    test::TempDir m_work;
    test::ScopedCurrentDir m_here{m_work.path()};
    test::ScopedTimeZone m_zone{"Europe/Moscow"};
    test::FixtureServer m_server;
    std::unique_ptr<RefreshLock> m_lock;
};

TEST_F(SourceRefreshTest, EveryReplyLeavesTheStoreAsItMayBeAndTheStateSaysWhy)
{
    const std::string plain = sourceListing(kTwo, "v1");
    const std::string v2 = sourceListing(kTwo, "v2");
    const std::set<std::string> both{"Первый", "Второй"};
    std::string cutGzip = gzipped(plain);
    cutGzip.resize(cutGzip.size() / 2);
    FixtureReply slow = FixtureReply::ok(sourceListing(kTwo, "v1", 14)); // over a second in all
    slow.chunkSize = 256;
    slow.chunkDelay = 30ms;
    // The transfer's gzip is undone on the way, the file's own xz after it.
    FixtureReply encoded = okWith(gzipped(test::xzPacked(plain)), {"Content-Encoding: gzip"});

    const Case cases[] = {
        {"200 with an ETag, then 304 for it",
         {{.serve = conditional("If-None-Match", "\"v1\"", "ETag: \"v1\"", plain), .changed = both},
          {.serve = conditional("If-None-Match", "\"v1\"", "ETag: \"v1\"", plain),
           .outcome = Outcome::Unchanged,
           .sent = "If-None-Match: \"v1\""}}},
        {"Last-Modified only",
         {{.serve
           = conditional("If-Modified-Since", kModified, std::string("Last-Modified: ") + kModified, plain),
           .changed = both},
          {.serve
           = conditional("If-Modified-Since", kModified, std::string("Last-Modified: ") + kModified, plain),
           .outcome = Outcome::Unchanged,
           .sent = "If-Modified-Since: Tue, 08 Dec 2026 10:00:00 GMT"}}},
        {"gzip file", {{.serve = always(FixtureReply::ok(gzipped(plain))), .changed = both}}},
        {"xz file", {{.serve = always(FixtureReply::ok(test::xzPacked(plain))), .changed = both}}},
        {"gzip transfer encoding",
         {{.serve = always(encoded), .changed = both, .sent = "Accept-Encoding: gzip"}}},
        {"a truncated gzip file",
         {{.serve = always(FixtureReply::ok(cutGzip)), .outcome = Outcome::Failed, .said = "cut short"}}},
        {"an HTML page with status 200",
         {{.serve = always(FixtureReply::ok("<!DOCTYPE html>\n<html><body>Log in<br></body></html>")),
           .outcome = Outcome::Failed,
           .said = "a web page"}}},
        {"an empty file",
         {{.serve = always(FixtureReply::ok("\n")), .outcome = Outcome::Failed, .said = "empty"}}},
        {"no listing at all",
         {{.serve = always(FixtureReply::ok("<tv></tv>")),
           .outcome = Outcome::Failed,
           .said = "no programmes"}}},
        {"garbled XML",
         {{.serve = always(FixtureReply::ok(plain.substr(0, 900))),
           .outcome = Outcome::Failed,
           .said = "/s0, line"}}},
        {"404",
         {{.serve = always(FixtureReply::status("HTTP/1.1 404 Not Found", "gone")),
           .outcome = Outcome::Failed,
           .said = "\"HTTP/1.1 404 Not Found\""}}},
        {"a redirect chain",
         {{.serve =
               [&](const FixtureRequest& request) {
                   if (request.path == "/s0")
                       return FixtureReply::redirect(302, m_server.url("/moved"));
                   if (request.path == "/moved")
                       return FixtureReply::redirect(301, "/final");
                   return FixtureReply::ok(plain);
               },
           .changed = both}}},
        {"a redirect to ftp",
         {{.serve = always(FixtureReply::redirect(302, "ftp://127.0.0.1/guide.xml")),
           .outcome = Outcome::Failed,
           .said = "ftp://127.0.0.1/guide.xml was not followed"}}},
        {"a slow server, cancelled", {{.serve = always(slow), .outcome = Outcome::Cancelled}}},
        {"a file that grows a channel",
         {{.serve = always(FixtureReply::ok(plain)), .changed = both},
          {.serve = always(FixtureReply::ok(sourceListing({"Первый", "Второй", "Третий"}, "v2"))),
           .changed = both,
           .offered = {"Третий"}}}},
        {"two sources with the same channel",
         {{.serve = always(FixtureReply::ok(v2)), .changed = both},
          {.serve = always(FixtureReply::ok(sourceListing({"Второй", "Третий"}, "v3", 2, "other"))),
           .changed = {"Третий"},
           .source = 1}},
         2},
    };

    for (const Case& c : cases) {
        SCOPED_TRACE(c.name);
        test::TempDir work; // a fresh store, and its lock, for each case
        const test::ScopedCurrentDir here(work.path());
        layOutStore(work);
        const auto lock = RefreshLock::acquire();
        std::vector<ListingSource> sources = sourcesAt(c.sources);
        for (const Round& round : c.rounds) {
            const std::size_t requestsBefore = m_server.requests().size();
            m_server.setHandler(round.serve);
            const test::FileTree before = test::fileTree(work.path());
            const ListingSource sourceBefore = sources[round.source];
            const RefreshReport report
                = refreshSource(sources, round.source, kNow, FetchOptions{}, *lock,
                                [](RefreshStep step, std::uint64_t done, std::uint64_t) {
                                    return step != RefreshStep::Downloading || done < 1000;
                                });
            const ListingSource& source = sources[round.source];

            EXPECT_EQ(report.outcome, round.outcome) << report.error;
            EXPECT_NE(report.error.find(round.said), std::string::npos) << report.error;
            EXPECT_EQ(test::changedChannels(before, test::fileTree(work.path())), round.changed);
            const auto requests = m_server.requests();
            ASSERT_GT(requests.size(), requestsBefore);
            const std::string& sent = requests[requestsBefore].raw;
            EXPECT_NE(sent.find(std::string(round.sent) + "\r\n"), std::string::npos) << sent;
            EXPECT_NE(sent.find("\r\nUser-Agent: Brevio/" BREVIO_VERSION "\r\n"), std::string::npos) << sent;
            EXPECT_EQ(utf8(source.offered), round.offered);
            switch (round.outcome) {
            case Outcome::Merged:
            case Outcome::Unchanged:
                EXPECT_EQ(source.state.lastSuccess, kNow);
                EXPECT_EQ(source.state.failures, 0);
                EXPECT_EQ(source.state.lastError, "");
                break;
            case Outcome::Failed: // the last good guide stays, and so do its validators
                EXPECT_EQ(source.state.lastError, report.error);
                EXPECT_EQ(source.state.failures, sourceBefore.state.failures + 1);
                EXPECT_EQ(source.state.etag, sourceBefore.state.etag);
                break;
            case Outcome::Cancelled:
                EXPECT_EQ(source, sourceBefore);
                break;
            }
        }
        if (c.rounds.front().outcome == Outcome::Merged) {
            // The stored show before the listing's span stays; the source's shows are there.
            const std::string first = cp1251ToUtf8(work.read("07122026/first.txt"));
            EXPECT_NE(first.find("06:00 Старое утро\r\n"), std::string::npos) << first;
            EXPECT_NE(first.find(" 12\r\n"), std::string::npos) << first;
            EXPECT_EQ(sources[0].state.weeks, Names{"07.12.2026"});
        }
    }
}

// A local file is read only when its size or time changed; its validators are its own.
TEST_F(SourceRefreshTest, ALocalFileIsReadAgainOnlyWhenItChanged)
{
    std::vector<ListingSource> sources(1);
    sources[0].address = (m_work / "grabbed.xml").string();
    std::filesystem::create_directory(m_work / "folder.xml");
    sources.push_back({});
    sources[1].address = (m_work / "folder.xml").string();
    EXPECT_EQ(refreshSource(sources, 1, kNow, FetchOptions{}, *m_lock).outcome, Outcome::Failed);
    EXPECT_NE(sources[1].state.lastError.find("not a regular file"), std::string::npos);
    const struct
    {
        std::optional<std::string> write; // before the refresh
        Outcome outcome;
        bool changes;
    } rounds[] = {
        {std::nullopt, Outcome::Failed, false}, // not there yet
        {sourceListing(kTwo, "v1"), Outcome::Merged, true},
        {std::nullopt, Outcome::Unchanged, false},
        {sourceListing(kTwo, "v2") + "  ", Outcome::Merged, true}, // another size
    };
    for (const auto& round : rounds) {
        if (round.write)
            m_work.write("grabbed.xml", *round.write);
        const test::FileTree before = test::fileTree(m_work.path());
        EXPECT_EQ(refreshSource(sources, 0, kNow, FetchOptions{}, *m_lock).outcome, round.outcome);
        EXPECT_EQ(test::changedChannels(before, test::fileTree(m_work.path())).empty(), !round.changes);
    }
    EXPECT_EQ(sources[0].state.fileSize, std::filesystem::file_size(m_work / "grabbed.xml"));
    EXPECT_EQ(sources[0].state.etag, "");
}

// The terminal commands: a line per source refreshed, one on the error stream per source that
// is not current, the exit status, and the list stored after each refresh.
TEST_F(SourceRefreshTest, CommandsSayWhatTheyDidAndStoreTheState)
{
    std::vector<ListingSource> stored;
    SourceListStore list{[&] { return stored; },
                         [&](const std::vector<ListingSource>& sources) -> std::optional<std::string> {
                             stored = sources;
                             return std::nullopt;
                         }};
    std::ostringstream out, err;
    EXPECT_EQ(addSource(list, "ftp://x.example/a", "", out, err), 2);
    EXPECT_EQ(addSource(list, m_server.url("/s0"), "", out, err), 0);
    EXPECT_EQ(addSource(list, m_server.url("/s0"), "again", out, err), 2);
    EXPECT_EQ(addSource(list, m_server.url("/broken"), "Broken", out, err), 0);
    ASSERT_EQ(stored.size(), 2u);
    EXPECT_EQ(stored[0].name, "127.0.0.1");
    EXPECT_TRUE(stored[0].keepAll);

    m_server.addRoute("/s0", FixtureReply::ok(sourceListing(kTwo, "v1")));
    out.str("");
    err.str("");
    m_lock.reset();
    EXPECT_EQ(refreshSources(list, kNow, FetchOptions{}, out, err), 1);
    EXPECT_EQ(out.str(), "127.0.0.1: 2 channels merged, the week of 07.12.2026\n");
    EXPECT_EQ(err.str(),
              "brevio: Broken: The server answered \"HTTP/1.0 404 Not Found\" for " + m_server.url("/broken")
                  + " (1 failure in a row; next try after 2026-12-09 15:10)\n");
    EXPECT_EQ(stored[0].state.lastSuccess, kNow);
    EXPECT_EQ(stored[1].state.failures, 1);

    // Nothing is due a minute later: nothing is fetched, and the failed source still counts.
    const std::size_t requests = m_server.requests().size();
    out.str("");
    err.str("");
    EXPECT_EQ(refreshSources(list, kNow + 1min, FetchOptions{}, out, err), 1);
    EXPECT_EQ(m_server.requests().size(), requests);
    EXPECT_EQ(out.str(), "");
    stored.pop_back();
    EXPECT_EQ(refreshSources(list, kNow + 1min, FetchOptions{}, out, err), 0);

    // Another process refreshing the same store holds it.
    const auto held = RefreshLock::acquire();
    err.str("");
    stored[0].state = {};
    EXPECT_EQ(refreshSources(list, kNow, FetchOptions{}, out, err, 100ms), 1);
    EXPECT_NE(err.str().find("another refresh"), std::string::npos) << err.str();
}

} // namespace
} // namespace brevio::sources
