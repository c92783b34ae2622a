// The reply assembler fed header lines, body pieces and new requests in any order: the body
// never passes its cap, a refused piece changes nothing, and the header kept is the last reply's,
// opening with its status line.
#include "core/net/reply_assembler.h"
#include "fuzz/fuzz_check.h"

#include <fuzzer/FuzzedDataProvider.h>

#include <cctype>

using namespace brevio;

namespace {

bool isStatusLine(std::string_view line)
{
    return line.size() >= 5 && std::toupper(static_cast<unsigned char>(line[0])) == 'H'
        && std::toupper(static_cast<unsigned char>(line[1])) == 'T'
        && std::toupper(static_cast<unsigned char>(line[2])) == 'T'
        && std::toupper(static_cast<unsigned char>(line[3])) == 'P' && line[4] == '/';
}

} // namespace

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size)
{
    FuzzedDataProvider input(data, size);
    const std::size_t cap = input.ConsumeIntegralInRange<std::size_t>(0, 4096);
    net::ReplyAssembler reply(cap);
    while (input.remaining_bytes() > 0) {
        switch (input.ConsumeIntegralInRange(0, 3)) {
        case 0:
            reply.startRequest();
            fuzz::check(reply.contentLength() == 0, "a new request has no length yet");
            break;
        case 1: {
            const std::string line = input.ConsumeRandomLengthString(256);
            const bool wasStarted = reply.started();
            reply.addHeaderLine(line);
            fuzz::check(reply.started() == (wasStarted || isStatusLine(line)),
                        "a reply starts at a status line");
            break;
        }
        case 2: {
            const std::string status = "HTTP/1." + std::to_string(input.ConsumeIntegralInRange(0, 1)) + " "
                + std::to_string(input.ConsumeIntegralInRange(100, 599)) + " X\r\n";
            reply.addHeaderLine("\r\n"); // ends a header left open
            reply.addHeaderLine(status);
            reply.addHeaderLine("Content-Length: " + std::to_string(input.ConsumeIntegral<std::uint32_t>())
                                + "\r\n");
            reply.addHeaderLine("\r\n");
            fuzz::check(reply.header().starts_with(status) && reply.body().empty(),
                        "a new reply replaces the old");
            break;
        }
        default: {
            const std::string piece = input.ConsumeRandomLengthString(1024);
            const std::string before = reply.body();
            if (reply.addBody(piece))
                fuzz::check(reply.body() == before + piece, "an accepted piece is appended whole");
            else
                fuzz::check(reply.body() == before && before.size() + piece.size() > cap,
                            "only a piece past the cap is refused, and it changes nothing");
            break;
        }
        }
        fuzz::check(reply.body().size() <= cap, "the body stays within its cap");
        fuzz::check(!reply.started() || isStatusLine(reply.header()), "the header opens with a status line");
    }
    return 0;
}
