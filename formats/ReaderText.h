#pragma once
// Text handling that both readers share: trimming cells, and quoting any
// input safely inside a Chinese message.

#include <string>
#include <string_view>

namespace varnel {

inline constexpr std::string_view byteOrderMark = "\xEF\xBB\xBF";

// Without a leading UTF-8 byte-order mark, if there is one.
std::string_view withoutByteOrderMark(std::string_view text);

// Without leading and trailing spaces and tabs.
std::string_view trimBlanks(std::string_view text);

// “text” for a message: broken UTF-8 and control characters become U+FFFD,
// so the message is always valid UTF-8 and harmless on a terminal, and long
// text is cut to its first characters followed by "…".
std::string quotedText(std::string_view text);

}  // namespace varnel
