// Open + load of a synthetic image, and one save (three records and a flush).

#include "core/RomStore.h"
#include "tests/support/SyntheticImage.h"

#include <benchmark/benchmark.h>

namespace {

using namespace varnel;

void openAndLoad(benchmark::State& state) {
    testing::TempFolder folder;
    const auto image = folder.path() / "image.nes";
    testing::writeFile(image, testing::makeImage());
    for (auto _ : state) {
        RomStore store;
        store.open(image);
        store.load();
        benchmark::DoNotOptimize(store.record(TableKind::Magic, 55));
    }
}
BENCHMARK(openAndLoad);

void saveThreeRecords(benchmark::State& state) {
    testing::TempFolder folder;
    const auto image = folder.path() / "image.nes";
    testing::writeFile(image, testing::makeImage());
    RomStore store;
    store.open(image);
    store.load();
    std::uint8_t value = 0;
    for (auto _ : state) {
        for (const TableSpec& table : tableSpecs) {
            store.setField(table.kind, 3, 1, ++value);
            store.writeRecord(table.kind, 3);
        }
        store.sync();
    }
}
BENCHMARK(saveThreeRecords)->Unit(benchmark::kMicrosecond);

}  // namespace

BENCHMARK_MAIN();
