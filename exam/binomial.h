#pragma once
// Constant-time draws from fixed discrete laws, for the exam search's letter counts.

#include "exam/random.h"

#include <cstdint>
#include <vector>

namespace tovek {

// Walker's alias table over 0 .. size-1, built from non-negative weights. A draw costs one uniform
// index and one 64-bit comparison; each probability is exact to the 64-bit resolution of the thresholds.
class AliasTable
{
public:
    struct Entry
    {
        std::uint64_t threshold = 0; // keep the index itself when the 64-bit draw is below this
        std::uint32_t alias = 0;
        std::uint32_t tag = 0;       // free for the user of the table
    };

    AliasTable() = default;
    explicit AliasTable(const std::vector<long double>& weights);

    std::size_t size() const { return m_entries.size(); }
    const Entry& entry(std::size_t i) const { return m_entries[i]; }
    Entry& entry(std::size_t i) { return m_entries[i]; }

    std::uint32_t draw(Random& random) const
    {
        const auto i = static_cast<std::uint32_t>(random.below(m_entries.size()));
        return random.engine()() < m_entries[i].threshold ? i : m_entries[i].alias;
    }

private:
    std::vector<Entry> m_entries;
};

// The probabilities of Binomial(n, 1/divisor) over lo .. lo + size - 1, leaving out the tails whose
// probability is far below what a 64-bit draw can resolve. Relative, not normalised.
std::vector<long double> binomialWeights(int n, int divisor, int& lo);

class BinomialTable
{
public:
    BinomialTable() = default;
    BinomialTable(int n, int divisor);
    int draw(Random& random) const { return m_lo + static_cast<int>(m_table.draw(random)); }

private:
    int m_lo = 0;
    AliasTable m_table;
};

} // namespace tovek
