#include "formats/CsvTokenizer.h"

namespace varnel {
namespace {

constexpr char quote = '"';

bool isBlank(char c) { return c == ' ' || c == '\t'; }
bool isLineEnd(char c) { return c == '\r' || c == '\n'; }

}  // namespace

bool CsvTokenizer::feed(std::string_view text, CsvRowSink& sink) {
    for (const char c : text) {
        switch (state_) {
        case State::RowNotBegun:
        case State::CellNotBegun:
            if (isBlank(c) && c != separator_) continue;
            if (isLineEnd(c)) {
                // A line of blanks is no row; a separator already began one.
                if (state_ == State::CellNotBegun) {
                    endCell(sink);
                    endRow(sink);
                }
            } else if (c == separator_) {
                endCell(sink);
            } else {
                state_ = State::CellBegun;
                quoted_ = c == quote;
                if (!quoted_) cell_ += c;
            }
            break;
        case State::CellBegun:
            if (c == quote) {
                if (!quoted_) {
                    reset();
                    return false;
                }
                state_ = State::QuoteMayEnd;  // or the first of a doubled quote
                cell_ += c;
            } else if (quoted_) {
                cell_ += c;
                trailingBlanks_ = 0;
            } else if (c == separator_) {
                endCell(sink);
            } else if (isLineEnd(c)) {
                endCell(sink);
                endRow(sink);
            } else {
                cell_ += c;
                trailingBlanks_ = isBlank(c) ? trailingBlanks_ + 1 : 0;
            }
            break;
        case State::QuoteMayEnd:
            if (c == separator_ || isLineEnd(c)) {
                cell_.resize(cell_.size() - trailingBlanks_ - 1);  // the closing quote and blanks after it
                endCell(sink);
                if (isLineEnd(c)) endRow(sink);
            } else if (isBlank(c)) {
                cell_ += c;
                ++trailingBlanks_;
            } else if (c == quote && trailingBlanks_ == 0) {
                state_ = State::CellBegun;  // a doubled quote stands for one, already kept
            } else {
                reset();
                return false;
            }
            break;
        }
    }
    return true;
}

bool CsvTokenizer::finish(CsvRowSink& sink) {
    if (state_ == State::CellBegun && quoted_) {
        reset();
        return false;
    }
    if (state_ == State::QuoteMayEnd) cell_.resize(cell_.size() - trailingBlanks_ - 1);
    if (state_ != State::RowNotBegun) {
        endCell(sink);
        endRow(sink);
    }
    reset();
    return true;
}

void CsvTokenizer::endCell(CsvRowSink& sink) {
    if (!quoted_) cell_.resize(cell_.size() - trailingBlanks_);
    sink.cell(cell_);
    cell_.clear();
    quoted_ = false;
    trailingBlanks_ = 0;
    state_ = State::CellNotBegun;
}

void CsvTokenizer::endRow(CsvRowSink& sink) {
    sink.rowEnd();
    state_ = State::RowNotBegun;
}

void CsvTokenizer::reset() {
    state_ = State::RowNotBegun;
    cell_.clear();
    quoted_ = false;
    trailingBlanks_ = 0;
}

}  // namespace varnel
