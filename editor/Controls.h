#pragma once
// The window's controls that the editing logic addresses, by their names.

#include <string>
#include <string_view>

namespace varnel {

// Lists (lw weapons, la armour, li items, cm magic drop-down) and the Open
// (openf) and Save (save) buttons.
enum class Control { lw, la, li, cm, openf, save };

// The four groups of eight field boxes: wt1..wt8, at1..at8, it1..it8, mt1..mt8.
enum class BoxGroup { wt, at, it, mt };

struct FieldBox {
    BoxGroup group;
    int field;  // 1..8

    friend bool operator==(const FieldBox&, const FieldBox&) = default;
};

std::string_view controlName(Control control);
std::string_view boxGroupName(BoxGroup group);
std::string boxName(FieldBox box);  // "wt1", ...

}  // namespace varnel
