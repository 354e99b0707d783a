// export and import run in-process on a synthetic image: table files in every
// format and encoding they come in, checked against the image's bytes.

#include "core/TableLayout.h"
#include "core/Utf8.h"
#include "formats/TextEncoding.h"
#include "tests/cli/CommandFixture.h"

#include <gtest/gtest.h>

#include <sys/syscall.h>
#include <unistd.h>

#include <cerrno>
#include <string>
#include <vector>

// This program's own fsync counts the calls before making the real one, so
// that a test can tell how often an import flushed, or fails like a bad disk.
static int fsyncCalls = 0;
static bool diskFails = false;
extern "C" int fsync(int descriptor) {
    ++fsyncCalls;
    if (diskFails) {
        errno = EIO;
        return -1;
    }
    return static_cast<int>(::syscall(SYS_fsync, descriptor));
}

namespace varnel {
namespace {

using testing::readFile;
using testing::Result;
using testing::TablesCommandTest;
using testing::writeFile;

std::string text(const std::vector<std::uint8_t>& bytes) { return {bytes.begin(), bytes.end()}; }

// UTF-16 little-endian with its mark, as a spreadsheet saves "Unicode text"
// (every character of the tables lies in the basic plane).
std::string utf16(std::string_view utf8) {
    std::string out = "\xFF\xFE";
    while (!utf8.empty()) {
        const Utf8Character character = firstCharacter(utf8);
        utf8.remove_prefix(character.length);
        out += {static_cast<char>(character.code & 0xFF), static_cast<char>(character.code >> 8)};
    }
    return out;
}

TEST_F(TablesCommandTest, ExportThenImportOfAnUnchangedFileWritesNothingInEveryFormat) {
    for (const std::string name : {"tables.csv", "tables.json", "tables.txt"}) {
        std::vector<std::string> exportArgs{"export", image.string(), "-o", file(name)};
        if (!name.ends_with(".json")) exportArgs.push_back("--bom");
        fsyncCalls = 0;
        ASSERT_EQ(run(exportArgs).status, 0) << name;
        EXPECT_EQ(fsyncCalls, 2) << "the file, then its folder";
        const Result imported = run({"import", image.string(), file(name)});
        EXPECT_EQ(imported.status, 0) << imported.err;
        EXPECT_NE(imported.out.find("没有需要写入的内容（表格文件按 UTF-8 编码读取）"), std::string::npos) << imported.out;
        EXPECT_EQ(readFile(image), original) << name;
    }
    EXPECT_TRUE(text(readFile(file("tables.csv"))).starts_with("\xEF\xBB\xBFtable,index,name,field1,"));
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
    diskFails = true;
    const Result failed = run({"import", image.string(), writeText("zero.csv", "table,index,field1,field2,field3,"
                                                                                 "field4,field5,field6,field7,field8\n"
                                                                                 "magic,0,0,0,0,0,0,0,0,0\n")});
    diskFails = false;
    EXPECT_EQ(failed.status, 2);
    EXPECT_EQ(failed.err, "varnel-rom-tables: 把文件 " + image.string() +
                              " 写入磁盘失败：Input/output error 修改可能没有完整写入磁盘，请再试一次。\n");
}

TEST_F(TablesCommandTest, ChineseSpreadsheetFilesInGb18030AndUtf16AreRead) {
    // Exported in GB18030 for an older spreadsheet program, the file is that encoding and reads back as it was.
    ASSERT_EQ(run({"export", image.string(), "-o", file("gb.csv"), "--encoding", "GB18030"}).status, 0);
    ASSERT_EQ(run({"export", image.string(), "-o", file("utf8.csv")}).status, 0);
    const DecodedText decoded = decodeText(readFile(file("gb.csv")));
    EXPECT_EQ(decoded.encoding, TextEncoding::Gb18030);
    EXPECT_EQ(decoded.utf8, text(readFile(file("utf8.csv"))));
    EXPECT_NE(run({"import", image.string(), file("gb.csv")}).out.find("按 GB18030 编码读取"), std::string::npos);

    // "Unicode text": tab-separated UTF-16 with a mark, here with weapon #0's field 1 changed.
    const Result tsv = run({"export", image.string(), "--format", "tsv", "--table", "weapon"});
    std::string edited = tsv.out;
    const std::size_t cell = edited.find("\"不明物品\"\t") + std::string("\"不明物品\"\t").size();
    edited.replace(cell, edited.find('\t', cell) - cell, "２５５");
    const Result imported = run({"import", image.string(), writeText("unicode.txt", utf16(edited))});
    EXPECT_EQ(imported.status, 0) << imported.err;
    EXPECT_NE(imported.out.find("已修改 1 条记录中的 1 个字段（表格文件按 UTF-16 编码读取）"), std::string::npos);
    auto expected = original;
    expected[fieldOffset(TableKind::Weapon, 0, 1)] = 255;
    EXPECT_EQ(readFile(image), expected);
}

TEST_F(TablesCommandTest, TableFilesThatCannotBeReadChangeNothing) {
    std::string manyBadRows = "table,index,field1,field2,field3,field4,field5,field6,field7,field8\n";
    for (int row = 0; row < 130; ++row) manyBadRows += "weapon,x,1,2,3,4,5,6,7,8\n";
    std::filesystem::resize_file(writeText("huge.csv", ""), (16u << 20) + 1);  // one byte over the limit, never read
    const struct {
        std::vector<std::string> args;
        std::string says;
    } refusals[] = {
        {{"export", image.string(), "--bom", "--encoding", "gb18030"}, "--bom 是 UTF-8 的标记"},
        {{"export", image.string(), "--bom", "--format", "json"}, "--bom 只用于 CSV 和 TSV"},
        {{"import", image.string(), writeText("bad.csv", "table,index\r\n\xFF\xFF\r\n")}, "第 2 行有按 UTF-8 和按 GB18030 都无法读取的字节"},
        {{"import", image.string(), writeText("many.csv", manyBadRows)}, "有 130 处错误"},
        {{"import", image.string(), file("many.csv")}, "  第 101 行，列 index"},
        {{"import", image.string(), file("many.csv")}, "\n  ……另有 30 处错误没有列出。\n"},
        {{"import", image.string(), file("huge.csv")}, "太大（16777217 字节）"},
    };
    for (const auto& refusal : refusals) {
        const Result result = run(refusal.args);
        EXPECT_EQ(result.status, 2) << refusal.says;
        EXPECT_NE(result.err.find(refusal.says), std::string::npos) << result.err;
        EXPECT_TRUE(result.out.empty()) << result.out;
    }
    EXPECT_EQ(readFile(image), original);
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
