#include "formats/CsvTableFile.h"

#include "formats/CsvTokenizer.h"
#include "formats/ReaderText.h"
#include "formats/TableRows.h"

#include <utility>
#include <vector>

namespace varnel {
namespace {

constexpr std::string_view crlf = "\r\n";

// Up to and including the line end: LF, CRLF, or a lone CR.
std::size_t lineLength(std::string_view text) {
    const auto end = text.find_first_of("\r\n");
    if (end == std::string_view::npos) return text.size();
    return text.substr(end).starts_with(crlf) ? end + 2 : end + 1;
}

std::string_view withoutLineEnd(std::string_view line) {
    while (!line.empty() && (line.back() == '\r' || line.back() == '\n')) line.remove_suffix(1);
    return line;
}

// Splits the text into rows a line at a time, so that the line where a row
// starts or quoting breaks is known, and hands them to the checks.
class CsvReader : private CsvRowSink {
public:
    explicit CsvReader(char separator) : tokenizer_(separator) {}

    TableFileContents read(std::string_view text);

private:
    void cell(std::string_view text) override;
    void rowEnd() override;
    void clearRow();

    TableRows rows_;
    CsvTokenizer tokenizer_;
    std::vector<std::string> cells_;
    std::size_t cellCount_ = 0;  // of the current row, stored or not
    bool rowOpen_ = false;
    std::size_t rowLine_ = 0;
    std::string_view rowText_;  // the row's first line
};

TableFileContents CsvReader::read(std::string_view text) {
    std::size_t line = 1;
    while (!text.empty() && !rows_.stopped()) {
        const std::string_view chunk = text.substr(0, lineLength(text));
        // The tokenizer skips lines of blanks; any other line outside a row begins one.
        if (!rowOpen_ && chunk.find_first_not_of(" \t\r\n") != std::string_view::npos) {
            rowOpen_ = true;
            rowLine_ = line;
            rowText_ = withoutLineEnd(chunk);
        }
        if (!tokenizer_.feed(chunk, *this)) {
            rows_.malformed(line, withoutLineEnd(chunk));
            clearRow();
        }
        text.remove_prefix(chunk.size());
        ++line;
    }
    if (!rows_.stopped() && !tokenizer_.finish(*this)) {
        rows_.unclosedQuote(rowLine_, rowText_);
    }
    return std::move(rows_).finish();
}

void CsvReader::cell(std::string_view text) {
    if (++cellCount_ <= storedCellLimit) cells_.emplace_back(text);
}

void CsvReader::rowEnd() {
    rows_.row(rowLine_, cells_, cellCount_, rowText_);
    clearRow();
}

void CsvReader::clearRow() {
    cells_.clear();
    cellCount_ = 0;
    rowOpen_ = false;
}

}  // namespace

TableFileContents readCsv(std::string_view text, char separator) {
    return CsvReader(separator).read(withoutByteOrderMark(text));
}

}  // namespace varnel
