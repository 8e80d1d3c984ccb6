// tovek-cli activate, count.
#include "cli/cli.h"

#include "app/activeflags.h"
#include "exam/random.h"

#include <iostream>
#include <memory>
#include <optional>

namespace tovek::cli {
namespace {

struct ActivateOptions
{
    std::string file;
    bool all = false;
    bool none = false;
    std::optional<int> random;
    std::optional<std::uint64_t> seed;
};

void activate(const ActivateOptions& o)
{
    const int modes = (o.all ? 1 : 0) + (o.none ? 1 : 0) + (o.random ? 1 : 0);
    if (modes != 1)
        throw Refused("Tek bir işlem seçiniz: --all, --none ya da --random N.");
    if (o.seed && !o.random)
        throw Refused("--seed yalnızca --random ile birlikte kullanılabilir.");

    Table table;
    openQuestionFile(table, questionFileArgument(o.file));
    if (o.all || o.none) {
        setAllActive(table, o.all);
        std::cerr << "Bütün sorularda AKTIF " << (o.all ? "ON" : "OFF") << " yapıldı: " << table.recordCount()
                  << " soru\n";
        return;
    }
    try {
        checkRandomActivation(table, *o.random);
    } catch (const ActivationRefused& e) {
        throw Refused(e.what());
    }
    Random seeded(o.seed.value_or(0));
    Random& random = o.seed ? seeded : processRandom();
    const std::vector<double> chosen = activateRandom(table, *o.random, random);
    std::cerr << chosen.size() << " soru aktif yapıldı:";
    for (double key : chosen)
        std::cerr << ' ' << formatNumber(key);
    std::cerr << "\n";
}

void addActiveFlagCommands(CLI::App& app)
{
    auto options = std::make_shared<ActivateOptions>();
    CLI::App* activateCmd =
        app.add_subcommand("activate", "AKTIF durumunu bütün sorularda açar, kapatır ya da rastgele N soruyu açar");
    activateCmd->add_option("FILE", options->file, "Soru dosyası (.DB)")->required();
    activateCmd->add_flag("--all", options->all, "Bütün sorularda AKTIF ON");
    activateCmd->add_flag("--none", options->none, "Bütün sorularda AKTIF OFF");
    activateCmd->add_option("--random", options->random,
                            "Hepsini kapatıp rastgele seçilen N soruyu açar (1 <= N <= soru sayısı)");
    activateCmd->add_option("--seed", options->seed, "Rastgele seçimin başlangıç değeri (aynı değer, aynı seçim)");
    activateCmd->callback([options] { activate(*options); });

    auto countFile = std::make_shared<std::string>();
    CLI::App* countCmd = app.add_subcommand("count", "AKTIF durumdaki soruları sayar");
    countCmd->add_option("FILE", *countFile, "Soru dosyası (.DB)")->required();
    countCmd->callback([countFile] {
        Table table;
        openQuestionFile(table, questionFileArgument(*countFile));
        std::cout << activeCountMessage(countActive(table)) << "\n";
    });
}

const int registered = registerCommands(addActiveFlagCommands);

} // namespace
} // namespace tovek::cli
