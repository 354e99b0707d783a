#pragma once
// A table file whole, in any of its formats, as export writes it.

#include "formats/TableFile.h"

#include <span>
#include <string>

namespace varnel {

// UTF-8; the byte-order mark is for CSV and TSV only.
std::string writeTableFile(std::span<const TableRecord> records, TableFileFormat format, bool byteOrderMark);

}  // namespace varnel
