// Table files: CSV and JSON written and read back, and every problem a reader reports.

#include "formats/CsvTableFile.h"
#include "formats/JsonTableFile.h"
#include "tests/support/SyntheticImage.h"

#include <gtest/gtest.h>

#include <algorithm>

namespace varnel {
namespace {

// Every record of the three tables, in an order that is not the tables' own.
std::vector<TableRecord> allRecords() {
    const std::vector<std::uint8_t> image = testing::makeImage();
    std::vector<TableRecord> records;
    for (const TableSpec& table : tableSpecs) {
        for (int index = 0; index < table.recordCount; ++index) {
            const auto first = image.begin() + fieldOffset(table.kind, index, 1);
            ItemRecord fields{};
            std::copy(first, first + recordSize, fields.begin());
            records.push_back({table.kind, index, fields});
        }
    }
    std::reverse(records.begin(), records.end());
    return records;
}

std::string problemsOf(const TableFileContents& contents) {
    std::string text;
    for (const RowProblem& problem : contents.problems) text += describe(problem) + "\n";
    return text;
}

TEST(TableFile, BothFormatsReadBackEveryRecordInOrder) {
    const auto records = allRecords();
    const std::string json = writeJson(records);
    for (const TableFileContents& read :
         {readCsv(writeCsv(records, false)), readCsv(writeCsv(records, true)), readCsv(writeCsv(records, true, '\t'), '\t'),
          readJson(json), readJson("\xEF\xBB\xBF" + json)}) {
        EXPECT_EQ(problemsOf(read), "");
        EXPECT_EQ(read.records, records);
    }
    EXPECT_TRUE(writeCsv(records, true).starts_with("\xEF\xBB\xBFtable,"));
    EXPECT_TRUE(json.find("\n    {\"table\":\"weapon\",\"index\":73,\"name\":\"Loki 洛基竖琴 \",\"fields\":[") != std::string::npos);
}

TEST(CsvTableFile, WritesHeaderAndRowsWithTheNameQuoted) {
    const std::vector<TableRecord> records{{TableKind::Weapon, 73, {0, 1, 9, 10, 99, 100, 254, 255}}};
    EXPECT_EQ(writeCsv(records, false),
              "table,index,name,field1,field2,field3,field4,field5,field6,field7,field8\r\n"
              "weapon,73,\"Loki 洛基竖琴 \",0,1,9,10,99,100,254,255\r\n");
}

TEST(CsvTableFile, FindsColumnsByNameInAnyOrderAndIgnoresOthers) {
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
    EXPECT_EQ(problem.line, input.line);
    EXPECT_EQ(problem.record, input.record);
    EXPECT_EQ(problem.column, input.column);
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
        BadInput{"table,index,name,field1,field2,field3,field4,field5,field6,field7", 1, 0, "field8", "缺少“field8”", 0},
        BadInput{"table,index,name,field1,field2,field3,field4,field5,field6,field7,field8, INDEX ", 1, 0, "index", "“INDEX”", 0},
        BadInput{header + "weapon,1,,1,2,3,4,5,6,7", 2, 0, "", "只有 10 个单元格", 1},
        BadInput{header + "weapon,1,Kaiser,恺撒指环,1,2,3,4,5,6,7,8", 2, 0, "", "有 12 个单元格", 1},
        BadInput{header + "weapon,1,Kai\"ser,1,2,3,4,5,6,7,8", 2, 0, "", "引号不成对", 1},
        BadInput{header + "weapon,1,\"Kaiser,1,2,3,4,5,6,7,8", 2, 0, "", "没有闭合", 0},
        // Named on the line where the quote broke; reading goes on with the next line.
        BadInput{header + "weapon,1,\"Kai\r\nser\"x,1,2,3,4,5,6,7,8", 3, 0, "", "引号不成对", 1},
        BadInput{header + "weapon,1,\"Kaiser\" \"x\",1,2,3,4,5,6,7,8", 2, 0, "", "引号不成对", 1},
        BadInput{header + "weapon,1,Kaiser\",1,2,3,4,5,6,7,8", 2, 0, "", "引号不成对", 1},
        BadInput{"table,index,\"na\"me,field1,field2,field3,field4,field5,field6,field7,field8", 1, 0, "", "引号不成对", 0},
        BadInput{header + "\r\n \t\r\n,,,\r\nsword,1,,1,2,3,4,5,6,7,8", 5, 0, "table", "“sword”不是表名", 1},
        BadInput{header + "\xC0\xAF\x1B" + std::string(60, 'x') + ",1,,1,2,3,4,5,6,7,8", 2, 0, "table",
                 "“\uFFFD\uFFFD\uFFFD" + std::string(37, 'x') + "…”", 1},
        BadInput{header + "weapon,+1,,1,2,3,4,5,6,7,8", 2, 0, "index", "“+1”不是非负的十进制整数", 1},
        BadInput{header + "weapon, 88 ,,1,2,3,4,5,6,7,8", 2, 0, "index", "0 到 87", 1},
        BadInput{header + "magic,3,,1,2,3,4,5,6,7,8\r\n Magic ,3,,1,2,3,4,5,6,7,8", 3, 0, "index", "第 2 行已经有它", 2},
        BadInput{header + "weapon,2,\"Kaiser 恺撒指环\",1,2,3,4,5,6,7,8", 2, 0, "name", "第 2 号记录的名称“Cat Claw 猫爪”", 1},
        BadInput{header + "weapon,1,,1,2,\" \",4,5,6,7,8", 2, 0, "field3", "空", 1},
        BadInput{header + "weapon,1,,1,2,3,4,5,6,7,２５６", 2, 0, "field8", "“２５６”超出 0 到 255", 1}));

std::string document(const std::string& records) {
    return R"({"format": "varnel-rom-tables", "version": 1, "records": [)" + records +
           R"({"table": "armour", "index": 0, "name": " Leather 皮盾  ", "fields": [1,2,3,4,5,6,7,8], "note": 1}],)"
           R"( "notes": [["not", "a", "record"]]})";
}

std::string record(const std::string& keys) { return "{" + keys + "},"; }

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
        BadInput{document(record(R"("table": "armour", "index": 64, )" + fields)), 0, 1, "index", "0 到 63", 1},
        BadInput{document(record(R"("table": "magic", "index": 1, "fields": [1,2,3,4,5,6,7])")), 0, 1, "fields", "8 个", 1},
        BadInput{document(record(R"("table": "magic", "index": 1, "fields": [1,2,7.5,4,5,6,7,8])")), 0, 1, "fields", "“7.5”", 1},
        BadInput{document(record(R"("table": "magic", "index": 1, "fields": [256,2,3,4,5,6,7,8])")), 0, 1, "fields", "“256”", 1},
        BadInput{document(record(R"("table": "magic", "index": 1, "fields": [1,2,3,4,5,6,7,18446744073709551616])")), 0, 1, "fields", "第 8 个值", 1},
        BadInput{document(record(R"("table": "magic", "index": 13, "name": "Holy 神圣之光", )" + fields)), 0, 1, "name", "“Leviathan 利维亚桑 ”", 1},
        BadInput{document(record(R"("table": "armour", "index": 0, )" + fields)), 0, 2, "index", "第 1 条记录已经有它", 1}));

