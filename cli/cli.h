#pragma once
// The command-line tool: each group of commands registers itself from its own file.

#include "store/engine.h"

#include <CLI/CLI.hpp>

#include <functional>
#include <stdexcept>
#include <string>
#include <vector>

namespace tovek::cli {

// Input that the tool refuses (exit code 2); engine failures exit with 1.
class Refused : public std::runtime_error
{
public:
    using std::runtime_error::runtime_error;
};

using Registrar = std::function<void(CLI::App&)>;

// Adds a group of subcommands; called from a static initialiser in each command file.
int registerCommands(Registrar registrar);
std::vector<Registrar>& registrars();

// The ".DB" rule for question file arguments.
std::string questionFileArgument(const std::string& arg);

// Opens an existing question file, upgrading an older layout first.
void openQuestionFile(Table& table, const std::string& path);

} // namespace tovek::cli
