// Compressed listings told by their first bytes, unpacked whole or refused with a reason.
#include "core/exchange/unpacking.h"
#include "core/store/errors.h"
#include "support/core/packing.h"
#include "support/core/temp_dir.h"

#include <gtest/gtest.h>

#include <fcntl.h>
#include <unistd.h>

namespace brevio::exchange {
namespace {

using test::gzipped;
using test::xzPacked;

// The file's unpacked bytes read in pieces of `piece`, or "error: <what>".
std::string unpacked(const std::string& file, const UnpackLimits& limits, std::size_t piece)
{
    test::TempDir dir;
    dir.write("f", file);
    const int fd = ::open((dir / "f").c_str(), O_RDONLY);
    std::string out;
    try {
        UnpackingReader reader(fd, limits);
        std::string buffer(piece, '\0');
        while (const std::size_t n = reader.read(buffer.data(), piece))
            out.append(buffer, 0, n);
    } catch (const Error& e) {
        out = std::string("error: ") + e.what();
    }
    ::close(fd);
    return out;
}

std::string cut(std::string bytes, std::size_t less)
{
    bytes.resize(bytes.size() - less);
    return bytes;
}

TEST(Unpacking, EachPackingByItsFirstBytesAndEachFaultWithItsReason)
{
    const std::string text = "<?xml version=\"1.0\"?>\n<tv>" + std::string(300000, 'x') + "</tv>\n";
    std::string damagedGzip = gzipped(text);
    damagedGzip[damagedGzip.size() - 6] ^= 0x55; // its check sum
    std::string damagedXz = xzPacked(text);
    damagedXz[damagedXz.size() / 2] ^= 0x55;
    const UnpackLimits small{1 << 20, 250, 64 << 20};
    const UnpackLimits watchful{std::uint64_t(8) << 30, 100, 1 << 20};
    const std::string zeros(4 << 20, '\0');
    const struct
    {
        const char* name;
        std::string file;
        UnpackLimits limits;
        std::string expected; // the bytes, or the start of "error: ..."
    } cases[] = {
        {"plain", text, {}, text},
        {"empty", "", {}, ""},
        {"plain that begins like gzip's magic only in part", "\x1f" + text, {}, "\x1f" + text},
        {"gzip", gzipped(text), {}, text},
        {"two gzip members read as one", gzipped("ab") + gzipped("cd"), {}, "abcd"},
        {"what follows the last gzip member is ignored", gzipped("ab") + "junk", {}, "ab"},
        {"xz", xzPacked(text), {}, text},
        {"two xz streams read as one", xzPacked("ab") + xzPacked("cd"), {}, "abcd"},
        {"gzip cut short", cut(gzipped(text), 9), {}, "error: the compressed data ends too early"},
        {"gzip cut in its header",
         gzipped(text).substr(0, 5),
         {},
         "error: the compressed data ends too early"},
        {"xz cut short", cut(xzPacked(text), 9), {}, "error: the compressed data ends too early"},
        {"gzip damaged", damagedGzip, {}, "error: the compressed data is damaged"},
        {"xz damaged", damagedXz, {}, "error: the compressed data is damaged"},
        {"past the size cap", gzipped(zeros), small, "error: it unpacks to more than 1 MiB"},
        {"a bomb by its ratio", xzPacked(zeros), watchful, "error: it unpacks to more than 100 times"},
        // A plain file is as large as it is: no cap applies.
        {"plain past the caps", zeros, watchful, zeros},
    };
    for (const auto& c : cases) {
        for (const std::size_t piece : {std::size_t(7), std::size_t(65536)}) {
            if (piece == 7 && c.file.size() > 100000 && c.expected.size() > 100000)
                continue; // a byte-by-byte read of megabytes proves nothing more
            SCOPED_TRACE(std::string(c.name) + ", pieces of " + std::to_string(piece));
            const std::string out = unpacked(c.file, c.limits, piece);
            if (c.expected.starts_with("error: "))
                EXPECT_TRUE(out.starts_with(c.expected)) << out.substr(0, 200);
            else
                EXPECT_TRUE(out == c.expected) << out.size() << " bytes: " << out.substr(0, 200);
        }
    }
}

} // namespace
} // namespace brevio::exchange
