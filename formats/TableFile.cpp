#include "formats/TableFile.h"

#include "core/Utf8.h"
#include "formats/ReaderText.h"

namespace varnel {

std::string_view tableKey(TableKind kind) {
    switch (kind) {
    case TableKind::Weapon: return "weapon";
    case TableKind::Armour: return "armour";
    case TableKind::Magic: return "magic";
    }
    return "";
}

std::optional<TableKind> tableFromKey(std::string_view key) {
    const std::string wanted = lowerAscii(trimBlanks(key));
    for (const TableSpec& table : tableSpecs) {
        if (wanted == tableKey(table.kind)) return table.kind;
    }
    return std::nullopt;
}

std::optional<TableFileFormat> formatFromExtension(const std::filesystem::path& file) {
    const std::string extension = lowerAscii(file.extension().string());
    if (extension == ".csv") return TableFileFormat::Csv;
    if (extension == ".tsv" || extension == ".txt") return TableFileFormat::Tsv;
    if (extension == ".json") return TableFileFormat::Json;
    return std::nullopt;
}

std::string_view tableFileExtension(TableFileFormat format) {
    switch (format) {
    case TableFileFormat::Csv: return ".csv";
    case TableFileFormat::Tsv: return ".tsv";
    case TableFileFormat::Json: return ".json";
    }
    return "";
}

TableFileFormat formatFromContent(std::string_view text) {
    text = withoutByteOrderMark(text);
    const auto first = text.find_first_not_of(" \t\r\n");
    if (first != std::string_view::npos && (text[first] == '{' || text[first] == '[')) return TableFileFormat::Json;
    const std::string_view firstLine = text.substr(0, text.find_first_of("\r\n"));
    if (firstLine.find('\t') != std::string_view::npos && firstLine.find(',') == std::string_view::npos) {
        return TableFileFormat::Tsv;
    }
    return TableFileFormat::Csv;
}

TableFileFormat chooseFormat(std::optional<TableFileFormat> asked, const std::filesystem::path& file,
                             std::string_view text) {
    if (asked) return *asked;
    return formatFromExtension(file).value_or(formatFromContent(text));
}

std::string describe(const RowProblem& problem) {
    std::string where;
    const auto add = [&where](const std::string& part) { where += (where.empty() ? "" : "，") + part; };
    if (problem.line != 0) add("第 " + std::to_string(problem.line) + " 行");
    if (problem.record != 0) add("第 " + std::to_string(problem.record) + " 条记录");
    if (!problem.column.empty()) add((problem.line != 0 ? "列 " : "键 ") + problem.column);
    return where.empty() ? problem.what : where + "：" + problem.what;
}

}  // namespace varnel
