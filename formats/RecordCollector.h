#pragma once
// Builds the contents of a table file row by row, for both readers: the
// checks that do not depend on the file's syntax (table key, index range,
// name, duplicates), every problem found, and the records that had none.

#include "formats/TableFile.h"

#include <cstdint>
#include <optional>
#include <string>
#include <string_view>
#include <vector>

namespace varnel {

class RecordCollector {
public:
    RecordCollector();

    // Where the next row is: its CSV line, or its JSON record number.
    void beginRow(std::size_t line, std::size_t record);

    // A problem of the current row, or of the whole file before any row.
    void problem(std::string column, std::string what);

    // The table named by a key, or a problem quoting the key.
    std::optional<TableKind> table(std::string_view key);

    // A problem: the index as written is not a non-negative whole number.
    void indexNotWhole(std::string_view written);

    // The index if it lies inside its table, or a problem. With no known
    // table there is no range to check, and no index.
    std::optional<int> index(std::optional<TableKind> kind, std::uint64_t value, std::string_view written);

    // Ends the row. A non-empty name must match the record's own name, and a
    // record may appear once; the record is kept if its row had no problem.
    void endRow(std::optional<TableKind> kind, std::optional<int> index, std::string_view name,
                const ItemRecord& fields);

    TableFileContents take() && { return std::move(contents_); }

private:
    struct Place {
        std::size_t line = 0;
        std::size_t record = 0;
    };

    static std::string placeText(const Place& place);

    Place current_;
    bool rowHasProblem_ = false;
    std::vector<std::optional<Place>> firstSeen_;  // by record, all three tables in a row
    TableFileContents contents_;
};

}  // namespace varnel
