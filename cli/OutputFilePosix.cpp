// Writing an output file whole: temporary file, flush, rename. POSIX only;
// the file itself is written by core's file layer, as the store writes.

#include "cli/Failure.h"
#include "cli/Files.h"
#include "core/ErrorText.h"
#include "core/RomFile.h"

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

[[noreturn]] void fail(const std::string& doing, const std::filesystem::path& file, const Error& error) {
    throw Failure(doing + " " + file.string() + " 失败：" + reasonText(error));
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
    RomFile output;
    std::filesystem::path temporary;
    try {
        temporary = output.createUnique(folder / ("." + file.filename().string() + ".XXXXXX"));
    } catch (const Error& error) {
        fail("在文件夹中创建临时文件", folder, error);
    }
    try {
        output.writeAt(0, bytes);
        output.sync();
        output.finishWriting();
    } catch (const Error& error) {
        output.close();
        ::unlink(temporary.c_str());
        fail(error.action() == FileAction::Sync ? "写入磁盘" : "写入", temporary, error);
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
