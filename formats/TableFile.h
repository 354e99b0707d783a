#pragma once
// The weapon, armour and magic records as rows of a text file (CSV or JSON),
// shared by both formats: the table keys, telling the formats apart, and the
// problems a reader reports instead of throwing.

#include "core/TableLayout.h"

#include <cstddef>
#include <filesystem>
#include <optional>
#include <span>
#include <string>
#include <string_view>
#include <vector>

namespace varnel {

// "weapon", "armour", "magic".
std::string_view tableKey(TableKind kind);

// The table of a key, after trimming blanks, in any letter case.
std::optional<TableKind> tableFromKey(std::string_view key);

enum class TableFileFormat { Csv, Tsv, Json };

// ".csv", ".tsv" or ".txt" (spreadsheets' "Unicode text" is tab-separated),
// ".json", in any letter case; nothing for any other extension.
std::optional<TableFileFormat> formatFromExtension(const std::filesystem::path& file);

// ".csv", ".tsv", ".json": what a written file of the format is called.
std::string_view tableFileExtension(TableFileFormat format);

// Json when the first character after an optional byte-order mark and blanks
// is '{' or '['; else Tsv when the first line holds a tab and no comma; else Csv.
TableFileFormat formatFromContent(std::string_view text);

// The format to read a file in: the one asked for, else by its name, else by its text.
TableFileFormat chooseFormat(std::optional<TableFileFormat> asked, const std::filesystem::path& file,
                             std::string_view text);

// One thing wrong in a file being read. The record it concerns is not read.
struct RowProblem {
    std::size_t line;    // 1-based CSV line where the row starts, or where a JSON text broke; 0 if none
    std::size_t record;  // 1-based position in the JSON "records" array; 0 if none
    std::string column;  // CSV header name or JSON key, as written by writeCsv/writeJson; "" if none
    std::string what;    // one Chinese sentence, quoting the text that was wrong
};

// One Chinese line for the user: where, then what. A column of a CSV row
// (line given) is called 列, a JSON key 键.
std::string describe(const RowProblem& problem);

// A file made only of bad rows would otherwise list millions of problems.
inline constexpr std::size_t listedProblemLimit = 100;

struct TableFileContents {
    std::vector<TableRecord> records;  // in file order, each without problems
    std::vector<RowProblem> problems;  // the first listedProblemLimit, in file order
    std::size_t unlistedProblems = 0;  // found beyond those

    std::size_t problemCount() const { return problems.size() + unlistedProblems; }
};

}  // namespace varnel
