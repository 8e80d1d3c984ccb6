// tovek-cli exam: the balanced shuffling search on a question file, from the command line.
#include "cli/cli.h"

#include "exam/rtfexport.h"
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
        m_previous = std::signal(SIGINT, onInterrupt);
    }
    ~InterruptGuard() { std::signal(SIGINT, m_previous == SIG_ERR ? SIG_DFL : m_previous); }
    InterruptGuard(const InterruptGuard&) = delete;
    InterruptGuard& operator=(const InterruptGuard&) = delete;

private:
    void (*m_previous)(int) = SIG_DFL;
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
    std::string out;
};

// The finished document: its lines on stdout, and the saved document under the ".DOC" rule.
void emitDocument(const std::vector<std::string>& lines, const ExamArguments& args)
{
    if (args.text) {
        for (const std::string& line : lines)
            std::cout << line << '\n';
        std::cout.flush();
    }
    if (!args.out.empty()) {
        const std::string path = saveExamDocument(lines, args.out);
        std::cerr << "Belge kaydedildi: " << path << '\n';
    }
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
        ->check(CLI::Validator(
            [](std::string& value) -> std::string {
                try {
                    std::size_t used = 0;
                    const long v = std::stol(value, &used);
                    if (used == value.size() && v >= 0 && v <= kMaxAttemptLimit)
                        return {};
                } catch (const std::exception&) {
                }
                return "Denenecek iterasyon sayısı 0 ile " + std::to_string(kMaxAttemptLimit) +
                       " arasında bir tam sayı olmalı: " + value;
            },
            "0.." + std::to_string(kMaxAttemptLimit)));
    exam->add_flag("--no-shuffle", args->noShuffle, "Karıştırma yapılmasın");
    exam->add_option("--seed", args->seed, "Rastgele sayı üretecinin başlangıç değeri (aynı belge için)");
    exam->add_flag("--text", args->text, "Belgenin satırlarını standart çıktıya yazar");
    exam->add_option("--out", args->out, "Belgeyi bu ada .DOC uzantısıyla kaydeder (RTF)");
    exam->callback([args] { runExam(*args); });
}

const int registered = registerCommands(addExamCommands);

} // namespace
} // namespace tovek::cli
