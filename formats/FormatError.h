#pragma once
// The error every reader and writer in formats/ throws for input it cannot
// use. what() is one sentence in Simplified Chinese, ready to show a person;
// the caller adds which file it was working on.

#include <stdexcept>

namespace varnel {

class FormatError : public std::runtime_error {
public:
    using std::runtime_error::runtime_error;
};

}  // namespace varnel
