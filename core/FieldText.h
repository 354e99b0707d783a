#pragma once
// Conversion between a record byte and the text of its field box.

#include <cstdint>
#include <string>
#include <string_view>

namespace varnel {

// Plain decimal: "0", "7", "255".
std::string toText(std::uint8_t value);

// Reads the leading number of a UTF-8 text, leniently: blanks anywhere are
// ignored, anything that cannot continue the number ends it, no number is 0.
// Decimal with optional sign, point and E/D exponent, or &H hex / &O octal.
// Rounds half to even; throws Error (ErrorKind::Overflow) outside 0..255.
std::uint8_t toByte(std::string_view text);

}  // namespace varnel
