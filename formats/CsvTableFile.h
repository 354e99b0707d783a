#pragma once
// The records as CSV: RFC 4180, UTF-8, CRLF line ends, a header row
// table,index,name,field1,…,field8, then one row per record.

#include "formats/TableFile.h"

#include <span>
#include <string>
#include <string_view>

namespace varnel {

// Rows in the order given; the name cell is always quoted so that trailing
// blanks survive a spreadsheet.
std::string writeCsv(std::span<const TableRecord> records, bool byteOrderMark);

// Never throws on bad input: every problem is reported in the contents.
TableFileContents readCsv(std::string_view text);

}  // namespace varnel
