#pragma once
// What people call the three tables and their eight fields, in Simplified
// Chinese. The window shows the captions beside each table's boxes; the
// command line and the web page name tables and fields with the same words.

#include "core/TableLayout.h"

#include <array>
#include <cstddef>
#include <string>
#include <string_view>

namespace varnel {

struct TableTexts {
    std::string_view title;
    // Exactly as the window shows them: trailing blanks kept, "&" marking the
    // access key of the character after it.
    std::array<std::string_view, recordSize> captions;
};

// One row per table, in table order.
inline constexpr std::array<TableTexts, 3> tableTexts{{
    {"武器",
     {"攻击附带魔法属性    ", "攻击命中率%", "物理攻击力", "追加负面状态  ", "武器可发动的魔法  ", "附加伤害",
      "人物能力提升,属性魔法伤害加成     ", "装备适合职业"}},
    {"防具",
     {"魔法抗性(及弱点)", "回避率%", "物理防御力", "魔法免疫类型", "魔法防御", "未知属性", "人物能力提升",
      "装备适合职业"}},
    {"魔法", {"1", "命中率%", "魔法威力", "状态魔法", "魔法效果", "攻击对象&范围", "7", "可使用职业"}},
}};

constexpr std::string_view tableTitle(TableKind kind) { return tableTexts[static_cast<std::size_t>(kind)].title; }

constexpr const std::array<std::string_view, recordSize>& fieldCaptions(TableKind kind) {
    return tableTexts[static_cast<std::size_t>(kind)].captions;
}

// A caption as read aloud or used as a heading: without its access-key
// marker and trailing blanks ("攻击对象范围").
std::string plainCaption(std::string_view caption);

// 武器 #3 “Dragon飞龙爪”
std::string recordLabel(TableKind kind, int index);

// 武器 #3 “Dragon飞龙爪” 字段 2：10 → 200 (fields counted from 1, as people read them).
std::string fieldChange(TableKind kind, int index, int field, int from, int to);

}  // namespace varnel
