#pragma once
// The records as CSV or TSV: RFC 4180 quoting, UTF-8, CRLF line ends, a
// header row table,index,name,field1,…,field8, then one row per record. TSV
// is the same with tabs between cells, as spreadsheets copy and save text.

#include "formats/TableFile.h"

#include <span>
#include <string>
#include <string_view>

namespace varnel {

inline constexpr char csvSeparator = ',';
inline constexpr char tsvSeparator = '\t';

// Rows in the order given; the name cell is always quoted so that trailing
// blanks survive a spreadsheet.
std::string writeCsv(std::span<const TableRecord> records, bool byteOrderMark, char separator = csvSeparator);

// Never throws on bad input: every problem is reported in the contents.
TableFileContents readCsv(std::string_view text, char separator = csvSeparator);

}  // namespace varnel
