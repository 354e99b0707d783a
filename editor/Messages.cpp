#include "editor/Messages.h"

#include "core/ErrorText.h"
#include "core/TableTexts.h"

namespace varnel::messages {

std::string fieldOutOfRange(const TableControls& table, int field, std::string_view typed) {
    return "保存失败：" + std::string(tableTitle(table.kind)) + " 第 " + std::to_string(field) + " 项“" +
           plainCaption(fieldCaptions(table.kind)[static_cast<std::size_t>(field - 1)]) + "”中的“" +
           std::string(typed) + "”超出范围。\n每一项只接受 0 到 255 之间的数值。\n本次没有保存任何修改。";
}

std::string noSelection(const TableControls& table) {
    return "保存失败：" + std::string(tableTitle(table.kind)) + "列表中没有选中的条目。\n本次没有保存任何修改。";
}

std::string failure(const Error& error) {
    if (error.kind() == ErrorKind::Overflow) return error.what();
    std::string text = actionOnFile(error.action()) + "失败。";
    if (!error.path().empty()) text += "\n文件：" + error.path().string();
    text += "\n原因：" + reasonText(error);
    if (const std::string_view aftermath = aftermathText(error); !aftermath.empty()) text += "\n" + std::string(aftermath);
    return text;
}

std::string unexpected(std::string_view what) {
    return "发生意外错误：" + std::string(what);
}

}  // namespace varnel::messages
