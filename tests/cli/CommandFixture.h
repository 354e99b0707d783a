#pragma once
// varnel-rom-tables run in-process on a synthetic image in a fresh folder.

#include "cli/Program.h"
#include "tests/support/SyntheticImage.h"

#include <gtest/gtest.h>

#include <sstream>
#include <string>
#include <vector>

namespace varnel::testing {

struct Result {
    int status;
    std::string out;
    std::string err;
};

class TablesCommandTest : public ::testing::Test, protected ImageFile {
protected:
    Result run(std::vector<std::string> args) {
        args.insert(args.begin(), "varnel-rom-tables");
        std::vector<const char*> argv;
        for (const std::string& arg : args) argv.push_back(arg.c_str());
        std::ostringstream out;
        std::ostringstream err;
        const int status = cli::runProgram(static_cast<int>(argv.size()), argv.data(), out, err);
        return {status, out.str(), err.str()};
    }

    std::string file(const std::string& name) const { return (folder.path() / name).string(); }

    std::string writeText(const std::string& name, const std::string& text) {
        writeFile(file(name), {text.begin(), text.end()});
        return file(name);
    }
};

}  // namespace varnel::testing
