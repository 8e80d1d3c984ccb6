// tovek-cli exam: the balanced shuffling search on a question file, from the command line.
#include "cli/cli.h"

#include "exam/search.h"
#include "store/questionfile.h"

#include <atomic>
#include <csignal>
#include <iostream>
#include <memory>

namespace tovek::cli {
namespace {

std::atomic<bool> interruptRequested{false};

extern "C" void onInterrupt(int)
{
    interruptRequested.store(true, std::memory_order_relaxed);
}

// Ctrl-C during the search ends it after the attempt under way instead of ending the process.
class InterruptGuard
{
public:
    InterruptGuard()
    {
        interruptRequested.store(false);
        struct sigaction action = {};
        action.sa_handler = onInterrupt;
        sigemptyset(&action.sa_mask);
        sigaction(SIGINT, &action, &m_previous);
    }
    ~InterruptGuard() { sigaction(SIGINT, &m_previous, nullptr); }
    InterruptGuard(const InterruptGuard&) = delete;
    InterruptGuard& operator=(const InterruptGuard&) = delete;

private:
    struct sigaction m_previous = {};
};

// The messages use CR as their line break; a terminal wants LF.
std::string forTerminal(std::string text)
{
    for (char& c : text) {
        if (c == '\r')
            c = '\n';
    }
    return text;
}

struct ExamArguments
{
    std::string file;
    int limit = 0;
    bool noShuffle = false;
    std::optional<std::uint64_t> seed;
    bool text = false;
};

// Where the finished document goes; writing it to a file belongs here as well.
void emitDocument(const std::vector<std::string>& lines, const ExamArguments& args)
{
    if (!args.text)
        return;
    for (const std::string& line : lines)
        std::cout << line << '\n';
    std::cout.flush();
}

void runExam(const ExamArguments& args)
{
    Table table;
    openQuestionFile(table, questionFileArgument(args.file));
    if (const auto refusal = examPrecheck(table))
        throw Refused(forTerminal(*refusal));
    const std::vector<Question> questions = readAllQuestions(table);

    ExamOptions options;
    options.limit = args.limit;
    options.noShuffle = args.noShuffle;
    options.seed = args.seed;
    options.stopRequested = &interruptRequested;
    options.progressInterval = std::chrono::milliseconds(250);
    options.progress = [](const ExamProgress& progress) { std::cerr << progress.status << '\n'; };

    ExamResult result;
    {
        InterruptGuard guard;
        result = runExamSearch(questions, processRandom(), options);
    }
    std::cerr << result.document.summary() << '\n';
    std::cerr << "Soru Dağılım Sırası : " << result.document.orderText() << '\n';
    emitDocument(result.document.lines(), args);
}

void addExamCommands(CLI::App& app)
{
    auto args = std::make_shared<ExamArguments>();
    CLI::App* exam = app.add_subcommand("exam", "Aktif sorulardan şıkları dengeli karıştırılmış sınav belgesi hazırlar");
    exam->add_option("FILE", args->file, "Soru dosyası (.DB)")->required();
    exam->add_option("--limit", args->limit, "Denenecek iterasyon sayısı (0: eşit dağılım bulunana kadar)")
        ->check(CLI::Range(0, kMaxAttemptLimit));
    exam->add_flag("--no-shuffle", args->noShuffle, "Karıştırma yapılmasın");
    exam->add_option("--seed", args->seed, "Rastgele sayı üretecinin başlangıç değeri (aynı belge için)");
    exam->add_flag("--text", args->text, "Belgenin satırlarını standart çıktıya yazar");
    exam->callback([args] { runExam(*args); });
}

const int registered = registerCommands(addExamCommands);

} // namespace
} // namespace tovek::cli
