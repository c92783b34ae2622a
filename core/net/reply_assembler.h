#pragma once

#include <cstddef>
#include <cstdint>
#include <string>
#include <string_view>

namespace brevio::net {

// Where a reply's body goes instead of memory: a large download goes into a file.
class BodySink
{
public:
    virtual ~BodySink() = default;
    // A new reply begins (after a redirect or an interim reply): what was written goes.
    virtual bool restart() = 0;
    virtual bool write(std::string_view bytes) = 0;
    // Why the last restart() or write() returned false.
    virtual std::string failure() const = 0;
};

// Collects the header lines and body bytes of a transfer as they arrive. A redirect or an
// interim reply is followed by another status line: only the last reply is kept.
class ReplyAssembler
{
public:
    // With a sink, the body goes there and body() stays empty.
    explicit ReplyAssembler(std::size_t maxBodyBytes, BodySink* sink = nullptr)
        : m_maxBodyBytes(maxBodyBytes)
        , m_sink(sink)
    {
    }

    // A request has gone out: the reply being read from now on has no known length yet.
    void startRequest() { m_contentLength = 0; }
    // One header line with its line end, status line and the closing empty line included.
    void addHeaderLine(std::string_view line);
    // Appends body bytes; false (and nothing appended) when the body would pass the cap or the
    // sink cannot take them (sinkFailed()).
    bool addBody(std::string_view bytes);
    bool sinkFailed() const { return m_sinkFailed; }

    bool started() const { return m_started; }
    const std::string& header() const { return m_header; }
    const std::string& body() const { return m_body; }
    std::uint64_t bodySize() const { return m_bodySize; }
    std::uint64_t contentLength() const { return m_contentLength; }

private:
    std::size_t m_maxBodyBytes;
    std::string m_header;
    BodySink* m_sink;
    std::string m_body;
    std::uint64_t m_bodySize = 0;
    std::uint64_t m_contentLength = 0;
    bool m_sinkFailed = false;
    bool m_started = false;
    bool m_headerDone = false;
};

} // namespace brevio::net
