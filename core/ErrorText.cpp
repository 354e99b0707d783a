#include "core/ErrorText.h"

#include "core/TableLayout.h"

namespace varnel {

std::string reasonText(const Error& error) {
    switch (error.problem()) {
    case FileProblem::System: return error.systemReason();
    case FileProblem::EmptyPath: return "没有指定文件名。";
    case FileProblem::NotRegularFile: return "这不是一个普通文件。";
    case FileProblem::TooShort:
        return "文件太短，不足 " + std::to_string(tablesEnd) + " 字节，容纳不下武器、防具和魔法数据。";
    case FileProblem::AlreadyOpen: return "已经打开了一个文件。";
    case FileProblem::NotOpen: return "还没有打开文件。";
    case FileProblem::Replaced: return "文件在打开之后已被移动、改名、替换或删除。";
    }
    return error.systemReason();
}

}  // namespace varnel
