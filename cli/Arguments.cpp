#include "cli/Arguments.h"

#include <CLI/CLI.hpp>

namespace varnel::cli {
namespace {

template <typename Value>
CLI::Option* addWords(CLI::App& command, const std::string& name, Value& value,
                      const std::vector<std::string>& choices, const std::string& description) {
    std::string words;
    for (const std::string& choice : choices) words += (words.empty() ? "" : "|") + choice;
    // The validator's own description would print the choices a second time.
    return command.add_option(name, value, description)->check(CLI::IsMember(choices).description(""))->type_name(words);
}

}  // namespace

CLI::Option* addFile(CLI::App& command, const std::string& name, std::filesystem::path& file,
                     const std::string& description) {
    // A positional's own name already says what it is; an option shows FILE.
    const bool positional = name.front() != '-';
    CLI::Option* option = command.add_option(name, file, description)->type_name(positional ? "" : "FILE");
    if (positional) option->required();
    return option;
}

CLI::Option* addChoice(CLI::App& command, const std::string& name, std::string& value,
                       const std::vector<std::string>& choices, const std::string& description) {
    return addWords(command, name, value, choices, description);
}

CLI::Option* addChoices(CLI::App& command, const std::string& name, std::vector<std::string>& values,
                        const std::vector<std::string>& choices, const std::string& description) {
    return addWords(command, name, values, choices, description);
}

}  // namespace varnel::cli
