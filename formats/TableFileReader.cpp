#include "formats/TableFileReader.h"

#include "formats/CsvTableFile.h"
#include "formats/JsonTableFile.h"

namespace varnel {

TableFileRead readTableFile(std::span<const std::uint8_t> bytes, const std::filesystem::path& name,
                            std::optional<TableFileFormat> format, std::optional<TextEncoding> encoding) {
    const DecodedText text = decodeText(bytes, encoding);
    switch (chooseFormat(format, name, text.utf8)) {
    case TableFileFormat::Csv: return {readCsv(text.utf8, csvSeparator), text.encoding};
    case TableFileFormat::Tsv: return {readCsv(text.utf8, tsvSeparator), text.encoding};
    case TableFileFormat::Json: return {readJson(text.utf8), text.encoding};
    }
    return {{}, text.encoding};
}

}  // namespace varnel
