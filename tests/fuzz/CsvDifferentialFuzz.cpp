// libFuzzer entry point: the project's CSV and TSV reader against libcsv,
// which the command line read them with before. The first byte picks the
// separator; on any text both must find the same records and problems.

#include "formats/CsvTableFile.h"
#include "tests/fuzz/LibcsvTableReader.h"

#include <cstddef>
#include <cstdint>
#include <cstdio>
#include <cstdlib>
#include <string_view>

namespace {

bool same(const varnel::TableFileContents& a, const varnel::TableFileContents& b) {
    if (a.records != b.records || a.unlistedProblems != b.unlistedProblems || a.problems.size() != b.problems.size()) {
        return false;
    }
    for (std::size_t k = 0; k < a.problems.size(); ++k) {
        if (varnel::describe(a.problems[k]) != varnel::describe(b.problems[k])) return false;
    }
    return true;
}

}  // namespace

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
    if (size == 0) return 0;
    const char separator = (data[0] & 1) != 0 ? varnel::tsvSeparator : varnel::csvSeparator;
    const std::string_view text(reinterpret_cast<const char*>(data + 1), size - 1);
    const auto ours = varnel::readCsv(text, separator);
    const auto libcsv = varnel::readCsvWithLibcsv(text, separator);
    if (!same(ours, libcsv)) {
        std::fprintf(stderr, "readers differ: %zu records and %zu problems against libcsv's %zu and %zu\n",
                     ours.records.size(), ours.problemCount(), libcsv.records.size(), libcsv.problemCount());
        std::abort();
    }
    return 0;
}
