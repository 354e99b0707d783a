#pragma once
// The steps the page can take back and forward. A step keeps only the bytes
// it changed (and both lengths, for a patch that changed the file's length),
// so a hundred field edits cost a few kilobytes and a rewritten image its
// changed bytes twice.

#include <cstdint>
#include <span>
#include <vector>

namespace varnel::web {

// What the history may hold before the oldest steps go; the newest step
// stays whatever its size.
inline constexpr std::uint64_t historyLimit = 32u << 20;

// Bytes from `offset` that were `before` and became `after`; the two differ
// in length only for the tail of a file whose length changed.
struct ChangedRange {
    std::uint64_t offset = 0;
    std::vector<std::uint8_t> before;
    std::vector<std::uint8_t> after;
};

struct ImageStep {
    std::vector<ChangedRange> ranges;  // in file order, not overlapping
    std::uint64_t lengthBefore = 0;
    std::uint64_t lengthAfter = 0;

    bool empty() const { return ranges.empty() && lengthBefore == lengthAfter; }
    // What keeping the step costs in memory.
    std::uint64_t footprint() const;
};

// The step that turns `before` into `after`: runs of differing bytes, and
// the tail beyond the shorter of the two.
ImageStep stepBetween(std::span<const std::uint8_t> before, std::span<const std::uint8_t> after);

enum class StepDirection { Back, Forward };

// Turns the bytes at one end of the step into those at the other.
void applyStep(std::vector<std::uint8_t>& bytes, const ImageStep& step, StepDirection direction);

class EditHistory {
public:
    // A new change after some undos drops the steps that could be redone.
    // Returns whether the oldest steps went to stay within the limit.
    bool add(ImageStep step);

    bool canUndo() const { return done_ > 0; }
    bool canRedo() const { return done_ < steps_.size(); }

    // The step to take back or forward; the history moves with it.
    const ImageStep& undo();
    const ImageStep& redo();

    // Whether the image differs from the one last saved (or as opened):
    // a step taken since, or taken back.
    bool unsaved() const { return !savedReachable_ || position() != savedAt_; }
    void markSaved();

    bool droppedAny() const { return droppedAny_; }
    std::uint64_t footprint() const { return footprint_; }

private:
    // Steps from the image as opened to the image now.
    std::uint64_t position() const { return dropped_ + done_; }

    std::vector<ImageStep> steps_;  // oldest first
    std::size_t done_ = 0;          // steps_[0, done_) are taken
    std::uint64_t dropped_ = 0;     // steps that went before steps_[0]
    std::uint64_t footprint_ = 0;
    std::uint64_t savedAt_ = 0;
    bool savedReachable_ = true;
    bool droppedAny_ = false;
};

}  // namespace varnel::web
