#pragma once
// Shared pieces of the benchmarks: realistic question banks, scratch files, timing and peak memory.

#include "store/questionfile.h"

#include <chrono>
#include <cstdint>
#include <functional>
#include <string>
#include <vector>

namespace tovek::bench {

// n active questions numbered 1..n with texts like a teacher's: Turkish sentences, stems of one to three lines,
// short options (now and then two lines), every correct letter used. The same for the same seed.
std::vector<Question> realisticQuestions(int n, std::uint64_t seed = 1);

// A fresh directory under the system's temporary directory, removed on destruction.
class ScratchDir
{
public:
    ScratchDir();
    ~ScratchDir();
    ScratchDir(const ScratchDir&) = delete;
    ScratchDir& operator=(const ScratchDir&) = delete;
    // The directory itself ends in '/', so file("") is the directory.
    std::string file(const std::string& name) const { return m_path + name; }

private:
    std::string m_path;
};

// A new question file at path holding questions, closed again.
void makeQuestionFile(const std::string& path, const std::vector<Question>& questions);

using Clock = std::chrono::steady_clock;

double secondsSince(Clock::time_point start);
double seconds(const std::function<void()>& work);

// The middle value; for an even count, the mean of the two middle values.
double median(std::vector<double> values);

// Median wall time in milliseconds of runs of fn; setup runs before each, untimed.
double medianMs(int runs, const std::function<void()>& fn, const std::function<void()>& setup = {});

// Peak resident memory of the process so far (getrusage ru_maxrss).
long peakMemoryKiB();
double peakMemoryMiB();

void printRow(const std::vector<std::string>& cells, const std::vector<int>& widths);
std::string fixed(double v, int decimals = 2);

} // namespace tovek::bench
