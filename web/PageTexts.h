#pragma once
// What the page says in Simplified Chinese about what it did or refused. The
// words for tables, fields, changes and failures are core's, as the window
// and the command line use them.

#include "core/Error.h"
#include "core/TableLayout.h"

#include <array>
#include <cstdint>
#include <optional>
#include <string>
#include <string_view>

namespace varnel::web {

// What a person does in the page, in the words of its buttons. Every message
// about an action starts with these words; the page's JavaScript names an
// action by its key and takes the words from here.
enum class PageAction {
    Open, Edit, Save, MakePatch, ApplyPatch, Export, Import, Compare, Facts,
    Undo, Redo, ListChanges, RevertField, RevertAll, RevertOutside,
};

struct PageActionText {
    PageAction action;
    std::string_view key;
    std::string_view words;
};

inline constexpr std::array<PageActionText, 15> pageActions{{
    {PageAction::Open, "open", "打开文件"},
    {PageAction::Edit, "edit", "修改字段"},
    {PageAction::Save, "save", "保存修改"},
    {PageAction::MakePatch, "make-patch", "制作补丁"},
    {PageAction::ApplyPatch, "apply-patch", "应用补丁"},
    {PageAction::Export, "export", "导出表格"},
    {PageAction::Import, "import", "导入表格文件"},
    {PageAction::Compare, "compare", "比较镜像"},
    {PageAction::Facts, "facts", "检查镜像"},
    {PageAction::Undo, "undo", "撤销"},
    {PageAction::Redo, "redo", "重做"},
    {PageAction::ListChanges, "list-changes", "列出修改"},
    {PageAction::RevertField, "revert-field", "还原字段"},
    {PageAction::RevertAll, "revert-all", "全部还原"},
    {PageAction::RevertOutside, "revert-outside", "还原表格以外的字节"},
}};

// The action a key names, if any.
std::optional<PageAction> pageActionOf(std::string_view key);

// "应用补丁 a.bps"; without a file only the action's words.
std::string doing(PageAction action, std::string_view file = {});

// "保存修改：已把 a.nes（786448 字节）交给浏览器下载。" Whether the browser
// then saves it is up to the browser and the person, so it says no more.
std::string handedOver(PageAction action, std::string_view name, std::uint64_t size);

// "打开文件 a.nes 失败：原因"; `doing` as core's actionOnFile says it.
std::string failed(std::string_view doing, std::string_view reason);

// Why an Error happened, without the page's working folder in it.
std::string reason(const Error& error);

// "已打开 a.nes（786448 字节）。"
std::string opened(std::string_view name, std::uint64_t size);

// A field text outside 0..255: the record, the field and its caption, what
// was typed, and the value the byte keeps.
std::string fieldRefused(TableKind kind, int index, int field, std::string_view typed, int kept);

// "已应用补丁 a.bps，镜像现在有 786448 字节。"
std::string patchApplied(std::string_view patchName, std::uint64_t size);

// Said once an image's history has let its oldest steps go.
std::string historyTrimmed(std::uint64_t limit);

// The one line of the list of changes for bytes outside the tables: how
// many differ, and the change of length if any.
std::string outsideTables(std::uint64_t bytes, std::uint64_t openedLength, std::uint64_t nowLength);

}  // namespace varnel::web
