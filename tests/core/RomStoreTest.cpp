// The image store: its life from Empty to Loaded to Closed, what it refuses
// to open, and that a save touches the file only where it must.

#include "core/Error.h"
#include "core/RomStore.h"
#include "tests/support/SyntheticImage.h"

#include <gtest/gtest.h>

#include <sys/stat.h>
#include <unistd.h>

#include <cstdlib>
#include <filesystem>
#include <functional>
#include <string>

namespace varnel {
namespace {

using testing::differingOffsets;
using testing::makeImage;
using testing::readFile;
using testing::writeFile;

class RomStoreTest : public ::testing::Test, protected testing::ImageFile {
protected:
    void openAndLoad() {
        store.open(image);
        store.load();
    }

    void setRecord(TableKind kind, int record, std::uint8_t first) {
        for (int field = 1; field <= recordSize; ++field) {
            store.setField(kind, record, field, static_cast<std::uint8_t>(first + field));
        }
    }

    RomStore store;
};

// Runs the call, expecting a file-access error; returns it for closer checks.
Error expectFileError(const std::function<void()>& call) {
    try {
        call();
    } catch (const Error& error) {
        EXPECT_EQ(error.kind(), ErrorKind::FileAccess);
        return error;
    }
    ADD_FAILURE() << "no error was thrown";
    return Error::overflow("none");
}

TEST_F(RomStoreTest, BeforeAnyOpenEveryRecordIsEightZeros) {
    EXPECT_EQ(store.record(TableKind::Weapon, 0), ItemRecord{});
    EXPECT_EQ(store.record(TableKind::Armour, 63), ItemRecord{});
    EXPECT_EQ(store.record(TableKind::Magic, 55), ItemRecord{});
    EXPECT_FALSE(store.isOpen());
}

TEST_F(RomStoreTest, SavingRecordFourAfterRecordFiveKeepsFive) {
    openAndLoad();
    setRecord(TableKind::Weapon, 5, 100);
    store.writeRecord(TableKind::Weapon, 5);
    setRecord(TableKind::Weapon, 4, 200);
    store.writeRecord(TableKind::Weapon, 4);

    const auto bytes = readFile(image);  // read while the store still holds the file
    const std::size_t record4 = 0x61410 + 4 * 8;
    for (std::size_t k = 0; k < 8; ++k) {
        EXPECT_EQ(bytes[record4 + k], 201 + k);
        EXPECT_EQ(bytes[record4 + 8 + k], 101 + k);
    }
    EXPECT_EQ(differingOffsets(original, bytes).size(), 16u);
}

TEST_F(RomStoreTest, SavingUnchangedRecordsLeavesTheFileByteIdentical) {
    openAndLoad();
    for (const TableSpec& table : tableSpecs) {
        store.writeRecord(table.kind, 0);
        store.writeRecord(table.kind, table.recordCount - 1);
    }
    store.sync();
    EXPECT_EQ(readFile(image), original);
}

TEST_F(RomStoreTest, CloseIsHarmlessTwiceAndWithoutOpen) {
    store.close();
    openAndLoad();
    store.close();
    store.close();
    EXPECT_FALSE(store.isOpen());
    EXPECT_EQ(readFile(image), original);
}

TEST_F(RomStoreTest, APathWithChineseCharactersAndBlanksWorks) {
    const auto chinese = folder.path() / "我的 存档 镜像.nes";
    writeFile(chinese, original);
    store.open(chinese);
    store.load();
    store.setField(TableKind::Weapon, 0, 1, 42);
    store.writeRecord(TableKind::Weapon, 0);
    EXPECT_EQ(readFile(chinese)[0x61410], 42);
}

TEST_F(RomStoreTest, OutOfRangeIndexesAreRejected) {
    EXPECT_THROW(store.record(TableKind::Weapon, -1), std::out_of_range);
    EXPECT_THROW(store.record(TableKind::Weapon, 88), std::out_of_range);
    EXPECT_THROW(store.record(TableKind::Magic, 56), std::out_of_range);
    EXPECT_THROW(store.setField(TableKind::Armour, 0, 0, 1), std::out_of_range);
    EXPECT_THROW(store.setField(TableKind::Armour, 0, 9, 1), std::out_of_range);
    EXPECT_THROW(store.writeRecord(TableKind::Armour, 64), std::out_of_range);
}

// --- What open refuses, each leaving the store Empty -------------------------

TEST_F(RomStoreTest, OpenRefusesAnEmptyPathADirectoryAndAFifoWithoutHanging) {
    const auto fifo = folder.path() / "pipe.nes";
    ASSERT_EQ(::mkfifo(fifo.c_str(), 0600), 0);
    const std::pair<std::filesystem::path, FileProblem> refusals[] = {
        {{}, FileProblem::EmptyPath}, {folder.path(), FileProblem::System}, {fifo, FileProblem::NotRegularFile}};
    for (const auto& [path, problem] : refusals) {
        const Error error = expectFileError([&] { store.open(path); });
        EXPECT_EQ(error.problem(), problem) << path;
        EXPECT_NE(std::string(error.what()).find(path.string()), std::string::npos) << error.what();
        EXPECT_FALSE(store.isOpen()) << path;
    }
}

TEST_F(RomStoreTest, OpenRefusesAMissingFileAndDoesNotCreateIt) {
    const auto missing = folder.path() / "missing.nes";
    const Error error = expectFileError([&] { store.open(missing); });
    EXPECT_EQ(error.action(), FileAction::Open);
    EXPECT_EQ(error.problem(), FileProblem::System);
    EXPECT_FALSE(error.systemReason().empty());
    EXPECT_NE(std::string(error.what()).find(missing.string()), std::string::npos);
    EXPECT_FALSE(std::filesystem::exists(missing));
    EXPECT_FALSE(store.isOpen());
}

TEST_F(RomStoreTest, OpenRefusesAFileTooShortForTheTablesAndLeavesItAlone) {
    const auto shortImage = folder.path() / "short.nes";
    const auto bytes = makeImage(0x61A8F);
    writeFile(shortImage, bytes);
    const Error error = expectFileError([&] { store.open(shortImage); });
    EXPECT_EQ(error.problem(), FileProblem::TooShort);
    EXPECT_FALSE(store.isOpen());
    EXPECT_EQ(readFile(shortImage), bytes);
}

// Takes write permission away, for root too where the file system has an
// immutable attribute; gives it back when done.
class Unwritable {
public:
    explicit Unwritable(const std::filesystem::path& file) : file_(file) {
        ::chmod(file.c_str(), 0444);
        immutable_ = ::geteuid() == 0 && std::system(("chattr +i '" + file.string() + "' 2>/dev/null").c_str()) == 0;
    }
    ~Unwritable() {
        if (immutable_) std::system(("chattr -i '" + file_.string() + "'").c_str());
        ::chmod(file_.c_str(), 0644);
    }
    Unwritable(const Unwritable&) = delete;
    Unwritable& operator=(const Unwritable&) = delete;

