#pragma once
// A command's refusal, worded for the person who ran it (Simplified Chinese).

#include <stdexcept>

namespace varnel::cli {

class Failure : public std::runtime_error {
public:
    using std::runtime_error::runtime_error;
};

}  // namespace varnel::cli
