// Integer text: the reader accepts exactly leading blanks, an optional sign and digits whose
// value fits an int, gives that value, and throws the conversion error for anything else.
#include "core/store/errors.h"
#include "core/store/int_text.h"
#include "fuzz/fuzz_check.h"

#include <climits>
#include <optional>
#include <string>

using namespace brevio;

namespace {

// The expected reading, worked out digit by digit.
std::optional<int> expected(std::string_view text)
{
    std::size_t i = text.find_first_not_of(' ');
    if (i == text.npos)
        return std::nullopt;
    const bool negative = text[i] == '-';
    if (text[i] == '-' || text[i] == '+')
        ++i;
    if (i == text.size())
        return std::nullopt;
    long long value = 0;
    for (; i < text.size(); ++i) {
        if (text[i] < '0' || text[i] > '9')
            return std::nullopt;
        value = std::min(value * 10 + (text[i] - '0'), static_cast<long long>(INT_MAX) + 2);
    }
    value = negative ? -value : value;
    if (value < INT_MIN || value > INT_MAX)
        return std::nullopt;
    return static_cast<int>(value);
}

} // namespace

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size)
{
    const std::string_view text = fuzz::bytesOf(data, size);
    const auto value = store::tryStrToInt(text);
    fuzz::check(value == expected(text), "the reading matches the digits");
    try {
        fuzz::check(store::strToInt(text) == value, "the throwing reader gives the same value");
    } catch (const ConvertError&) {
        fuzz::check(!value, "only bad text is a conversion error");
    }
    if (value)
        fuzz::check(store::tryStrToInt(std::to_string(*value)) == value, "a written value reads back");
    return 0;
}
