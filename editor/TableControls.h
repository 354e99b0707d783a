#pragma once
// The controls behind each item table: its list, its eight field boxes and the
// captions that say what each field means. One row per table, in table order,
// so every per-table routine is one loop over these rows.

#include "core/TableLayout.h"
#include "editor/Controls.h"

#include <array>
#include <cstddef>
#include <optional>
#include <string_view>

namespace varnel {

struct TableControls {
    TableKind kind;
    Control list;
    BoxGroup boxes;
    std::string_view heading;
    // Captions of the field labels exactly as the window shows them; "&"
    // marks the access key.
    std::array<std::string_view, recordSize> labels;

    constexpr FieldBox box(int field) const { return {boxes, field}; }
};

inline constexpr std::array<TableControls, 3> tableControls{{
    {TableKind::Weapon, Control::lw, BoxGroup::wt, "武器",
     {"攻击附带魔法属性    ", "攻击命中率%", "物理攻击力", "追加负面状态  ", "武器可发动的魔法  ", "附加伤害",
      "人物能力提升,属性魔法伤害加成     ", "装备适合职业"}},
    {TableKind::Armour, Control::la, BoxGroup::at, "防具",
     {"魔法抗性(及弱点)", "回避率%", "物理防御力", "魔法免疫类型", "魔法防御", "未知属性", "人物能力提升",
      "装备适合职业"}},
    {TableKind::Magic, Control::cm, BoxGroup::mt, "魔法",
     {"1", "命中率%", "魔法威力", "状态魔法", "魔法效果", "攻击对象&范围", "7", "可使用职业"}},
}};

constexpr const TableControls& controlsOf(TableKind kind) {
    return tableControls[static_cast<std::size_t>(kind)];
}

// The table whose records a list names; the items list names none.
constexpr std::optional<TableKind> tableListedIn(Control list) {
    for (const TableControls& table : tableControls) {
        if (table.list == list) return table.kind;
    }
    return std::nullopt;
}

static_assert(tableControls[0].kind == TableKind::Weapon && tableControls[1].kind == TableKind::Armour &&
                  tableControls[2].kind == TableKind::Magic,
              "rows are indexed by TableKind");

}  // namespace varnel
