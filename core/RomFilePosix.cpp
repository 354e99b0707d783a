#include "core/RomFile.h"

#include "core/Error.h"

#include <cerrno>
#include <cstring>
#include <cstdlib>
#include <string>
#include <fcntl.h>
#include <sys/stat.h>
#include <unistd.h>

namespace varnel {
namespace {

int descriptorOf(std::intptr_t handle) { return static_cast<int>(handle); }

[[noreturn]] void fail(FileAction action, const std::filesystem::path& path, int errorNumber) {
    throw Error::fileAccess(action, path, FileProblem::System, std::strerror(errorNumber));
}

}  // namespace

RomFile::~RomFile() { close(); }

void RomFile::refuseSecondOpen(const std::filesystem::path& path) const {
    if (isOpen()) throw Error::fileAccess(FileAction::Open, path, FileProblem::AlreadyOpen);
}

void RomFile::open(const std::filesystem::path& path, OpenMode mode) {
    refuseSecondOpen(path);
    if (path.empty()) throw Error::fileAccess(FileAction::Open, path, FileProblem::EmptyPath);

    // Non-blocking so that a FIFO or device cannot hang the window; no O_CREAT.
    int flags = O_RDWR | O_NONBLOCK | O_NOCTTY | O_CLOEXEC;
    if (mode == OpenMode::ReadOnly) flags = (flags & ~O_ACCMODE) | O_RDONLY;
    int descriptor = -1;
    do {
        descriptor = ::open(path.c_str(), flags);
    } while (descriptor < 0 && errno == EINTR);
    if (descriptor < 0) fail(FileAction::Open, path, errno);

    adopt(descriptor, path);
}

void RomFile::create(const std::filesystem::path& path) {
    refuseSecondOpen(path);
    if (path.empty()) throw Error::fileAccess(FileAction::Open, path, FileProblem::EmptyPath);
    int descriptor = -1;
    do {
        descriptor = ::open(path.c_str(), O_RDWR | O_CREAT | O_EXCL | O_NOCTTY | O_CLOEXEC, 0666);
    } while (descriptor < 0 && errno == EINTR);
    if (descriptor < 0) fail(FileAction::Open, path, errno);
    adopt(descriptor, path);
}

std::filesystem::path RomFile::createUnique(const std::filesystem::path& pattern) {
    refuseSecondOpen(pattern);
    std::string name = pattern.string();
    const int descriptor = ::mkstemp(name.data());
    if (descriptor < 0) fail(FileAction::Open, pattern, errno);
    // mkstemp makes the file private; a new file's permissions are the umask's to say.
    const mode_t mask = ::umask(0);
    ::umask(mask);
    if (::fchmod(descriptor, 0666 & ~mask) != 0) {
        const int errorNumber = errno;
        ::close(descriptor);
        ::unlink(name.c_str());
        fail(FileAction::Open, name, errorNumber);
    }
    adopt(descriptor, name);
    return name;
}

void RomFile::adopt(int descriptor, const std::filesystem::path& path) {
    struct stat status {};
    if (::fstat(descriptor, &status) != 0) {
        const int errorNumber = errno;
        ::close(descriptor);
        fail(FileAction::Open, path, errorNumber);
    }
    if (!S_ISREG(status.st_mode)) {
        ::close(descriptor);
        throw Error::fileAccess(FileAction::Open, path, FileProblem::NotRegularFile);
    }
    handle_ = descriptor;
    path_ = path;
    device_ = static_cast<std::uint64_t>(status.st_dev);
    inode_ = static_cast<std::uint64_t>(status.st_ino);
}

bool RomFile::isOpen() const noexcept { return handle_ >= 0; }

std::uint64_t RomFile::size() const {
    struct stat status {};
    if (::fstat(descriptorOf(handle_), &status) != 0) fail(FileAction::Read, path_, errno);
    return static_cast<std::uint64_t>(status.st_size);
}

void RomFile::readAt(std::uint64_t offset, std::span<std::uint8_t> bytes) const {
    std::size_t done = 0;
    while (done < bytes.size()) {
        const ssize_t got = ::pread(descriptorOf(handle_), bytes.data() + done, bytes.size() - done,
                                    static_cast<off_t>(offset + done));
        if (got < 0 && errno == EINTR) continue;
        if (got < 0) fail(FileAction::Read, path_, errno);
        if (got == 0) throw Error::fileAccess(FileAction::Read, path_, FileProblem::TooShort);
        done += static_cast<std::size_t>(got);
    }
}

void RomFile::requireStillAtPath() const {
    struct stat status {};
    if (::stat(path_.c_str(), &status) != 0) {
        if (errno != ENOENT && errno != ENOTDIR) fail(FileAction::Write, path_, errno);
        throw Error::fileAccess(FileAction::Write, path_, FileProblem::Replaced);
    }
    if (static_cast<std::uint64_t>(status.st_dev) != device_ || static_cast<std::uint64_t>(status.st_ino) != inode_) {
        throw Error::fileAccess(FileAction::Write, path_, FileProblem::Replaced);
    }
}

void RomFile::writeAt(std::uint64_t offset, std::span<const std::uint8_t> bytes) {
    requireStillAtPath();
    std::size_t done = 0;
    while (done < bytes.size()) {
        const ssize_t put = ::pwrite(descriptorOf(handle_), bytes.data() + done, bytes.size() - done,
                                     static_cast<off_t>(offset + done));
        if (put < 0 && errno == EINTR) continue;
        if (put < 0) fail(FileAction::Write, path_, errno);
        if (put == 0) fail(FileAction::Write, path_, EIO);
        done += static_cast<std::size_t>(put);
    }
}

void RomFile::sync() {
    if (::fsync(descriptorOf(handle_)) != 0) fail(FileAction::Sync, path_, errno);
}

void RomFile::finishWriting() {
    const std::filesystem::path path = path_;
    const int result = ::close(descriptorOf(handle_));
    const int errorNumber = errno;
    handle_ = -1;
    close();
    if (result != 0) fail(FileAction::Write, path, errorNumber);
}

void RomFile::close() noexcept {
    if (handle_ >= 0) ::close(descriptorOf(handle_));
    handle_ = -1;
    path_.clear();
    device_ = inode_ = 0;
}

}  // namespace varnel
