// Storage engine: import, open and walk, find by key, for banks of 1,000 and 10,000 questions.
#include "support/benchutil.h"

#include "store/questionfile.h"

#include <cstdio>

using namespace tovek;
using namespace tovek::bench;

int main()
{
    std::printf("Storage engine (median of 7 runs; times in ms)\n");
    const std::vector<int> widths = {12, 12, 16, 16, 14};
    printRow({"questions", "import", "open+walk all", "find by key", "peak MiB"}, widths);
    for (int n : {1000, 10000}) {
        ScratchDir dir;
        const auto questions = realisticQuestions(n);
        int round = 0;
        std::string path;
        const double importMs = medianMs(
            7,
            [&] {
                createTable(path, questionLayout(), questionIndex());
                Table t;
                t.setTableName(path);
                t.open();
                appendQuestions(t, questions);
            },
            [&] { path = dir.file("IMPORT" + std::to_string(round++) + ".DB"); });

        std::size_t checksum = 0;
        const double walkMs = medianMs(7, [&] {
            Table t;
            t.setTableName(path);
            t.open();
            t.first();
            while (!t.eof()) {
                checksum += readQuestion(t).stem.size();
                t.next();
            }
        });

        Table t;
        t.setTableName(path);
        t.open();
        const int lookups = 10000;
        const double findMs = medianMs(7, [&] {
            for (int i = 0; i < lookups; ++i) {
                t.findKey(static_cast<double>(1 + (i * 7919) % n));
                checksum += t.asText("DOGRUYANIT").size();
            }
        });
        printRow({std::to_string(n), fixed(importMs), fixed(walkMs), fixed(findMs * 1000 / lookups, 2) + " us",
                  fixed(peakMemoryMiB(), 1)},
                 widths);
        if (checksum == 0)
            std::printf("(no data)\n");
    }
    std::printf("Targets: import of 10,000 under 1000 ms; open plus full walk of 10,000 under 50 ms.\n");
    return 0;
}
