#pragma once
// The look the window shares across all its controls.

#include "core/Version.h"

#include <QFont>
#include <QIcon>

#include <string_view>

namespace varnel::style {

// One font for every control: a Simplified Chinese family first, at a size
// whose two-line labels fit their 25-pixel-high boxes.
QFont windowFont();

// The program's own icon, at every size the build rendered from its drawings.
QIcon windowIcon();

inline constexpr std::string_view credit =
    "VarnelROM修改器 " VARNEL_VERSION " · 修改器开发组制作\n保存会直接改写文件，修改前请自行备份。";

}  // namespace varnel::style
