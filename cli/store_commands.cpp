// tovek-cli new, import, export.
#include "cli/cli.h"

#include "store/paths.h"
#include "store/questionfile.h"
#include "store/questionjson.h"

#include <iostream>
#include <memory>

namespace tovek::cli {
namespace {

void addStoreCommands(CLI::App& app)
{
    auto file = std::make_shared<std::string>();
    auto json = std::make_shared<std::string>();

    CLI::App* create = app.add_subcommand("new", "Boş bir soru dosyası oluşturur (var olan dosyaya dokunmaz)");
    create->add_option("FILE", *file, "Soru dosyası (.DB)")->required();
    create->callback([file] {
        const std::string path = questionFileArgument(*file);
        const bool existed = fileExists(path);
        createQuestionFile(directoryPart(path), fileNamePart(path));
        std::cerr << (existed ? "Dosya zaten var, dokunulmadı: " : "Oluşturuldu: ") << path << "\n";
    });

    CLI::App* import = app.add_subcommand("import", "JSON dizisindeki soruları dosyanın sonuna ekler");
    import->add_option("FILE", *file, "Soru dosyası (.DB); yoksa oluşturulur")->required();
    import->add_option("QUESTIONS", *json, "Soruların JSON dosyası")->required();
    import->callback([file, json] {
        const std::vector<Question> questions = questionsFromJson(readWholeFile(*json));
        const std::string path = questionFileArgument(*file);
        createQuestionFile(directoryPart(path), fileNamePart(path));
        Table table;
        openQuestionFile(table, path);
        const long long first = appendQuestions(table, questions);
        std::cerr << questions.size() << " soru eklendi";
        if (!questions.empty())
            std::cerr << " (" << first << " - " << first + static_cast<long long>(questions.size()) - 1 << ")";
        std::cerr << ": " << path << "\n";
    });

    CLI::App* exportCmd = app.add_subcommand("export", "Soruları JSON dizisi olarak yazar");
    exportCmd->add_option("FILE", *file, "Soru dosyası (.DB)")->required();
    exportCmd->callback([file] {
        Table table;
        openQuestionFile(table, questionFileArgument(*file));
        std::cout << questionsToJson(readAllQuestions(table));
    });
}

const int registered = registerCommands(addStoreCommands);

} // namespace
} // namespace tovek::cli
