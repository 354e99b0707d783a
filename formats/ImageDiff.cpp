#include "formats/ImageDiff.h"

#include <algorithm>

namespace varnel {
namespace {

void addDifferences(TableKind kind, int index, const ItemRecord& a, const ItemRecord& b,
                    std::vector<FieldDifference>& differences) {
    for (std::size_t k = 0; k < a.size(); ++k) {
        if (a[k] != b[k]) differences.push_back({kind, index, static_cast<int>(k + 1), a[k], b[k]});
    }
}

}  // namespace

std::vector<FieldDifference> fieldDifferences(const RomStore& a, const RomStore& b) {
    std::vector<FieldDifference> differences;
    for (const TableSpec& table : tableSpecs) {
        for (int index = 0; index < table.recordCount; ++index) {
            addDifferences(table.kind, index, a.record(table.kind, index), b.record(table.kind, index), differences);
        }
    }
    return differences;
}

ImportPlan planImport(const RomStore& store, std::span<const TableRecord> records) {
    std::vector<const TableRecord*> inTableOrder;
    for (const TableRecord& record : records) inTableOrder.push_back(&record);
    std::sort(inTableOrder.begin(), inTableOrder.end(), [](const TableRecord* x, const TableRecord* y) {
        return recordSequence(x->kind, x->index) < recordSequence(y->kind, y->index);
    });
    ImportPlan plan;
    for (const TableRecord* record : inTableOrder) {
        const ItemRecord now = store.record(record->kind, record->index);
        addDifferences(record->kind, record->index, now, record->fields, plan.changes);
        if (now != record->fields) plan.changedRecords.push_back(*record);
    }
    return plan;
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

}  // namespace varnel
