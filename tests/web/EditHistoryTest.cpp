// The history's own bookkeeping: steps that keep only what changed, a bound
// on memory that drops the oldest steps, and which image counts as saved.
// (Undo and redo of real images show in ImageSessionTest.)

#include "web/EditHistory.h"

#include <gtest/gtest.h>

#include <tuple>

namespace varnel::web {
namespace {

using Bytes = std::vector<std::uint8_t>;

ImageStep oneByte(std::uint64_t offset) { return {{{offset, {1}, {2}}}, 16, 16}; }

TEST(EditHistoryTest, AStepKeepsOnlyTheChangedRuns) {
    const Bytes before{1, 2, 3, 4, 5, 6, 7, 8};
    const ImageStep step = stepBetween(before, Bytes{1, 9, 9, 4, 5, 9, 7, 8});
    ASSERT_EQ(step.ranges.size(), 2u);
    EXPECT_EQ(std::tuple(step.ranges[0].offset, step.ranges[0].after, step.ranges[1].offset, step.ranges[1].after),
              std::tuple(1u, Bytes{9, 9}, 5u, Bytes{9}));
    EXPECT_EQ(stepBetween(before, Bytes{1, 2, 3}).ranges[0].before, (Bytes{4, 5, 6, 7, 8}));  // only the cut-off end
    EXPECT_TRUE(stepBetween(before, before).empty());
}

TEST(EditHistoryTest, UnsavedMeansAwayFromTheImageLastSavedOrAsOpened) {
    EditHistory history;
    EXPECT_FALSE(history.unsaved());
    history.add(oneByte(1));
    history.add(oneByte(2));
    EXPECT_TRUE(history.unsaved());
    history.markSaved();
    EXPECT_FALSE(history.unsaved());
    history.undo();
    EXPECT_TRUE(history.unsaved());
    // A new step where the saved one was is another image, and the step that could be redone is gone.
    history.add(oneByte(3));
    EXPECT_TRUE(history.unsaved());
    EXPECT_FALSE(history.canRedo());
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
