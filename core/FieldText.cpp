#include "core/FieldText.h"

#include "core/Error.h"
#include "core/Utf8.h"

#include <algorithm>
#include <cstdint>
#include <string>

namespace varnel {
namespace {

// Stands for any character that can never continue a number.
constexpr char stopCharacter = '\x01';

// Decodes UTF-8, folds full-width ASCII forms and the ideographic space to
// ASCII (Chinese input methods type them), drops blanks, tabs and line feeds,
// and turns every other non-ASCII character or broken sequence into a stop.
std::string normalise(std::string_view text) {
    std::string out;
    out.reserve(text.size());
    while (!text.empty()) {
        const Utf8Character character = firstCharacter(text);
        text.remove_prefix(character.length);
        char32_t code = character.valid ? character.code : stopCharacter;
        if (code == 0x3000) {
            code = ' ';
        } else if (code >= 0xFF01 && code <= 0xFF5E) {
            code -= 0xFEE0;
        } else if (code >= 0x80) {
            code = stopCharacter;
        }
        if (code == ' ' || code == '\t' || code == '\n') continue;
        out.push_back(static_cast<char>(code));
    }
    return out;
}

bool isDigit(char c) { return c >= '0' && c <= '9'; }

int digitValue(char c, int radix) {
    const char l = lowerAscii(c);
    int value = 99;
    if (isDigit(l)) value = l - '0';
    else if (l >= 'a' && l <= 'f') value = l - 'a' + 10;
    return value < radix ? value : -1;
}

std::uint8_t checkedByte(std::uint64_t value, std::string_view original) {
    if (value > 255) throw Error::overflow(std::string(original));
    return static_cast<std::uint8_t>(value);
}

// &H / &O integer; only its size matters here, so it saturates past 255.
std::uint8_t readRadix(const std::string& text, std::size_t from, int radix, std::string_view original) {
    std::uint64_t value = 0;
    for (std::size_t i = from; i < text.size(); ++i) {
        const int digit = digitValue(text[i], radix);
        if (digit < 0) break;
        value = std::min<std::uint64_t>(value * static_cast<std::uint64_t>(radix) + static_cast<std::uint64_t>(digit), 256);
    }
    return checkedByte(value, original);
}

// Decimal, kept exact: the significant digits and where the point falls among
// them, so halves round correctly and no size of input can overflow a type.
std::uint8_t readDecimal(const std::string& text, std::string_view original) {
    std::size_t i = 0;
    bool negative = false;
    if (i < text.size() && (text[i] == '+' || text[i] == '-')) negative = text[i++] == '-';

    std::string digits;
    std::int64_t integerDigits = 0;
    bool seenPoint = false;
    bool seenDigit = false;
    for (; i < text.size(); ++i) {
        const char c = text[i];
        if (isDigit(c)) {
            seenDigit = true;
            if (digits.empty() && c == '0') {
                if (seenPoint) --integerDigits;  // leading fraction zero moves the point
                continue;
            }
            digits.push_back(c);
            if (!seenPoint) ++integerDigits;
        } else if (c == '.' && !seenPoint) {
            seenPoint = true;
        } else {
            break;
        }
    }

    std::int64_t exponent = 0;
    if (seenDigit && i < text.size() && (lowerAscii(text[i]) == 'e' || lowerAscii(text[i]) == 'd')) {
        ++i;
        bool negativeExponent = false;
        if (i < text.size() && (text[i] == '+' || text[i] == '-')) negativeExponent = text[i++] == '-';
        constexpr std::int64_t exponentLimit = 1'000'000'000;
        for (; i < text.size() && isDigit(text[i]); ++i) {
            exponent = std::min<std::int64_t>(exponent * 10 + (text[i] - '0'), exponentLimit);
        }
        if (negativeExponent) exponent = -exponent;
    }

    while (!digits.empty() && digits.back() == '0') digits.pop_back();
    if (digits.empty()) return 0;

    // value = 0.digits * 10^pointPosition
    const std::int64_t pointPosition = integerDigits + exponent;
    if (pointPosition > 3) throw Error::overflow(std::string(original));

    std::uint64_t magnitude = 0;
    for (std::int64_t k = 0; k < pointPosition; ++k) {
        const auto index = static_cast<std::size_t>(k);
        magnitude = magnitude * 10 + static_cast<std::uint64_t>(index < digits.size() ? digits[index] - '0' : 0);
    }

    // Compare the fraction with one half, exactly.
    // A negative point position means a fraction below 0.1.
    int comparison = -1;  // fraction < 1/2
    if (pointPosition >= 0 && static_cast<std::size_t>(pointPosition) < digits.size()) {
        const auto first = static_cast<std::size_t>(pointPosition);
        const bool moreDigits = first + 1 < digits.size();  // trailing zeros are gone, so these are not all zero
        if (digits[first] > '5' || (digits[first] == '5' && moreDigits)) comparison = 1;
        else if (digits[first] == '5') comparison = 0;
    }
    if (comparison > 0 || (comparison == 0 && magnitude % 2 == 1)) ++magnitude;

    if (negative && magnitude != 0) throw Error::overflow(std::string(original));
    return checkedByte(magnitude, original);
}

}  // namespace

std::string toText(std::uint8_t value) {
    return std::to_string(value);
}

std::uint8_t toByte(std::string_view text) {
    const std::string number = normalise(text);
    if (number.size() >= 2 && number[0] == '&') {
        const char prefix = lowerAscii(number[1]);
        if (prefix == 'h') return readRadix(number, 2, 16, text);
        if (prefix == 'o') return readRadix(number, 2, 8, text);
    }
    return readDecimal(number, text);
}

}  // namespace varnel
