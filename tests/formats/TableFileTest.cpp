// Table files: CSV and JSON written and read back, and the problems a reader
// reports that the corpus (tests/corpus/table-files, read through import) does not show.

#include "core/TableLayout.h"
#include "formats/CsvTableFile.h"
#include "formats/JsonTableFile.h"

#include <gtest/gtest.h>

#include <tuple>

namespace varnel {
namespace {

std::string problemsOf(const TableFileContents& contents) {
    std::string text;
    for (const RowProblem& problem : contents.problems) text += describe(problem) + "\n";
    return text;
}

// Reading back every record in every format shows through export and import; here the exact text written.
TEST(TableFile, WritesTheHeaderAndRowsWithTheNameQuotedAndReadsColumnsByName) {
    const std::vector<TableRecord> loki{{TableKind::Weapon, 73, {0, 1, 9, 10, 99, 100, 254, 255}}};
    EXPECT_EQ(writeCsv(loki, true), "\xEF\xBB\xBFtable,index,name,field1,field2,field3,field4,field5,field6,field7,field8\r\n"
                                    "weapon,73,\"Loki 洛基竖琴 \",0,1,9,10,99,100,254,255\r\n");
    const std::string json = writeJson(loki);
    EXPECT_NE(json.find("\n    {\"table\":\"weapon\",\"index\":73,\"name\":\"Loki 洛基竖琴 \",\"fields\":[0,1,9,"), std::string::npos) << json;
    EXPECT_EQ(readJson("\xEF\xBB\xBF" + json).records, loki);
    // Columns are found by name in any order and letter case; others are ignored.
    const auto read = readCsv(" Field8,FIELD7,field6,field5,field4,field3,field2,field1,note,Index, TABLE \n"
                              "8,7,6,5,4,3,2,1,anything,2,MAGIC\n");
    EXPECT_EQ(problemsOf(read), "");
    EXPECT_EQ(read.records, (std::vector<TableRecord>{{TableKind::Magic, 2, {1, 2, 3, 4, 5, 6, 7, 8}}}));
}

struct BadInput {
    std::string text;
    std::size_t line;
    std::size_t record;
    std::string column;
    std::string fragment;  // of the problem's sentence
    std::size_t kept;      // records still read
};

void PrintTo(const BadInput& input, std::ostream* out) { *out << input.text; }

void expectOneProblem(const TableFileContents& read, const BadInput& input) {
    ASSERT_EQ(read.problems.size(), 1u) << problemsOf(read);
    const RowProblem& problem = read.problems.front();
    EXPECT_EQ(std::tie(problem.line, problem.record, problem.column), std::tie(input.line, input.record, input.column));
    EXPECT_NE(problem.what.find(input.fragment), std::string::npos) << problem.what;
    EXPECT_EQ(read.records.size(), input.kept);
}

// Each row is followed by a good one, which must still be read unless the header is unusable.
const std::string header = "table,index,name,field1,field2,field3,field4,field5,field6,field7,field8\r\n";
const std::string goodRow = "\r\narmour,0, Leather 皮盾 ,1,2,3,4,5,6,7,8\r\n";

class BadCsv : public ::testing::TestWithParam<BadInput> {};

TEST_P(BadCsv, IsReportedAndTheRowLeftOut) { expectOneProblem(readCsv(GetParam().text + goodRow), GetParam()); }

INSTANTIATE_TEST_SUITE_P(
    TableFile, BadCsv,
    ::testing::Values(
        BadInput{"table,index,name,field1,field2,field3,field4,field5,field6,field7,field8, INDEX ", 1, 0, "index", "“INDEX”", 0},
        BadInput{header + "weapon,1,\"Kaiser\" \"x\",1,2,3,4,5,6,7,8", 2, 0, "", "引号不成对", 1},
        BadInput{header + "weapon,1,Kaiser\",1,2,3,4,5,6,7,8", 2, 0, "", "引号不成对", 1},
        BadInput{header + "\r\n \t\r\n,,,\r\nsword,1,,1,2,3,4,5,6,7,8", 5, 0, "table", "“sword”不是表名", 1},
        BadInput{header + "\xC0\xAF\x1B" + std::string(60, 'x') + ",1,,1,2,3,4,5,6,7,8", 2, 0, "table",
                 "“\uFFFD\uFFFD\uFFFD" + std::string(37, 'x') + "…”", 1},
        BadInput{header + "magic,3,,1,2,3,4,5,6,7,8\r\n Magic ,3,,1,2,3,4,5,6,7,8", 3, 0, "index", "第 2 行已经有它", 2},
        BadInput{header + "weapon,1,,1,2,3,4,5,6,7,２５６", 2, 0, "field8", "“２５６”超出 0 到 255", 1}));

std::string document(const std::string& records) {
    return R"({"format": "varnel-rom-tables", "version": 1, "records": [)" + records +
           R"({"table": "armour", "index": 0, "name": " Leather 皮盾  ", "fields": [1,2,3,4,5,6,7,8], "note": 1}],)"
           R"( "notes": [["not", "a", "record"]]})";
}

// A record of magic #1 (unless the keys say otherwise) with these fields.
std::string record(const std::string& keys) { return "{" + keys + "},"; }
std::string magicOne(const std::string& fields) { return record(R"("table": "magic", "index": 1, "fields": )" + fields); }

class BadJson : public ::testing::TestWithParam<BadInput> {};

TEST_P(BadJson, IsReportedAndTheRecordLeftOut) { expectOneProblem(readJson(GetParam().text), GetParam()); }

const std::string fields = R"("fields": [1,2,3,4,5,6,7,8])";

INSTANTIATE_TEST_SUITE_P(
    TableFile, BadJson,
    ::testing::Values(
        BadInput{"{\n\"format\": \"varnel-rom-tables\",\n\"version\": 1,,", 3, 0, "", "格式有误", 0},
        BadInput{document("\n\n" + record(R"("table": "magic", "index": 1e400, )" + fields)), 3, 0, "", "1e400", 0},
        BadInput{std::string(100'000, '[') + std::string(100'000, ']'), 0, 0, "", "嵌套", 0},
        BadInput{R"({"format": "varnel", "version": 1, "records": []})", 0, 0, "format", "“\"varnel\"”", 0},
        BadInput{R"({"format": "varnel-rom-tables", "version": 1})", 0, 0, "records", "缺少", 0},
        BadInput{R"({"format": "varnel-rom-tables", "version": 2, "records": []})", 0, 0, "version", "只读得懂版本 1", 0},
        BadInput{document("[],"), 0, 1, "", "对象", 1},
        BadInput{document(record(R"("index": 1, )" + fields)), 0, 1, "table", "缺少", 1},
        BadInput{document(record(R"("table": "magic", "index": -1, )" + fields)), 0, 1, "index", "“-1”", 1},
        BadInput{document(magicOne("[1,2,7.5,4,5,6,7,8]")), 0, 1, "fields", "“7.5”", 1},
        BadInput{document(magicOne("[256,2,3,4,5,6,7,8]")), 0, 1, "fields", "“256”", 1},
        BadInput{document(magicOne("[1,2,3,4,5,6,7,18446744073709551616]")), 0, 1, "fields", "第 8 个值", 1},
        BadInput{document(record(R"("table": "magic", "index": 13, "name": "Holy 神圣之光", )" + fields)), 0, 1, "name", "“Leviathan 利维亚桑 ”", 1},
        BadInput{document(record(R"("table": "armour", "index": 0, )" + fields)), 0, 2, "index", "第 1 条记录已经有它", 1}));

TEST(TableFile, FormatIsKnownFromExtensionOrContent) {
    EXPECT_EQ(formatFromExtension("a.b/tables.Json"), TableFileFormat::Json);
    EXPECT_EQ(formatFromExtension("tables.xls"), std::nullopt);
    const std::pair<std::string, TableFileFormat> contents[] = {{"\xEF\xBB\xBF \r\n\t{", TableFileFormat::Json},
        {"table,index", TableFileFormat::Csv}, {"table\tindex\r\nweapon,1", TableFileFormat::Tsv}, {"table\tindex,name", TableFileFormat::Csv}};
    for (const auto& [text, format] : contents) EXPECT_EQ(formatFromContent(text), format) << text;
}

}  // namespace
}  // namespace varnel
