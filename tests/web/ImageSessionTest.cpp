// The page's session over real files: what it hands over is the image as
// opened with exactly the edits, imports and patches since, and whatever it
// refuses leaves the image it holds as it was.

#include "core/Error.h"
#include "formats/FormatError.h"
#include "formats/JsonTableFile.h"
#include "tests/support/SyntheticImage.h"
#include "web/ImageSession.h"

#include <gtest/gtest.h>

#include <algorithm>

namespace varnel::web {
namespace {

using testing::makeImage;
using Bytes = std::vector<std::uint8_t>;

class ImageSessionTest : public ::testing::Test {
protected:
    ImageSessionTest() { session.open("game.nes", original); }

    testing::TempFolder folder;
    ImageSession session{folder.path() / "session"};
    const Bytes original = makeImage();
};

TEST_F(ImageSessionTest, ARefusedImageLeavesTheHeldOneAsItWasAndAnotherStartsAFreshHistory) {
    session.setField(TableKind::Magic, 55, 8, std::to_string(original[fieldOffset(TableKind::Magic, 55, 8)] ^ 1));
    const Bytes held = session.imageBytes();
    EXPECT_THROW(session.open("short.nes", makeImage(tablesEnd - 1)), Error);
    EXPECT_EQ(session.name(), "game.nes");
    EXPECT_EQ(session.imageBytes(), held);
    EXPECT_EQ(session.changes().size(), 1u);
    const auto files = std::filesystem::recursive_directory_iterator(folder.path() / "session");
    EXPECT_EQ(std::count_if(begin(files), end(files), [](const auto& entry) { return entry.is_regular_file(); }), 2);
    session.markSaved();
    EXPECT_FALSE(session.history().unsaved());
    session.open("other.nes", makeImage(testing::typicalImageSize, 3));
    EXPECT_FALSE(session.history().canUndo());
    EXPECT_FALSE(session.history().unsaved());
}

TEST_F(ImageSessionTest, AFieldEditChangesItsByteAloneAndARefusalOrAnUnchangedByteNoneNorTakesAStep) {
    EXPECT_THROW(session.setField(TableKind::Armour, 2, 4, "256"), Error);
    session.setField(TableKind::Magic, 0, 1, std::to_string(original[fieldOffset(TableKind::Magic, 0, 1)]));
    EXPECT_THROW(session.applyPatch(Bytes{'P', 'A', 'T', 'C', 'X'}), FormatError);
    EXPECT_FALSE(session.history().canUndo());
    EXPECT_FALSE(session.history().unsaved());
    EXPECT_EQ(session.setField(TableKind::Armour, 2, 3, "7.5"), 8);
    Bytes expected = original;
    expected[fieldOffset(TableKind::Armour, 2, 3)] = 8;
    EXPECT_EQ(session.imageBytes(), expected);
    const int was = original[fieldOffset(TableKind::Armour, 2, 3)];
    EXPECT_EQ(session.changes(), (std::vector<FieldDifference>{{TableKind::Armour, 2, 3, was, 8}}));
}

TEST_F(ImageSessionTest, AnImportWithAnyProblemChangesNothing) {
    const auto withFields = [](const std::string& fields) {
        return readJson(R"({"format": "varnel-rom-tables", "version": 1, "records": [)"
                        R"({"table": "weapon", "index": 0, "fields": [1, 2, 3, 4, 5, 6, 7, 8]},)"
                        R"({"table": "magic", "index": 1, "fields": )" + fields + "}]}");
    };
    EXPECT_EQ(session.importRecords(withFields("[1, 2, 3, 4, 5, 6, 7, 256]")).records, 0u);
    EXPECT_EQ(session.imageBytes(), original);

    const ImportOutcome outcome = session.importRecords(withFields("[1, 2, 3, 4, 5, 6, 7, 8]"));
    EXPECT_EQ(outcome.records, 2u);
    EXPECT_EQ(outcome.changes, session.changes());
    Bytes expected = original;
    for (int field = 1; field <= recordSize; ++field) {
        expected[fieldOffset(TableKind::Weapon, 0, field)] = static_cast<std::uint8_t>(field);
        expected[fieldOffset(TableKind::Magic, 1, field)] = static_cast<std::uint8_t>(field);
    }
    EXPECT_EQ(session.imageBytes(), expected);
}

TEST_F(ImageSessionTest, PatchesLeadFromTheImageAsOpenedToTheImageNow) {
    session.setField(TableKind::Weapon, 87, 8, "&HFF");
    for (const PatchFormat format : {PatchFormat::Ips, PatchFormat::Bps}) {
        ImageSession other(folder.path() / "other");
        other.open("copy.nes", original);
        other.applyPatch(session.makePatch(format));
        EXPECT_EQ(other.imageBytes(), session.imageBytes());
        EXPECT_EQ(other.changes(), session.changes());
    }
}

TEST_F(ImageSessionTest, ComparingCountsFieldsAndEveryOtherDifferingByteAsDiffDoes) {
    Bytes other = original;
    other[fieldOffset(TableKind::Magic, 0, 1)] ^= 1;
    other[0] ^= 1;
    other.resize(other.size() + 2);
    const Comparison found = session.compare(other);
    EXPECT_EQ(found.fields.size(), 1u);
    EXPECT_EQ(found.outsideBytes, 3u);
    EXPECT_THROW(session.compare(makeImage(tablesEnd - 1)), Error);
}

TEST_F(ImageSessionTest, EveryChangeIsOneStepThatUndoAndRedoTakeByteExactly) {
    std::vector<Bytes> images{original};
    session.setField(TableKind::Weapon, 0, 1, std::to_string(original[fieldOffset(TableKind::Weapon, 0, 1)] ^ 1));
    images.push_back(session.imageBytes());
    session.importRecords(readJson(R"({"format": "varnel-rom-tables", "version": 1, "records": [)"
                                   R"({"table": "armour", "index": 63, "fields": [1, 2, 3, 4, 5, 6, 7, 8]}]})"));
    images.push_back(session.imageBytes());
    // A patch that lengthens the file and rewrites bytes outside the tables.
    Bytes longer = images.back();
    longer[0] ^= 0xFF;
    longer[longer.size() - 1] ^= 0xFF;
    longer.resize(longer.size() + 1000, 7);
    session.applyPatch(createPatch(PatchFormat::Bps, images.back(), longer));
    images.push_back(longer);
    // And one that cuts it right after the tables.
    const Bytes cut(original.begin(), original.begin() + tablesEnd);
    session.applyPatch(createPatch(PatchFormat::Bps, longer, cut));
    images.push_back(cut);

    for (std::size_t k = images.size() - 1; k-- > 0;) {
        session.undo();
        EXPECT_EQ(session.imageBytes(), images[k]) << "after undoing to step " << k;
    }
    EXPECT_FALSE(session.history().canUndo());
    EXPECT_FALSE(session.history().unsaved());
    EXPECT_TRUE(session.changes().empty());
    for (std::size_t k = 1; k < images.size(); ++k) {
        session.redo();
        EXPECT_EQ(session.imageBytes(), images[k]) << "after redoing step " << k;
    }
    EXPECT_FALSE(session.history().canRedo());
    EXPECT_THROW(session.redo(), std::logic_error);
    session.undo();
    EXPECT_EQ(session.outsideChange().bytes, 1002u);
    session.undo();
    EXPECT_EQ(session.outsideChange().bytes, 0u);
}

TEST_F(ImageSessionTest, RevertingSetsFieldsAndOtherBytesBackAsOneStepEach) {
    const std::uint8_t was = original[fieldOffset(TableKind::Armour, 5, 2)];
    session.setField(TableKind::Armour, 5, 2, std::to_string(was ^ 1));
    session.setField(TableKind::Armour, 5, 3, std::to_string(original[fieldOffset(TableKind::Armour, 5, 3)] ^ 1));
    Bytes changed = session.imageBytes();
    changed[1] ^= 1;
    changed.push_back(1);
    changed.push_back(2);
    session.applyPatch(createPatch(PatchFormat::Bps, session.imageBytes(), changed));
    EXPECT_EQ(session.outsideChange().bytes, 3u);
    EXPECT_EQ(session.outsideChange().nowLength, original.size() + 2);

    EXPECT_EQ(session.revertField(TableKind::Armour, 5, 2), was);
    EXPECT_EQ(session.changes().size(), 1u);
    session.revertOutsideTables();
    EXPECT_EQ(session.outsideChange().bytes, 0u);
    Bytes expected = original;
    expected[fieldOffset(TableKind::Armour, 5, 3)] ^= 1;
    EXPECT_EQ(session.imageBytes(), expected);
    session.undo();
    session.undo();
    EXPECT_EQ(session.imageBytes(), changed);
    session.revertAll();
    EXPECT_EQ(session.imageBytes(), original);
    EXPECT_FALSE(session.history().canRedo());
    session.undo();
    EXPECT_EQ(session.imageBytes(), changed);
}

}  // namespace
}  // namespace varnel::web
