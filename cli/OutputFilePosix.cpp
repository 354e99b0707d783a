// Writing an output file whole: temporary file, flush, rename. POSIX only.

#include "cli/Failure.h"
#include "cli/Files.h"

#include <cerrno>
#include <cstdio>
#include <cstring>
#include <fcntl.h>
#include <string>
#include <sys/stat.h>
#include <unistd.h>

namespace varnel::cli {
namespace {

[[noreturn]] void fail(const std::string& doing, const std::filesystem::path& file, int errorNumber) {
    throw Failure(doing + " " + file.string() + " 失败：" + std::strerror(errorNumber));
}

void writeAll(int descriptor, std::span<const std::uint8_t> bytes, const std::filesystem::path& file) {
    std::size_t done = 0;
    while (done < bytes.size()) {
        const ssize_t put = ::write(descriptor, bytes.data() + done, bytes.size() - done);
        if (put < 0 && errno == EINTR) continue;
        if (put <= 0) fail("写入", file, put < 0 ? errno : EIO);
        done += static_cast<std::size_t>(put);
    }
}

// Moves the finished file into place, atomically refusing an existing one
// when asked to.
void moveIntoPlace(const std::filesystem::path& from, const std::filesystem::path& to, Existing existing) {
    if (existing == Existing::Replace) {
        if (::rename(from.c_str(), to.c_str()) != 0) fail("保存", to, errno);
        return;
    }
    if (::renameat2(AT_FDCWD, from.c_str(), AT_FDCWD, to.c_str(), RENAME_NOREPLACE) == 0) return;
    int errorNumber = errno;
    if (errorNumber == EINVAL || errorNumber == ENOSYS) {  // file systems without the no-replace rename
        if (::link(from.c_str(), to.c_str()) == 0) {
            ::unlink(from.c_str());
            return;
        }
        errorNumber = errno;
    }
    if (errorNumber == EEXIST) throw Failure("输出文件 " + to.string() + " 已经存在；要覆盖它请加 --force。");
    fail("保存", to, errorNumber);
}

}  // namespace

void writeWholeFile(const std::filesystem::path& file, std::span<const std::uint8_t> bytes, Existing existing) {
    if (file.empty()) throw Failure("没有指定输出文件名。");
    const std::filesystem::path folder = file.parent_path().empty() ? "." : file.parent_path();
    std::string temporary = (folder / ("." + file.filename().string() + ".XXXXXX")).string();
    const int descriptor = ::mkstemp(temporary.data());
    if (descriptor < 0) fail("在文件夹中创建临时文件", folder, errno);

    bool closed = false;
    try {
        const mode_t mask = ::umask(0);
        ::umask(mask);
        if (::fchmod(descriptor, 0666 & ~mask) != 0) fail("设置权限", temporary, errno);
        writeAll(descriptor, bytes, temporary);
        if (::fsync(descriptor) != 0) fail("写入磁盘", temporary, errno);
        closed = true;
        if (::close(descriptor) != 0) fail("写入", temporary, errno);
    } catch (...) {
        if (!closed) ::close(descriptor);
        ::unlink(temporary.c_str());
        throw;
    }
    try {
        moveIntoPlace(temporary, file, existing);
    } catch (...) {
        ::unlink(temporary.c_str());
        throw;
    }
    // The rename itself reaches the disk with the folder.
    const int folderDescriptor = ::open(folder.c_str(), O_RDONLY | O_DIRECTORY | O_CLOEXEC);
    if (folderDescriptor >= 0) {
        ::fsync(folderDescriptor);
        ::close(folderDescriptor);
    }
}

}  // namespace varnel::cli
