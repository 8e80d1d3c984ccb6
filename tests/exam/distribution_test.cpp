// The fast strategy must give results with exactly the law of the literal one: both are held to the
// exact laws with chi-square tests at the 0.1% level, with fixed seeds so that a run is repeatable.
#include "exam/search.h"

#include "support/testutil.h"

#include <gtest/gtest.h>

#include <cmath>

using namespace tovek;

namespace {

std::vector<Question> bank(int n)
{
    std::vector<Question> qs;
    for (int i = 1; i <= n; ++i) {
        Question q = test::sampleQuestion(i, std::string(1, "ABCDE"[(i * 3) % 5]));
        q.number = i;
        qs.push_back(q);
    }
    return qs;
}

// Upper 0.1% point of chi-square with df degrees of freedom (Wilson-Hilferty).
double chiSquareCritical(int df)
{
    const double z = 3.0902;
    const double a = 2.0 / (9.0 * df);
    return df * std::pow(1 - a + z * std::sqrt(a), 3);
}

void expectLaw(const std::vector<long long>& observed, const std::vector<double>& probabilities, const char* what)
{
    long long total = 0;
    for (long long o : observed)
        total += o;
    double chi = 0;
    for (std::size_t i = 0; i < observed.size(); ++i) {
        const double expected = probabilities[i] * static_cast<double>(total);
        ASSERT_GE(expected, 5.0) << what << ": bin " << i << " too thin for the test";
        chi += (observed[i] - expected) * (observed[i] - expected) / expected;
    }
    EXPECT_LT(chi, chiSquareCritical(static_cast<int>(observed.size()) - 1)) << what;
}

// Chance that one attempt passes: the multinomial probability of t, t, t, t, N - 4t.
double passChance(int n)
{
    const int t = balanceTarget(n);
    const double logM = std::lgamma(n + 1.0) - 4 * std::lgamma(t + 1.0) - std::lgamma(n - 4 * t + 1.0);
    return std::exp(logM - n * std::log(5.0));
}

ExamOptions optionsFor(ExamStrategy strategy, int limit)
{
    ExamOptions o;
    o.strategy = strategy;
    o.limit = limit;
    return o;
}

const char* name(ExamStrategy s)
{
    return s == ExamStrategy::Fast ? "fast" : "literal";
}

} // namespace

TEST(ExamDistribution, PassChanceOfTenQuestions)
{
    EXPECT_NEAR(1 / passChance(10), 86.1, 0.1);
    EXPECT_NEAR(passChance(10), 113400.0 / 9765625.0, 1e-12);
}

// Attempts until balance follow the geometric law with the pass chance above.
TEST(ExamDistribution, AttemptsUntilBalanceAreGeometric)
{
    struct Case { int n; ExamStrategy strategy; int searches; };
    const Case cases[] = {{10, ExamStrategy::Fast, 20000}, {10, ExamStrategy::Literal, 600},
                          {25, ExamStrategy::Fast, 10000}, {25, ExamStrategy::Literal, 100}};
    for (const Case& c : cases) {
        const std::vector<Question> qs = bank(c.n);
        const double p = passChance(c.n);
        // Bins of about equal probability: [edge_i, edge_i+1).
        const int bins = c.searches >= 5000 ? 20 : 8;
        std::vector<long long> edges{1};
        std::vector<double> probs;
        double left = 1.0;
        for (int b = 1; b < bins; ++b) {
            // Smallest k with P(K >= k) <= 1 - b / bins.
            const long long k = static_cast<long long>(std::ceil(std::log(1.0 - double(b) / bins) / std::log(1 - p))) + 1;
            if (k <= edges.back())
                continue;
            const double tail = std::pow(1 - p, static_cast<double>(k - 1));
            probs.push_back(left - tail);
            left = tail;
            edges.push_back(k);
        }
        probs.push_back(left);
        std::vector<long long> observed(probs.size(), 0);
        Random random;
        ExamOptions o = optionsFor(c.strategy, 0);
        double sum = 0;
        for (int s = 0; s < c.searches; ++s) {
            o.seed = 1000 * c.n + s;
            const ExamResult r = runExamSearch(qs, random, o);
            ASSERT_TRUE(r.arrangement.Balanced);
            const long long k = r.arrangement.AttemptNo;
            sum += static_cast<double>(k);
            const auto bin = std::upper_bound(edges.begin(), edges.end(), k) - edges.begin() - 1;
            ++observed[bin];
        }
        const std::string what = std::string(name(c.strategy)) + " N=" + std::to_string(c.n);
        expectLaw(observed, probs, what.c_str());
        // Mean within five standard errors of 1/p.
        const double sd = std::sqrt(1 - p) / p / std::sqrt(double(c.searches));
        EXPECT_NEAR(sum / c.searches, 1 / p, 5 * sd) << what;
    }
}

