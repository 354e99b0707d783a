// The editing behaviour against a fake window: start-up, open, selection,
// save and close, with the image file checked byte for byte.

#include "editor/EditorController.h"
#include "core/NameLists.h"
#include "tests/editor/FakeView.h"
#include "tests/support/SyntheticImage.h"

#include <gtest/gtest.h>

#include <filesystem>
#include <string>
#include <vector>

namespace varnel {
namespace {

using testing::differingOffsets;
using testing::FakeView;
using testing::isOpenByThisProcess;
using testing::makeImage;
using testing::readFile;
using testing::writeFile;

constexpr BoxGroup tableGroups[] = {BoxGroup::wt, BoxGroup::at, BoxGroup::mt};

class EditorControllerTest : public ::testing::Test, protected testing::ImageFile {
protected:
    void SetUp() override {
        view.controller = &controller;
        controller.onLoad();
    }

    void openImage() {
        view.filesToChoose.push_back(image.string());
        controller.onOpen();
    }

    void save(bool answer = true) {
        view.confirmAnswers.push_back(answer);
        controller.onSave();
    }

    // Shows another row and comes back, so the boxes show what memory holds.
    void reselect(Control list, int row) {
        view.select(list, row + 1);
        view.select(list, row);
    }

    std::vector<std::string> boxes(BoxGroup group) const {
        std::vector<std::string> texts;
        for (int field = 1; field <= 8; ++field) texts.push_back(view.box({group, field}));
        return texts;
    }

    // The record's fields as decimal text, from the image as written at start.
    std::vector<std::string> originalRecord(TableKind kind, int index) const {
        std::vector<std::string> texts;
        for (int field = 1; field <= 8; ++field) texts.push_back(std::to_string(original[fieldOffset(kind, index, field)]));
        return texts;
    }

