#pragma once
// The few byte-addressed file operations the store needs. Only this interface
// is platform-neutral; each platform has its own implementation file.

#include <cstddef>
#include <cstdint>
#include <filesystem>
#include <span>

namespace varnel {

// Read-only serves the tools that only look at an image.
enum class OpenMode { ReadWrite, ReadOnly };

class RomFile {
public:
    RomFile() = default;
    ~RomFile();
    RomFile(const RomFile&) = delete;
    RomFile& operator=(const RomFile&) = delete;

    // Opens an existing regular file; never creates one and never blocks on
    // a FIFO or device. Throws Error.
    void open(const std::filesystem::path& path, OpenMode mode = OpenMode::ReadWrite);

    // Creates `path` as a new regular file, refusing one that is there, and
    // opens it for writing. Throws Error (Open).
    void create(const std::filesystem::path& path);

    // As create, under a name no file in the folder has: `pattern` ends in
    // XXXXXX, which become other characters. Returns the name.
    std::filesystem::path createUnique(const std::filesystem::path& pattern);

    // Closes a file written to, reporting a failure only closing tells:
    // the written bytes may be lost. Throws Error (Write); closed either way.
    void finishWriting();

    bool isOpen() const noexcept;
    const std::filesystem::path& path() const noexcept { return path_; }

    // Current length in bytes. Throws Error (Read).
    std::uint64_t size() const;

    // Fills all of `bytes` from `offset`; a file that ends early is an error.
    void readAt(std::uint64_t offset, std::span<std::uint8_t> bytes) const;

    // Writes all of `bytes` at `offset`, visible to other readers on return.
    // Refuses, writing nothing, once the path no longer names the opened file
    // (moved, renamed, replaced or deleted): the save would be lost.
    void writeAt(std::uint64_t offset, std::span<const std::uint8_t> bytes);

    // Pushes written data to stable storage.
    void sync();

    // Never fails; closing a closed file does nothing.
    void close() noexcept;

private:
    void requireStillAtPath() const;
    // One file per object: opening or creating another while one is open is refused.
    void refuseSecondOpen(const std::filesystem::path& path) const;
    void adopt(int descriptor, const std::filesystem::path& path);

    std::intptr_t handle_ = -1;  // the platform's file handle; -1 when closed
    std::filesystem::path path_;
    std::uint64_t device_ = 0;  // identity of the opened file
    std::uint64_t inode_ = 0;
};

}  // namespace varnel
