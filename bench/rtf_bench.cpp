// Writing examination documents: time per document (median of repeated runs) and the extra peak memory the
// writer needs, measured in a fresh child process per size so that earlier runs do not hide it.
#include "exam/rtfexport.h"
#include "support/benchutil.h"

#include "store/paths.h"

#include <algorithm>
#include <cstdio>
#include <filesystem>
#include <string>
#include <vector>

#include <sys/wait.h>
#include <unistd.h>

using namespace tovek;
using namespace tovek::bench;

namespace {

// Lines shaped like a generated exam: a question stem, five options and a blank line, with Turkish letters.
std::vector<std::string> examLines(std::size_t count)
{
    static const char* const stems[] = {
        "Aşağıdakilerden hangisi Türkiye'nin coğrafi bölgelerinden biri değildir ve neden öyle kabul edilir?",
        "Bir öğrencinin sınavda doğru yanıtladığı soru sayısı yanlışlarının üç katı ise kaç sorusu boştur?",
        "İstiklal Marşı'nın şairi kimdir; şiir hangi yıl Türkiye Büyük Millet Meclisi'nde kabul edilmiştir?",
    };
    static const char* const options[] = {"Ege Bölgesi", "Güneydoğu Anadolu Bölgesi", "Doğu Karadeniz Bölümü",
                                          "İç Anadolu Bölgesi", "Çukurova Ovası ve çevresi"};
    std::vector<std::string> lines;
    lines.reserve(count);
    for (std::size_t q = 1; lines.size() < count; ++q) {
        lines.push_back(std::to_string(q) + ". " + stems[q % 3]);
        for (int o = 0; o < 5 && lines.size() < count; ++o)
            lines.push_back(std::string(1, char('A' + o)) + ") " + options[(q + o) % 5]);
        if (lines.size() < count)
            lines.push_back("");
    }
    return lines;
}

struct Result
{
    double medianMs = 0;
    double minMs = 0;
    long long documentBytes = 0;
    long peakDeltaKb = 0;
};

Result measure(std::size_t lineCount, int runs, const std::string& dir)
{
    int fds[2];
    if (pipe(fds) != 0)
        return {};
    const pid_t pid = fork();
    if (pid == 0) {
        close(fds[0]);
        Result r;
        const std::vector<std::string> lines = examLines(lineCount);
        {
            // Touch the code and library pages once, so the figure is the document's memory, not theirs.
            const std::vector<std::string> warmUp = examLines(7);
            saveExamDocument(warmUp, dir + "warmup" + std::to_string(lineCount));
        }
        const long before = peakMemoryKiB();
        std::vector<double> times;
        {
            TStringsExport exporter;
            exporter.Lines = &lines;
            exporter.FileName = dir + "bench" + std::to_string(lineCount);
            for (int i = 0; i < runs; ++i) {
                const auto start = Clock::now();
                if (!exporter.RunExport()) {
                    std::fprintf(stderr, "%s\n", exporter.lastErrorMessage().c_str());
                    _exit(1);
                }
                times.push_back(secondsSince(start) * 1000.0);
                if (i == 0)
                    r.peakDeltaKb = peakMemoryKiB() - before;
            }
            r.documentBytes = static_cast<long long>(std::filesystem::file_size(fsPath(exporter.lastTarget())));
        }
        r.medianMs = median(times);
        r.minMs = *std::min_element(times.begin(), times.end());
        (void)!write(fds[1], &r, sizeof r);
        _exit(0);
    }
    close(fds[1]);
    Result r;
    const bool ok = read(fds[0], &r, sizeof r) == static_cast<ssize_t>(sizeof r);
    close(fds[0]);
    int status = 0;
    waitpid(pid, &status, 0);
    if (!ok)
        std::fprintf(stderr, "measurement of %zu lines failed\n", lineCount);
    return r;
}

} // namespace

int main()
{
    // Only this process removes it: the measuring children leave by _exit.
    const ScratchDir scratch;
    const std::string dir = scratch.file("");

    std::printf("RTF document writer (file style, written to %s, synced to disk)\n", dir.c_str());
    std::printf("%10s %14s %8s %11s %11s %10s %14s %12s\n", "lines", "document", "runs", "median ms", "min ms", "MB/s",
                "peak extra MB", "peak / doc");
    for (const auto& [lines, runs] : {std::pair<std::size_t, int>{1000, 21}, {100000, 9}}) {
        const Result r = measure(lines, runs, dir);
        const double mb = r.documentBytes / 1e6;
        std::printf("%10zu %11.2f MB %8d %11.2f %11.2f %10.0f %14.2f %12.2f\n", lines, mb, runs, r.medianMs, r.minMs,
                    mb / (r.medianMs / 1000.0), r.peakDeltaKb / 1024.0,
                    r.peakDeltaKb * 1024.0 / std::max<long long>(1, r.documentBytes));
    }
    std::printf("targets: 100000 lines under 100 ms; peak extra memory under 3 x the document size\n");

    return 0;
}
