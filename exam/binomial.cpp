#include "exam/binomial.h"

#include <cmath>
#include <limits>
#include <stdexcept>

namespace tovek {

AliasTable::AliasTable(const std::vector<long double>& weights)
{
    const std::size_t n = weights.size();
    if (n == 0 || n > std::numeric_limits<std::uint32_t>::max())
        throw std::invalid_argument("alias table size");
    long double total = 0;
    for (long double w : weights)
        total += w;
    if (!(total > 0))
        throw std::invalid_argument("alias table weights");

    std::vector<long double> scaled(n);
    std::vector<std::uint32_t> small, large;
    for (std::size_t i = 0; i < n; ++i) {
        scaled[i] = weights[i] * static_cast<long double>(n) / total;
        (scaled[i] < 1 ? small : large).push_back(static_cast<std::uint32_t>(i));
    }
    m_entries.assign(n, Entry{});
    const long double two64 = std::ldexp(1.0L, 64);
    auto thresholdOf = [&](long double q) {
        const long double t = q * two64;
        return t >= two64 ? std::numeric_limits<std::uint64_t>::max() : static_cast<std::uint64_t>(t);
    };
    while (!small.empty() && !large.empty()) {
        const std::uint32_t s = small.back();
        small.pop_back();
        const std::uint32_t l = large.back();
        m_entries[s].threshold = thresholdOf(scaled[s]);
        m_entries[s].alias = l;
        scaled[l] -= 1 - scaled[s];
        if (scaled[l] < 1) {
            large.pop_back();
            small.push_back(l);
        }
    }
    // What is left holds probability one up to rounding.
    for (std::uint32_t i : small) {
        m_entries[i].threshold = std::numeric_limits<std::uint64_t>::max();
        m_entries[i].alias = i;
    }
    for (std::uint32_t i : large) {
        m_entries[i].threshold = std::numeric_limits<std::uint64_t>::max();
        m_entries[i].alias = i;
    }
}

std::vector<long double> binomialWeights(int n, int divisor, int& lo)
{
    if (n < 0 || divisor < 2)
        throw std::invalid_argument("binomial parameters");
    // Walk out from the mode by the ratio of neighbouring probabilities; stop where a term is far
    // below 2^-64 of the peak, which itself is at least about 1/sqrt(n).
    const long double odds = 1.0L / (divisor - 1); // p / (1 - p)
    const int mode = (n + 1) / divisor;
    const long double cutoff = 1e-40L;
    std::vector<long double> up{1.0L};
    for (int k = mode; k < n; ++k) {
        const long double next = up.back() * (n - k) / (k + 1) * odds;
        if (next < cutoff)
            break;
        up.push_back(next);
    }
    std::vector<long double> down;
    long double w = 1.0L;
    for (int k = mode; k > 0; --k) {
        w = w * k / (n - k + 1) / odds;
        if (w < cutoff)
            break;
        down.push_back(w);
    }
    lo = mode - static_cast<int>(down.size());
    std::vector<long double> weights(down.rbegin(), down.rend());
    weights.insert(weights.end(), up.begin(), up.end());
    return weights;
}

BinomialTable::BinomialTable(int n, int divisor)
    : m_table(binomialWeights(n, divisor, m_lo))
{
}

} // namespace tovek
