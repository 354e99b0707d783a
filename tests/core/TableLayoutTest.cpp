// Where each table's first and last records lie, proved through the bytes a
// save actually changes in a whole synthetic image.

#include "core/RomStore.h"
#include "tests/support/SyntheticImage.h"

#include <gtest/gtest.h>

#include <numeric>
#include <vector>

namespace varnel {
namespace {

using testing::differingOffsets;
using testing::makeImage;
using testing::readFile;
using testing::TempFolder;
using testing::writeFile;

struct BoundaryRecord {
    TableKind kind;
    int record;
    std::size_t firstOffset;  // the record occupies firstOffset .. firstOffset + 7
};

class BoundaryRecordTest : public ::testing::TestWithParam<BoundaryRecord> {};

TEST_P(BoundaryRecordTest, LoadsAndWritesExactlyItsEightBytes) {
    const BoundaryRecord boundary = GetParam();
    TempFolder folder;
    const auto image = folder.path() / "image.nes";
    const std::vector<std::uint8_t> original = makeImage();
    writeFile(image, original);

    RomStore store;
    store.open(image);
    store.load();
    const ItemRecord loaded = store.record(boundary.kind, boundary.record);
    for (int k = 0; k < recordSize; ++k) {
        EXPECT_EQ(loaded[static_cast<std::size_t>(k)], original[boundary.firstOffset + static_cast<std::size_t>(k)])
            << "field " << k + 1;
    }

    for (int field = 1; field <= recordSize; ++field) {
        const auto offset = boundary.firstOffset + static_cast<std::size_t>(field - 1);
        store.setField(boundary.kind, boundary.record, field, static_cast<std::uint8_t>(~original[offset]));
    }
    store.writeRecord(boundary.kind, boundary.record);

    std::vector<std::size_t> expected(recordSize);
    std::iota(expected.begin(), expected.end(), boundary.firstOffset);
    EXPECT_EQ(differingOffsets(original, readFile(image)), expected);
}

INSTANTIATE_TEST_SUITE_P(FirstAndLastOfEachTable, BoundaryRecordTest,
                         ::testing::Values(BoundaryRecord{TableKind::Weapon, 0, 0x61410},
                                           BoundaryRecord{TableKind::Weapon, 87, 0x616C8},
                                           BoundaryRecord{TableKind::Armour, 0, 0x616D0},
                                           BoundaryRecord{TableKind::Armour, 63, 0x618C8},
                                           BoundaryRecord{TableKind::Magic, 0, 0x618D0},
                                           BoundaryRecord{TableKind::Magic, 55, 0x61A88}));

TEST(TableLayout, AnImageEndingRightAfterTheTablesLoadsInFull) {
    // Nothing at or beyond 0x61A90 is needed, so a file of exactly that length suffices.
    TempFolder folder;
    const auto image = folder.path() / "exact.nes";
    const auto bytes = makeImage(tablesEnd);
    writeFile(image, bytes);

    RomStore store;
    store.open(image);
    store.load();
    EXPECT_EQ(store.record(TableKind::Magic, 55)[7], bytes[0x61A8F]);
}

TEST(TableLayout, EveryRecordOfEveryTableLoadsFromItsOwnOffsets) {
    TempFolder folder;
    const auto image = folder.path() / "image.nes";
    const auto bytes = makeImage();
    writeFile(image, bytes);
    RomStore store;
    store.open(image);
    store.load();

    // Walk the run in file order: weapons, then armour, then magic, 8 bytes each.
    std::size_t offset = 0x61410;
    for (const auto& [kind, count] : {std::pair{TableKind::Weapon, 88}, std::pair{TableKind::Armour, 64},
                                      std::pair{TableKind::Magic, 56}}) {
        for (int record = 0; record < count; ++record) {
            const ItemRecord fields = store.record(kind, record);
            for (const std::uint8_t field : fields) ASSERT_EQ(field, bytes[offset++]);
        }
    }
    EXPECT_EQ(offset, 0x61A90u);
}

}  // namespace
}  // namespace varnel
