#include "web/PageTexts.h"

#include "core/ErrorText.h"
#include "core/TableTexts.h"

namespace varnel::web {

std::optional<PageAction> pageActionOf(std::string_view key) {
    for (const PageActionText& text : pageActions) {
        if (text.key == key) return text.action;
    }
    return std::nullopt;
}

std::string doing(PageAction action, std::string_view file) {
    std::string words;
    for (const PageActionText& text : pageActions) {
        if (text.action == action) words = text.words;
    }
    return file.empty() ? words : words + " " + std::string(file);
}

std::string handedOver(PageAction action, std::string_view name, std::uint64_t size) {
    return doing(action) + "：已把 " + std::string(name) + "（" + std::to_string(size) + " 字节）交给浏览器下载。";
}

std::string failed(std::string_view doing, std::string_view reason) {
    return std::string(doing) + " 失败：" + std::string(reason);
}

std::string reason(const Error& error) {
    if (error.kind() == ErrorKind::Overflow) return overflowText(error.text());
    return reasonText(error);
}

std::string opened(std::string_view name, std::uint64_t size) {
    return "已打开 " + std::string(name) + "（" + std::to_string(size) + " 字节）。";
}

std::string fieldRefused(TableKind kind, int index, int field, std::string_view typed, int kept) {
    const std::string_view caption = fieldCaptions(kind)[static_cast<std::size_t>(field - 1)];
    return recordLabel(kind, index) + " 字段 " + std::to_string(field) + "“" + plainCaption(caption) + "”：" +
           overflowText(typed) + "该字段仍为 " + std::to_string(kept) + "。";
}

std::string patchApplied(std::string_view patchName, std::uint64_t size) {
    return "已应用补丁 " + std::string(patchName) + "，镜像现在有 " + std::to_string(size) + " 字节。";
}

std::string historyTrimmed(std::uint64_t limit) {
    return "修改历史超过了 " + std::to_string(limit >> 20) + " MiB，最早的几步已不能再撤销。";
}

std::string outsideTables(std::uint64_t bytes, std::uint64_t openedLength, std::uint64_t nowLength) {
    std::string line = "表格以外有 " + std::to_string(bytes) + " 个字节与打开时不同";
    if (openedLength != nowLength) {
        line += "，文件长度 " + std::to_string(openedLength) + " → " + std::to_string(nowLength) + " 字节";
    }
    return line + "。";
}

}  // namespace varnel::web
