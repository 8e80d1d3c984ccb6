// tovek-cli merge.
#include "cli/cli.h"

#include "store/merge.h"
#include "store/paths.h"

#include <iostream>
#include <memory>

namespace tovek::cli {
namespace {

struct MergeArguments
{
    std::string first, second, target;
    bool yes = false;
};

void runMerge(const MergeArguments& args)
{
    const std::string first = args.first.empty() ? std::string() : questionFileArgument(args.first);
    const std::string second = args.second.empty() ? std::string() : questionFileArgument(args.second);
    const std::string target = args.target.empty() ? std::string() : questionFileArgument(args.target);
    const std::string refusal = checkMergePaths(first, second, target);
    if (!refusal.empty())
        throw Refused(refusal);
    for (const std::string* source : {&first, &second})
        if (!fileExists(*source))
            throw Refused("Soru dosyası bulunamadı: " + *source);
    const bool replace = mergeTargetExists(target);
    if (replace && !args.yes)
        throw Refused(std::string(mergetext::DeleteQuestion) + "\n(Silmeyi onaylamak için --yes ekleyiniz: " + target +
                      ")");
    if (replace)
        checkTargetReplaceable(target);
    try {
        const MergeCounts counts = mergeQuestionFiles(first, second, target, replace);
        std::cout << mergetext::Success << "\n";
        std::cerr << counts.first << " + " << counts.second << " = " << counts.first + counts.second
                  << " soru: " << target << "\n";
    } catch (const MergeRefused& e) {
        throw Refused(e.what());
    }
}

void addMergeCommands(CLI::App& app)
{
    auto args = std::make_shared<MergeArguments>();
    CLI::App* merge = app.add_subcommand(
        "merge", "İki soru dosyasını yeni bir dosyada birleştirir (önce birincinin, sonra ikincinin soruları)");
    merge->add_option("FIRST", args->first, "Birinci dosya (.DB)")->required();
    merge->add_option("SECOND", args->second, "İkinci dosya (.DB)")->required();
    merge->add_option("TARGET", args->target, "Oluşturulacak dosya (.DB)")->required();
    merge->add_flag("--yes", args->yes, "Oluşturulacak dosya diskte varsa sormadan silinsin");
    merge->callback([args] { runMerge(*args); });
}

const int registered = registerCommands(addMergeCommands);

} // namespace
} // namespace tovek::cli
