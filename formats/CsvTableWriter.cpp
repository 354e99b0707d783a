#include "formats/CsvTableFile.h"

#include "core/FieldText.h"
#include "core/NameLists.h"
#include "formats/ReaderText.h"
#include "formats/TableRows.h"

namespace varnel {
namespace {

constexpr std::string_view lineEnd = "\r\n";

// In quotes, quotes inside doubled: RFC 4180.
std::string quotedCell(std::string_view text) {
    std::string cell = "\"";
    for (const char c : text) {
        if (c == '"') cell.push_back('"');
        cell.push_back(c);
    }
    return cell + "\"";
}

}  // namespace

std::string writeCsv(std::span<const TableRecord> records, bool byteOrderMark, char separator) {
    std::string text = byteOrderMark ? std::string(varnel::byteOrderMark) : std::string();
    for (const std::string_view name : tableColumnNames) {
        text.append(name);
        if (name == tableColumnNames.back()) text.append(lineEnd);
        else text.push_back(separator);
    }
    for (const TableRecord& record : records) {
        text.append(tableKey(record.kind)).append(1, separator).append(std::to_string(record.index)).append(1, separator);
        text.append(quotedCell(recordName(record.kind, record.index)));
        for (const std::uint8_t field : record.fields) text.append(1, separator).append(toText(field));
        text.append(lineEnd);
    }
    return text;
}

}  // namespace varnel
