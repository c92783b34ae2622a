#pragma once

#include <cstddef>
#include <cstdint>
#include <string>
#include <string_view>

namespace brevio::net {

// Collects the header lines and body bytes of a transfer as they arrive. A redirect or an
// interim reply is followed by another status line: only the last reply is kept.
class ReplyAssembler
{
public:
    explicit ReplyAssembler(std::size_t maxBodyBytes)
        : m_maxBodyBytes(maxBodyBytes)
    {
    }

    // A request has gone out: the reply being read from now on has no known length yet.
    void startRequest() { m_contentLength = 0; }
    // One header line with its line end, status line and the closing empty line included.
    void addHeaderLine(std::string_view line);
    // Appends body bytes; false (and nothing appended) when the body would pass the cap.
    bool addBody(std::string_view bytes);

    bool started() const { return m_started; }
    const std::string& header() const { return m_header; }
    const std::string& body() const { return m_body; }
    std::uint64_t contentLength() const { return m_contentLength; }

private:
    std::size_t m_maxBodyBytes;
    std::string m_header;
    std::string m_body;
    std::uint64_t m_contentLength = 0;
    bool m_started = false;
    bool m_headerDone = false;
};

} // namespace brevio::net
