#pragma once
// Helpers for core tests: a fresh temporary directory per test and small question files.

#include "store/questionfile.h"

#include <string>
#include <vector>

namespace tovek::test {

class TempDir
{
public:
    TempDir();
    ~TempDir();
    TempDir(const TempDir&) = delete;
    TempDir& operator=(const TempDir&) = delete;
    // The directory with a trailing separator.
    const std::string& path() const { return m_path; }
    std::string file(const std::string& name) const { return m_path + name; }

private:
    std::string m_path;
};

// A question with recognisable texts: "Soru <n>" and "<n><letter>" options.
Question sampleQuestion(int n, const std::string& correct = "A", bool active = true);

// Creates a question file at path with the given questions numbered 1..n.
void makeQuestionFile(const std::string& path, const std::vector<Question>& questions);
void makeQuestionFile(const std::string& path, int count, bool active = true);

std::string readFile(const std::string& path);
void writeFile(const std::string& path, const std::string& bytes);

// Runs tovek-cli with the arguments; captures stdout and stderr. Returns the exit code.
struct CliResult
{
    int exitCode = -1;
    std::string out;
    std::string err;
};
CliResult runCli(const std::vector<std::string>& args, const std::string& stdinText = {});

} // namespace tovek::test
