// A message about a failed save says, after what failed with which file and
// why, what the file may hold now.

#include "editor/Messages.h"

#include <gtest/gtest.h>

namespace varnel {
namespace {

TEST(Messages, AFailedSaveSaysWhatTheFileMayHold) {
    const std::pair<Error, std::string> failures[] = {
        // The system refused a write: part of the save may be in the file.
        {Error::fileAccess(FileAction::Write, "/存档/a.nes", FileProblem::System, "No space left on device"),
         "写入文件失败。\n文件：/存档/a.nes\n原因：No space left on device\n文件中可能只写入了部分修改，请检查文件后再试一次。"},
        // The store refuses before it writes any byte.
        {Error::fileAccess(FileAction::Write, "/存档/a.nes", FileProblem::Replaced),
         "写入文件失败。\n文件：/存档/a.nes\n原因：文件在打开之后已被移动、改名、替换或删除。\n本次没有保存任何修改。"},
        {Error::fileAccess(FileAction::Sync, "/存档/a.nes", FileProblem::System, "Input/output error"),
         "把文件写入磁盘失败。\n文件：/存档/a.nes\n原因：Input/output error\n修改可能没有完整写入磁盘，请再试一次。"},
    };
    for (const auto& [error, text] : failures) EXPECT_EQ(messages::failure(error), text);
}

}  // namespace
}  // namespace varnel
