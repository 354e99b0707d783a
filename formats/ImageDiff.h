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

// Appends the fields of one record whose bytes differ between a and b.
void addDifferences(TableKind kind, int index, const ItemRecord& a, const ItemRecord& b,
                    std::vector<FieldDifference>& differences);

// Differing bytes outside the tables among two pieces that start at `offset`
// in their files; so that files of any size can be compared piece by piece.
std::uint64_t differingBytesOutsideTables(std::uint64_t offset, std::span<const std::uint8_t> pieceA,
                                          std::span<const std::uint8_t> pieceB);

// Bytes that only the longer of two files has: each of them differs too.
std::uint64_t bytesOnlyInOne(std::uint64_t sizeA, std::uint64_t sizeB);

}  // namespace varnel
