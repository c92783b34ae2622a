#pragma once

#include <cstdint>
#include <string_view>

namespace brevio::tools {

// A small generator whose sequence is fixed by its seed on every compiler and library
// (the standard distributions are not), so a demo tree is the same byte for byte everywhere.
class DemoRandom
{
public:
    explicit DemoRandom(std::uint64_t seed)
        : m_state(seed)
    {
    }

    // Seeds from text: the same channel and week always give the same listing.
    static std::uint64_t seedOf(std::string_view text)
    {
        std::uint64_t hash = 14695981039346656037ull; // FNV-1a
        for (const char c : text) {
            hash ^= static_cast<unsigned char>(c);
            hash *= 1099511628211ull;
        }
        return hash;
    }

    std::uint64_t next()
    {
        std::uint64_t z = (m_state += 0x9E3779B97F4A7C15ull); // splitmix64
        z = (z ^ (z >> 30)) * 0xBF58476D1CE4E5B9ull;
        z = (z ^ (z >> 27)) * 0x94D049BB133111EBull;
        return z ^ (z >> 31);
    }

    // A whole number from `low` to `high`, both included.
    int between(int low, int high) { return low + static_cast<int>(next() % std::uint64_t(high - low + 1)); }

    // True in `percent` cases out of a hundred.
    bool chance(int percent) { return between(0, 99) < percent; }

private:
    std::uint64_t m_state;
};

} // namespace brevio::tools
