#pragma once

#include <cstddef>
#include <cstdint>
#include <cstdio>
#include <cstdlib>
#include <string_view>

// Helpers of the fuzz harnesses.
namespace brevio::fuzz {

// A broken property is a finding like a crash: name it and abort, so that libFuzzer keeps the
// input that broke it.
inline void check(bool holds, const char* property)
{
    if (!holds) {
        std::fprintf(stderr, "property broken: %s\n", property);
        std::abort();
    }
}

inline std::string_view bytesOf(const std::uint8_t* data, std::size_t size)
{
    return {reinterpret_cast<const char*>(data), size};
}

} // namespace brevio::fuzz
