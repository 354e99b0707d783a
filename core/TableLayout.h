#pragma once
// Where the weapon, armour and magic tables lie inside the cartridge image.
// The editor knows the image only through these three rows.

#include <array>
#include <cstdint>
#include <cstddef>

namespace varnel {

enum class TableKind { Weapon, Armour, Magic };

// Fields per record; also the stride between consecutive records.
inline constexpr int recordSize = 8;

// Field k (1..8) is the byte at offset k - 1 inside the record.
using ItemRecord = std::array<std::uint8_t, recordSize>;

struct TableSpec {
    TableKind kind;
    std::uint32_t baseOffset;  // from the first byte of the file
    int recordCount;

    constexpr std::uint32_t endOffset() const {
        return baseOffset + static_cast<std::uint32_t>(recordCount * recordSize);
    }
};

// Always visited in this order: Weapon, Armour, Magic.
inline constexpr std::array<TableSpec, 3> tableSpecs{{
    {TableKind::Weapon, 0x61410, 88},
    {TableKind::Armour, 0x616D0, 64},
    {TableKind::Magic, 0x618D0, 56},
}};

constexpr const TableSpec& tableSpec(TableKind kind) {
    return tableSpecs[static_cast<std::size_t>(kind)];
}

// The three tables form one contiguous run of records.
inline constexpr std::uint32_t tablesBegin = tableSpecs.front().baseOffset;
inline constexpr std::uint32_t tablesEnd = tableSpecs.back().endOffset();
inline constexpr std::size_t tablesSize = tablesEnd - tablesBegin;

static_assert(tableSpecs[0].kind == TableKind::Weapon && tableSpecs[1].kind == TableKind::Armour &&
              tableSpecs[2].kind == TableKind::Magic, "rows are indexed by TableKind");
static_assert(tableSpecs[0].endOffset() == tableSpecs[1].baseOffset &&
              tableSpecs[1].endOffset() == tableSpecs[2].baseOffset, "tables must be contiguous");

constexpr bool isValidRecord(TableKind kind, int record) {
    return record >= 0 && record < tableSpec(kind).recordCount;
}

// Absolute file offset of field (1..8) of a record; callers check the ranges.
constexpr std::uint32_t fieldOffset(TableKind kind, int record, int field) {
    return tableSpec(kind).baseOffset + static_cast<std::uint32_t>(recordSize * record + (field - 1));
}

// The three tables hold this many records in a row.
inline constexpr std::size_t recordsInAllTables = tablesSize / recordSize;

// A record's place in that row: 0 for the first weapon, 207 for the last spell.
constexpr std::size_t recordSequence(TableKind kind, int record) {
    return (fieldOffset(kind, record, 1) - tablesBegin) / recordSize;
}

// One record with the place it belongs to.
struct TableRecord {
    TableKind kind;
    int index;  // from 0 within its table
    ItemRecord fields;

    friend bool operator==(const TableRecord&, const TableRecord&) = default;
};

}  // namespace varnel