TEST(TableFile, ListsTheFirstHundredProblemsAndCountsTheRest) {
    std::string csv = header;
    std::string json = R"({"format": "varnel-rom-tables", "version": 1, "records": [)";
    for (int row = 0; row < 150; ++row) {
        csv += "weapon,x,,1,2,3,4,5,6,7,8\r\n";
        json += std::string(row == 0 ? "" : ",") + "[]";
    }
    for (const TableFileContents& read : {readCsv(csv), readJson(json + "]}")}) {
        EXPECT_EQ(read.problems.size(), 100u);
        EXPECT_EQ(read.unlistedProblems, 50u);
        EXPECT_EQ(read.problemCount(), 150u);
    }
    EXPECT_EQ(readCsv(csv).problems.back().line, 101u);  // the listed ones are the first
}

TEST(TableFile, FormatIsKnownFromExtensionOrContent) {
    EXPECT_EQ(formatFromExtension("tables.CSV"), TableFileFormat::Csv);
    EXPECT_EQ(formatFromExtension("a.b/tables.Json"), TableFileFormat::Json);
    EXPECT_EQ(formatFromExtension("tables.txt"), TableFileFormat::Tsv);  // a spreadsheet's "Unicode text"
    EXPECT_EQ(formatFromExtension("tables.xls"), std::nullopt);
    EXPECT_EQ(formatFromContent("\xEF\xBB\xBF \r\n\t{"), TableFileFormat::Json);
    EXPECT_EQ(formatFromContent("table,index"), TableFileFormat::Csv);
    EXPECT_EQ(formatFromContent("table\tindex\r\nweapon,1"), TableFileFormat::Tsv);
    EXPECT_EQ(formatFromContent("table\tindex,name"), TableFileFormat::Csv);
}

}  // namespace
}  // namespace varnel