    FakeView view;
    EditorController controller{view};
};

const std::vector<std::string> zeros(8, "0");

// --- Start-up ------------------------------------------------------------------

TEST_F(EditorControllerTest, StartUpDisablesFiltersFillsAndSelectsInThatOrder) {
    const std::vector<std::string> expected{
        "setEnabled cm off", "setEnabled save off", "setEnabled lw off", "setEnabled la off", "setEnabled li off",
        "setOpenFilter Nes Files(*.Nes)|*.Nes",
        "appendItem lw ×88", "select lw 0", "setFieldText wt ×8",
        "appendItem la ×64", "select la 0", "setFieldText at ×8",
        "appendItem li ×49", "select li 0",
        "appendItem cm ×56", "select cm 0", "setFieldText mt ×8",
    };
    EXPECT_EQ(view.collapsedLog(), expected);
}

TEST_F(EditorControllerTest, AfterStartUpTheTableBoxesReadZeroAndOnlyOpenIsUsable) {
    for (const BoxGroup group : tableGroups) EXPECT_EQ(boxes(group), zeros);
    EXPECT_EQ(boxes(BoxGroup::it), std::vector<std::string>(8, ""));
    for (const Control control : {Control::lw, Control::la, Control::li, Control::cm, Control::save}) {
        EXPECT_FALSE(view.enabled[control]) << controlName(control);
    }
    EXPECT_TRUE(view.enabled[Control::openf]);
    EXPECT_TRUE(view.errors.empty());
}

TEST_F(EditorControllerTest, ListsHoldTheNamesInOrderWithRowZeroSelected) {
    const std::pair<Control, NameList> lists[] = {
        {Control::lw, NameList::Weapon}, {Control::la, NameList::Armour},
        {Control::li, NameList::Item}, {Control::cm, NameList::Magic}};
    for (const auto& [control, list] : lists) {
        const auto rows = names(list);
        EXPECT_EQ(view.lists[control].rows, std::vector<std::string>(rows.begin(), rows.end()));
        EXPECT_EQ(view.lists[control].selected, 0);
    }
}

// --- Open ----------------------------------------------------------------------

TEST_F(EditorControllerTest, ACancelledOpenChangesNothingAndOpenCanBePressedAgain) {
    const auto before = view.log.size();
    controller.onOpen();
    controller.onOpen();
    EXPECT_EQ(view.dialogsShown, 2);
    EXPECT_EQ(view.log.size(), before);
    EXPECT_TRUE(view.errors.empty());
    EXPECT_TRUE(view.enabled[Control::openf]);
}

TEST_F(EditorControllerTest, ASuccessfulOpenEnablesEditingAndShowsRecordZero) {
    view.type({BoxGroup::wt, 1}, "99");
    view.type({BoxGroup::it, 1}, "abc");
    openImage();

    EXPECT_TRUE(view.errors.empty());
    for (const Control control : {Control::lw, Control::la, Control::cm, Control::save}) {
        EXPECT_TRUE(view.enabled[control]) << controlName(control);
    }
    EXPECT_FALSE(view.enabled[Control::openf]);
    EXPECT_FALSE(view.enabled[Control::li]);
    EXPECT_EQ(boxes(BoxGroup::wt), originalRecord(TableKind::Weapon, 0));
    EXPECT_EQ(boxes(BoxGroup::at), originalRecord(TableKind::Armour, 0));
    EXPECT_EQ(boxes(BoxGroup::mt), originalRecord(TableKind::Magic, 0));
    EXPECT_EQ(view.box({BoxGroup::it, 1}), "abc");
}

TEST_F(EditorControllerTest, AFailedOpenIsReportedAndLeavesTheWindowReady) {
    const auto shortImage = folder.path() / "short.nes";
    writeFile(shortImage, makeImage(1000));
    const std::pair<std::filesystem::path, std::string> failures[] = {
        {folder.path() / "missing.nes", "No such file"},
        {folder.path(), "Is a directory"},
        {shortImage, "文件太短"},
    };
    for (const auto& [path, reason] : failures) {
        view.errors.clear();
        view.filesToChoose.push_back(path.string());
        controller.onOpen();
        ASSERT_EQ(view.errors.size(), 1u) << path;
        EXPECT_NE(view.errors[0].find("打开文件失败"), std::string::npos) << view.errors[0];
        EXPECT_NE(view.errors[0].find(path.string()), std::string::npos) << view.errors[0];
        EXPECT_NE(view.errors[0].find(reason), std::string::npos) << view.errors[0];
        EXPECT_TRUE(view.enabled[Control::openf]);
        EXPECT_FALSE(view.enabled[Control::save]);
        EXPECT_EQ(boxes(BoxGroup::wt), zeros);
    }

    openImage();  // the window is still usable
    EXPECT_EQ(boxes(BoxGroup::wt), originalRecord(TableKind::Weapon, 0));
}

// --- Selection -----------------------------------------------------------------

TEST_F(EditorControllerTest, SelectingARowShowsThatRecord) {
    openImage();
    view.select(Control::lw, 87);  // reads like row 0, but is record 87
    EXPECT_EQ(boxes(BoxGroup::wt), originalRecord(TableKind::Weapon, 87));
    view.select(Control::la, 63);
    EXPECT_EQ(boxes(BoxGroup::at), originalRecord(TableKind::Armour, 63));
    view.select(Control::cm, 13);
    EXPECT_EQ(boxes(BoxGroup::mt), originalRecord(TableKind::Magic, 13));
    EXPECT_EQ(boxes(BoxGroup::wt), originalRecord(TableKind::Weapon, 87));
}

TEST_F(EditorControllerTest, SelectingAnotherRowDiscardsTypedText) {
    openImage();
    view.type({BoxGroup::wt, 3}, "1");
    reselect(Control::lw, 0);
    EXPECT_EQ(boxes(BoxGroup::wt), originalRecord(TableKind::Weapon, 0));
    save();
    EXPECT_EQ(readFile(image), original);
}

TEST_F(EditorControllerTest, AListWithNoSelectionLeavesItsBoxesAlone) {
    openImage();
    view.type({BoxGroup::at, 2}, "5");
    view.lists[Control::la].selected = -1;
    controller.onSelect(TableKind::Armour);
    EXPECT_EQ(view.box({BoxGroup::at, 2}), "5");
    EXPECT_TRUE(view.errors.empty());
}

// --- Save ----------------------------------------------------------------------

TEST_F(EditorControllerTest, SaveWritesExactlyTheThreeSelectedRecords) {
    openImage();
    view.select(Control::lw, 3);
    view.select(Control::la, 10);
    view.select(Control::cm, 20);
    for (const BoxGroup group : tableGroups) {
        for (int field = 1; field <= 8; ++field) view.type({group, field}, std::to_string(field * 30));
    }
    save();

    EXPECT_TRUE(view.errors.empty());
    EXPECT_EQ(view.questions, std::vector<std::string>{"确定要保存修改结果？|Varnel修改器"});
    const auto bytes = readFile(image);
    std::vector<std::size_t> expected;
    for (const std::size_t first : {0x61428u, 0x61720u, 0x61970u}) {
        for (std::size_t k = 0; k < 8; ++k) {
            expected.push_back(first + k);
            EXPECT_EQ(bytes[first + k], (k + 1) * 30);
        }
    }
    EXPECT_EQ(differingOffsets(original, bytes), expected);
    EXPECT_TRUE(view.enabled[Control::save]);  // the file stays open for more saves
}

TEST_F(EditorControllerTest, SaveAnsweredNoWritesAndStoresNothing) {
    openImage();
    view.type({BoxGroup::wt, 1}, "1");
    save(false);
    EXPECT_EQ(readFile(image), original);
    reselect(Control::lw, 0);
    EXPECT_EQ(boxes(BoxGroup::wt), originalRecord(TableKind::Weapon, 0));
}

TEST_F(EditorControllerTest, AnOutOfRangeFieldSavesNothingAndNamesTheField) {
    openImage();
    view.type({BoxGroup::wt, 1}, "9");
    view.type({BoxGroup::at, 5}, "300");
    save();

    ASSERT_EQ(view.errors.size(), 1u);
    for (const char* part : {"防具", "魔法防御", "300", "0 到 255"}) {
        EXPECT_NE(view.errors[0].find(part), std::string::npos) << part << " in " << view.errors[0];
    }
    EXPECT_EQ(readFile(image), original);
    EXPECT_EQ(view.box({BoxGroup::at, 5}), "300");  // the typed text stays for correction

    // Memory is unchanged too: the weapon field converted before it was not kept.
    reselect(Control::lw, 0);
    EXPECT_EQ(boxes(BoxGroup::wt), originalRecord(TableKind::Weapon, 0));
}

TEST_F(EditorControllerTest, AFractionIsSavedRoundedWhileTheBoxKeepsWhatWasTyped) {
    openImage();
    view.type({BoxGroup::mt, 2}, "7.5");
    save();
    EXPECT_EQ(readFile(image)[0x618D0 + 1], 8);
    EXPECT_EQ(view.box({BoxGroup::mt, 2}), "7.5");
    reselect(Control::cm, 0);
    EXPECT_EQ(view.box({BoxGroup::mt, 2}), "8");
}

TEST_F(EditorControllerTest, SaveWithNoSelectedRowRefusesBeforeChangingAnything) {
    openImage();
    view.type({BoxGroup::wt, 1}, "1");
    view.lists[Control::cm].selected = -1;
    save();
    ASSERT_EQ(view.errors.size(), 1u);
    EXPECT_NE(view.errors[0].find("魔法"), std::string::npos);
    EXPECT_EQ(readFile(image), original);
}

TEST_F(EditorControllerTest, AFailedWriteIsReportedAndEditingGoesOn) {
    openImage();
    std::filesystem::resize_file(image, 0x61000);
    save();
    ASSERT_EQ(view.errors.size(), 1u);
    EXPECT_NE(view.errors[0].find("保存文件失败"), std::string::npos) << view.errors[0];
    EXPECT_NE(view.errors[0].find(image.string()), std::string::npos);
    EXPECT_EQ(std::filesystem::file_size(image), 0x61000u);
    EXPECT_TRUE(view.enabled[Control::save]);
}

TEST_F(EditorControllerTest, SaveBeforeAnyOpenReportsThatNoFileIsOpen) {
    save();
    EXPECT_TRUE(view.questions.empty());
    ASSERT_EQ(view.errors.size(), 1u);
    EXPECT_NE(view.errors[0].find("还没有打开文件"), std::string::npos);
}

// --- Close ---------------------------------------------------------------------

TEST_F(EditorControllerTest, UnloadClosesTheImage) {
    openImage();
    EXPECT_TRUE(isOpenByThisProcess(image));
    controller.onUnload();
    EXPECT_FALSE(isOpenByThisProcess(image));
    EXPECT_EQ(readFile(image), original);
}

}  // namespace
}  // namespace varnel
