#include "web/ImageSession.h"

#include "core/Error.h"
#include "core/FieldText.h"
#include "formats/ImportPlan.h"

#include <cerrno>
#include <cstring>
#include <system_error>
#include <utility>

#include <fcntl.h>
#include <unistd.h>

namespace varnel::web {

// One file of the session in a folder of its own, opened by a store; the
// folder goes with it.
class ImageSession::StoredImage {
public:
    StoredImage(const std::filesystem::path& folder, const std::string& name, std::span<const std::uint8_t> bytes,
                OpenMode mode)
        : folder_(folder), file_(folder / name) {
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

    std::vector<std::uint8_t> bytes() const {
        RomFile file;
        file.open(file_, OpenMode::ReadOnly);
        std::vector<std::uint8_t> bytes(static_cast<std::size_t>(file.size()));
        file.readAt(0, bytes);
        return bytes;
    }

    RomStore store;

private:
    // A new file with these bytes, through the same calls the store uses
    // (iostreams would add a third to the page's WebAssembly).
    void write(std::span<const std::uint8_t> bytes) {
        const int descriptor = ::open(file_.c_str(), O_WRONLY | O_CREAT | O_EXCL | O_CLOEXEC, 0600);
        std::size_t done = 0;
        while (descriptor >= 0 && done < bytes.size()) {
            const ssize_t put = ::write(descriptor, bytes.data() + done, bytes.size() - done);
            if (put <= 0 && errno != EINTR) break;
            if (put > 0) done += static_cast<std::size_t>(put);
        }
        const int errorNumber = errno;
        if (descriptor >= 0) ::close(descriptor);
        if (done < bytes.size()) throw Error::fileAccess(FileAction::Write, file_, FileProblem::System, std::strerror(errorNumber));
    }

    void removeFolder() noexcept {
        std::error_code ignored;
        std::filesystem::remove_all(folder_, ignored);
    }

    std::filesystem::path folder_;
    std::filesystem::path file_;
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
    RomStore& now = requireOpen().store;
    const std::uint8_t value = toByte(text);
    now.setField(kind, index, field, value);
    now.writeRecord(kind, index);
    return value;
}

ImportOutcome ImageSession::importRecords(const TableFileContents& contents) {
    RomStore& now = requireOpen().store;
    ImportOutcome outcome;
    if (!contents.problems.empty()) return outcome;
    // As import does: only the records that differ are written.
    ImportPlan plan = planImport(now, contents.records);
    if (!plan.changedRecords.empty()) now.saveRecords(plan.changedRecords);
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
    const std::vector<std::uint8_t> target = varnel::applyPatch(patch, requireOpen().bytes());
    now_ = store(target, OpenMode::ReadWrite);
}

Comparison ImageSession::compare(std::span<const std::uint8_t> other) const {
    const StoredImage& now = requireOpen();
    const StoredImage otherImage(folder_ / "compared", name_, other, OpenMode::ReadOnly);
    const std::vector<std::uint8_t> nowBytes = now.bytes();
    return {fieldDifferences(now.store, otherImage.store),
            bytesOnlyInOne(nowBytes.size(), other.size()) + differingBytesOutsideTables(0, nowBytes, other)};
}

}  // namespace varnel::web
