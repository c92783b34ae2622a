// The demo as Brevio meets it: its own HTTP client and catalogue reading against the
// generated tree on the static server, directly and with the server named as the proxy.
#include "tools/demo_data.h"
#include "tools/static_server.h"

#include "core/net/http_client.h"
#include "core/net/update_catalogue.h"
#include "core/store/line_reader.h"
#include "support/core/temp_dir.h"

#include <gtest/gtest.h>

#include <future>
#include <mutex>
#include <thread>

namespace brevio::tools {
namespace {

class DemoThroughBrevioClient : public ::testing::TestWithParam<bool>
{
protected:
    void SetUp() override
    {
        const auto today = std::chrono::sys_days(std::chrono::year_month_day(
            std::chrono::year(2004), std::chrono::month(1), std::chrono::day(14)));
        writeDemoTree(m_dir.path(), today, 5);
        m_server = std::make_unique<StaticServer>(m_dir.path());
        m_port = m_server->bind(0);
        m_server->setLog([this](const std::string& line) {
            const std::lock_guard lock(m_mutex);
            m_log.push_back(line);
        });
        m_running = std::async(std::launch::async, [this] { return m_server->run(); });
    }

    void TearDown() override
    {
        m_server->stop();
        ASSERT_EQ(m_running.wait_for(std::chrono::seconds(10)), std::future_status::ready);
    }

    net::HttpClientConfig config() const
    {
        net::HttpClientConfig c;
        c.userAgent = "Brevio (tv.brevio.test)";
        c.timeoutMs = 5000;
        if (GetParam()) { // through a proxy the request line carries the whole URL
            c.proxy.enabled = true;
            c.proxy.host = "127.0.0.1";
            c.proxy.port = m_port;
        }
        return c;
    }

    // The request lines the server saw: "GET <target> <status> <size>". The server logs a
    // request after its reply has gone out, so the last line may still be on its way.
    std::vector<std::string> log(std::size_t expected)
    {
        for (int wait = 0; wait < 500; ++wait) {
            {
                const std::lock_guard lock(m_mutex);
                if (m_log.size() >= expected)
                    return m_log;
            }
            std::this_thread::sleep_for(std::chrono::milliseconds(10));
        }
        const std::lock_guard lock(m_mutex);
        return m_log;
    }

    test::TempDir m_dir;
    std::mutex m_mutex;
    std::vector<std::string> m_log;
    std::unique_ptr<StaticServer> m_server;
    int m_port = 0;
    std::future<bool> m_running;
};

TEST_P(DemoThroughBrevioClient, CheckAndDownloadFindEveryWeekAndChannel)
{
    net::HttpListener quiet;
    net::HttpClient client(config(), quiet, [] {});
    const std::string base = "http://127.0.0.1:" + std::to_string(m_port) + "/";

    const auto weeks = client.get(base + "datas.dat");
    ASSERT_TRUE(net::replySucceeded(weeks.header)) << weeks.header;
    const auto weekDates = store::splitLines(weeks.body);
    ASSERT_EQ(weekDates, (std::vector<std::string>{"12.01.2004", "19.01.2004"}));

    for (const auto& week : weekDates) {
        const std::string path = net::weekPath(week);
        const auto date = client.get(base + path + "data.dat");
        ASSERT_TRUE(net::replySucceeded(date.header));
        EXPECT_EQ(net::serverWeekDate(date.body), week);

        const auto catalogue = client.get(base + path + "files.dat");
        ASSERT_TRUE(net::replySucceeded(catalogue.header));
        const auto offer = net::offerChannels(net::parseCatalogue(catalogue.body), "", true);
        EXPECT_TRUE(offer.refused.empty());
        ASSERT_EQ(offer.channels.size(), 5u);
        for (const auto& channel : offer.channels) {
            const auto file = client.get(base + path + channel.entry.fileName);
            ASSERT_TRUE(net::replySucceeded(file.header)) << channel.entry.fileName;
            EXPECT_EQ(file.body, m_dir.read(path + channel.entry.fileName));
        }
    }

    const auto requests = log(1 + 2 * (2 + 5));
    ASSERT_EQ(requests.size(), 1u + 2 * (2 + 5));
    const std::string target = GetParam() ? "GET http://127.0.0.1:" : "GET /";
    for (const auto& line : requests)
        EXPECT_TRUE(line.starts_with(target)) << line;
}

TEST_P(DemoThroughBrevioClient, AMissingFileFailsTheSuccessTest)
{
    net::HttpListener quiet;
    net::HttpClient client(config(), quiet, [] {});
    const auto reply = client.get("http://127.0.0.1:" + std::to_string(m_port) + "/01012000/data.dat");
    EXPECT_FALSE(net::replySucceeded(reply.header)) << reply.header;
}

INSTANTIATE_TEST_SUITE_P(DirectAndProxied, DemoThroughBrevioClient, ::testing::Bool());

} // namespace
} // namespace brevio::tools
