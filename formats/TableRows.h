#pragma once
// The rows of a CSV or TSV table file, checked: the header row names the
// columns, every later row is a record. Fed row by row by readCsv, which
// both the command line and the page read CSV and TSV with.

#include "formats/RecordCollector.h"
#include "formats/TableFile.h"

#include <array>
#include <cstddef>
#include <optional>
#include <span>
#include <string>
#include <string_view>

namespace varnel {

// Names of the columns, in the order the program writes them.
inline constexpr std::array<std::string_view, 3 + recordSize> tableColumnNames{
    "table", "index", "name", "field1", "field2", "field3", "field4", "field5", "field6", "field7", "field8",
};

// A reader stores the cells of a row only up to this many, so that a line
// full of separators cannot take gigabytes; it still counts the rest.
inline constexpr std::size_t storedCellLimit = 1024;

class TableRows {
public:
    // A row that starts on `line`: its stored cells, how many cells it had in
    // all, and its first line of text for messages. Rows of blank cells are skipped.
    void row(std::size_t line, std::span<const std::string> cells, std::size_t cellCount, std::string_view lineText);

    // A line whose quotes do not pair up; reading goes on with the next line.
    void malformed(std::size_t line, std::string_view lineText);

    // A quote opened on `line` that the end of the file never closed.
    void unclosedQuote(std::size_t line, std::string_view lineText);

    // Once the header is unusable nothing more can be read.
    bool stopped() const { return stopped_; }

    TableFileContents finish() &&;

private:
    void readHeader(std::span<const std::string> cells, std::size_t cellCount);
    void readRecord(std::span<const std::string> cells, std::size_t cellCount, std::string_view lineText);

    RecordCollector collector_;
    bool headerRead_ = false;
    std::array<std::optional<std::size_t>, tableColumnNames.size()> columns_;
    std::size_t headerWidth_ = 0;
    bool stopped_ = false;
};

}  // namespace varnel
