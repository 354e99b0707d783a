// The history's own bookkeeping: steps that keep only what changed, a bound
// on memory that drops the oldest steps, and which image counts as saved.

#include "web/EditHistory.h"

#include <gtest/gtest.h>

namespace varnel::web {
namespace {

using Bytes = std::vector<std::uint8_t>;

ImageStep oneByte(std::uint64_t offset) { return {{{offset, {1}, {2}}}, 16, 16}; }

TEST(EditHistoryTest, AStepKeepsOnlyTheChangedRunsAndTurnsEitherEndIntoTheOther) {
    const Bytes before{1, 2, 3, 4, 5, 6, 7, 8};
    for (const Bytes& after : {Bytes{1, 9, 9, 4, 5, 9, 7, 8}, Bytes{1, 9, 3}, Bytes{1, 2, 3, 4, 5, 6, 7, 8, 0, 0}}) {
        const ImageStep step = stepBetween(before, after);
        std::uint64_t kept = 0;
        for (const ChangedRange& range : step.ranges) kept += range.before.size() + range.after.size();
        EXPECT_LE(kept, 2 * std::max(before.size(), after.size()) - 2);
        Bytes bytes = before;
        applyStep(bytes, step, StepDirection::Forward);
        EXPECT_EQ(bytes, after);
        applyStep(bytes, step, StepDirection::Back);
        EXPECT_EQ(bytes, before);
    }
    EXPECT_EQ(stepBetween(before, Bytes{1, 9, 9, 4, 5, 9, 7, 8}).ranges.size(), 2u);
    EXPECT_TRUE(stepBetween(before, before).empty());
}

TEST(EditHistoryTest, ANewStepAfterUndosDropsTheStepsThatCouldBeRedone) {
    EditHistory history;
    EXPECT_FALSE(history.canUndo());
    history.add(oneByte(1));
    history.add(oneByte(2));
    EXPECT_EQ(history.undo().ranges[0].offset, 2u);
    EXPECT_TRUE(history.canRedo());
    history.add(oneByte(3));
    EXPECT_FALSE(history.canRedo());
    EXPECT_EQ(history.undo().ranges[0].offset, 3u);
    EXPECT_EQ(history.undo().ranges[0].offset, 1u);
    EXPECT_FALSE(history.canUndo());
    EXPECT_THROW(history.undo(), std::logic_error);
    EXPECT_EQ(history.redo().ranges[0].offset, 1u);
}

TEST(EditHistoryTest, UnsavedMeansAwayFromTheImageLastSavedOrAsOpened) {
    EditHistory history;
    EXPECT_FALSE(history.unsaved());
    history.add(oneByte(1));
    EXPECT_TRUE(history.unsaved());
    history.undo();
    EXPECT_FALSE(history.unsaved());
    history.redo();
    history.markSaved();
    EXPECT_FALSE(history.unsaved());
    history.undo();
    EXPECT_TRUE(history.unsaved());
    // A new step where the saved one was is another image.
    history.add(oneByte(2));
    EXPECT_TRUE(history.unsaved());
}

TEST(EditHistoryTest, PastTheLimitTheOldestStepsGoAndTheNewestAlwaysStays) {
    EditHistory history;
    const auto large = [] { return ImageStep{{{0, Bytes(1u << 20, 1), Bytes(1u << 20, 2)}}, 1u << 20, 1u << 20}; };
    for (int k = 0; k < 100; ++k) EXPECT_FALSE(history.add(oneByte(k)));
    EXPECT_FALSE(history.droppedAny());
    bool dropped = false;
    for (int k = 0; k < 16 && !dropped; ++k) dropped = history.add(large());
    EXPECT_TRUE(dropped);
    EXPECT_TRUE(history.droppedAny());
    EXPECT_LE(history.footprint(), historyLimit);
    int undone = 0;
    while (history.canUndo()) undone += history.undo().ranges[0].before.size() > 1 ? 1 : 100;
    EXPECT_EQ(undone, 15);  // the small edits went first, then one step of 2 MiB
    EXPECT_TRUE(history.unsaved());

    EditHistory huge;
    huge.add(ImageStep{{{0, Bytes(historyLimit, 1), Bytes(historyLimit, 2)}}, historyLimit, historyLimit});
    EXPECT_TRUE(huge.canUndo());
}

}  // namespace
}  // namespace varnel::web
