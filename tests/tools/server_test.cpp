#include "tools/static_server.h"

#include "support/core/temp_dir.h"

#include <gtest/gtest.h>

#include <arpa/inet.h>
#include <chrono>
#include <future>
#include <netinet/in.h>
#include <sys/socket.h>
#include <sys/time.h>
#include <thread>
#include <unistd.h>

namespace brevio::tools {
namespace {

struct RawReply
{
    std::string header; // status line and header lines, up to the empty line
    std::string body;
    bool closedByServer = false;

    std::string statusLine() const { return header.substr(0, header.find("\r\n")); }
};

// Sends `request` as it stands (curl would tidy "../" away) and reads until the server
// closes the connection or five quiet seconds pass.
RawReply rawRequest(int port, const std::string& request)
{
    const int fd = socket(AF_INET, SOCK_STREAM, 0);
    timeval timeout{5, 0};
    setsockopt(fd, SOL_SOCKET, SO_RCVTIMEO, &timeout, sizeof timeout);
    sockaddr_in address{};
    address.sin_family = AF_INET;
    address.sin_port = htons(std::uint16_t(port));
    address.sin_addr.s_addr = htonl(INADDR_LOOPBACK);
    RawReply reply;
    if (connect(fd, reinterpret_cast<sockaddr*>(&address), sizeof address) != 0) {
        close(fd);
        return reply;
    }
    send(fd, request.data(), request.size(), 0);
    std::string received;
    char buffer[4096];
    for (;;) {
        const ssize_t n = recv(fd, buffer, sizeof buffer, 0);
        if (n <= 0) {
            reply.closedByServer = n == 0;
            break;
        }
        received.append(buffer, std::size_t(n));
    }
    close(fd);
    const auto end = received.find("\r\n\r\n");
    reply.header = received.substr(0, end == received.npos ? received.size() : end + 4);
    reply.body = end == received.npos ? std::string() : received.substr(end + 4);
    return reply;
}

std::string get10(const std::string& target)
{
    return "GET " + target + " HTTP/1.0\r\nUser-Agent: Brevio (test)\r\nPragma: no-cache\r\n\r\n";
}

// Every byte value, line ends of both kinds and windows-1251 text: nothing may be converted.
std::string awkwardBytes()
{
    std::string bytes;
    for (int b = 0; b < 256; ++b)
        bytes += char(b);
    return bytes + "\r\n\xCF\xE5\xF0\xE2\xFB\xE9 \xEA\xE0\xED\xE0\xEB\n\r\x1A end";
}

class StaticServerTest : public ::testing::Test
{
protected:
    void SetUp() override
    {
        m_dir.write("root/datas.dat", "12.01.2004\r\n19.01.2004\r\n");
        m_dir.write("root/12012004/perviy.txt", awkwardBytes());
        m_dir.write("root/12012004/data.dat", "12.01.2004");
        m_dir.write("secret.txt", "outside the served folder");
        m_server = std::make_unique<StaticServer>(m_dir / "root");
        m_port = m_server->bind(0);
        m_running = std::async(std::launch::async, [this] { return m_server->run(); });
    }

    void TearDown() override
    {
        m_server->stop();
        ASSERT_EQ(m_running.wait_for(std::chrono::seconds(10)), std::future_status::ready);
        EXPECT_TRUE(m_running.get());
    }

