// The image store: where each table's first and last records lie, that a
// write puts exactly its record's bytes into the file it opened, and what
// open, load and write refuse.

#include "core/RomStore.h"
#include "tests/support/SyntheticImage.h"

#include <gtest/gtest.h>

#include <sys/stat.h>
#include <unistd.h>

#include <algorithm>
#include <cstdlib>
#include <functional>
#include <tuple>

namespace varnel {
namespace {

using testing::makeImage;
using testing::readFile;
using testing::writeFile;

class RomStoreTest : public ::testing::Test, protected testing::ImageFile {
protected:
    RomStore store;
};

// The file-access error that the call throws.
Error fileError(const std::function<void()>& call) {
    try {
        call();
    } catch (const Error& error) {
        return error;
    }
    ADD_FAILURE() << "nothing was refused";
    return Error::overflow("");
}

TEST_F(RomStoreTest, FirstAndLastRecordsLoadFromAndWriteExactlyTheirOwnEightBytes) {
    const auto loaded = makeImage(tablesEnd);  // an image may end right after the tables
    writeFile(image, loaded);
    store.open(image);
    store.load();
    // Someone else then changes every byte of the file; a write must still leave all but its own alone.
    auto expected = loaded;
    for (auto& byte : expected) byte = static_cast<std::uint8_t>(~byte);
    writeFile(image, expected);
    const std::tuple<TableKind, int, std::size_t> records[] = {
        {TableKind::Weapon, 0, 0x61410}, {TableKind::Weapon, 87, 0x616C8}, {TableKind::Armour, 0, 0x616D0},
        {TableKind::Armour, 63, 0x618C8}, {TableKind::Magic, 0, 0x618D0}, {TableKind::Magic, 55, 0x61A88}};
    for (const auto& [kind, index, offset] : records) {
        const ItemRecord fields = store.record(kind, index);
        EXPECT_TRUE(std::equal(fields.begin(), fields.end(), &loaded[offset])) << "record at " << offset;
        for (std::size_t k = 0; k < 8; ++k) {
            expected[offset + k] = static_cast<std::uint8_t>(index + k);
            store.setField(kind, index, static_cast<int>(k + 1), expected[offset + k]);
        }
        store.writeRecord(kind, index);
    }
    EXPECT_EQ(readFile(image), expected);
}

TEST_F(RomStoreTest, OpenRefusesWhatCannotBeAnImageReadWriteOrReadOnly) {
    const auto missing = folder.path() / "missing", fifo = folder.path() / "pipe", shortImage = folder.path() / "short";
    ASSERT_EQ(::mkfifo(fifo.c_str(), 0600), 0);
    writeFile(shortImage, makeImage(tablesEnd - 1));
    const std::pair<std::filesystem::path, FileProblem> refusals[] = {
        {{}, FileProblem::EmptyPath}, {missing, FileProblem::System}, {fifo, FileProblem::NotRegularFile},
        {"/dev/null", FileProblem::NotRegularFile}, {shortImage, FileProblem::TooShort}};
    for (const OpenMode mode : {OpenMode::ReadWrite, OpenMode::ReadOnly}) {
        for (const auto& [path, problem] : refusals) {
            const Error error = fileError([&] { store.open(path, mode); });
            EXPECT_EQ(error.problem(), problem) << path;
            EXPECT_EQ(error.path(), path);
            EXPECT_FALSE(store.isOpen()) << path;
        }
        EXPECT_THROW(store.open(folder.path(), mode), Error);  // a directory
        store.open(image, mode);
        EXPECT_EQ(fileError([&] { store.open(image, mode); }).problem(), FileProblem::AlreadyOpen);
        EXPECT_TRUE(store.isOpen());
        store.close();
    }
    EXPECT_FALSE(std::filesystem::exists(missing));
}

// Read-only permissions stop all but root; the immutable attribute, where the
// file system has one, stops root too. Both end with the object.
struct Unwritable {
    explicit Unwritable(const std::filesystem::path& file) : file(file) {
        std::filesystem::permissions(file, std::filesystem::perms::owner_read);
        immutable = std::system(("chattr +i '" + file.string() + "' 2>/dev/null").c_str()) == 0;
    }
    ~Unwritable() {
        // Nothing to do if it fails: the file was never made immutable.
        if (std::system(("chattr -i '" + file.string() + "' 2>/dev/null").c_str()) != 0) return;
    }

    std::filesystem::path file;
    bool immutable;
};

TEST_F(RomStoreTest, AFileThatCannotBeWrittenOpensOnlyReadOnly) {
    const Unwritable unwritable(image);
    if (::geteuid() == 0 && !unwritable.immutable) GTEST_SKIP() << "root may write here: no immutable attribute";
    EXPECT_EQ(fileError([&] { store.open(image); }).problem(), FileProblem::System);
    store.open(image, OpenMode::ReadOnly);
    store.load();
    EXPECT_EQ(store.record(TableKind::Weapon, 0)[0], original[0x61410]);
}

TEST_F(RomStoreTest, AFileShortenedInsideTheTablesRefusesWritesWithoutGrowingAndFailsTheLoad) {
    store.open(image);
    std::filesystem::resize_file(image, 0x61800);  // by someone else, after the open
    EXPECT_EQ(fileError([&] { store.writeRecord(TableKind::Weapon, 0); }).problem(), FileProblem::TooShort);
    EXPECT_EQ(fileError([&] { store.writeRecord(TableKind::Magic, 55); }).problem(), FileProblem::TooShort);
    EXPECT_EQ(std::filesystem::file_size(image), 0x61800u);
    EXPECT_EQ(fileError([&] { store.load(); }).action(), FileAction::Read);
    EXPECT_FALSE(store.isOpen());  // closed, with the tables as they were
    EXPECT_EQ(store.record(TableKind::Weapon, 0), ItemRecord{});
}

TEST_F(RomStoreTest, AWriteOnceThePathNamesAnotherFileIsRefusedAndWritesNothing) {
    const auto moved = folder.path() / "moved.nes";
    for (const std::string change : {"moved away", "replaced", "deleted"}) {
        writeFile(image, original);
        store.open(image);
        store.load();
        if (change == "deleted") std::filesystem::remove(image);
        else std::filesystem::rename(image, moved);
        if (change == "replaced") writeFile(image, original);
        store.setField(TableKind::Weapon, 0, 1, static_cast<std::uint8_t>(~original[0x61410]));
        EXPECT_EQ(fileError([&] { store.writeRecord(TableKind::Weapon, 0); }).problem(), FileProblem::Replaced) << change;
        for (const auto& file : std::filesystem::directory_iterator(folder.path())) {
            EXPECT_EQ(readFile(file.path()), original) << change << ": " << file.path();
        }
        store.close();
        std::filesystem::remove(moved);
    }
}

TEST_F(RomStoreTest, WithoutAFileOrOutsideTheTablesNothingIsDone) {
    EXPECT_EQ(fileError([&] { store.load(); }).problem(), FileProblem::NotOpen);
    EXPECT_THROW(store.record(TableKind::Magic, 56), std::out_of_range);
    EXPECT_THROW(store.setField(TableKind::Armour, 1, 0, 1), std::out_of_range);
    EXPECT_THROW(store.setField(TableKind::Armour, 1, 9, 1), std::out_of_range);
}

}  // namespace
}  // namespace varnel
