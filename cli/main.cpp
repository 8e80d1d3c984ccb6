#include "cli/cli.h"

#include "exam/random.h"
#include "store/engine.h"
#include "store/paths.h"
#include "store/questionfile.h"
#include "store/questionjson.h"

#include <iostream>

namespace tovek::cli {

std::vector<Registrar>& registrars()
{
    static std::vector<Registrar> all;
    return all;
}

int registerCommands(Registrar registrar)
{
    registrars().push_back(std::move(registrar));
    return 0;
}

std::string questionFileArgument(const std::string& arg)
{
    return questionFileOnDisk(withQuestionExtension(arg));
}

void openQuestionFile(Table& table, const std::string& path)
{
    if (!fileExists(path))
        throw Refused("Soru dosyası bulunamadı: " + path);
    upgradeQuestionFile(directoryPart(path), fileNamePart(path));
    table.setTableName(path);
    table.open();
}

} // namespace tovek::cli

int main(int argc, char** argv)
{
    using namespace tovek;
    CLI::App app{"Tovek: soru bankası ve karıştırılmış sınav belgesi aracı"};
    app.require_subcommand(1);
    for (auto& registrar : cli::registrars())
        registrar(app);
    processRandom().seedFromDevice();
    try {
        app.parse(argc, argv);
    } catch (const CLI::ParseError& e) {
        const int rc = app.exit(e);
        return rc == 0 ? 0 : 2;
    } catch (const cli::Refused& e) {
        std::cerr << e.what() << "\n";
        return 2;
    } catch (const InputError& e) {
        std::cerr << e.what() << "\n";
        return 2;
    } catch (const EngineError& e) {
        std::cerr << e.what() << "\n";
        return 1;
    } catch (const std::exception& e) {
        std::cerr << e.what() << "\n";
        return 1;
    }
    return 0;
}
