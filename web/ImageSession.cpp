#include "web/ImageSession.h"

#include "core/Error.h"
#include "core/FieldText.h"
#include "formats/ImportPlan.h"

#include <algorithm>
#include <optional>
#include <set>
#include <system_error>
#include <utility>

namespace varnel::web {
namespace {

struct FieldPlace {
    TableKind kind;
    int index;
    int field;
};

std::optional<FieldPlace> fieldAt(std::uint64_t offset) {
    for (const TableSpec& table : tableSpecs) {
        if (offset < table.baseOffset || offset >= table.endOffset()) continue;
        const auto within = static_cast<int>(offset - table.baseOffset);
        return FieldPlace{table.kind, within / recordSize, within % recordSize + 1};
    }
    return std::nullopt;
}

bool onlyInTables(const ImageStep& step) {
    return step.lengthBefore == step.lengthAfter && std::all_of(step.ranges.begin(), step.ranges.end(), [](const ChangedRange& range) {
               return range.offset >= tablesBegin && range.offset + range.after.size() <= tablesEnd;
           });
}

// Bytes outside the tables that differ, those only one image has included.
std::uint64_t outsideDifference(std::span<const std::uint8_t> opened, std::span<const std::uint8_t> now) {
    const std::uint64_t onlyInOne = now.size() > opened.size() ? now.size() - opened.size() : opened.size() - now.size();
    return onlyInOne + differingBytesOutsideTables(0, opened, now);
}

ImageStep fieldStep(TableKind kind, int index, int field, std::uint8_t before, std::uint8_t after, std::uint64_t length) {
    if (before == after) return {{}, length, length};
    return {{{fieldOffset(kind, index, field), {before}, {after}}}, length, length};
}

}  // namespace

// One file of the session in a folder of its own, opened by a store; the
// folder goes with it.
class ImageSession::StoredImage {
public:
    StoredImage(const std::filesystem::path& folder, const std::string& name, std::span<const std::uint8_t> bytes,
                OpenMode mode)
        : folder_(folder), file_(folder / name), length_(bytes.size()) {
        try {
            std::filesystem::create_directories(folder_);
            write(bytes);
            store.open(file_, mode);
            store.load();
        } catch (...) {
            removeFolder();
            throw;
        }
    }

    ~StoredImage() {
        store.close();
        removeFolder();
    }

    StoredImage(const StoredImage&) = delete;
    StoredImage& operator=(const StoredImage&) = delete;

    const std::filesystem::path& file() const { return file_; }
    // Writes in place never change it.
    std::uint64_t length() const { return length_; }

    std::vector<std::uint8_t> bytes() const {
        RomFile file;
        file.open(file_, OpenMode::ReadOnly);
        std::vector<std::uint8_t> bytes(static_cast<std::size_t>(file.size()));
        file.readAt(0, bytes);
        return bytes;
    }

    RomStore store;

private:
    // A new file with these bytes, written as the store writes.
    void write(std::span<const std::uint8_t> bytes) {
        RomFile file;
        file.create(file_);
        file.writeAt(0, bytes);
        file.finishWriting();
    }

    void removeFolder() noexcept {
        std::error_code ignored;
        std::filesystem::remove_all(folder_, ignored);
    }

