#pragma once
// varnel-rom-tables as a function, so that tests run it in-process.

#include <ostream>

namespace varnel::cli {

// Parses the command line, runs the command and returns the exit status.
// Nothing is thrown: every failure becomes a message on `err`.
int runProgram(int argc, const char* const* argv, std::ostream& out, std::ostream& err);

}  // namespace varnel::cli
