// The command line's CSV reader as it was, on libcsv: kept only as the oracle
// that the project's own tokenizer is fuzzed against.

#include "tests/fuzz/LibcsvTableReader.h"

#include "formats/ReaderText.h"
#include "formats/TableRows.h"

#include <csv.h>

#include <new>
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

// Splits the text into rows with libcsv, a line at a time so that the line
// where a row starts or quoting breaks is known, and hands them to the checks.
class CsvReader {
public:
    explicit CsvReader(char separator) : separator_(separator) { startParser(); }
    ~CsvReader() { csv_free(&parser_); }
    CsvReader(const CsvReader&) = delete;
    CsvReader& operator=(const CsvReader&) = delete;

    TableFileContents read(std::string_view text);

private:
    // After an error the parser stays failed; reading goes on with a fresh one.
    void startParser() {
        if (csv_init(&parser_, CSV_STRICT | CSV_STRICT_FINI) != 0) throw std::bad_alloc();
        csv_set_delim(&parser_, static_cast<unsigned char>(separator_));
    }
    static void endOfCell(void* data, std::size_t size, void* self);
    static void endOfRow(int terminator, void* self);
    void clearRow();

    TableRows rows_;
    char separator_;
    csv_parser parser_{};
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
        // The parser skips lines of blanks; any other line outside a row begins one.
        if (!rowOpen_ && chunk.find_first_not_of(" \t\r\n") != std::string_view::npos) {
            rowOpen_ = true;
            rowLine_ = line;
            rowText_ = withoutLineEnd(chunk);
        }
        if (csv_parse(&parser_, chunk.data(), chunk.size(), endOfCell, endOfRow, this) != chunk.size()) {
            if (csv_error(&parser_) == CSV_ENOMEM) throw std::bad_alloc();
            rows_.malformed(line, withoutLineEnd(chunk));
            csv_free(&parser_);
            startParser();
            clearRow();
        }
        text.remove_prefix(chunk.size());
        ++line;
    }
    if (!rows_.stopped() && csv_fini(&parser_, endOfCell, endOfRow, this) != 0) {
        rows_.unclosedQuote(rowLine_, rowText_);
    }
    return std::move(rows_).finish();
}

void CsvReader::endOfCell(void* data, std::size_t size, void* self) {
    auto& reader = *static_cast<CsvReader*>(self);
    if (++reader.cellCount_ > storedCellLimit) return;
    reader.cells_.emplace_back(data == nullptr ? std::string() : std::string(static_cast<const char*>(data), size));
}

void CsvReader::endOfRow(int, void* self) {
    auto& reader = *static_cast<CsvReader*>(self);
    reader.rows_.row(reader.rowLine_, reader.cells_, reader.cellCount_, reader.rowText_);
    reader.clearRow();
}

void CsvReader::clearRow() {
    cells_.clear();
    cellCount_ = 0;
    rowOpen_ = false;
}

}  // namespace

TableFileContents readCsvWithLibcsv(std::string_view text, char separator) {
    return CsvReader(separator).read(withoutByteOrderMark(text));
}

}  // namespace varnel
