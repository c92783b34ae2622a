// The windows-1251 codec: every byte survives the way to UTF-8 and back, the UTF-8 it makes is
// well formed, any UTF-8 (or broken text) encodes without harm, and case folding is stable.
#include "core/store/cp1251.h"
#include "fuzz/fuzz_check.h"

using namespace brevio;

namespace {

bool isWellFormedUtf8(std::string_view text)
{
    for (std::size_t i = 0; i < text.size();) {
        const auto b = static_cast<unsigned char>(text[i]);
        const std::size_t length = b < 0x80 ? 1
            : (b >> 5) == 0x6               ? 2
            : (b >> 4) == 0xE               ? 3
            : (b >> 3) == 0x1E              ? 4
                                            : 0;
        if (length == 0 || i + length > text.size())
            return false;
        for (std::size_t k = 1; k < length; ++k) {
            if ((static_cast<unsigned char>(text[i + k]) & 0xC0) != 0x80)
                return false;
        }
        i += length;
    }
    return true;
}

} // namespace

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size)
{
    const std::string_view bytes = fuzz::bytesOf(data, size);
    const std::string utf8 = cp1251ToUtf8(bytes);
    fuzz::check(isWellFormedUtf8(utf8), "decoded text is well-formed UTF-8");
    fuzz::check(utf8ToCp1251(utf8) == bytes, "cp1251 -> UTF-8 -> the same cp1251");

    const std::string encoded = utf8ToCp1251(bytes);
    fuzz::check(encoded.size() <= bytes.size(), "encoding never lengthens the text");

    const std::string folded = foldCase1251(bytes);
    fuzz::check(folded.size() == bytes.size() && foldCase1251(folded) == folded, "case folding is stable");
    return 0;
}
