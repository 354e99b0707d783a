#pragma once
// How the commands name records and changes to people.

#include "core/TableLayout.h"

#include <string>
#include <string_view>

namespace varnel::cli {

std::string_view tableTitle(TableKind kind);  // 武器, 防具, 魔法

// 武器 #3 “Dragon飞龙爪”
std::string recordLabel(TableKind kind, int index);

// 武器 #3 “Dragon飞龙爪” 字段 2：10 → 200
std::string fieldChange(TableKind kind, int index, int field, int from, int to);

}  // namespace varnel::cli
