#pragma once
// What importing records into a store would do, for import and the page:
// the fields that change, in table order whatever the records' order, and
// the records to write, only those whose bytes differ.

#include "core/RomStore.h"
#include "core/TableLayout.h"
#include "formats/ImageDiff.h"

#include <span>
#include <vector>

namespace varnel {

struct ImportPlan {
    std::vector<FieldDifference> changes;  // a: the byte now, b: the byte the record brings
    std::vector<TableRecord> changedRecords;
};

ImportPlan planImport(const RomStore& store, std::span<const TableRecord> records);

}  // namespace varnel
