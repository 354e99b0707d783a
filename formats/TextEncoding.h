#pragma once
// The text encodings table files arrive in. A spreadsheet on a Chinese
// Windows saves "CSV" in the GB18030 (GBK) code page and "Unicode text" as
// UTF-16 with a byte-order mark; everything else here is UTF-8.

#include <cstdint>
#include <optional>
#include <span>
#include <string>
#include <string_view>

namespace varnel {

enum class TextEncoding { Utf8, Utf16, Gb18030 };

// "UTF-8", "UTF-16", "GB18030", as messages name them.
std::string_view encodingName(TextEncoding encoding);

struct DecodedText {
    std::string utf8;  // without a byte-order mark
    TextEncoding encoding;
};

// The text of a file. Without `forced`, the encoding is that of its
// byte-order mark, else UTF-8 if the whole file is valid UTF-8, else GB18030
// if the whole file decodes as GB18030. UTF-16 without a mark is read as
// little-endian. Throws FormatError naming the line of the first byte that
// cannot be read.
DecodedText decodeText(std::span<const std::uint8_t> bytes, std::optional<TextEncoding> forced = std::nullopt);

// UTF-8 text as UTF-8 or GB18030. Throws FormatError for a character
// GB18030 cannot hold, or an encoding this build cannot write.
std::string encodeText(std::string_view utf8, TextEncoding encoding);

}  // namespace varnel
