// Whole new files through the file layer: a new file never replaces one that
// is there, a unique one gets a name of its own and the umask's permissions,
// and what was written is all there once writing is finished.

#include "core/Error.h"
#include "core/RomFile.h"
#include "tests/support/SyntheticImage.h"

#include <gtest/gtest.h>

#include <sys/stat.h>

namespace varnel {
namespace {

TEST(NewFileTest, ACreatedFileHoldsExactlyItsBytesAndNeverReplacesAnotherAndAUniqueOneTakesAFreshName) {
    testing::TempFolder folder;
    const auto path = folder.path() / "new.nes";
    const std::vector<std::uint8_t> bytes = testing::makeImage(100'000);
    RomFile file;
    file.create(path);
    file.writeAt(0, bytes);
    file.finishWriting();
    EXPECT_FALSE(file.isOpen());
    EXPECT_EQ(testing::readFile(path), bytes);
    EXPECT_THROW(file.create(path), Error);
    EXPECT_EQ(testing::readFile(path), bytes);

    const mode_t mask = ::umask(022);
    RomFile second;
    const auto one = file.createUnique(folder.path() / ".out.XXXXXX");
    const auto other = second.createUnique(folder.path() / ".out.XXXXXX");
    ::umask(mask);
    EXPECT_NE(one, other);
    EXPECT_EQ(one.parent_path(), folder.path());
    struct stat status {};
    ASSERT_EQ(::stat(one.c_str(), &status), 0);
    EXPECT_EQ(status.st_mode & 0777, 0644u);  // the umask's permissions
}

}  // namespace
}  // namespace varnel
