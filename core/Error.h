#pragma once
// The one error type of the program. Core code throws it; the editor turns it
// into a message for the user at the event boundary.

#include <exception>
#include <filesystem>
#include <string>

namespace varnel {

enum class ErrorKind { Overflow, FileAccess };

// What the store was doing when a file access failed.
enum class FileAction { Open, Read, Write, Sync };

// Why a file access failed: the platform's refusal, or one of the store's own.
enum class FileProblem {
    System,          // the platform refused; systemReason() says why
    EmptyPath,
    NotRegularFile,  // a directory, FIFO, device, ...
    TooShort,        // cannot hold all three tables
    AlreadyOpen,
    NotOpen,
    Replaced,        // the path no longer names the file that was opened
};

// what() is one Chinese sentence: what failed, on which file, and why.
class Error : public std::exception {
public:
    // A field value outside 0..255, or too large to represent at all.
    static Error overflow(std::string text);

    static Error fileAccess(FileAction action, std::filesystem::path path, FileProblem problem,
                            std::string systemReason = {});

    const char* what() const noexcept override { return message_.c_str(); }

    ErrorKind kind() const noexcept { return kind_; }

    // Overflow only: the text that could not become a byte.
    const std::string& text() const noexcept { return text_; }

    // File access only.
    FileAction action() const noexcept { return action_; }
    const std::filesystem::path& path() const noexcept { return path_; }
    FileProblem problem() const noexcept { return problem_; }
    const std::string& systemReason() const noexcept { return systemReason_; }

private:
    explicit Error(ErrorKind kind) : kind_(kind) {}

    ErrorKind kind_;
    std::string message_;
    std::string text_;
    FileAction action_ = FileAction::Open;
    std::filesystem::path path_;
    FileProblem problem_ = FileProblem::System;
    std::string systemReason_;
};

}  // namespace varnel
