#include "formats/CsvTableFile.h"

#include "core/Error.h"
#include "core/FieldText.h"
#include "core/NameLists.h"
#include "core/Utf8.h"
#include "formats/ReaderText.h"
#include "formats/RecordCollector.h"

#include <csv.h>

#include <algorithm>
#include <array>
#include <optional>
#include <utility>
#include <vector>

namespace varnel {
namespace {

constexpr std::array<std::string_view, 3 + recordSize> columnNames{
    "table", "index", "name", "field1", "field2", "field3", "field4", "field5", "field6", "field7", "field8",
};
constexpr std::size_t tableColumn = 0;
constexpr std::size_t indexColumn = 1;
constexpr std::size_t nameColumn = 2;
constexpr std::size_t firstFieldColumn = 3;

constexpr std::string_view lineEnd = "\r\n";

// A row of a line full of commas is only counted past this, so that its cells
// cannot take gigabytes; columns further right are not looked at.
constexpr std::size_t storedCellLimit = 1024;

std::string quotedCell(std::string_view text) {
    std::string cell(2 * text.size() + 2, '\0');  // every character a doubled quote, plus the outer pair
    cell.resize(csv_write(cell.data(), cell.size(), text.data(), text.size()));
    return cell;
}

// Up to and including the line end: LF, CRLF, or a lone CR.
std::size_t lineLength(std::string_view text) {
    const auto end = text.find_first_of("\r\n");
    if (end == std::string_view::npos) return text.size();
    return text.substr(end).starts_with(lineEnd) ? end + 2 : end + 1;
}

std::string_view withoutLineEnd(std::string_view line) {
    while (!line.empty() && (line.back() == '\r' || line.back() == '\n')) line.remove_suffix(1);
    return line;
}

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

class CsvParser {
public:
    CsvParser() { csv_init(&parser_, CSV_STRICT | CSV_STRICT_FINI); }
    ~CsvParser() { csv_free(&parser_); }
    CsvParser(const CsvParser&) = delete;
    CsvParser& operator=(const CsvParser&) = delete;

    csv_parser* get() { return &parser_; }

    // After an error the parser stays failed; reading goes on with a fresh one.
    void restart() {
        csv_free(&parser_);
        csv_init(&parser_, CSV_STRICT | CSV_STRICT_FINI);
    }

private:
    csv_parser parser_{};
};

class CsvReader {
public:
    TableFileContents read(std::string_view text);

private:
    static void endOfCell(void* data, std::size_t size, void* self);
    static void endOfRow(int terminator, void* self);

    void row();
    void readHeader(const std::vector<std::string>& cells, std::size_t cellCount);
    void readRecord(const std::vector<std::string>& cells, std::size_t cellCount);
    void malformed(std::size_t line, std::string_view text, int error);

