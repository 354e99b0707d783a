// varnel-rom-tables run in-process on synthetic images: what each command
// prints, writes and refuses, checked against the files' bytes.

#include "cli/Program.h"
#include "core/TableLayout.h"
#include "formats/Crc32.h"
#include "formats/ImageInfo.h"
#include "tests/support/SyntheticImage.h"

#include <gtest/gtest.h>
#include <nlohmann/json.hpp>

#include <sstream>
#include <string>
#include <vector>

namespace varnel {
namespace {

using testing::readFile;
using testing::writeFile;

struct Result {
    int status;
    std::string out;
    std::string err;
};

class TablesCommandTest : public ::testing::Test, protected testing::ImageFile {
protected:
    Result run(std::vector<std::string> args) {
        args.insert(args.begin(), "varnel-rom-tables");
        std::vector<const char*> argv;
        for (const std::string& arg : args) argv.push_back(arg.c_str());
        std::ostringstream out;
        std::ostringstream err;
        const int status = cli::runProgram(static_cast<int>(argv.size()), argv.data(), out, err);
        return {status, out.str(), err.str()};
    }

    std::string file(const std::string& name) const { return (folder.path() / name).string(); }

    std::string writeText(const std::string& name, const std::string& text) {
        writeFile(file(name), {text.begin(), text.end()});
        return file(name);
    }
};

TEST_F(TablesCommandTest, ExportThenImportOfAnUnchangedFileWritesNothing) {
    for (const char* name : {"tables.csv", "tables.json"}) {
        ASSERT_EQ(run({"export", image.string(), "-o", file(name)}).status, 0) << name;
        const Result imported = run({"import", image.string(), file(name)});
        EXPECT_EQ(imported.status, 0) << imported.err;
        EXPECT_NE(imported.out.find("没有需要写入"), std::string::npos) << imported.out;
        EXPECT_EQ(readFile(image), original) << name;
    }
    // One table alone, to standard output: a header and one row per record.
    const Result magic = run({"export", image.string(), "--table", "magic"});
    EXPECT_EQ(std::count(magic.out.begin(), magic.out.end(), '\n'), 1 + 56);
}

TEST_F(TablesCommandTest, OneChangedCellChangesExactlyOneByte) {
    const std::size_t offset = fieldOffset(TableKind::Armour, 10, 5);
    ASSERT_NE(original[offset], 8);
    // Columns in another order, name left out; field5 read as the window reads " ７.5 ".
    std::string row = "\" ７.5 \",10,armour";
    for (const int k : {1, 2, 3, 4, 6, 7, 8}) row += "," + std::to_string(original[fieldOffset(TableKind::Armour, 10, k)]);
    const std::string table =
        writeText("one.csv", "field5,index,table,field1,field2,field3,field4,field6,field7,field8\r\n" + row + "\r\n");
    const std::string change = "防具 #10 “Leather 皮帽” 字段 5：" + std::to_string(original[offset]) + " → 8\n";

    const Result dryRun = run({"import", image.string(), table, "--dry-run"});
    EXPECT_EQ(dryRun.status, 0) << dryRun.err;
    EXPECT_EQ(dryRun.out.substr(0, change.size()), change);
    EXPECT_EQ(readFile(image), original);

    const Result imported = run({"import", image.string(), table});
    EXPECT_EQ(imported.status, 0) << imported.err;
    EXPECT_EQ(imported.out.substr(0, change.size()), change);
    auto expected = original;
    expected[offset] = 8;
    EXPECT_EQ(readFile(image), expected);
}

TEST_F(TablesCommandTest, RefusalsLeaveEveryFileAsItWas) {
    const std::string tooShort = "too short";
    const std::string shortImage = writeText("short.nes", tooShort);
    const std::string badRows = writeText("bad.csv", "table,index,field1,field2,field3,field4,field5,field6,field7,field8\n"
                                                     "sword,1,1,2,3,4,5,6,7,8\n"
                                                     "weapon,88,1,2,3,4,5,6,7,8\n"
                                                     "weapon,0,1,2,3,4,5,6,7,300\n");
    const std::string existing = writeText("existing.nes", "keep me");
    ASSERT_EQ(run({"patch", image.string(), shortImage, "-o", file("p.ips")}).status, 0);
    const struct {
        std::vector<std::string> args;
        std::string says;
    } refusals[] = {
        {{"import", image.string(), badRows}, "\n  第 2 行，列 table：“sword”不是表名"},
        {{"import", image.string(), badRows}, "\n  第 4 行，列 field8：“300”超出 0 到 255"},
        {{"import", shortImage, badRows}, "文件太短"},
        {{"import", image.string(), file("missing.csv")}, "missing.csv"},
        {{"export", folder.path().string()}, folder.path().string()},
        {{"export", image.string(), "-o", image.string()}, "不会覆盖"},
        {{"diff", image.string(), file("missing.nes")}, "missing.nes"},
        {{"apply", file("p.ips"), image.string(), "-o", existing}, "--force"},
        {{"apply", file("p.ips"), image.string(), "-o", image.string(), "--force"}, "不会覆盖"},
        {{"apply", image.string(), image.string(), "-o", file("new.nes")}, "不是 IPS 或 BPS 补丁"},
        {{"patch", image.string(), image.string(), "-o", file("p.txt")}, "--format"},
        {{"export", image.string(), "--format", "xml"}, "参数的取值无效"},
        {{"frobnicate"}, "用 --help 查看用法"},
    };
    for (const auto& refusal : refusals) {
        const Result result = run(refusal.args);
        EXPECT_EQ(result.status, 2) << refusal.says;
        EXPECT_EQ(result.err.rfind("varnel-rom-tables: ", 0), 0u) << result.err;
        EXPECT_NE(result.err.find(refusal.says), std::string::npos) << result.err;
        EXPECT_TRUE(result.out.empty()) << result.out;
    }
    EXPECT_EQ(readFile(image), original);
    EXPECT_EQ(readFile(shortImage), std::vector<std::uint8_t>(tooShort.begin(), tooShort.end()));
    EXPECT_EQ(readFile(existing).size(), 7u);
    EXPECT_FALSE(std::filesystem::exists(file("new.nes")));
    EXPECT_EQ(std::distance(std::filesystem::directory_iterator(folder.path()), {}), 5);  // no temporary files left
    EXPECT_NE(run({"import", "--help"}).out.find("用法: varnel-rom-tables import [选项] IMAGE FILE"), std::string::npos);
}

TEST_F(TablesCommandTest, APatchAppliesBackToTheModifiedImageAndOnlyToTheOriginal) {
    auto modified = original;
    modified[0x61410] ^= 0xFF;
    modified.resize(modified.size() + 1000, 0x42);
    writeFile(file("modified.nes"), modified);
    for (const auto& [patch, format] : {std::pair{"p.ips", "ips"}, std::pair{"p.dat", "bps"}}) {
        ASSERT_EQ(run({"patch", image.string(), file("modified.nes"), "-o", file(patch), "--format", format}).status, 0);
        const Result applied = run({"apply", file(patch), image.string(), "-o", file("out.nes"), "--force"});
        EXPECT_EQ(applied.status, 0) << applied.err;
        EXPECT_EQ(readFile(file("out.nes")), modified) << format;
    }
    // A BPS patch knows its source: applied to another file it is refused, naming both checksums.
    const Result wrong = run({"apply", file("p.dat"), file("modified.nes"), "-o", file("wrong.nes")});
    EXPECT_EQ(wrong.status, 2);
    for (const auto& bytes : {original, modified}) EXPECT_NE(wrong.err.find(crcText(crc32(bytes))), std::string::npos) << wrong.err;
    EXPECT_FALSE(std::filesystem::exists(file("wrong.nes")));
    EXPECT_EQ(readFile(image), original);
}

TEST_F(TablesCommandTest, DiffNamesExactlyTheChangedFields) {
    auto changed = original;
    changed[fieldOffset(TableKind::Weapon, 3, 2)] = 200;
    changed[fieldOffset(TableKind::Magic, 55, 8)] = 7;
    changed[0x10] ^= 1;
    changed.push_back(0);
    writeFile(file("changed.nes"), changed);

    EXPECT_EQ(run({"diff", image.string(), image.string()}).status, 0);
    const Result text = run({"diff", image.string(), file("changed.nes")});
    EXPECT_EQ(text.status, 1);
    EXPECT_EQ(text.out, "武器 #3 “Dragon飞龙爪” 字段 2：" + std::to_string(original[0x6142A - 1]) + " → 200\n" +
                            "魔法 #55 “Chocobo 陆行鸟” 字段 8：" + std::to_string(original[0x61A8F]) + " → 7\n" +
                            "表格中共有 2 个字段不同。\n表格以外有 2 个字节不同。\n");

    const Result json = run({"diff", image.string(), file("changed.nes"), "--format", "json"});
    const auto parsed = nlohmann::json::parse(json.out);
    EXPECT_EQ(parsed["differences"].size(), 2u);
    EXPECT_EQ(parsed["differences"][1]["table"], "magic");
    EXPECT_EQ(parsed["differences"][1]["b"], 7);
    EXPECT_EQ(parsed["bytesOutsideTablesDiffering"], 2);
}

TEST_F(TablesCommandTest, InfoReadsTheHeaderAndChecksumsTheDataAfterIt) {
    std::string bytes = std::string("NES\x1A", 4) + '\x02' + '\x01' + '\x16' + '\x08' + std::string(8, '\0');
    bytes += std::string(512, 't') + "abc";  // header says: trainer, battery, mapper 1, NES 2.0
    const Result info = run({"info", writeText("h.nes", bytes), "--format", "json"});
    ASSERT_EQ(info.status, 0) << info.err;
    const auto parsed = nlohmann::json::parse(info.out);
    EXPECT_EQ(parsed["header"]["prgRomBytes"], 2 * 16384);
    EXPECT_EQ(parsed["header"]["chrRomBytes"], 8192);
    EXPECT_EQ(parsed["header"]["mapper"], 1);
    EXPECT_EQ(parsed["header"]["nes2"], true);
    EXPECT_EQ(parsed["rom"]["sha1"], "a9993e364706816aba3e25717850c26c9cd0d89d");  // SHA-1 of "abc"
    EXPECT_EQ(parsed["tablesInside"], false);

    const Result plain = run({"info", writeText("plain.bin", "123456789")});
    EXPECT_NE(plain.out.find("CRC-32 CBF43926"), std::string::npos) << plain.out;  // the standard check value
    EXPECT_NE(plain.out.find("iNES 文件头：无"), std::string::npos);
}

TEST(InesHeader, SizesInBothHeaderVersions) {
    const auto header = [](std::uint8_t prg, std::uint8_t chr, std::uint8_t flags7, std::uint8_t byte9) {
        std::vector<std::uint8_t> bytes{'N', 'E', 'S', 0x1A, prg, chr, 0x40, flags7, 0x03, byte9, 0, 0, 0, 0, 0, 0};
        return *readInesHeader(bytes);
    };
    EXPECT_EQ(header(16, 0, 0x10, 0).mapper, 0x14);  // iNES: byte 8 is not part of the mapper
    EXPECT_EQ(header(16, 0, 0x18, 0).mapper, 0x314);
    EXPECT_EQ(header(0x02, 0x01, 0x08, 0x21).prgRomBytes, 0x102u * 16384);
    EXPECT_EQ(header(0x02, 0x01, 0x08, 0x21).chrRomBytes, 0x201u * 8192);
    EXPECT_EQ(header(0x0B, 0, 0x08, 0x0F).prgRomBytes, 4u * 7);  // 2^2 * (2 * 3 + 1)
    EXPECT_EQ(header(0xFF, 0, 0x08, 0x0F).prgRomBytes, std::nullopt);  // 2^63 * 7 does not fit
    EXPECT_FALSE(readInesHeader(std::vector<std::uint8_t>{'N', 'E', 'S', 0x1A, 1}).has_value());
}

}  // namespace
}  // namespace varnel
