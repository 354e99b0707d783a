#include "formats/ImportPlan.h"

#include <algorithm>

namespace varnel {

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

}  // namespace varnel
