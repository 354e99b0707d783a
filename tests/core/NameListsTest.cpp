// The four name lists, row for row.

#include "core/NameLists.h"
#include "tests/support/SyntheticImage.h"

#include <gtest/gtest.h>

#include <array>
#include <cstdio>
#include <fstream>
#include <string>

namespace varnel {
namespace {

constexpr std::array allLists{NameList::Weapon, NameList::Armour, NameList::Item, NameList::Magic};

std::string sha256Of(const std::filesystem::path& file) {
    const std::string command = "sha256sum '" + file.string() + "'";
    FILE* pipe = ::popen(command.c_str(), "r");
    if (pipe == nullptr) return {};
    std::array<char, 65> digest{};
    const std::size_t got = std::fread(digest.data(), 1, 64, pipe);
    ::pclose(pipe);
    return std::string(digest.data(), got);
}

TEST(NameLists, EveryRowIsExactlyAsPublished) {
    // One row per line, lists in the order weapon, armour, item, magic.
    testing::TempFolder folder;
    const auto dump = folder.path() / "names.txt";
    {
        std::ofstream out(dump, std::ios::binary);
        for (const NameList list : allLists) {
            for (const std::string_view row : names(list)) out << row << '\n';
        }
    }
    EXPECT_EQ(sha256Of(dump), "3d4b26949f9f367625fd9c1b4b2d8073f5af7bf806429e8f080fcf00c097c41a");
}

// The three counts differ, so this also catches a table mapped to the wrong list.
TEST(NameLists, EachTableListHasOneRowPerRecord) {
    for (const TableSpec& table : tableSpecs) {
        EXPECT_EQ(names(nameListOf(table.kind)).size(), static_cast<std::size_t>(table.recordCount));
    }
    EXPECT_EQ(names(NameList::Item).size(), 49u);
}

TEST(NameLists, OddRowsKeepTheirShape) {
    const auto weapons = names(NameList::Weapon);
    EXPECT_EQ(weapons.front(), weapons.back());
    EXPECT_EQ(weapons[3], "Dragon飞龙爪");
    EXPECT_EQ(weapons[73].back(), ' ');
    EXPECT_EQ(weapons[73].size(), std::string_view("Loki 洛基竖琴 ").size());

    const auto items = names(NameList::Item);
    EXPECT_EQ(items[29], items[30]);
    EXPECT_EQ(items[31], "Gods'Rage 众神之怒");
    EXPECT_EQ(items[13], "? ?");
    EXPECT_EQ(names(NameList::Magic)[13], "Leviathan 利维亚桑 ");
}

}  // namespace
}  // namespace varnel
