#pragma once
// How two images differ: field by field inside the tables, and as a count of
// bytes outside them.

#include "core/RomStore.h"
#include "core/TableLayout.h"

#include <cstdint>
#include <span>
#include <vector>

namespace varnel {

struct FieldDifference {
    TableKind kind;
    int index;
    int field;  // 1..8, as people count them
    int a;
    int b;

    friend bool operator==(const FieldDifference&, const FieldDifference&) = default;
};

// Every field whose byte differs, in table order, between two loaded stores.
std::vector<FieldDifference> fieldDifferences(const RomStore& a, const RomStore& b);

// What importing records into a store would do: the fields that change, in
// table order whatever the records' order, and the records to write, those
// whose bytes differ.
struct ImportPlan {
    std::vector<FieldDifference> changes;
    std::vector<TableRecord> changedRecords;
};
ImportPlan planImport(const RomStore& store, std::span<const TableRecord> records);

// Differing bytes outside the tables among two pieces that start at `offset`
// in their files; so that files of any size can be compared piece by piece.
std::uint64_t differingBytesOutsideTables(std::uint64_t offset, std::span<const std::uint8_t> pieceA,
                                          std::span<const std::uint8_t> pieceB);

}  // namespace varnel