    bool effective() const { return ::geteuid() != 0 || immutable_; }

private:
    std::filesystem::path file_;
    bool immutable_ = false;
};

TEST_F(RomStoreTest, OpenRefusesAFileItCannotWrite) {
    const Unwritable unwritable(image);
    if (!unwritable.effective()) GTEST_SKIP() << "root may write this file and it cannot be made immutable here";
    const Error error = expectFileError([&] { store.open(image); });
    EXPECT_EQ(error.problem(), FileProblem::System);
    EXPECT_FALSE(error.systemReason().empty());
    EXPECT_FALSE(store.isOpen());
}

TEST_F(RomStoreTest, ASecondOpenIsRefusedAndTheFirstFileStaysInUse) {
    openAndLoad();
    const auto other = folder.path() / "other.nes";
    const auto otherBytes = makeImage(testing::typicalImageSize, 2);
    writeFile(other, otherBytes);

    const Error error = expectFileError([&] { store.open(other); });
    EXPECT_EQ(error.problem(), FileProblem::AlreadyOpen);

    store.setField(TableKind::Weapon, 1, 1, 9);
    store.writeRecord(TableKind::Weapon, 1);
    EXPECT_EQ(readFile(image)[0x61418], 9);
    EXPECT_EQ(readFile(other), otherBytes);
}

// --- Failures after open -----------------------------------------------------

TEST_F(RomStoreTest, AFailedLoadClosesTheFileAndKeepsTheTablesEmpty) {
    store.open(image);
    std::filesystem::resize_file(image, 0x61800);  // shortened by someone else meanwhile
    const Error error = expectFileError([&] { store.load(); });
    EXPECT_EQ(error.action(), FileAction::Read);
    EXPECT_FALSE(store.isOpen());
    EXPECT_EQ(store.record(TableKind::Weapon, 0), ItemRecord{});

    // Empty again, so another image can be opened.
    const auto other = folder.path() / "other.nes";
    writeFile(other, original);
    store.open(other);
    store.load();
    EXPECT_EQ(store.record(TableKind::Weapon, 0)[0], original[0x61410]);
}

TEST_F(RomStoreTest, AWriteToAFileShortenedMeanwhileIsRefusedWithoutGrowingIt) {
    openAndLoad();
    std::filesystem::resize_file(image, 0x61000);
    const Error error = expectFileError([&] { store.writeRecord(TableKind::Magic, 55); });
    EXPECT_EQ(error.action(), FileAction::Write);
    EXPECT_EQ(std::filesystem::file_size(image), 0x61000u);
}

TEST_F(RomStoreTest, LoadWriteAndSyncWithoutAnOpenFileAreRefused) {
    EXPECT_EQ(expectFileError([&] { store.load(); }).problem(), FileProblem::NotOpen);
    EXPECT_EQ(expectFileError([&] { store.writeRecord(TableKind::Weapon, 0); }).problem(), FileProblem::NotOpen);
    EXPECT_EQ(expectFileError([&] { store.sync(); }).problem(), FileProblem::NotOpen);
}

}  // namespace
}  // namespace varnel
