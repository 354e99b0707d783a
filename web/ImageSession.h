#pragma once
// The image the page holds: the bytes as opened and the image now, each a
// real file in a working folder (emscripten's in-memory file system in the
// page), opened and loaded by RomStore itself, so that every refusal of the
// store holds in the page as on the desktop, and the tables are written back
// one record at a time as the window writes them.

#include "core/RomStore.h"
#include "core/TableLayout.h"
#include "formats/ImageDiff.h"
#include "formats/ImageInfo.h"
#include "formats/Patch.h"
#include "formats/TableFile.h"
#include "web/EditHistory.h"

#include <cstdint>
#include <filesystem>
#include <memory>
#include <span>
#include <string>
#include <string_view>
#include <vector>

namespace varnel::web {

// An image is copied twice and a patch makes a third, all in the page's
// memory: far larger than any cartridge, far smaller than the page can hold.
// The command line takes larger ones (commandLineBinaryFileLimit).
inline constexpr std::uint64_t pageBinaryFileLimit = 64u << 20;

struct ImportOutcome {
    std::vector<FieldDifference> changes;  // a: the byte before, b: the byte written
    std::size_t records = 0;               // records changed
};

// The bytes outside the three tables that differ from the image as opened,
// those only one of the two has included.
struct OutsideChange {
    std::uint64_t bytes = 0;
    std::uint64_t openedLength = 0;
    std::uint64_t nowLength = 0;
};

struct Comparison {
    std::vector<FieldDifference> fields;  // a: the image now, b: the other image
    std::uint64_t outsideBytes = 0;
};

class ImageSession {
public:
    // Files go under `folder`, which the session owns.
    explicit ImageSession(std::filesystem::path folder);
    ~ImageSession();
    ImageSession(const ImageSession&) = delete;
    ImageSession& operator=(const ImageSession&) = delete;

    // Takes `bytes` as the image named `name`: the image as opened and the
    // image now. Throws Error when the store refuses it, and then the image
    // held before stays, untouched.
    void open(const std::string& name, std::span<const std::uint8_t> bytes);

    bool isOpen() const { return now_ != nullptr; }
    const std::string& name() const { return name_; }

    ItemRecord record(TableKind kind, int index) const;

    // Every field that differs between the image as opened (a) and now (b).
    std::vector<FieldDifference> changes() const;

    // Reads the text as the window's field boxes do and writes the record.
    // Throws Error (overflow) for a value outside 0..255; the byte keeps its value.
    std::uint8_t setField(TableKind kind, int index, int field, std::string_view text);

    // Writes the records only if the file had no problem, and then only
    // those whose bytes differ.
    ImportOutcome importRecords(const TableFileContents& contents);

    // Every record of the three tables, in table order.
    std::vector<TableRecord> records() const;

    std::vector<std::uint8_t> imageBytes() const;

    // What the image now says about itself, as info examines it.
    ImageFacts facts() const;

    // A patch from the image as opened to the image now.
    std::vector<std::uint8_t> makePatch(PatchFormat format) const;

    // Applies an IPS or BPS patch to the image now, and the result becomes
    // the image now. Throws FormatError for a patch that does not fit, Error
    // when the store refuses the result; either way nothing changes.
    void applyPatch(std::span<const std::uint8_t> patch);

    // Every change above is one step of the history, and so is each of these:
    // a field, every byte, or the bytes outside the tables, back to the image
    // as opened.
    std::uint8_t revertField(TableKind kind, int index, int field);
    void revertAll();
    void revertOutsideTables();

    OutsideChange outsideChange() const;

    // A step back or forward, byte-exact, the length too. Throws
    // std::logic_error when there is none.
    void undo();
    void redo();
    const EditHistory& history() const { return history_; }
    // The image now is the one handed over.
    void markSaved() { history_.markSaved(); }

    // The image now (a) against another image (b), as diff compares them.
    // Throws Error when the store refuses the other image.
    Comparison compare(std::span<const std::uint8_t> other) const;

private:
    class StoredImage;

    std::unique_ptr<StoredImage> store(std::span<const std::uint8_t> bytes, OpenMode mode);
    StoredImage& requireOpen() const;
    // Makes the step's change to the image now and keeps the step.
    void take(ImageStep step);
    void apply(const ImageStep& step, StepDirection direction);

    std::filesystem::path folder_;
    std::string name_;
    std::uint64_t generation_ = 0;  // each stored file gets a folder of its own
    std::unique_ptr<StoredImage> opened_;
    std::unique_ptr<StoredImage> now_;
    EditHistory history_;
    // Counted when a step changes them, not on every look at the list.
    std::uint64_t outsideBytes_ = 0;
};

}  // namespace varnel::web
