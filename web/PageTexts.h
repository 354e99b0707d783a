#pragma once
// What the page says in Simplified Chinese about what it did or refused. The
// words for tables, fields, changes and failures are core's, as the window
// and the command line use them.

#include "core/Error.h"
#include "core/TableLayout.h"

#include <cstdint>
#include <string>
#include <string_view>

namespace varnel::web {

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
