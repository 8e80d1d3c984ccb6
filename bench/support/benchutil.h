#pragma once
// Shared pieces of the benchmarks: realistic question banks, timing and peak memory.

#include "store/questionfile.h"

#include <chrono>
#include <functional>
#include <string>
#include <vector>

namespace tovek::bench {

// n questions with stems and options of realistic length, Turkish letters included.
std::vector<Question> realisticQuestions(int n, unsigned seed = 1);

// A fresh directory under the system's temporary directory, removed on destruction.
class ScratchDir
{
public:
    ScratchDir();
    ~ScratchDir();
    std::string file(const std::string& name) const { return m_path + name; }

private:
    std::string m_path;
};

// Median wall time in milliseconds of runs of fn; setup runs before each, untimed.
double medianMs(int runs, const std::function<void()>& fn, const std::function<void()>& setup = {});

// Peak resident memory of the process so far, in MiB.
double peakMemoryMiB();

void printRow(const std::vector<std::string>& cells, const std::vector<int>& widths);
std::string fixed(double v, int decimals = 2);

} // namespace tovek::bench
