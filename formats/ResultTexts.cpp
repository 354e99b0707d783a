#include "formats/ResultTexts.h"

#include "core/TableTexts.h"
#include "formats/Crc32.h"

#include <optional>

namespace varnel {
namespace {

std::vector<std::string> changeLines(const std::vector<FieldDifference>& changes) {
    std::vector<std::string> lines;
    for (const FieldDifference& c : changes) lines.push_back(fieldChange(c.kind, c.index, c.field, c.a, c.b));
    return lines;
}

std::string sizeText(const std::optional<std::uint64_t>& bytes) {
    return bytes ? std::to_string(*bytes) + " 字节" : std::string("超出可表示的范围");
}

}  // namespace

Listing importProblems(std::string_view file, const TableFileContents& contents) {
    Listing listing{"表格文件 " + std::string(file) + " 有 " + std::to_string(contents.problemCount()) +
                        " 处错误，镜像没有任何改动：",
                    {}};
    for (const RowProblem& problem : contents.problems) listing.lines.push_back(describe(problem));
    if (contents.unlistedProblems > 0) {
        listing.lines.push_back("……另有 " + std::to_string(contents.unlistedProblems) + " 处错误没有列出。");
    }
    return listing;
}

Listing importChanges(const std::vector<FieldDifference>& changes, std::size_t records, std::string_view encoding,
                      bool dryRun) {
    const std::string readAs = "（表格文件按 " + std::string(encoding) + " 编码读取）";
    if (records == 0) return {"表格文件与镜像一致，没有需要写入的内容" + readAs + "。", {}};
    const std::string counts = std::to_string(records) + " 条记录中的 " + std::to_string(changes.size()) + " 个字段";
    return {dryRun ? "试运行：将修改 " + counts + readAs + "，镜像没有任何改动。" : "已修改 " + counts + readAs + "。",
            changeLines(changes)};
}

Listing comparison(const std::vector<FieldDifference>& fields, std::uint64_t outsideBytes) {
    const std::string inTables = fields.empty() ? std::string("三个表格完全相同。")
                                                : "表格中共有 " + std::to_string(fields.size()) + " 个字段不同。";
    return {inTables + "\n表格以外有 " + std::to_string(outsideBytes) + " 个字节不同。", changeLines(fields)};
}

std::string tooLarge(std::string_view file, std::uint64_t size, std::uint64_t limit) {
    return "文件 " + std::string(file) + " 太大（" + std::to_string(size) + " 字节），最多只处理 " +
           std::to_string(limit) + " 字节。";
}

std::string digestValue(std::uint32_t crc32, std::string_view sha1Hex) {
    return "CRC-32 " + crcText(crc32) + "，SHA-1 " + std::string(sha1Hex);
}

std::vector<FactRow> imageRows(const ImageFacts& facts) {
    std::vector<FactRow> rows{{"大小", sizeText(facts.size)}};
    if (!facts.header) {
        rows.push_back({"iNES 文件头", "无"});
        return rows;
    }
    const InesHeader& header = *facts.header;
    rows.push_back({"iNES 文件头", header.nes2 ? "有（NES 2.0）" : "有"});
    rows.push_back({"PRG ROM", sizeText(header.prgRomBytes), true});
    rows.push_back({"CHR ROM", sizeText(header.chrRomBytes), true});
    rows.push_back({"Mapper", std::to_string(header.mapper), true});
    rows.push_back({"Trainer", header.trainer ? "有" : "无", true});
    rows.push_back({"电池", header.battery ? "有" : "无", true});
    return rows;
}

std::string romTerm(const ImageFacts& facts) {
    return facts.header && facts.header->trainer ? "文件头和 trainer 之后的数据" : "文件头之后的数据";
}

FactRow tablesRow(const ImageFacts& facts) {
    return {"武器、防具、魔法表格", facts.tablesInside ? "在文件之内" : "超出文件末尾"};
}

}  // namespace varnel
