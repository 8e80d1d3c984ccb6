#include "support/testutil.h"

#include "store/paths.h"

#include <cstdio>
#include <cstdlib>
#include <filesystem>
#include <fstream>
#include <random>
#include <sstream>
#include <stdexcept>
#include <sys/wait.h>

namespace tovek::test {

TempDir::TempDir()
{
    std::random_device rd;
    const auto base = std::filesystem::temp_directory_path();
    for (int attempt = 0; attempt < 100; ++attempt) {
        const auto candidate = base / ("tovek-test-" + std::to_string(rd()));
        if (std::filesystem::create_directory(candidate)) {
            m_path = utf8Path(candidate) + "/";
            return;
        }
    }
    throw std::runtime_error("cannot create a temporary directory");
}

TempDir::~TempDir()
{
    std::error_code ec;
    std::filesystem::permissions(fsPath(m_path), std::filesystem::perms::owner_all,
                                 std::filesystem::perm_options::add, ec);
    std::filesystem::remove_all(fsPath(m_path), ec);
}

Question sampleQuestion(int n, const std::string& correct, bool active)
{
    Question q;
    q.active = active;
    q.stem = "Soru " + std::to_string(n);
    const char* letters = "ABCDE";
    for (int i = 0; i < 5; ++i)
        q.answers[i] = std::to_string(n) + letters[i];
    q.correct = correct;
    return q;
}

void makeQuestionFile(const std::string& path, const std::vector<Question>& questions)
{
    createTable(path, questionLayout(), questionIndex());
    Table t;
    t.setTableName(path);
    t.open();
    appendQuestions(t, questions);
}

void makeQuestionFile(const std::string& path, int count, bool active)
{
    std::vector<Question> qs;
    for (int i = 1; i <= count; ++i)
        qs.push_back(sampleQuestion(i, std::string(1, "ABCDE"[(i - 1) % 5]), active));
    makeQuestionFile(path, qs);
}

std::string readFile(const std::string& path)
{
    std::ifstream in(fsPath(path), std::ios::binary);
    std::ostringstream ss;
    ss << in.rdbuf();
    return ss.str();
}

void writeFile(const std::string& path, const std::string& bytes)
{
    std::ofstream out(fsPath(path), std::ios::binary | std::ios::trunc);
    out << bytes;
}

namespace {
std::string shellQuote(const std::string& s)
{
    std::string out = "'";
    for (char c : s) {
        if (c == '\'')
            out += "'\\''";
        else
            out += c;
    }
    return out + "'";
}
} // namespace

CliResult runCli(const std::vector<std::string>& args, const std::string& stdinText)
{
    TempDir io;
    const std::string in = io.file("in"), out = io.file("out"), err = io.file("err");
    writeFile(in, stdinText);
    std::string cmd = shellQuote(TOVEK_CLI_PATH);
    for (const auto& a : args)
        cmd += " " + shellQuote(a);
    cmd += " <" + shellQuote(in) + " >" + shellQuote(out) + " 2>" + shellQuote(err);
    const int status = std::system(cmd.c_str());
    CliResult r;
    r.exitCode = WIFEXITED(status) ? WEXITSTATUS(status) : -1;
    r.out = readFile(out);
    r.err = readFile(err);
    return r;
}

} // namespace tovek::test
