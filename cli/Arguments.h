#pragma once
// The kinds of argument the commands take, declared alike so that --help
// reads alike.

#include <filesystem>
#include <string>
#include <vector>

namespace CLI {
class App;
class Option;
}  // namespace CLI

namespace varnel::cli {

// A file named on the command line; positionals are required.
CLI::Option* addFile(CLI::App& command, const std::string& name, std::filesystem::path& file,
                     const std::string& description);

// One of a few fixed words, shown in --help as "a|b|c".
CLI::Option* addChoice(CLI::App& command, const std::string& name, std::string& value,
                       const std::vector<std::string>& choices, const std::string& description);

// The same, repeatable.
CLI::Option* addChoices(CLI::App& command, const std::string& name, std::vector<std::string>& values,
                        const std::vector<std::string>& choices, const std::string& description);

}  // namespace varnel::cli
