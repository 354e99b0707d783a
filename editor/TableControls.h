#pragma once
// The controls behind each item table: its list and its eight field boxes.
// One row per table, in table order, so every per-table routine is one loop
// over these rows. What the boxes mean is in core/TableTexts.h.

#include "core/TableLayout.h"
#include "editor/Controls.h"

#include <array>
#include <cstddef>
#include <optional>

namespace varnel {

struct TableControls {
    TableKind kind;
    Control list;
    BoxGroup boxes;

    constexpr FieldBox box(int field) const { return {boxes, field}; }
};

inline constexpr std::array<TableControls, 3> tableControls{{
    {TableKind::Weapon, Control::lw, BoxGroup::wt},
    {TableKind::Armour, Control::la, BoxGroup::at},
    {TableKind::Magic, Control::cm, BoxGroup::mt},
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
