#include "core/Error.h"

#include "core/ErrorText.h"

#include <utility>

namespace varnel {

Error Error::overflow(std::string text) {
    Error error(ErrorKind::Overflow);
    error.text_ = std::move(text);
    error.message_ = overflowText(error.text_);
    return error;
}

Error Error::fileAccess(FileAction action, std::filesystem::path path, FileProblem problem,
                        std::string systemReason) {
    Error error(ErrorKind::FileAccess);
    error.action_ = action;
    error.path_ = std::move(path);
    error.problem_ = problem;
    error.systemReason_ = std::move(systemReason);
    error.message_ = failureText(error);
    return error;
}

}  // namespace varnel
