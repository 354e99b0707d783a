#pragma once
// Reading UTF-8 one character at a time, and ASCII letter case: the few text
// rules that field conversion, table files and messages share.

#include <cstddef>
#include <string>
#include <string_view>

namespace varnel {

struct Utf8Character {
    char32_t code = 0;
    std::size_t length = 1;  // bytes taken; 1 for a broken sequence
    bool valid = false;      // well formed: no overlong form, surrogate or code above U+10FFFF
};

// The character at the start of a non-empty text.
Utf8Character firstCharacter(std::string_view text);

// Whether the whole text is well-formed UTF-8.
bool isValidUtf8(std::string_view text);

constexpr char lowerAscii(char c) { return c >= 'A' && c <= 'Z' ? static_cast<char>(c - 'A' + 'a') : c; }

// ASCII letters in lower case; other bytes unchanged.
std::string lowerAscii(std::string_view text);

}  // namespace varnel
