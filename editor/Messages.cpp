#include "editor/Messages.h"

#include "core/ErrorText.h"

namespace varnel::messages {
namespace {

std::string_view doing(FileAction action) {
    switch (action) {
    case FileAction::Open: return "打开";
    case FileAction::Read: return "读取";
    case FileAction::Write: return "保存";
    case FileAction::Sync: return "保存";
    }
    return "访问";
}

// What a failed write or flush may have left in the file. The store's own
// refusals come before any byte is written.
std::string_view aftermath(const Error& error) {
    if (error.action() == FileAction::Sync) return "\n修改可能没有完整写入磁盘，请重新保存。";
    if (error.action() != FileAction::Write) return "";
    if (error.problem() == FileProblem::System) return "\n文件中可能只写入了部分修改，请检查后重新保存。";
    return "\n本次没有保存任何修改。";
}

}  // namespace

std::string plainCaption(std::string_view caption) {
    std::string plain;
    for (const char c : caption) {
        if (c != '&') plain.push_back(c);
    }
    while (!plain.empty() && plain.back() == ' ') plain.pop_back();
    return plain;
}

std::string fieldOutOfRange(const TableControls& table, int field, std::string_view typed) {
    return "保存失败：" + std::string(table.heading) + " 第 " + std::to_string(field) + " 项“" +
           plainCaption(table.labels[static_cast<std::size_t>(field - 1)]) + "”中的“" + std::string(typed) +
           "”超出范围。\n每一项只接受 0 到 255 之间的数值。\n本次没有保存任何修改。";
}

std::string noSelection(const TableControls& table) {
    return "保存失败：" + std::string(table.heading) + "列表中没有选中的条目。\n本次没有保存任何修改。";
}

std::string failure(const Error& error) {
    if (error.kind() == ErrorKind::Overflow) {
        return "数值“" + error.text() + "”超出范围，只接受 0 到 255 之间的数值。";
    }
    std::string text = std::string(doing(error.action())) + "文件失败。";
    if (!error.path().empty()) text += "\n文件：" + error.path().string();
    text += "\n原因：" + reasonText(error);
    text += aftermath(error);
    return text;
}

std::string unexpected(std::string_view what) {
    return "发生意外错误：" + std::string(what);
}

}  // namespace varnel::messages
