#pragma once
// libcsv's reading of a CSV or TSV file, with the same row checks as readCsv.

#include "formats/TableFile.h"

#include <string_view>

namespace varnel {

TableFileContents readCsvWithLibcsv(std::string_view text, char separator);

}  // namespace varnel
