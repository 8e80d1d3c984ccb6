#pragma once
// The process's one pseudo-random generator, shared by exam generation and the random activation.

#include <cstdint>
#include <random>

namespace tovek {

class Random
{
public:
    explicit Random(std::uint64_t seed = 0x5eed5eedULL) : m_engine(seed) {}

    void seed(std::uint64_t s) { m_engine.seed(s); }
    // Seeds from the operating system's entropy source.
    void seedFromDevice();

    // A uniform whole number in 0 .. bound-1 (bound >= 1), without modulo bias.
    std::uint64_t below(std::uint64_t bound);
    // A uniform double in [0, 1).
    double unit() { return std::generate_canonical<double, 53>(m_engine); }

    std::mt19937_64& engine() { return m_engine; }

private:
    std::mt19937_64 m_engine;
};

// The process-wide generator.
Random& processRandom();

} // namespace tovek