    RecordCollector collector_;
    CsvParser parser_;
    std::vector<std::string> cells_;
    std::size_t cellCount_ = 0;  // of the current row, stored or not
    bool rowOpen_ = false;
    std::size_t rowLine_ = 0;
    std::string_view rowText_;  // the row's first line
    bool headerRead_ = false;
    std::array<std::optional<std::size_t>, columnNames.size()> columns_;
    std::size_t headerWidth_ = 0;
    bool stopped_ = false;  // the header is unusable; nothing more can be read
};

TableFileContents CsvReader::read(std::string_view text) {
    // Fed a line at a time, so that the line where a row starts or parsing
    // fails is known.
    std::size_t line = 1;
    while (!text.empty() && !stopped_) {
        const std::string_view chunk = text.substr(0, lineLength(text));
        // The parser skips lines of blanks; any other line outside a row begins one.
        if (!rowOpen_ && chunk.find_first_not_of(" \t\r\n") != std::string_view::npos) {
            rowOpen_ = true;
            rowLine_ = line;
            rowText_ = withoutLineEnd(chunk);
        }
        if (csv_parse(parser_.get(), chunk.data(), chunk.size(), endOfCell, endOfRow, this) != chunk.size()) {
            malformed(line, withoutLineEnd(chunk), csv_error(parser_.get()));
            parser_.restart();
            cells_.clear();
            cellCount_ = 0;
            rowOpen_ = false;
        }
        text.remove_prefix(chunk.size());
        ++line;
    }
    if (!stopped_ && csv_fini(parser_.get(), endOfCell, endOfRow, this) != 0) {
        collector_.beginRow(rowLine_, 0);
        collector_.problem("", "从这一行开始的引号直到文件末尾都没有闭合：" + quotedText(rowText_) + "。");
        if (!headerRead_) stopped_ = true;
    }
    if (!headerRead_ && !stopped_) collector_.problem("", "文件里没有表头行，也没有任何记录。");
    return std::move(collector_).take();
}

void CsvReader::endOfCell(void* data, std::size_t size, void* self) {
    auto& reader = *static_cast<CsvReader*>(self);
    if (reader.stopped_ || ++reader.cellCount_ > storedCellLimit) return;
    reader.cells_.emplace_back(data == nullptr ? std::string() : std::string(static_cast<const char*>(data), size));
}

void CsvReader::endOfRow(int, void* self) {
    static_cast<CsvReader*>(self)->row();
}

void CsvReader::row() {
    const std::vector<std::string> cells = std::move(cells_);
    const std::size_t cellCount = std::exchange(cellCount_, 0);
    cells_.clear();
    rowOpen_ = false;
    if (stopped_) return;
    // Spreadsheets save empty rows as a line of commas.
    if (std::all_of(cells.begin(), cells.end(), [](const std::string& cell) { return trimBlanks(cell).empty(); })) {
        return;
    }
    collector_.beginRow(rowLine_, 0);
    if (headerRead_) {
        readRecord(cells, cellCount);
    } else {
        readHeader(cells, cellCount);
    }
}

void CsvReader::readHeader(const std::vector<std::string>& cells, std::size_t cellCount) {
    headerRead_ = true;
    headerWidth_ = cellCount;
    for (std::size_t position = 0; position < cells.size(); ++position) {
        const std::string name = lowerAscii(trimBlanks(cells[position]));
        const auto known = std::find(columnNames.begin(), columnNames.end(), name);
        if (known == columnNames.end()) continue;  // a column of the user's own
        auto& column = columns_[static_cast<std::size_t>(known - columnNames.begin())];
        if (column) {
            collector_.problem(name, "表头里不止一列叫" + quotedText(cells[position]) + "，无法确定该读哪一列。");
            stopped_ = true;
        }
        column = position;
    }
    for (std::size_t k = 0; k < columnNames.size(); ++k) {
        if (k == nameColumn || columns_[k]) continue;
        collector_.problem(std::string(columnNames[k]), "表头缺少" + quotedText(columnNames[k]) + "列。");
        stopped_ = true;
    }
}

void CsvReader::readRecord(const std::vector<std::string>& cells, std::size_t cellCount) {
    if (cellCount != headerWidth_) {
        const std::string counts = std::to_string(cellCount) + " 个单元格，表头却有 " + std::to_string(headerWidth_) + " 列";
        collector_.problem("", cellCount < headerWidth_
                                   ? "这一行只有 " + counts + "：" + quotedText(rowText_) + "。"
                                   : "这一行有 " + counts + "，可能有单元格里多了逗号：" + quotedText(rowText_) + "。");
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
        const std::string column(columnNames[firstFieldColumn + field]);
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

void CsvReader::malformed(std::size_t line, std::string_view text, int error) {
    collector_.beginRow(line, 0);
    collector_.problem("", error == CSV_EPARSE
                               ? "引号不成对，或闭合的引号后面还有别的字符：" + quotedText(text) + "。"
                               : std::string("读取这一行时内存不足。"));
    // Without a header the columns are unknown, so later rows cannot be read.
    if (!headerRead_) stopped_ = true;
}

}  // namespace

std::string writeCsv(std::span<const TableRecord> records, bool byteOrderMark) {
    std::string text = byteOrderMark ? std::string(varnel::byteOrderMark) : std::string();
    for (const std::string_view name : columnNames) text.append(name).append(name == columnNames.back() ? lineEnd : ",");
    for (const TableRecord& record : records) {
        text.append(tableKey(record.kind)).append(",").append(std::to_string(record.index)).append(",");
        text.append(quotedCell(recordName(record.kind, record.index)));
        for (const std::uint8_t field : record.fields) text.append(",").append(toText(field));
        text.append(lineEnd);
    }
    return text;
}

TableFileContents readCsv(std::string_view text) {
    return CsvReader().read(withoutByteOrderMark(text));
}

}  // namespace varnel
