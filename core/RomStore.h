#pragma once
// The cartridge image being edited and the in-memory copy of its three item
// tables. Once loaded, memory is the single source of truth: the file is read
// once and written one record at a time.

#include "core/Error.h"
#include "core/RomFile.h"
#include "core/TableLayout.h"

#include <array>
#include <cstdint>
#include <filesystem>
#include <span>
#include <vector>

namespace varnel {

class RomStore {
public:
    // Empty: every byte of every table is 0 and no file is open.
    RomStore() = default;

    // Opens an existing image, for reading and writing unless asked for
    // read-only. Refuses, leaving the store as it was, an empty path, a missing
    // or non-regular file, a file too short to hold the tables, an unwritable
    // file (when writing), and a second image.
    void open(const std::filesystem::path& path, OpenMode mode = OpenMode::ReadWrite);

    // Reads the three tables. On failure the file is closed and the tables
    // stay as they were before the call.
    void load();

    bool isOpen() const noexcept { return file_.isOpen(); }

    // Record indexes run from 0 to the table's record count - 1 and fields
    // from 1 to 8; anything else throws std::out_of_range.
    ItemRecord record(TableKind kind, int record) const;
    void setField(TableKind kind, int record, int field, std::uint8_t value);
    void setRecord(TableKind kind, int record, const ItemRecord& fields);

    // Every record of the three tables, in table order.
    std::vector<TableRecord> records() const;

    // Writes the record's eight bytes, and only those, in place.
    void writeRecord(TableKind kind, int record);

    // Pushes what was written to stable storage.
    void sync();

    // A save: each record into memory, each written in place, then one flush.
    void saveRecords(std::span<const TableRecord> records);

    void close() noexcept { file_.close(); }

private:
    // Position of the record's first byte in bytes_.
    static std::size_t position(TableKind kind, int record);
    void requireOpen(FileAction action) const;

    // The three tables exactly as they lie in the file, from tablesBegin.
    std::array<std::uint8_t, tablesSize> bytes_{};
    RomFile file_;
};

}  // namespace varnel
