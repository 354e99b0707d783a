#pragma once
// One command of varnel-rom-tables: it declares its arguments on its own
// part of the command line, then runs once they are parsed.

#include <memory>
#include <ostream>
#include <vector>

namespace CLI {
class App;
}

namespace varnel::cli {

inline constexpr int exitSuccess = 0;
inline constexpr int exitDifferent = 1;  // diff: the tables differ
inline constexpr int exitTrouble = 2;    // any refusal or failure

// Where a command prints: results to `out`, messages for people to `err`.
struct Output {
    std::ostream& out;
    std::ostream& err;
};

class Command {
public:
    virtual ~Command() = default;

    virtual const char* name() const = 0;
    virtual const char* summary() const = 0;  // one line for --help

    // Adds the command's positionals and options to its part of the parser.
    virtual void declare(CLI::App& command) = 0;

    // The exit status. Trouble is thrown (Failure or varnel::Error) and
    // reported once, by the program.
    virtual int run(Output output) = 0;
};

std::unique_ptr<Command> makeExportCommand();
std::unique_ptr<Command> makeImportCommand();
std::unique_ptr<Command> makeDiffCommand();
std::unique_ptr<Command> makePatchCommand();
std::unique_ptr<Command> makeApplyCommand();
std::unique_ptr<Command> makeInfoCommand();

}  // namespace varnel::cli
