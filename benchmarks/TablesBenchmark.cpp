// varnel-rom-tables on a synthetic 786,448-byte image, each command run
// in-process as the program runs it: export, import, and making patches;
// and making BPS patches alone where they copy, with the patch's size.

#include "cli/Program.h"
#include "formats/Bps.h"
#include "tests/support/ImageChanges.h"
#include "tests/support/SyntheticImage.h"

#include <benchmark/benchmark.h>

#include <sstream>
#include <string>
#include <vector>

namespace {

using namespace varnel;

struct Workspace {
    Workspace() {
        auto bytes = testing::makeImage();
        testing::writeFile(image, bytes);
        for (std::size_t offset = 0x1000; offset < bytes.size(); offset += 4096) bytes[offset] ^= 0x5A;
        testing::writeFile(modified, bytes);
    }
    std::string file(const char* name) const { return (folder.path() / name).string(); }

    testing::TempFolder folder;
    std::filesystem::path image = folder.path() / "image.nes";
    std::filesystem::path modified = folder.path() / "modified.nes";
};

void runCommand(benchmark::State& state, std::vector<std::string> args) {
    args.insert(args.begin(), "varnel-rom-tables");
    std::vector<const char*> argv;
    for (const std::string& arg : args) argv.push_back(arg.c_str());
    std::ostringstream out;
    std::ostringstream err;
    if (cli::runProgram(static_cast<int>(argv.size()), argv.data(), out, err) != 0) state.SkipWithError(err.str().c_str());
}

void exportTables(benchmark::State& state, const char* name) {
    const Workspace workspace;
    for (auto _ : state) runCommand(state, {"export", workspace.image.string(), "-o", workspace.file(name)});
}
BENCHMARK_CAPTURE(exportTables, csv, "tables.csv")->Unit(benchmark::kMillisecond);
BENCHMARK_CAPTURE(exportTables, json, "tables.json")->Unit(benchmark::kMillisecond);

// All 208 records are read and checked; none differs, so nothing is written.
void importUnchanged(benchmark::State& state, const char* name) {
    const Workspace workspace;
    std::vector<std::string> exportArgs{"export", workspace.image.string(), "-o", workspace.file(name)};
    runCommand(state, exportArgs);
    for (auto _ : state) runCommand(state, {"import", workspace.image.string(), workspace.file(name)});
}
BENCHMARK_CAPTURE(importUnchanged, csv, "tables.csv")->Unit(benchmark::kMillisecond);
BENCHMARK_CAPTURE(importUnchanged, json, "tables.json")->Unit(benchmark::kMillisecond);

void makePatch(benchmark::State& state, const char* name) {
    const Workspace workspace;
    for (auto _ : state) {
        runCommand(state, {"patch", workspace.image.string(), workspace.modified.string(), "-o", workspace.file(name)});
    }
}
BENCHMARK_CAPTURE(makePatch, ips, "p.ips")->Unit(benchmark::kMillisecond);
BENCHMARK_CAPTURE(makePatch, bps, "p.bps")->Unit(benchmark::kMillisecond);

// The changes of the patch tests, on a typical image; on 5 MiB images all
// of them at once and a byte changed every 64 KiB; and, the slowest case,
// every byte changed, so that nothing can be copied and every byte is looked up.
void invertEveryByte(std::vector<std::uint8_t>& image) {
    for (auto& byte : image) byte = static_cast<std::uint8_t>(~byte);
}

void createBps(benchmark::State& state, std::size_t size, void (*change)(std::vector<std::uint8_t>&)) {
    const auto original = testing::makeImage(size);
    auto modified = original;
    change(modified);
    std::size_t patchSize = 0;
    for (auto _ : state) patchSize = bps::create(original, modified).size();
    state.counters["patch_bytes"] = static_cast<double>(patchSize);
}
BENCHMARK_CAPTURE(createBps, run, testing::typicalImageSize, testing::writeRunOverTheMiddle)
    ->Unit(benchmark::kMillisecond);
BENCHMARK_CAPTURE(createBps, insertion, testing::typicalImageSize, testing::insertSixteenBytes)
    ->Unit(benchmark::kMillisecond);
BENCHMARK_CAPTURE(createBps, moved, testing::typicalImageSize, testing::moveBlockAndShiftMagicTable)
    ->Unit(benchmark::kMillisecond);
BENCHMARK_CAPTURE(createBps, all_5MiB, 5 << 20, [](std::vector<std::uint8_t>& image) {
    testing::writeRunOverTheMiddle(image);
    testing::moveBlockAndShiftMagicTable(image);
    testing::insertSixteenBytes(image);
    for (std::size_t offset = 0x1000; offset < image.size(); offset += 65'536) image[offset] ^= 0x5A;
})->Unit(benchmark::kMillisecond);
BENCHMARK_CAPTURE(createBps, nothing_to_copy, testing::typicalImageSize, invertEveryByte)
    ->Unit(benchmark::kMillisecond);
BENCHMARK_CAPTURE(createBps, nothing_to_copy_5MiB, 5 << 20, invertEveryByte)->Unit(benchmark::kMillisecond);

}  // namespace

BENCHMARK_MAIN();
