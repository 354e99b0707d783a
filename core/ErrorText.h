#pragma once
// Failures described for people, in Simplified Chinese, once for every
// program: the window lays the parts out in a message box, the command line
// prints them on one line.

#include "core/Error.h"

#include <string>
#include <string_view>

namespace varnel {

// "打开文件 a.nes", "把文件 a.nes 写入磁盘"; without a path "打开文件".
std::string actionOnFile(FileAction action, const std::filesystem::path& file = {});

// The platform's own reason, or a sentence for one of the program's refusals.
std::string reasonText(const Error& error);

// One line: "写入文件 a.nes 失败：原因" (what() of a file-access Error).
std::string failureText(const Error& error);

// What a failed write or flush may have left in the file; empty for the
// other actions. The store's own refusals come before any byte is written.
std::string_view aftermathText(const Error& error);

// "数值“300”超出 0 到 255 的范围。"
std::string overflowText(std::string_view text);

}  // namespace varnel
