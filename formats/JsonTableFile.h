#pragma once
// The records as JSON: {"format": "varnel-rom-tables", "version": 1,
// "records": [{"table": …, "index": …, "name": …, "fields": [8 integers]}, …]}.

#include "formats/TableFile.h"

#include <span>
#include <string>
#include <string_view>

namespace varnel {

// Records in the order given, one per line, names as UTF-8 without escapes.
std::string writeJson(std::span<const TableRecord> records);

// Never throws on bad input: every problem is reported in the contents.
TableFileContents readJson(std::string_view text);

}  // namespace varnel
