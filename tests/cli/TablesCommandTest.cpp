// varnel-rom-tables run in-process on synthetic images: what diff, patch,
// apply and info print, write and refuse, checked against the files' bytes.

#include "core/TableLayout.h"
#include "core/Version.h"
#include "formats/Crc32.h"
#include "formats/ImageInfo.h"
#include "cli/Arguments.h"
#include "tests/cli/CommandFixture.h"

#include <gtest/gtest.h>
#include <nlohmann/json.hpp>
#include <openssl/sha.h>

#include <algorithm>
#include <string>
#include <tuple>
#include <vector>

namespace varnel {
namespace {

using testing::readFile;
using testing::Result;
using testing::TablesCommandTest;
using testing::writeFile;

// SHA-1 straight from OpenSSL, in one piece.
std::string sha1Of(std::span<const std::uint8_t> bytes) {
    Sha1Digest digest{};
    SHA1(bytes.data(), bytes.size(), digest.data());
    return sha1Text(digest);
}

TEST_F(TablesCommandTest, RefusalsSayWhyOnOneLineAndLeaveEveryFileAsItWas) {
    const std::string tooShort = "too short";
    const std::string shortImage = writeText("short.nes", tooShort);
    const std::string rows = writeText("rows.csv", "table,index,field1,field2,field3,field4,field5,field6,field7,field8\n");
    const std::string existing = writeText("existing.nes", "keep me");
    std::string manyBadRows = "table,index,field1,field2,field3,field4,field5,field6,field7,field8\n";
    for (int row = 0; row < 130; ++row) manyBadRows += "weapon,x,1,2,3,4,5,6,7,8\n";
    const std::string many = writeText("many.csv", manyBadRows);
    std::filesystem::resize_file(writeText("huge.csv", ""), (16u << 20) + 1);  // one byte over the limit, never read
    ASSERT_EQ(run({"patch", image.string(), shortImage, "-o", file("p.ips")}).status, 0);
    const struct {
        std::vector<std::string> args;
        std::string says;
    } refusals[] = {
        {{"import", shortImage, rows}, "文件太短"},
        {{"import", image.string(), file("missing.csv")}, "missing.csv"},
        {{"import", image.string(), many}, "有 130 处错误"},
        {{"import", image.string(), many}, "  第 101 行，列 index"},  // the first hundred listed
        {{"import", image.string(), many}, "\n  ……另有 30 处错误没有列出。\n"},
        {{"import", image.string(), file("huge.csv")}, "太大（16777217 字节）"},
        {{"export", folder.path().string()}, folder.path().string()},
        {{"export", image.string(), "-o", image.string()}, "不会覆盖"},
        {{"export", image.string(), "--bom", "--encoding", "gb18030"}, "--bom 是 UTF-8 的标记"},
        {{"export", image.string(), "--bom", "--format", "json"}, "--bom 只用于 CSV 和 TSV"},
        {{"diff", image.string(), file("missing.nes")}, "missing.nes"},
        {{"apply", file("p.ips"), image.string(), "-o", existing}, "--force"},
        {{"apply", file("p.ips"), image.string(), "-o", image.string(), "--force"}, "不会覆盖"},
        {{"apply", image.string(), image.string(), "-o", file("new.nes")}, "不是 IPS 或 BPS 补丁"},
        {{"apply", file("p.ips"), image.string(), "-o", file("p.ips"), "--force"}, "不会覆盖"},
        {{"patch", image.string(), image.string(), "-o", file("p.txt")}, "--format"},
        {{"export", image.string(), "--format", "xml"}, "参数的取值无效"},
        {{"info", image.string(), "--format", "1"}, "参数的取值无效"},  // a word, not the number behind it
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
    EXPECT_EQ(std::distance(std::filesystem::directory_iterator(folder.path()), {}), 7);  // no temporary files left
    EXPECT_NE(run({"import", "--help"}).out.find("用法: varnel-rom-tables import [选项] IMAGE FILE"), std::string::npos);
}

TEST_F(TablesCommandTest, VersionNamesTheCopyrightHolderAndTheLicence) {
    const Result version = run({"--version"});
    EXPECT_EQ(std::tie(version.status, version.out), std::tuple(0, "varnel-rom-tables " + std::string(projectVersion) +
                              "\nCopyright (C) 2026 VarnelROM修改器开发组\n"
                              "许可证：MIT <https://opensource.org/licenses/MIT>\n"
                              "本软件是自由软件：您可以自由修改和重新发布它。\n"
                              "在法律允许的范围内，不提供任何担保。\n"));
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
    // A BPS patch knows its source: on another file, even of the same size, it is refused naming
    // the checksum wanted, then the one found.
    auto sameSize = original;
    sameSize[5] ^= 1;
    writeFile(file("same.nes"), sameSize);
    EXPECT_EQ(run({"apply", file("p.dat"), file("same.nes"), "-o", file("wrong.nes")}).err,
              "varnel-rom-tables: 无法把补丁 " + file("p.dat") + " 应用到 " + file("same.nes") +
                  "：补丁要求的源文件 CRC-32 为 " + crcText(crc32(original)) + "，而该文件为 " +
                  crcText(crc32(sameSize)) + "。\n");
    EXPECT_FALSE(std::filesystem::exists(file("wrong.nes")));
    EXPECT_EQ(readFile(image), original);
}

TEST_F(TablesCommandTest, DiffNamesExactlyTheChangedFields) {
    auto changed = original;
    changed[fieldOffset(TableKind::Weapon, 3, 2)] = 200;
    changed[fieldOffset(TableKind::Magic, 55, 8)] = 7;
    changed[tablesEnd] ^= 1;  // the first byte after the tables
    changed.push_back(0);
    writeFile(file("changed.nes"), changed);

    // Bytes outside the tables are counted, but only the tables make a difference.
    auto outside = original;
    outside[0x10] ^= 1;
    writeFile(file("outside.nes"), outside);
    const Result same = run({"diff", image.string(), file("outside.nes")});
    EXPECT_EQ(std::tie(same.status, same.out), std::tuple(0, "三个表格完全相同。\n表格以外有 1 个字节不同。\n"));
    const Result text = run({"diff", image.string(), file("changed.nes")});
    EXPECT_EQ(text.status, 1);
    EXPECT_EQ(text.out, "武器 #3 “Dragon飞龙爪” 字段 2：" + std::to_string(original[0x6142A - 1]) + " → 200\n" +
                            "魔法 #55 “Chocobo 陆行鸟” 字段 8：" + std::to_string(original[0x61A8F]) + " → 7\n" +
                            "表格中共有 2 个字段不同。\n表格以外有 2 个字节不同。\n");

    const auto parsed = nlohmann::json::parse(run({"diff", image.string(), file("changed.nes"), "--format", "json"}).out);
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
    EXPECT_EQ(parsed["header"]["mapper"], 1);  // the header's fields in all forms: InesHeader below
    EXPECT_EQ(parsed["rom"]["sha1"], "a9993e364706816aba3e25717850c26c9cd0d89d");  // SHA-1 of "abc"
    EXPECT_EQ(parsed["tablesInside"], false);

    // A file of several read pieces is summed whole, and from the end of its header.
    auto large = testing::makeImage(200'000);
    std::copy_n("NES\x1A\x08\x00\x10\x00\0\0\0\0\0\0\0", 16, large.begin());
    writeFile(file("large.nes"), large);
    const auto largeFacts = nlohmann::json::parse(run({"info", file("large.nes"), "--format", "json"}).out);
    EXPECT_EQ(largeFacts["file"]["crc32"], crcText(crc32(large)));
    EXPECT_EQ(largeFacts["file"]["sha1"], sha1Of(large));
    EXPECT_EQ(largeFacts["rom"]["sha1"], sha1Of(std::span(large).subspan(16)));

    writeFile(file("exact.nes"), testing::makeImage(tablesEnd));
    EXPECT_NE(run({"info", file("exact.nes")}).out.find("表格：在文件之内"), std::string::npos);

    const Result plain = run({"info", writeText("plain.bin", "123456789")});
    // The standard check values of "123456789".
    EXPECT_NE(plain.out.find("整个文件：CRC-32 CBF43926，SHA-1 f7c3bc1d808e04732adf679965ccc34ca7ae3441\n"), std::string::npos) << plain.out;
    EXPECT_NE(plain.out.find("iNES 文件头：无"), std::string::npos);
}

TEST(InesHeader, SizesInBothHeaderVersions) {
    const auto header = [](std::uint8_t prg, std::uint8_t flags7, std::uint8_t byte9) {
        return *readInesHeader(std::vector<std::uint8_t>{'N', 'E', 'S', 0x1A, prg, 1, 0x40, flags7, 0x03, byte9, 0, 0, 0, 0, 0, 0});
    };
    EXPECT_EQ(header(16, 0x10, 0).mapper, 0x14);  // iNES: byte 8 is not part of the mapper
    EXPECT_EQ(header(16, 0x18, 0).mapper, 0x314);
    // NES 2.0 is bit 3 set and bit 2 clear, nothing else.
    EXPECT_EQ(std::tuple(header(16, 0x0C, 0).nes2, header(16, 0x04, 0).nes2, header(16, 0xF8, 0).nes2), std::tuple(false, false, true));
    EXPECT_EQ(header(0x02, 0x08, 0x21).prgRomBytes, 0x102u * 16384);
    EXPECT_EQ(header(0x02, 0x08, 0x21).chrRomBytes, 0x201u * 8192);
    EXPECT_EQ(header(0x0B, 0x08, 0x0F).prgRomBytes, 4u * 7);  // 2^2 * (2 * 3 + 1)
    EXPECT_EQ(header(0xFF, 0x08, 0x0F).prgRomBytes, std::nullopt);  // 2^63 * 7 does not fit
    EXPECT_FALSE(readInesHeader(std::vector<std::uint8_t>{'N', 'E', 'S', 0x1A, 1}).has_value());
}

// Two terminal columns for each Chinese character in the left column, so descriptions still line up.
TEST(Help, ColumnsAlignByDisplayWidth) {
    CLI::App app;
    cli::useChineseHelp(app);
    std::string value;
    app.add_option("-o", value, "说明")->type_name("文件名");
    EXPECT_NE(app.help().find("\n  -o 文件名" + std::string(26 - 11, ' ') + "说明\n"), std::string::npos) << app.help();
}

}  // namespace
}  // namespace varnel