    test::TempDir m_dir;
    std::unique_ptr<StaticServer> m_server;
    int m_port = 0;
    std::future<bool> m_running;
};

TEST_F(StaticServerTest, ServesFilesByteForByteToAnHttp10Request)
{
    const auto reply = rawRequest(m_port, get10("/12012004/perviy.txt"));
    EXPECT_NE(reply.statusLine().find(" 200 "), std::string::npos) << reply.header;
    EXPECT_NE(reply.header.find("Content-Type: application/octet-stream\r\n"), std::string::npos)
        << reply.header;
    EXPECT_EQ(reply.body, awkwardBytes());
    // An HTTP/1.0 client reads the body up to the end of the connection.
    EXPECT_TRUE(reply.closedByServer);
}

TEST_F(StaticServerTest, AnswersAbsoluteTargetsAsAProxiedRequestCarriesThem)
{
    const auto url = "http://127.0.0.1:" + std::to_string(m_port);
    EXPECT_EQ(rawRequest(m_port, get10(url + "/12012004/data.dat")).body, "12.01.2004");
    EXPECT_EQ(rawRequest(m_port, get10("HTTP://localhost/datas.dat?nocache=1")).body,
              "12.01.2004\r\n19.01.2004\r\n");
    EXPECT_EQ(rawRequest(m_port, get10(url + "/12012004/%70erviy.txt")).body, awkwardBytes());
}

TEST_F(StaticServerTest, AnswersHttp11AndHead)
{
    const auto reply
        = rawRequest(m_port, "GET /datas.dat HTTP/1.1\r\nHost: 127.0.0.1\r\nConnection: close\r\n\r\n");
    EXPECT_NE(reply.statusLine().find(" 200 "), std::string::npos) << reply.header;
    EXPECT_EQ(reply.body, "12.01.2004\r\n19.01.2004\r\n");

    const auto head = rawRequest(m_port, "HEAD /datas.dat HTTP/1.0\r\n\r\n");
    EXPECT_NE(head.statusLine().find(" 200 "), std::string::npos) << head.header;
    EXPECT_NE(head.header.find("Content-Length: 24\r\n"), std::string::npos) << head.header;
    EXPECT_EQ(head.body, "");
}

// The validators of a reply bring 304 without a body while the file stays as it is.
TEST_F(StaticServerTest, AnUnchangedFileIsNotSentAgain)
{
    const auto first = rawRequest(m_port, get10("/datas.dat"));
    const auto header = [&](const std::string& name) {
        const auto at = first.header.find("\r\n" + name + ": ");
        return at == std::string::npos
            ? std::string()
            : first.header.substr(at + name.size() + 4,
                                  first.header.find("\r\n", at + 2) - at - name.size() - 4);
    };
    const std::string tag = header("ETag"), modified = header("Last-Modified");
    ASSERT_TRUE(tag.starts_with('"') && tag.ends_with('"')) << first.header;
    ASSERT_TRUE(modified.ends_with(" GMT")) << first.header;
    const auto asked = [&](const std::string& line) {
        return rawRequest(m_port, "GET /datas.dat HTTP/1.0\r\n" + line + "\r\n\r\n");
    };
    for (const std::string& line : {"If-None-Match: " + tag, "If-None-Match: \"x\", W/" + tag,
                                    std::string("If-None-Match: *"), "If-Modified-Since: " + modified}) {
        const auto reply = asked(line);
        EXPECT_NE(reply.statusLine().find(" 304 "), std::string::npos) << line << ": " << reply.header;
        EXPECT_EQ(reply.body, "") << line;
    }
    // Another tag wins over a matching time; a changed file gets a new tag.
    EXPECT_EQ(asked("If-None-Match: \"x\"\r\nIf-Modified-Since: " + modified).body,
              "12.01.2004\r\n19.01.2004\r\n");
    m_dir.write("root/datas.dat", "12.01.2004\r\n19.01.2004\r\n26.01.2004\r\n");
    EXPECT_NE(asked("If-None-Match: " + tag).statusLine().find(" 200 "), std::string::npos);
}

TEST_F(StaticServerTest, MissingFilesAndFoldersAre404)
{
    for (const char* target : {"/nothing.txt", "/12012004/", "/12012004", "/", "/datas.dat/x"}) {
        const auto reply = rawRequest(m_port, get10(target));
        EXPECT_NE(reply.statusLine().find(" 404 "), std::string::npos) << target << ": " << reply.header;
        // The client's success test looks for "200" anywhere in the header.
        EXPECT_EQ(reply.header.find("200"), std::string::npos) << target << ": " << reply.header;
    }
}

TEST_F(StaticServerTest, RefusesEveryWayOutOfTheFolder)
{
    std::filesystem::create_symlink(m_dir / "secret.txt", m_dir / "root" / "link.txt");
    std::filesystem::create_directory_symlink(m_dir.path(), m_dir / "root" / "up");
    const auto url = "http://127.0.0.1:" + std::to_string(m_port);
    for (const std::string& target : std::vector<std::string>{
             "/../secret.txt", "/12012004/../../secret.txt", "/%2e%2e/secret.txt", "/..%2Fsecret.txt",
             "/12012004/%2E%2E/%2e%2e/secret.txt", url + "/../secret.txt", "/..\\secret.txt", "/link.txt",
             "/up/secret.txt", "ftp://127.0.0.1/datas.dat", "/%zz", "/datas.dat%00.txt"}) {
        const auto reply = rawRequest(m_port, get10(target));
        EXPECT_NE(reply.statusLine().find(" 403 "), std::string::npos) << target << ": " << reply.header;
        EXPECT_EQ(reply.body.find("outside"), std::string::npos) << target;
    }
}

TEST_F(StaticServerTest, OnlyReads)
{
    for (const char* method : {"POST", "PUT", "DELETE"}) {
        const auto reply
            = rawRequest(m_port, std::string(method) + " /datas.dat HTTP/1.0\r\nContent-Length: 1\r\n\r\nx");
        EXPECT_NE(reply.statusLine().find(" 405 "), std::string::npos) << method << ": " << reply.header;
    }
    EXPECT_EQ(m_dir.read("root/datas.dat"), "12.01.2004\r\n19.01.2004\r\n");
}

TEST_F(StaticServerTest, LogsEachRequest)
{
    std::promise<std::string> logged;
    m_server->setLog([&](const std::string& line) { logged.set_value(line); });
    rawRequest(m_port, get10("/datas.dat"));
    auto line = logged.get_future();
    ASSERT_EQ(line.wait_for(std::chrono::seconds(5)), std::future_status::ready);
    EXPECT_EQ(line.get(), "GET /datas.dat 200 24");
    m_server->setLog({});
}

TEST(StaticServerPath, TakesOriginAndAbsoluteTargets)
{
    EXPECT_EQ(servedPath("/a/b.txt"), "a/b.txt");
    EXPECT_EQ(servedPath("/a//./b.txt?x=1#y"), "a/b.txt");
    EXPECT_EQ(servedPath("/a%20b%3Ac"), "a b:c");
    EXPECT_EQ(servedPath("/"), "");
    EXPECT_EQ(servedPath("http://h:8080/12012004/x.txt"), "12012004/x.txt");
    EXPECT_EQ(servedPath("Http://h"), "");
    EXPECT_EQ(servedPath("/a..b/..c"), "a..b/..c"); // dots inside a name are just a name
}

TEST(StaticServerPath, RefusesWhatCouldLeaveTheFolderOrIsMalformed)
{
    for (const char* target : {"/..", "/a/../b", "/%2e%2E/x", "/a%2f..%2fb/..", "/a\\b", "/%5c", "/%", "/%4",
                               "/%g0", "/a%00", "*", "datas.dat", "https://h/a", "file:///etc/passwd"})
        EXPECT_EQ(servedPath(target), std::nullopt) << target;
}

TEST(StaticServerLifecycle, StopBeforeRunMakesRunReturn)
{
    test::TempDir dir;
    StaticServer server(dir.path());
    server.bind(0);
    server.stop();
    auto running = std::async(std::launch::async, [&] { return server.run(); });
    ASSERT_EQ(running.wait_for(std::chrono::seconds(5)), std::future_status::ready);
    EXPECT_TRUE(running.get());
}

TEST(StaticServerLifecycle, StopRightAfterStartEndsTheServer)
{
    test::TempDir dir;
    for (int round = 0; round < 20; ++round) {
        StaticServer server(dir.path());
        server.bind(0);
        auto running = std::async(std::launch::async, [&] { return server.run(); });
        server.stop(); // may come before httplib's loop has started
        ASSERT_EQ(running.wait_for(std::chrono::seconds(5)), std::future_status::ready) << "round " << round;
    }
}

TEST(StaticServerLifecycle, RefusesABadRootAndABusyPort)
{
    test::TempDir dir;
    dir.write("file.txt", "x");
    EXPECT_THROW(StaticServer(dir / "missing"), std::runtime_error);
    EXPECT_THROW(StaticServer(dir / "file.txt"), std::runtime_error);

    StaticServer first(dir.path());
    const int port = first.bind(0);
    StaticServer second(dir.path());
    EXPECT_THROW(second.bind(port), std::runtime_error);
}

} // namespace
} // namespace brevio::tools
