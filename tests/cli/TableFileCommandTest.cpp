// export and import run in-process on a synthetic image: what they write and
// how often they flush, checked against the image's bytes.

#include "core/TableLayout.h"
#include "formats/TableFile.h"
#include "tests/cli/CommandFixture.h"
#include "tests/support/CountedFsync.h"

#include <gtest/gtest.h>

#include <sstream>
#include <string>
#include <vector>

namespace varnel {
namespace {

using testing::fsyncCalls;
using testing::readFile;
using testing::Result;
using testing::TablesCommandTest;
using testing::writeFile;

std::string text(const std::vector<std::uint8_t>& bytes) { return {bytes.begin(), bytes.end()}; }

// In GB18030 too, for an older spreadsheet program: read back, every name must match its record's.
TEST_F(TablesCommandTest, ExportThenImportOfAnUnchangedFileWritesNothingInEveryFormatAndEncoding) {
    const std::vector<std::string> exports[] = {
        {"tables.csv", "--bom"}, {"tables.json"}, {"tables.txt", "--bom"}, {"gb.csv", "--encoding", "GB18030"}};
    for (const auto& options : exports) {
        std::vector<std::string> exportArgs{"export", image.string(), "-o", file(options[0])};
        exportArgs.insert(exportArgs.end(), options.begin() + 1, options.end());
        fsyncCalls = 0;
        ASSERT_EQ(run(exportArgs).status, 0) << options[0];
        EXPECT_EQ(fsyncCalls, 2) << "the file, then its folder";
        const Result imported = run({"import", image.string(), file(options[0])});
        EXPECT_EQ(imported.status, 0) << imported.err;
        const std::string encoding = options.back() == "GB18030" ? "GB18030" : "UTF-8";
        EXPECT_NE(imported.out.find("没有需要写入的内容（表格文件按 " + encoding + " 编码读取）"), std::string::npos) << imported.out;
        EXPECT_EQ(readFile(image), original) << options[0];
    }
    // One row per record, weapon, armour, magic, each by index ascending.
    std::string expected, got;
    for (const TableKind kind : {TableKind::Weapon, TableKind::Armour, TableKind::Magic})
        for (int index = 0; isValidRecord(kind, index); ++index) expected += std::string(tableKey(kind)) + "," + std::to_string(index) + "\n";
    const std::string csv = text(readFile(file("tables.csv")));
    std::istringstream rows(csv);
    std::string row;
    std::getline(rows, row);  // the header
    while (std::getline(rows, row)) got += row.substr(0, row.find(',', row.find(',') + 1)) + "\n";
    EXPECT_EQ(got, expected);
    EXPECT_TRUE(csv.starts_with("\xEF\xBB\xBFtable,index,name,field1,"));
    EXPECT_TRUE(text(readFile(file("tables.txt"))).starts_with("\xEF\xBB\xBFtable\tindex\tname\tfield1\t"));
    // One table alone, to standard output: a header and one row per record.
    const Result magic = run({"export", image.string(), "--table", "magic"});
    EXPECT_EQ(std::count(magic.out.begin(), magic.out.end(), '\n'), 1 + 56);
}

TEST_F(TablesCommandTest, ChangedCellsChangeExactlyTheirBytesWithOneFlush) {
    const std::size_t offset = fieldOffset(TableKind::Armour, 10, 5);
    const std::size_t earlier = fieldOffset(TableKind::Weapon, 2, 1);
    ASSERT_NE(original[offset], 8);
    ASSERT_NE(original[earlier], 9);
    // Columns in another order, name left out; field5 read as the window reads " ７.5 ".
    std::string rows = "\" ７.5 \",10,armour";
    for (const int k : {1, 2, 3, 4, 6, 7, 8}) rows += "," + std::to_string(original[fieldOffset(TableKind::Armour, 10, k)]);
    rows += "\r\n" + std::to_string(original[fieldOffset(TableKind::Weapon, 2, 5)]) + ",2,weapon,9";
    for (const int k : {2, 3, 4, 6, 7, 8}) rows += "," + std::to_string(original[fieldOffset(TableKind::Weapon, 2, k)]);
    const std::string table =
        writeText("two.csv", "field5,index,table,field1,field2,field3,field4,field6,field7,field8\r\n" + rows + "\r\n");
    // Listed in the tables' order, whatever the file's.
    const std::string change = "武器 #2 “Cat Claw 猫爪” 字段 1：" + std::to_string(original[earlier]) + " → 9\n" +
                               "防具 #10 “Leather 皮帽” 字段 5：" + std::to_string(original[offset]) + " → 8\n";

    fsyncCalls = 0;
    const Result dryRun = run({"import", image.string(), table, "--dry-run"});
    EXPECT_EQ(dryRun.status, 0) << dryRun.err;
    EXPECT_EQ(dryRun.out, change + "试运行：将修改 2 条记录中的 2 个字段（表格文件按 UTF-8 编码读取），镜像没有任何改动。\n");
    EXPECT_EQ(readFile(image), original);
    EXPECT_EQ(fsyncCalls, 0);

    const Result imported = run({"import", image.string(), table});
    EXPECT_EQ(imported.status, 0) << imported.err;
    EXPECT_EQ(imported.out, change + "已修改 2 条记录中的 2 个字段（表格文件按 UTF-8 编码读取）。\n");
    auto expected = original;
    expected[offset] = 8;
    expected[earlier] = 9;
    EXPECT_EQ(readFile(image), expected);
    EXPECT_EQ(fsyncCalls, 1);

    // A flush that fails is a failure, and says what the file may now hold.
    testing::fsyncFails = true;
    const Result failed = run({"import", image.string(), writeText("zero.csv", "table,index,field1,field2,field3,"
                                                                                 "field4,field5,field6,field7,field8\n"
                                                                                 "magic,0,0,0,0,0,0,0,0,0\n")});
    testing::fsyncFails = false;
    EXPECT_EQ(failed.status, 2);
    EXPECT_EQ(failed.err, "varnel-rom-tables: 把文件 " + image.string() +
                              " 写入磁盘失败：Input/output error 修改可能没有完整写入磁盘，请再试一次。\n");
}

// A dry run reads the image only: here one that cannot be opened for writing
// at all, the running program itself.
TEST_F(TablesCommandTest, ADryRunNeedsNoWritePermission) {
    const std::string running = std::filesystem::read_symlink("/proc/self/exe").string();
    ASSERT_EQ(run({"export", running, "-o", file("self.csv")}).status, 0);
    const Result dryRun = run({"import", running, file("self.csv"), "--dry-run"});
    EXPECT_EQ(dryRun.status, 0) << dryRun.err;
    EXPECT_NE(run({"import", running, file("self.csv")}).err.find("Text file busy"), std::string::npos);
}

}  // namespace
}  // namespace varnel
