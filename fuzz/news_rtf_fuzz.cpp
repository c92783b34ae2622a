// Saved-news files: any bytes read as lines without harm, and news lines written as RTF read
// back as the same lines.
#include "core/news/rtf.h"
#include "fuzz/fuzz_check.h"

using namespace brevio;

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size)
{
    const auto lines = news::readNewsText(fuzz::bytesOf(data, size));
    fuzz::check(news::readNewsText(news::linesToRtf(lines)) == lines, "news lines -> RTF -> the same lines");
    return 0;
}
