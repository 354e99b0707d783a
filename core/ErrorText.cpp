#include "core/ErrorText.h"

#include "core/TableLayout.h"

namespace varnel {

std::string actionOnFile(FileAction action, const std::filesystem::path& file) {
    const std::string named = file.empty() ? "文件" : "文件 " + file.string();
    switch (action) {
    case FileAction::Open: return "打开" + named;
    case FileAction::Read: return "读取" + named;
    case FileAction::Write: return "写入" + named;
    case FileAction::Sync: return "把" + named + (file.empty() ? "" : " ") + "写入磁盘";
    }
    return "访问" + named;
}

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

std::string failureText(const Error& error) {
    std::string action = actionOnFile(error.action(), error.path());
    // Chinese puts no blank between words, only around a file's name.
    if (!error.path().empty() && action.ends_with(error.path().string())) action += ' ';
    return action + "失败：" + reasonText(error);
}

std::string_view aftermathText(const Error& error) {
    if (error.action() == FileAction::Sync) return "修改可能没有完整写入磁盘，请再试一次。";
    if (error.action() != FileAction::Write) return "";
    if (error.problem() == FileProblem::System) return "文件中可能只写入了部分修改，请检查文件后再试一次。";
    return "本次没有保存任何修改。";
}

std::string overflowText(std::string_view text) {
    return "数值“" + std::string(text) + "”超出 0 到 255 的范围。";
}

}  // namespace varnel
