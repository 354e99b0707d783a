// The editing behaviour against a fake window: start-up, open, selection and
// save, with the image file checked byte for byte. (Which controls are enabled
// shows in the real window's tab chain, MainWindowTest.)

#include "core/NameLists.h"
#include "tests/editor/FakeView.h"
#include "tests/support/CountedFsync.h"
#include "tests/support/SyntheticImage.h"

#include <gtest/gtest.h>

namespace varnel {
namespace {

class EditorControllerTest : public ::testing::Test, protected testing::ImageFile {
protected:
    void SetUp() override {
        view.controller = &controller;
        controller.onLoad();
    }

    void openImage() {
        view.fileToChoose = image.string();
        controller.onOpen();
    }

    void save(bool answer) {
        view.answer = answer;
        controller.onSave();
    }

    // What the boxes of a group ("wt", "at", "it" or "mt") show, and what they
    // would show for the record at an offset of the image as written.
    std::vector<std::string> boxes(const std::string& group) {
        std::vector<std::string> texts;
        for (int field = 1; field <= 8; ++field) texts.push_back(view.boxes[group + std::to_string(field)]);
        return texts;
    }
    std::vector<std::string> recordAt(std::size_t offset) const {
        std::vector<std::string> texts;
        for (std::size_t k = 0; k < 8; ++k) texts.push_back(std::to_string(original[offset + k]));
        return texts;
    }

    testing::FakeView view;
    EditorController controller{view};
};

TEST_F(EditorControllerTest, StartsWithTheNamesListedAndRowZeroShownAsZeros) {
    for (const auto& [list, nameList] : {std::pair{Control::lw, NameList::Weapon}, {Control::la, NameList::Armour},
                                         {Control::li, NameList::Item}, {Control::cm, NameList::Magic}}) {
        EXPECT_EQ(view.rows[list], std::vector<std::string>(names(nameList).begin(), names(nameList).end()));
        EXPECT_EQ(view.selected[list], 0);
    }
    for (const char* group : {"wt", "at", "mt"}) EXPECT_EQ(boxes(group), std::vector<std::string>(8, "0"));
    EXPECT_EQ(boxes("it"), std::vector<std::string>(8, ""));
    EXPECT_EQ(view.filter, "Nes Files(*.Nes)|*.Nes");
}

TEST_F(EditorControllerTest, BeforeAnImageIsOpenACancelledOpenAFailedOneAndASaveChangeNothing) {
    view.boxes["wt1"] = "99";
    controller.onOpen();
    view.fileToChoose = folder.path().string();  // a directory
    controller.onOpen();
    save(true);
    EXPECT_EQ(view.boxes["wt1"], "99");
    EXPECT_TRUE(view.enabled[Control::openf]);
    EXPECT_FALSE(view.enabled[Control::save]);
    EXPECT_TRUE(view.questions.empty());  // a save with no image asks nothing
    ASSERT_EQ(view.errors.size(), 2u);
    EXPECT_NE(view.errors[0].find("打开文件失败"), std::string::npos) << view.errors[0];
    EXPECT_NE(view.errors[1].find("还没有打开文件"), std::string::npos) << view.errors[1];
}

TEST_F(EditorControllerTest, AnOpenShowsRecordZeroOfEachTableAndASelectionItsRecordDroppingWhatWasTyped) {
    view.boxes["wt1"] = "99";
    view.boxes["it1"] = "abc";
    openImage();
    EXPECT_EQ(boxes("wt"), recordAt(0x61410));
    EXPECT_EQ(boxes("at"), recordAt(0x616D0));
    EXPECT_EQ(boxes("mt"), recordAt(0x618D0));
    EXPECT_EQ(view.boxes["it1"], "abc");

    view.select(Control::lw, 87);  // reads like row 0, but is record 87
    view.select(Control::la, 63);
    view.select(Control::cm, 13);
    EXPECT_EQ(boxes("wt"), recordAt(0x616C8));
    EXPECT_EQ(boxes("at"), recordAt(0x618C8));
    EXPECT_EQ(boxes("mt"), recordAt(0x618D0 + 13 * 8));
}

TEST_F(EditorControllerTest, ASaveWritesTheThreeSelectedRecordsAsTypedAndFlushesThem) {
    openImage();
    view.select(Control::lw, 3);
    view.select(Control::la, 10);
    view.select(Control::cm, 20);
    view.boxes["wt1"] = "200";
    view.boxes["at5"] = "２５５";
    view.boxes["mt8"] = "7.5";
    auto expected = original;
    expected[0x61428] = 200;
    expected[0x61724] = 255;
    expected[0x61977] = 8;
    const int flushesBefore = testing::fsyncCalls;
    save(true);
    EXPECT_EQ(view.questions, std::vector<std::string>{"确定要保存修改结果？|Varnel修改器"});
    EXPECT_EQ(testing::readFile(image), expected);
    EXPECT_EQ(testing::fsyncCalls, flushesBefore + 1);
    EXPECT_EQ(view.boxes["mt8"], "7.5");  // the box keeps what was typed, memory the byte
    view.select(Control::cm, 0);
    view.select(Control::cm, 20);
    EXPECT_EQ(view.boxes["mt8"], "8");
    EXPECT_TRUE(view.errors.empty());
}

TEST_F(EditorControllerTest, ASaveAnsweredNoOrStoppedByAValueOutOfRangeChangesNeitherFileNorMemory) {
    openImage();
    view.boxes["wt1"] = "9";
    save(false);
    view.boxes["wt7"] = "300";
    save(true);
    ASSERT_EQ(view.errors.size(), 1u);
    // The field is named by number and caption, the caption without its trailing blanks.
    EXPECT_NE(view.errors[0].find("武器 第 7 项“人物能力提升,属性魔法伤害加成”中的“300”超出范围"), std::string::npos)
        << view.errors[0];
    EXPECT_EQ(testing::readFile(image), original);
    EXPECT_EQ(view.boxes["wt7"], "300");
    view.select(Control::lw, 1);
    view.select(Control::lw, 0);
    EXPECT_EQ(boxes("wt"), recordAt(0x61410));
}

// Through the window every list always has a selection; should one ever report none, nothing breaks.
TEST_F(EditorControllerTest, AListWithoutASelectionKeepsItsBoxesAndRefusesASave) {
    openImage();
    view.boxes["at2"] = "5";
    view.selected.erase(Control::la);
    controller.onSelect(TableKind::Armour);
    save(true);
    EXPECT_EQ(view.boxes["at2"], "5");
    EXPECT_EQ(view.errors, std::vector<std::string>{"保存失败：防具列表中没有选中的条目。\n本次没有保存任何修改。"});
    EXPECT_EQ(testing::readFile(image), original);
}

}  // namespace
}  // namespace varnel
