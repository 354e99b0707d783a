#include "core/Error.h"

#include <utility>

namespace varnel {
namespace {

const char* describe(FileAction action) {
    switch (action) {
    case FileAction::Open: return "cannot open";
    case FileAction::Read: return "cannot read";
    case FileAction::Write: return "cannot write";
    case FileAction::Sync: return "cannot flush to disk";
    }
    return "cannot access";
}

std::string describe(FileProblem problem, const std::string& systemReason) {
    switch (problem) {
    case FileProblem::System: return systemReason;
    case FileProblem::EmptyPath: return "no file name given";
    case FileProblem::NotRegularFile: return "not a regular file";
    case FileProblem::TooShort: return "file too short to hold the item tables";
    case FileProblem::AlreadyOpen: return "another image is already open";
    case FileProblem::NotOpen: return "no image is open";
    case FileProblem::Replaced: return "the file was moved, renamed, replaced or deleted since it was opened";
    }
    return systemReason;
}

}  // namespace

Error::Error(ErrorKind kind, const std::string& message) : std::runtime_error(message), kind_(kind) {}

Error Error::overflow(std::string text) {
    Error error(ErrorKind::Overflow, "value out of range 0..255: '" + text + "'");
    error.text_ = std::move(text);
    return error;
}

Error Error::fileAccess(FileAction action, std::filesystem::path path, FileProblem problem,
                        std::string systemReason) {
    Error error(ErrorKind::FileAccess, std::string(describe(action)) + " '" + path.string() +
                                           "': " + describe(problem, systemReason));
    error.action_ = action;
    error.path_ = std::move(path);
    error.problem_ = problem;
    error.systemReason_ = std::move(systemReason);
    return error;
}

}  // namespace varnel
