#include "core/net/http_reply.h"
#include "core/net/reply_assembler.h"

#include <gtest/gtest.h>

namespace brevio::net {
namespace {

TEST(SuccessTest, TheFinalStatusCodeIs200)
{
    for (const char* received : {"HTTP/1.0 200 OK\r\n\r\n", "http/1.1 200 ok\r\n\r\n", "HTTP/1.1 200\r\n\r\n",
                                 "HTTP/2 200\r\ncontent-length: 3\r\n\r\n", "HTTP/1.0 200 OK\n\n"})
        EXPECT_TRUE(replySucceeded(received)) << received;
    // "200" elsewhere (a length, a host name, a reason) is no success, nor any other status.
    for (const char* failed :
         {"HTTP/1.0 404 Not Found\r\nContent-Length: 1200\r\n\r\n",
          "HTTP/1.0 500 Error\r\nServer: w2003.example\r\n\r\n", "HTTP/1.0 203 Partial 200\r\n\r\n",
          "HTTP/1.0 2000 OK\r\n\r\n", "HTTP/1.0 20 0\r\n\r\n", "XHTTP/1.0 200 OK\r\n\r\n",
          "HTTP/1.0  200 OK\r\n\r\n", "200 OK\r\n\r\n", "\r\nHTTP/1.0 200 OK\r\n\r\n", ""})
        EXPECT_FALSE(replySucceeded(failed)) << failed;
    EXPECT_FALSE(replySucceeded(HttpReply{}.header)); // nothing received yet
}

TEST(ReplyAssembler, KeepsOnlyTheLastReplyOfARedirectChain)
{
    ReplyAssembler reply(1000);
    reply.startRequest();
    reply.addHeaderLine("HTTP/1.0 302 Found\r\n");
    reply.addHeaderLine("Location: /b\r\n");
    reply.addHeaderLine("Content-Length: 7\r\n");
    reply.addHeaderLine("\r\n");
    EXPECT_EQ(reply.contentLength(), 7u);
    ASSERT_TRUE(reply.addBody("ignored"));
    reply.startRequest();
    EXPECT_EQ(reply.contentLength(), 0u); // the next reply's length is not known yet
    reply.addHeaderLine("HTTP/1.1 100 Continue\r\n");
    reply.addHeaderLine("\r\n");
    reply.addHeaderLine("HTTP/1.0 200 OK\r\n");
    reply.addHeaderLine("content-length:  12 \r\n");
    reply.addHeaderLine("\r\n");
    ASSERT_TRUE(reply.addBody("hello world!"));
    EXPECT_EQ(reply.header(), "HTTP/1.0 200 OK\r\ncontent-length:  12 \r\n\r\n");
    EXPECT_EQ(reply.body(), "hello world!");
    EXPECT_EQ(reply.contentLength(), 12u);
}

TEST(ReplyAssembler, TrailersAndBadLengthsDoNotDisturbTheHeader)
{
    ReplyAssembler reply(1000);
    reply.addHeaderLine("HTTP/1.1 200 OK\n");
    reply.addHeaderLine("Content-Length: 12x\n");
    reply.addHeaderLine("\n");
    EXPECT_EQ(reply.contentLength(), 0u);
    reply.addBody("abc");
    reply.addHeaderLine("X-Trailer: 1\r\n"); // after a chunked body
    EXPECT_EQ(reply.header(), "HTTP/1.1 200 OK\nContent-Length: 12x\n\n");
    EXPECT_EQ(reply.body(), "abc");
}

TEST(ReplyAssembler, RefusesBodyBytesPastTheCap)
{
    ReplyAssembler reply(10);
    reply.addHeaderLine("HTTP/1.0 200 OK\r\n");
    EXPECT_TRUE(reply.addBody("123456"));
    EXPECT_FALSE(reply.addBody("12345"));
    EXPECT_EQ(reply.body(), "123456");
    EXPECT_TRUE(reply.addBody("1234"));
    EXPECT_FALSE(reply.addBody("x"));
    EXPECT_EQ(reply.body().size(), 10u);
}

} // namespace
} // namespace brevio::net
