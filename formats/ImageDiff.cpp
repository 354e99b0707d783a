#include "formats/ImageDiff.h"

#include <algorithm>

namespace varnel {

void addDifferences(TableKind kind, int index, const ItemRecord& a, const ItemRecord& b,
                    std::vector<FieldDifference>& differences) {
    for (std::size_t k = 0; k < a.size(); ++k) {
        if (a[k] != b[k]) differences.push_back({kind, index, static_cast<int>(k + 1), a[k], b[k]});
    }
}

std::vector<FieldDifference> fieldDifferences(const RomStore& a, const RomStore& b) {
    std::vector<FieldDifference> differences;
    for (const TableSpec& table : tableSpecs) {
        for (int index = 0; index < table.recordCount; ++index) {
            addDifferences(table.kind, index, a.record(table.kind, index), b.record(table.kind, index), differences);
        }
    }
    return differences;
}

std::uint64_t differingBytesOutsideTables(std::uint64_t offset, std::span<const std::uint8_t> pieceA,
                                          std::span<const std::uint8_t> pieceB) {
    const std::size_t length = std::min(pieceA.size(), pieceB.size());
    std::uint64_t count = 0;
    for (std::size_t i = 0; i < length; ++i) {
        const std::uint64_t at = offset + i;
        if (pieceA[i] != pieceB[i] && (at < tablesBegin || at >= tablesEnd)) ++count;
    }
    return count;
}

std::uint64_t bytesOnlyInOne(std::uint64_t sizeA, std::uint64_t sizeB) {
    return sizeA > sizeB ? sizeA - sizeB : sizeB - sizeA;
}

}  // namespace varnel
