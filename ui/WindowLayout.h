#pragma once
// Where every control of the main window stands, in logical pixels from the
// top-left corner of the client area. The window never resizes, so fixed
// positions are the layout.

#include "core/TableTexts.h"
#include "editor/Controls.h"

#include <QRect>
#include <QSize>

#include <array>
#include <string_view>

namespace varnel::layout {

inline constexpr QSize clientSize{821, 405};

// A list column (weapons, armour, items) or the magic row: a heading and a list.
struct ListLayout {
    Control list;
    QRect listRect;
    std::string_view headingName;
    std::string_view headingCaption;
    QRect headingRect;
};

inline constexpr std::array<ListLayout, 4> lists{{
    {Control::lw, {24, 40, 113, 196}, "wl", tableTitle(TableKind::Weapon), {24, 16, 41, 17}},
    {Control::la, {288, 40, 113, 196}, "al", tableTitle(TableKind::Armour), {288, 16, 41, 17}},
    {Control::li, {560, 40, 113, 196}, "il", "物品", {560, 16, 41, 17}},
    {Control::cm, {24, 296, 145, 20}, "ml", tableTitle(TableKind::Magic), {24, 272, 33, 17}},
}};

// Eight field boxes, box k at firstBox + (k - 1) * boxStep, each with a label.
struct FieldGroupLayout {
    BoxGroup group;
    QPoint firstBox;
    QPoint boxStep;
    std::array<std::string_view, 8> labelNames;
    std::array<QRect, 8> labelRects;
    Qt::Alignment labelAlignment;
};

inline constexpr QSize boxSize{33, 18};

inline constexpr std::array<FieldGroupLayout, 4> fieldGroups{{
    {BoxGroup::wt, {248, 48}, {0, 24},
     {"wl1", "wl2", "wl3", "wl4", "wl5", "wl6", "wl7", "wl8"},
     {{{144, 48, 97, 25}, {152, 72, 89, 17}, {160, 96, 81, 17}, {168, 120, 73, 25},
       {144, 144, 97, 25}, {160, 168, 81, 17}, {144, 192, 97, 25}, {160, 216, 81, 17}}},
     Qt::AlignRight},
    // The armour column's first label really is named "a11".
    {BoxGroup::at, {512, 48}, {0, 24},
     {"a11", "al2", "al3", "al4", "al5", "al6", "al7", "al8"},
     {{{408, 48, 97, 25}, {416, 72, 89, 17}, {416, 96, 89, 17}, {408, 120, 97, 17},
       {408, 144, 97, 17}, {456, 168, 49, 17}, {408, 192, 97, 17}, {408, 216, 97, 17}}},
     Qt::AlignRight},
    {BoxGroup::it, {776, 40}, {0, 24},
     {"il1", "il2", "il3", "il4", "il5", "il6", "il7", "il8"},
     {{{680, 40, 81, 17}, {680, 64, 81, 17}, {680, 88, 81, 17}, {680, 112, 81, 17},
       {680, 136, 81, 17}, {680, 160, 81, 17}, {680, 184, 81, 17}, {680, 208, 81, 17}}},
     Qt::AlignRight},
    {BoxGroup::mt, {184, 296}, {64, 0},
     {"ml1", "ml2", "ml3", "ml4", "ml5", "ml6", "ml7", "ml8"},
     {{{184, 272, 41, 17}, {240, 272, 49, 17}, {304, 272, 49, 17}, {368, 272, 49, 17},
       {432, 272, 49, 17}, {496, 272, 57, 25}, {568, 272, 41, 17}, {616, 272, 73, 17}}},
     Qt::AlignHCenter},
}};

inline constexpr QRect openButtonRect{8, 352, 105, 33};
inline constexpr QRect saveButtonRect{608, 352, 105, 33};
inline constexpr QRect creditRect{176, 360, 321, 25};

// Separators run past the right edge so that they span the full width.
struct LineLayout {
    std::string_view name;
    int y;
};
inline constexpr int lineLength = 824;
inline constexpr std::array<LineLayout, 3> lines{{{"Line3", 8}, {"Line1", 264}, {"Line2", 336}}};

}  // namespace varnel::layout
