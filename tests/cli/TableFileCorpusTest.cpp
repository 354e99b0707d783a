// The shared corpus of table files (tests/corpus/table-files, also read by
// the browser tests): what import --dry-run says of each, kept beside it in
// NAME.listing. VARNEL_WRITE_LISTINGS=1 writes them anew, to be read over.

#include "tests/cli/CommandFixture.h"

#include <nlohmann/json.hpp>

#include <cstdlib>
#include <filesystem>
#include <fstream>
#include <iterator>

namespace varnel::testing {
namespace {

const std::filesystem::path corpus = VARNEL_TABLE_FILE_CORPUS;

std::string readText(const std::filesystem::path& file) {
    std::ifstream in(file, std::ios::binary);
    return {std::istreambuf_iterator<char>(in), {}};
}

TEST_F(TablesCommandTest, EveryCorpusFileIsListedAsItsListingSays) {
    const auto files = nlohmann::json::parse(readText(corpus / "files.json"));
    ASSERT_GE(files.size(), 30u);
    const bool writing = std::getenv("VARNEL_WRITE_LISTINGS") != nullptr;
    for (const auto& entry : files) {
        const auto name = entry.at("file").get<std::string>();
        SCOPED_TRACE(name);
        const std::string table = writeText(name, readText(corpus / name));
        std::vector<std::string> args{"import", image.string(), table, "--dry-run"};
        if (entry.contains("encoding")) args.insert(args.end(), {"--encoding", entry.at("encoding").get<std::string>()});
        const Result result = run(args);
        // The path in a refusal is the test's own folder; the listing names the file alone.
        std::string listing = "status " + std::to_string(result.status) + "\n" + result.out + result.err;
        for (std::size_t at; (at = listing.find(table)) != std::string::npos;) listing.replace(at, table.size(), name);
        if (writing) std::ofstream(corpus / (name + ".listing"), std::ios::binary) << listing;
        EXPECT_EQ(listing, readText(corpus / (name + ".listing")));
        EXPECT_EQ(readFile(image), original);
    }
}

}  // namespace
}  // namespace varnel::testing
