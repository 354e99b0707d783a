// The four name lists, row for row. (Where one list ends and the next begins,
// the static_asserts beside the lists fix.)

#include "core/NameLists.h"

#include <gtest/gtest.h>
#include <openssl/sha.h>

#include <cstdio>

namespace varnel {
namespace {

TEST(NameLists, EveryRowIsExactlyAsPublished) {
    std::string rows;  // one per line, lists in order
    for (const NameList list : {NameList::Weapon, NameList::Armour, NameList::Item, NameList::Magic}) {
        for (const std::string_view row : names(list)) rows += std::string(row) + '\n';
    }
    unsigned char digest[SHA256_DIGEST_LENGTH];
    SHA256(reinterpret_cast<const unsigned char*>(rows.data()), rows.size(), digest);
    char hex[2 * SHA256_DIGEST_LENGTH + 1];
    for (int i = 0; i < SHA256_DIGEST_LENGTH; ++i) std::snprintf(hex + 2 * i, 3, "%02x", digest[i]);
    EXPECT_STREQ(hex, "3d4b26949f9f367625fd9c1b4b2d8073f5af7bf806429e8f080fcf00c097c41a");
}

}  // namespace
}  // namespace varnel
