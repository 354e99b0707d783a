#include "formats/TableFileWriter.h"

#include "formats/CsvTableFile.h"
#include "formats/JsonTableFile.h"

namespace varnel {

std::string writeTableFile(std::span<const TableRecord> records, TableFileFormat format, bool byteOrderMark) {
    switch (format) {
    case TableFileFormat::Csv: return writeCsv(records, byteOrderMark, csvSeparator);
    case TableFileFormat::Tsv: return writeCsv(records, byteOrderMark, tsvSeparator);
    case TableFileFormat::Json: return writeJson(records);
    }
    return {};
}

}  // namespace varnel
