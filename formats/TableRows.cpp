#include "formats/TableRows.h"

#include "core/Error.h"
#include "core/FieldText.h"
#include "core/Utf8.h"
#include "formats/ReaderText.h"

#include <algorithm>

namespace varnel {
namespace {

constexpr std::size_t tableColumn = 0;
constexpr std::size_t indexColumn = 1;
constexpr std::size_t nameColumn = 2;
constexpr std::size_t firstFieldColumn = 3;

// What toByte skips: blanks, tabs, line ends and the ideographic space.
bool isBlankCell(std::string_view text) {
    constexpr std::string_view ideographicSpace = "\u3000";
    while (!text.empty()) {
        if (text.starts_with(ideographicSpace)) {
            text.remove_prefix(ideographicSpace.size());
        } else if (std::string_view(" \t\r\n").find(text.front()) != std::string_view::npos) {
            text.remove_prefix(1);
        } else {
            return false;
        }
    }
    return true;
}

// Digits only; the value saturates, since anything this large is out of range anyway.
std::optional<std::uint64_t> plainDecimal(std::string_view text) {
    if (text.empty() || text.find_first_not_of("0123456789") != std::string_view::npos) return std::nullopt;
    std::uint64_t value = 0;
    for (const char digit : text) value = std::min<std::uint64_t>(value * 10 + static_cast<std::uint64_t>(digit - '0'), 1'000'000);
    return value;
}

}  // namespace

void TableRows::row(std::size_t line, std::span<const std::string> cells, std::size_t cellCount,
                    std::string_view lineText) {
    if (stopped_) return;
    // Spreadsheets save empty rows as a line of separators.
    if (std::all_of(cells.begin(), cells.end(), [](const std::string& cell) { return trimBlanks(cell).empty(); })) {
        return;
    }
    collector_.beginRow(line, 0);
    if (headerRead_) {
        readRecord(cells, cellCount, lineText);
    } else {
        readHeader(cells, cellCount);
    }
}

void TableRows::readHeader(std::span<const std::string> cells, std::size_t cellCount) {
    headerRead_ = true;
    headerWidth_ = cellCount;
    for (std::size_t position = 0; position < cells.size(); ++position) {
        const std::string name = lowerAscii(trimBlanks(cells[position]));
        const auto known = std::find(tableColumnNames.begin(), tableColumnNames.end(), name);
        if (known == tableColumnNames.end()) continue;  // a column of the user's own
        auto& column = columns_[static_cast<std::size_t>(known - tableColumnNames.begin())];
        if (column) {
            collector_.problem(name, "表头里不止一列叫" + quotedText(cells[position]) + "，无法确定该读哪一列。");
            stopped_ = true;
        }
        column = position;
    }
    for (std::size_t k = 0; k < tableColumnNames.size(); ++k) {
        if (k == nameColumn || columns_[k]) continue;
        collector_.problem(std::string(tableColumnNames[k]), "表头缺少" + quotedText(tableColumnNames[k]) + "列。");
        stopped_ = true;
    }
}

void TableRows::readRecord(std::span<const std::string> cells, std::size_t cellCount, std::string_view lineText) {
    if (cellCount != headerWidth_) {
        const std::string counts = std::to_string(cellCount) + " 个单元格，表头却有 " + std::to_string(headerWidth_) + " 列";
        collector_.problem("", cellCount < headerWidth_
                                   ? "这一行只有 " + counts + "：" + quotedText(lineText) + "。"
                                   : "这一行有 " + counts + "，可能有单元格里多了分隔符：" + quotedText(lineText) + "。");
        return;
    }
    const auto cell = [&](std::size_t column) -> const std::string& { return cells[*columns_[column]]; };

    const auto kind = collector_.table(cell(tableColumn));
    std::optional<int> index;
    if (const auto value = plainDecimal(trimBlanks(cell(indexColumn)))) {
        index = collector_.index(kind, *value, cell(indexColumn));
    } else {
        collector_.indexNotWhole(cell(indexColumn));
    }

    ItemRecord fields{};
    for (std::size_t field = 0; field < fields.size(); ++field) {
        const std::string& text = cell(firstFieldColumn + field);
        const std::string column(tableColumnNames[firstFieldColumn + field]);
        if (isBlankCell(text)) {
            // Unlike a field box, an empty cell is more likely a slip than a wish for 0.
            collector_.problem(column, "单元格是空的，应填 0 到 255 之间的数。");
            continue;
        }
        try {
            fields[field] = toByte(text);
        } catch (const Error&) {
            collector_.problem(column, quotedText(text) + "超出 0 到 255 的范围。");
        }
    }
    collector_.endRow(kind, index, columns_[nameColumn] ? std::string_view(cell(nameColumn)) : "", fields);
}

void TableRows::malformed(std::size_t line, std::string_view lineText) {
    if (stopped_) return;
    collector_.beginRow(line, 0);
    collector_.problem("", "引号不成对，或闭合的引号后面还有别的字符：" + quotedText(lineText) + "。");
    // Without a header the columns are unknown, so later rows cannot be read.
    if (!headerRead_) stopped_ = true;
}

void TableRows::unclosedQuote(std::size_t line, std::string_view lineText) {
    if (stopped_) return;
    collector_.beginRow(line, 0);
    collector_.problem("", "从这一行开始的引号直到文件末尾都没有闭合：" + quotedText(lineText) + "。");
    if (!headerRead_) stopped_ = true;
}

TableFileContents TableRows::finish() && {
    if (!headerRead_ && !stopped_) collector_.problem("", "文件里没有表头行，也没有任何记录。");
    return std::move(collector_).take();
}

}  // namespace varnel
