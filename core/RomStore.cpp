#include "core/RomStore.h"

#include <algorithm>
#include <stdexcept>
#include <string>

namespace varnel {

std::size_t RomStore::position(TableKind kind, int record) {
    if (!isValidRecord(kind, record)) {
        throw std::out_of_range("record index " + std::to_string(record) + " outside its table");
    }
    return recordSequence(kind, record) * recordSize;
}

void RomStore::requireOpen(FileAction action) const {
    if (!file_.isOpen()) throw Error::fileAccess(action, {}, FileProblem::NotOpen);
}

void RomStore::open(const std::filesystem::path& path, OpenMode mode) {
    file_.open(path, mode);  // refuses a second image itself
    try {
        // A shorter file cannot hold the tables, and a save would grow it.
        if (file_.size() < tablesEnd) throw Error::fileAccess(FileAction::Open, path, FileProblem::TooShort);
    } catch (...) {
        file_.close();
        throw;
    }
}

void RomStore::load() {
    requireOpen(FileAction::Read);
    // The tables are one contiguous run, so one read fills them in file order.
    std::array<std::uint8_t, tablesSize> loaded{};
    try {
        file_.readAt(tablesBegin, loaded);
    } catch (...) {
        file_.close();
        throw;
    }
    bytes_ = loaded;
}

ItemRecord RomStore::record(TableKind kind, int record) const {
    ItemRecord fields{};
    const auto first = bytes_.begin() + static_cast<std::ptrdiff_t>(position(kind, record));
    std::copy(first, first + recordSize, fields.begin());
    return fields;
}

void RomStore::setField(TableKind kind, int record, int field, std::uint8_t value) {
    if (field < 1 || field > recordSize) {
        throw std::out_of_range("field " + std::to_string(field) + " outside 1.." + std::to_string(recordSize));
    }
    bytes_[position(kind, record) + static_cast<std::size_t>(field - 1)] = value;
}

std::vector<TableRecord> RomStore::records() const {
    std::vector<TableRecord> all;
    for (const TableSpec& table : tableSpecs) {
        for (int index = 0; index < table.recordCount; ++index) all.push_back({table.kind, index, record(table.kind, index)});
    }
    return all;
}

void RomStore::setRecord(TableKind kind, int record, const ItemRecord& fields) {
    std::copy(fields.begin(), fields.end(), bytes_.begin() + static_cast<std::ptrdiff_t>(position(kind, record)));
}

void RomStore::writeRecord(TableKind kind, int record) {
    const std::size_t first = position(kind, record);
    requireOpen(FileAction::Write);
    // Never grow a file that was shortened behind our back.
    if (file_.size() < tablesEnd) {
        throw Error::fileAccess(FileAction::Write, file_.path(), FileProblem::TooShort);
    }
    file_.writeAt(tablesBegin + first, std::span(bytes_).subspan(first, recordSize));
}

void RomStore::sync() {
    requireOpen(FileAction::Sync);
    file_.sync();
}

void RomStore::saveRecords(std::span<const TableRecord> records) {
    for (const TableRecord& record : records) setRecord(record.kind, record.index, record.fields);
    for (const TableRecord& record : records) writeRecord(record.kind, record.index);
    sync();
}

}  // namespace varnel
