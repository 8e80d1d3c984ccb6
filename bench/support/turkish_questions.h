#pragma once
// Question banks with texts like a teacher's: Turkish sentences, stems of one to three lines,
// short options, every correct letter used.

#include "store/questionfile.h"

#include <cstdint>
#include <vector>

namespace tovek::bench {

// n active questions numbered 1..n, the same for the same seed.
std::vector<Question> turkishQuestions(int n, std::uint64_t seed = 1);

} // namespace tovek::bench
