// The four name lists, row for row. (Where one list ends and the next begins,
// the static_asserts beside the lists fix.)

#include "core/NameLists.h"

#include <gtest/gtest.h>

namespace varnel {
namespace {

TEST(NameLists, EveryRowIsExactlyAsPublished) {
    std::uint64_t digest = 0xcbf29ce484222325u;  // 64-bit FNV-1a of the rows, one per line, lists in order
    for (const NameList list : {NameList::Weapon, NameList::Armour, NameList::Item, NameList::Magic}) {
        for (const std::string_view row : names(list)) {
            for (const char c : std::string(row) + '\n') digest = (digest ^ static_cast<unsigned char>(c)) * 0x100000001b3u;
        }
    }
    EXPECT_EQ(digest, 0x8f9c3e16b466ea66u);
}

}  // namespace
}  // namespace varnel
