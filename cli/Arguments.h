#pragma once
// The kinds of argument the commands take, declared alike so that --help
// reads alike. Fixed words are parsed into values by the parser itself, so a
// command never compares option strings.

#include "core/TableLayout.h"
#include "formats/Patch.h"
#include "formats/TableFile.h"
#include "formats/TextEncoding.h"

#include <CLI/CLI.hpp>

#include <filesystem>
#include <string>
#include <utility>
#include <vector>

namespace varnel::cli {

// A word on the command line and the value it stands for.
template <typename Value>
using Choices = std::vector<std::pair<std::string, Value>>;

enum class OutputFormat { Text, Json };

Choices<TableKind> tableChoices();
Choices<TableFileFormat> tableFileFormatChoices();
Choices<TextEncoding> encodingChoices(bool withUtf16);
Choices<OutputFormat> outputFormatChoices();
Choices<PatchFormat> patchFormatChoices();

// A file named on the command line; positionals are required.
CLI::Option* addFile(CLI::App& command, const std::string& name, std::filesystem::path& file,
                     const std::string& description);

// One of a few fixed words, in any letter case, shown in --help as "a|b|c".
// `Target` is the value or, for a repeatable option, a vector of values.
template <typename Target, typename Value>
CLI::Option* addChoice(CLI::App& command, const std::string& name, Target& target, const Choices<Value>& choices,
                       const std::string& description) {
    std::vector<std::string> words;
    for (const auto& choice : choices) words.push_back(choice.first);
    // Transforms run last added first: the word must be one of ours before it
    // becomes a value (a checked transformer would also take the values'
    // numbers). Their own descriptions would print the choices a second time.
    return command.add_option(name, target, description)
        ->transform(CLI::Transformer(choices, CLI::ignore_case).description(""))
        ->transform(CLI::IsMember(words, CLI::ignore_case).description(""))
        ->type_name(CLI::detail::join(words, "|"));
}

// Help in Chinese, with columns aligned by display width: a Chinese
// character takes two columns of a terminal.
void useChineseHelp(CLI::App& app);

}  // namespace varnel::cli
