#pragma once
// Every text the editor shows the user, in Simplified Chinese.

#include "core/Error.h"
#include "editor/TableControls.h"

#include <string>
#include <string_view>

namespace varnel::messages {

inline constexpr std::string_view openFilter = "Nes Files(*.Nes)|*.Nes";
inline constexpr std::string_view savePrompt = "确定要保存修改结果？";
inline constexpr std::string_view saveTitle = "Varnel修改器";
inline constexpr std::string_view errorTitle = saveTitle;

// A field whose text is not a value 0..255; nothing was saved.
std::string fieldOutOfRange(const TableControls& table, int field, std::string_view typed);

// A list with no selected row at save time; nothing was saved.
std::string noSelection(const TableControls& table);

// Any failure of the project's own error type.
std::string failure(const Error& error);

// Anything else that went wrong inside a handler.
std::string unexpected(std::string_view what);

}  // namespace varnel::messages