    std::filesystem::path folder_;
    std::filesystem::path file_;
    std::uint64_t length_;
};

ImageSession::ImageSession(std::filesystem::path folder) : folder_(std::move(folder)) {}

ImageSession::~ImageSession() = default;

std::unique_ptr<ImageSession::StoredImage> ImageSession::store(std::span<const std::uint8_t> bytes, OpenMode mode) {
    return std::make_unique<StoredImage>(folder_ / std::to_string(++generation_), name_, bytes, mode);
}

ImageSession::StoredImage& ImageSession::requireOpen() const {
    if (!now_) throw Error::fileAccess(FileAction::Read, {}, FileProblem::NotOpen);
    return *now_;
}

void ImageSession::open(const std::string& name, std::span<const std::uint8_t> bytes) {
    // The name is only ever a file name inside the session's folder.
    const std::string heldName = std::exchange(name_, std::filesystem::path(name).filename().string());
    try {
        auto opened = store(bytes, OpenMode::ReadOnly);
        auto now = store(bytes, OpenMode::ReadWrite);
        opened_ = std::move(opened);
        now_ = std::move(now);
        history_ = {};
        outsideBytes_ = 0;
    } catch (...) {
        name_ = heldName;
        throw;
    }
}

ItemRecord ImageSession::record(TableKind kind, int index) const {
    return requireOpen().store.record(kind, index);
}

std::vector<FieldDifference> ImageSession::changes() const {
    const RomStore& now = requireOpen().store;
    return fieldDifferences(opened_->store, now);
}

std::uint8_t ImageSession::setField(TableKind kind, int index, int field, std::string_view text) {
    const std::uint8_t was = record(kind, index).at(static_cast<std::size_t>(field - 1));
    const std::uint8_t value = toByte(text);
    take(fieldStep(kind, index, field, was, value, requireOpen().length()));
    return value;
}

ImportOutcome ImageSession::importRecords(const TableFileContents& contents) {
    RomStore& now = requireOpen().store;
    ImportOutcome outcome;
    if (!contents.problems.empty()) return outcome;
    // As import does: only the records that differ are written.
    ImportPlan plan = planImport(now, contents.records);
    const std::uint64_t length = now_->length();
    ImageStep step{{}, length, length};
    for (const FieldDifference& change : plan.changes) {
        step.ranges.push_back({fieldOffset(change.kind, change.index, change.field), {static_cast<std::uint8_t>(change.a)},
                               {static_cast<std::uint8_t>(change.b)}});
    }
    take(std::move(step));
    outcome.records = plan.changedRecords.size();
    outcome.changes = std::move(plan.changes);
    return outcome;
}

std::vector<TableRecord> ImageSession::records() const {
    return requireOpen().store.records();
}

std::vector<std::uint8_t> ImageSession::imageBytes() const {
    return requireOpen().bytes();
}

ImageFacts ImageSession::facts() const {
    const std::vector<std::uint8_t> bytes = imageBytes();
    ImageExaminer examiner(bytes.size());
    examiner.add(bytes);
    return examiner.finish();
}

std::vector<std::uint8_t> ImageSession::makePatch(PatchFormat format) const {
    const std::vector<std::uint8_t> now = requireOpen().bytes();
    const std::vector<std::uint8_t> opened = opened_->bytes();
    return createPatch(format, opened, now);
}

void ImageSession::applyPatch(std::span<const std::uint8_t> patch) {
    const std::vector<std::uint8_t> before = requireOpen().bytes();
    take(stepBetween(before, varnel::applyPatch(patch, before)));
}

std::uint8_t ImageSession::revertField(TableKind kind, int index, int field) {
    const auto place = static_cast<std::size_t>(field - 1);
    const std::uint8_t was = record(kind, index).at(place);
    const std::uint8_t opened = opened_->store.record(kind, index).at(place);
    take(fieldStep(kind, index, field, was, opened, requireOpen().length()));
    return opened;
}

void ImageSession::revertAll() {
    take(stepBetween(requireOpen().bytes(), opened_->bytes()));
}

void ImageSession::revertOutsideTables() {
    const std::vector<std::uint8_t> now = requireOpen().bytes();
    std::vector<std::uint8_t> target = opened_->bytes();
    std::copy(now.begin() + tablesBegin, now.begin() + tablesEnd, target.begin() + tablesBegin);
    take(stepBetween(now, target));
}

OutsideChange ImageSession::outsideChange() const {
    const StoredImage& now = requireOpen();
    return {outsideBytes_, opened_->length(), now.length()};
}

void ImageSession::undo() {
    requireOpen();
    const ImageStep& step = history_.undo();
    try {
        apply(step, StepDirection::Back);
    } catch (...) {
        history_.redo();
        throw;
    }
}

void ImageSession::redo() {
    requireOpen();
    const ImageStep& step = history_.redo();
    try {
        apply(step, StepDirection::Forward);
    } catch (...) {
        history_.undo();
        throw;
    }
}

void ImageSession::take(ImageStep step) {
    if (step.empty()) return;
    apply(step, StepDirection::Forward);
    history_.add(std::move(step));
}

void ImageSession::apply(const ImageStep& step, StepDirection direction) {
    StoredImage& now = requireOpen();
    if (!onlyInTables(step)) {
        // The length or bytes outside the tables change: the image is stored anew.
        std::vector<std::uint8_t> bytes = now.bytes();
        applyStep(bytes, step, direction);
        now_ = store(bytes, OpenMode::ReadWrite);
        outsideBytes_ = outsideDifference(opened_->bytes(), bytes);
        return;
    }
    // Fields only: written in place, record by record, as the window writes them.
    std::set<std::pair<TableKind, int>> records;
    for (const ChangedRange& range : step.ranges) {
        const std::vector<std::uint8_t>& wanted = direction == StepDirection::Back ? range.before : range.after;
        for (std::size_t k = 0; k < wanted.size(); ++k) {
            const FieldPlace place = *fieldAt(range.offset + k);
            now.store.setField(place.kind, place.index, place.field, wanted[k]);
            records.emplace(place.kind, place.index);
        }
    }
    for (const auto& [kind, index] : records) now.store.writeRecord(kind, index);
}

Comparison ImageSession::compare(std::span<const std::uint8_t> other) const {
    const StoredImage& now = requireOpen();
    const StoredImage otherImage(folder_ / "compared", name_, other, OpenMode::ReadOnly);
    const std::vector<std::uint8_t> nowBytes = now.bytes();
    return {fieldDifferences(now.store, otherImage.store),
            bytesOnlyInOne(nowBytes.size(), other.size()) + differingBytesOutsideTables(0, nowBytes, other)};
}

}  // namespace varnel::web
