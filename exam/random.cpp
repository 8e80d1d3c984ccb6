#include "exam/random.h"

namespace tovek {

void Random::seedFromDevice()
{
    std::random_device device;
    const std::uint64_t hi = device();
    const std::uint64_t lo = device();
    m_engine.seed((hi << 32) ^ lo);
}

std::uint64_t Random::below(std::uint64_t bound)
{
    if (bound <= 1)
        return 0;
#if defined(__SIZEOF_INT128__)
    // Lemire's multiply-and-reject: exact uniformity with one multiplication in the common case.
    std::uint64_t x = m_engine();
    __uint128_t m = static_cast<__uint128_t>(x) * bound;
    std::uint64_t low = static_cast<std::uint64_t>(m);
    if (low < bound) {
        const std::uint64_t threshold = -bound % bound;
        while (low < threshold) {
            x = m_engine();
            m = static_cast<__uint128_t>(x) * bound;
            low = static_cast<std::uint64_t>(m);
        }
    }
    return static_cast<std::uint64_t>(m >> 64);
#else
    return std::uniform_int_distribution<std::uint64_t>(0, bound - 1)(m_engine);
#endif
}

Random& processRandom()
{
    static Random random;
    return random;
}

} // namespace tovek
