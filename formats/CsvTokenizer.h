#pragma once
// Cuts CSV or TSV text into cells and rows, RFC 4180 quoting, one piece of
// text after another, in one pass. It keeps the rules the command line's
// reader always had: CR, LF and CRLF each end a row, blank lines are no row,
// blanks around an unquoted cell and after a closing quote are dropped, and a
// quote inside an unquoted cell or text after a closing quote is an error.

#include <cstddef>
#include <string>
#include <string_view>

namespace varnel {

// Told of each cell and each end of a row as they are found.
class CsvRowSink {
public:
    virtual void cell(std::string_view text) = 0;
    virtual void rowEnd() = 0;

protected:
    ~CsvRowSink() = default;
};

class CsvTokenizer {
public:
    explicit CsvTokenizer(char separator) : separator_(separator) {}

    // Reads `text` on from where the last piece ended. False at a quote that
    // breaks the rules: the rest of the piece is not read and the tokenizer
    // starts afresh, outside any row.
    bool feed(std::string_view text, CsvRowSink& sink);

    // Ends the last row if the text did not. False when a quoted cell was
    // never closed. Starts afresh either way.
    bool finish(CsvRowSink& sink);

private:
    enum class State { RowNotBegun, CellNotBegun, CellBegun, QuoteMayEnd };

    void endCell(CsvRowSink& sink);
    void endRow(CsvRowSink& sink);
    void reset();

    char separator_;
    State state_ = State::RowNotBegun;
    std::string cell_;
    bool quoted_ = false;
    std::size_t trailingBlanks_ = 0;  // at the end of cell_, dropped if the cell ends there
};

}  // namespace varnel
