#pragma once
// The fixed display names of the four lists. Names are never read from the
// image; a row's position is the index of the record it names.

#include "core/TableLayout.h"

#include <span>
#include <string_view>

namespace varnel {

enum class NameList { Weapon, Armour, Item, Magic };

// The rows in display order, as UTF-8.
std::span<const std::string_view> names(NameList list);

// The list whose positions index the table. The item list has no table.
NameList nameListOf(TableKind kind);

// The row that names a record, trailing blanks included; empty for an index
// outside its table.
std::string_view recordName(TableKind kind, int index);

}  // namespace varnel