// Balanced results: with 11 questions the letter holding three answers is uniform; the answer
// letter at a position, the question at the first position and the option beside the answer are too.
TEST(ExamDistribution, BalancedResultsHaveUniformLettersOrderAndMaps)
{
    for (ExamStrategy strategy : {ExamStrategy::Fast, ExamStrategy::Literal}) {
        const int n = 11;
        const int searches = strategy == ExamStrategy::Fast ? 6000 : 300;
        const std::vector<Question> qs = bank(n);
        std::vector<long long> threeAt(5, 0), letterAt3(5, 0), first(n, 0), besideAnswer(4, 0);
        Random random;
        ExamOptions o = optionsFor(strategy, 0);
        for (int s = 0; s < searches; ++s) {
            o.seed = 77 + s;
            const Arrangement a = runExamSearch(qs, random, o).arrangement;
            ASSERT_TRUE(a.Balanced);
            for (int j = 0; j < 5; ++j)
                threeAt[j] += a.LetterCounts[j] == 3;
            ++letterAt3[a.CorrectLetters[2] - 1];
            ++first[static_cast<int>(a.Order[0]) - 1];
            // The stored option under the first letter that is not the answer's, among the four others.
            const int k = "ABCDE"[(static_cast<int>(a.Order[0]) * 3) % 5] - 'A' + 1;
            const int j = a.CorrectLetters[0] == 1 ? 2 : 1;
            const int option = a.OptionMaps[0][j - 1];
            ++besideAnswer[option - 1 - (option > k ? 1 : 0)];
        }
        expectLaw(threeAt, std::vector<double>(5, 0.2), name(strategy));
        // Position 3 holds the 3-letter with chance 3/11, each other letter 2/11; over the uniform 3-letter,
        // every letter has 1/5.
        expectLaw(letterAt3, std::vector<double>(5, 0.2), name(strategy));
        expectLaw(first, std::vector<double>(n, 1.0 / n), name(strategy));
        expectLaw(besideAnswer, std::vector<double>(4, 0.25), name(strategy));
    }
}

// A search ended by its limit: the last attempt's counts are multinomial, the pass rate the exact one.
TEST(ExamDistribution, UnbalancedLastAttemptHasMultinomialCounts)
{
    for (ExamStrategy strategy : {ExamStrategy::Fast, ExamStrategy::Literal}) {
        const int n = 11;
        const int searches = strategy == ExamStrategy::Fast ? 20000 : 1500;
        const std::vector<Question> qs = bank(n);
        // Binomial(11, 1/5) with the top values pooled.
        std::vector<double> binom(6, 0);
        for (int k = 0; k <= n; ++k) {
            const double pk = std::exp(std::lgamma(n + 1.0) - std::lgamma(k + 1.0) - std::lgamma(n - k + 1.0))
                * std::pow(0.2, k) * std::pow(0.8, n - k);
            binom[std::min(k, 5)] += pk;
        }
        std::vector<std::vector<long long>> perLetter(5, std::vector<long long>(6, 0));
        long long balanced = 0;
        Random random;
        ExamOptions o = optionsFor(strategy, 2);
        for (int s = 0; s < searches; ++s) {
            o.seed = 5000 + s;
            const Arrangement a = runExamSearch(qs, random, o).arrangement;
            balanced += a.Balanced;
            for (int j = 0; j < 5; ++j)
                ++perLetter[j][std::min(a.LetterCounts[j], 5)];
        }
        for (int j = 0; j < 5; ++j)
            expectLaw(perLetter[j], binom, name(strategy));
        // Balanced within two attempts.
        const double p = passChance(n);
        const double q = p + (1 - p) * p;
        EXPECT_NEAR(double(balanced) / searches, q, 5 * std::sqrt(q * (1 - q) / searches)) << name(strategy);
    }
}
