// libFuzzer entry point: a table file read the whole way both programs read
// it, bytes → decoding → format choice → rows and checks. The first byte
// picks the name, format and encoding asked for; any bytes at all must come
// back as records and problems, or as a refusal to decode.

#include "formats/FormatError.h"
#include "formats/TableFileReader.h"
#include "formats/TableFileWriter.h"

#include <nlohmann/json.hpp>

#include <array>
#include <cstddef>
#include <cstdint>
#include <cstdlib>
#include <optional>
#include <span>

namespace {

using varnel::TableFileFormat;
using varnel::TextEncoding;

const std::array<const char*, 4> names{"t.dat", "t.csv", "t.tsv", "t.json"};  // t.dat: by content
const std::array<std::optional<TableFileFormat>, 4> formats{std::nullopt, TableFileFormat::Csv, TableFileFormat::Tsv,
                                                            TableFileFormat::Json};
const std::array<std::optional<TextEncoding>, 4> encodings{std::nullopt, TextEncoding::Utf8, TextEncoding::Utf16,
                                                           TextEncoding::Gb18030};

}  // namespace

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
    if (size == 0) return 0;
    const std::uint8_t choice = data[0];
    const std::span<const std::uint8_t> bytes(data + 1, size - 1);
    varnel::TableFileRead read;
    try {
        read = varnel::readTableFile(bytes, names[choice & 3], formats[(choice >> 2) & 3], encodings[(choice >> 4) & 3]);
    } catch (const varnel::FormatError& error) {
        (void)nlohmann::json(error.what()).dump();  // throws unless valid UTF-8
        return 0;
    }
    // Messages quote the input, yet must stay valid UTF-8: dump() throws otherwise.
    for (const auto& problem : read.contents.problems) (void)nlohmann::json(varnel::describe(problem)).dump();
    // Whatever was read must survive writing in each format and reading back unchanged.
    for (const TableFileFormat format : {TableFileFormat::Csv, TableFileFormat::Tsv, TableFileFormat::Json}) {
        const std::string written = varnel::writeTableFile(read.contents.records, format, true);
        const auto again = varnel::readTableFile(std::span(reinterpret_cast<const std::uint8_t*>(written.data()), written.size()),
                                                 "again", format, std::nullopt);
        if (again.contents.records != read.contents.records || !again.contents.problems.empty()) std::abort();
    }
    return 0;
}
