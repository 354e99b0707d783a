#include "web/PageTexts.h"

#include "core/ErrorText.h"
#include "core/TableTexts.h"

namespace varnel::web {

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

std::string tooLarge(std::string_view name, std::uint64_t size, std::uint64_t limit) {
    return "文件 " + std::string(name) + " 太大（" + std::to_string(size) + " 字节），最多只处理 " +
           std::to_string(limit) + " 字节。";
}

std::vector<std::string> importProblems(std::string_view name, const std::vector<RowProblem>& problems) {
    std::vector<std::string> lines{"表格文件 " + std::string(name) + " 有 " + std::to_string(problems.size()) +
                                   " 处错误，镜像没有任何改动："};
    for (const RowProblem& problem : problems) lines.push_back(describe(problem));
    return lines;
}

std::vector<std::string> importChanges(const std::vector<FieldDifference>& changes, std::size_t records) {
    std::vector<std::string> lines;
    for (const FieldDifference& c : changes) lines.push_back(fieldChange(c.kind, c.index, c.field, c.a, c.b));
    if (records == 0) {
        lines.emplace_back("表格文件与镜像一致，没有需要写入的内容。");
    } else {
        lines.push_back("已修改 " + std::to_string(records) + " 条记录中的 " + std::to_string(changes.size()) + " 个字段。");
    }
    return lines;
}

std::vector<std::string> comparison(const std::vector<FieldDifference>& fields, std::uint64_t outsideBytes) {
    std::vector<std::string> lines;
    for (const FieldDifference& d : fields) lines.push_back(fieldChange(d.kind, d.index, d.field, d.a, d.b));
    lines.push_back(fields.empty() ? std::string("三个表格完全相同。")
                                   : "表格中共有 " + std::to_string(fields.size()) + " 个字段不同。");
    lines.push_back("表格以外有 " + std::to_string(outsideBytes) + " 个字节不同。");
    return lines;
}

std::string patchApplied(std::string_view patchName, std::uint64_t size) {
    return "已应用补丁 " + std::string(patchName) + "，镜像现在有 " + std::to_string(size) + " 字节。";
}

}  // namespace varnel::web
