#pragma once
// Randomness of the search: xoshiro256** seeded through SplitMix64. Every candidate draws from
// its own stream, derived from the run's seed and the candidate's ordinal, so a candidate is the
// same whichever thread builds it and in whatever order.

#include <cstdint>

namespace qeltaro {

inline std::uint64_t splitMix64(std::uint64_t& state)
{
    std::uint64_t z = (state += 0x9E3779B97F4A7C15ull);
    z = (z ^ (z >> 30)) * 0xBF58476D1CE4E5B9ull;
    z = (z ^ (z >> 27)) * 0x94D049BB133111EBull;
    return z ^ (z >> 31);
}

// A seed of its own for a part of a run (a category of a scheme, say).
inline std::uint64_t deriveSeed(std::uint64_t seed, std::uint64_t part)
{
    std::uint64_t state = seed ^ (part * 0xD1B54A32D192ED03ull);
    splitMix64(state);
    return splitMix64(state);
}

class RandomStream {
public:
    RandomStream(std::uint64_t seed, std::uint64_t ordinal)
    {
        std::uint64_t state = seed ^ (ordinal * 0xD6E8FEB86659FD93ull + 0x632BE59BD9B4E019ull);
        for (std::uint64_t& word : s_)
            word = splitMix64(state);
    }

    std::uint64_t next()
    {
        const std::uint64_t result = rotl(s_[1] * 5, 7) * 9;
        const std::uint64_t t = s_[1] << 17;
        s_[2] ^= s_[0];
        s_[3] ^= s_[1];
        s_[1] ^= s_[2];
        s_[0] ^= s_[3];
        s_[2] ^= t;
        s_[3] = rotl(s_[3], 45);
        return result;
    }

    // Uniform in 0..bound-1 from the high 32 bits; the bias (bound / 2^32) is far below anything
    // a search could notice.
    int below(std::uint32_t bound) { return int(((next() >> 32) * bound) >> 32); }

private:
    static std::uint64_t rotl(std::uint64_t x, int k) { return (x << k) | (x >> (64 - k)); }

    std::uint64_t s_[4];
};

}  // namespace qeltaro
