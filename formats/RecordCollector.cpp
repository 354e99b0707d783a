#include "formats/RecordCollector.h"

#include "core/NameLists.h"
#include "formats/ReaderText.h"

namespace varnel {
namespace {

std::string recordText(TableKind kind, int index) {
    return std::string(tableKey(kind)) + " 表第 " + std::to_string(index) + " 号记录";
}

}  // namespace

RecordCollector::RecordCollector() : firstSeen_(recordsInAllTables) {}

void RecordCollector::beginRow(std::size_t line, std::size_t record) {
    current_ = {line, record};
    rowHasProblem_ = false;
}

void RecordCollector::problem(std::string column, std::string what) {
    rowHasProblem_ = true;
    if (contents_.problems.size() == listedProblemLimit) {
        ++contents_.unlistedProblems;
        return;
    }
    contents_.problems.push_back({current_.line, current_.record, std::move(column), std::move(what)});
}

std::optional<TableKind> RecordCollector::table(std::string_view key) {
    const auto kind = tableFromKey(key);
    if (!kind) problem("table", quotedText(key) + "不是表名，表名只能是 weapon、armour 或 magic。");
    return kind;
}

void RecordCollector::indexNotWhole(std::string_view written) {
    problem("index", "序号" + quotedText(written) + "不是非负的十进制整数。");
}

std::optional<int> RecordCollector::index(std::optional<TableKind> kind, std::uint64_t value,
                                          std::string_view written) {
    if (!kind) return std::nullopt;
    const int count = tableSpec(*kind).recordCount;
    if (value < static_cast<std::uint64_t>(count)) return static_cast<int>(value);
    problem("index", "序号" + quotedText(written) + "超出 " + std::string(tableKey(*kind)) + " 表的范围 0 到 " +
                         std::to_string(count - 1) + "。");
    return std::nullopt;
}

void RecordCollector::endRow(std::optional<TableKind> kind, std::optional<int> index, std::string_view name,
                             const ItemRecord& fields) {
    if (!kind || !index) return;
    const std::string_view ownName = recordName(*kind, *index);
    const std::string_view given = trimBlanks(name);
    if (!given.empty() && given != trimBlanks(ownName)) {
        // Usually rows that slid against their indexes in a spreadsheet.
        problem("name", "名称" + quotedText(name) + "与 " + recordText(*kind, *index) + "的名称" + quotedText(ownName) +
                            "不符，行可能错位了。");
    }
    auto& first = firstSeen_[recordSequence(*kind, *index)];
    if (first) {
        problem("index", recordText(*kind, *index) + "重复出现，" + placeText(*first) + "已经有它。");
    } else {
        first = current_;
    }
    if (!rowHasProblem_) contents_.records.push_back({*kind, *index, fields});
}

std::string RecordCollector::placeText(const Place& place) {
    if (place.line != 0) return "第 " + std::to_string(place.line) + " 行";
    return "第 " + std::to_string(place.record) + " 条记录";
}

}  // namespace varnel
