#pragma once

#include <cstdint>
#include <string_view>
#include <type_traits>

namespace brevio::exchange {

// FNV-1a of `text`, 32 or 64 bits: stable across runs and builds, so names and calendar ids
// made from it stay the same from one export or publication to the next.
template <typename Hash>
Hash fnv1a(std::string_view text)
{
    static_assert(std::is_same_v<Hash, std::uint32_t> || std::is_same_v<Hash, std::uint64_t>);
    constexpr bool wide = std::is_same_v<Hash, std::uint64_t>;
    Hash hash = wide ? Hash(14695981039346656037ull) : Hash(2166136261u);
    const Hash prime = wide ? Hash(1099511628211ull) : Hash(16777619u);
    for (const char c : text) {
        hash ^= static_cast<unsigned char>(c);
        hash *= prime;
    }
    return hash;
}

} // namespace brevio::exchange
