// Random texts, biased toward what makes numbers, against properties that
// must hold for every input: a byte or an overflow, never anything else;
// blanks change nothing; rubbish after a number changes nothing.

#include "core/Error.h"
#include "core/FieldText.h"

#include <gtest/gtest.h>

#include <array>
#include <optional>
#include <random>
#include <string>

namespace varnel {
namespace {

constexpr int iterations = 100'000;

// Empty optional: overflow. Any other exception fails the test.
std::optional<std::uint8_t> read(const std::string& text) {
    try {
        return toByte(text);
    } catch (const Error& error) {
        EXPECT_EQ(error.kind(), ErrorKind::Overflow) << "'" << text << "'";
        return std::nullopt;
    }
}

std::string randomText(std::mt19937& random) {
    static const std::array<std::string, 24> pieces{
        "0", "1", "2", "5", "9", "25", "255", "256", ".", "+", "-", "e", "E", "d", "&H", "&O", "&h", "F",
        "x", "中", "２", "\u3000", "\xff", "\xe4\xb8"};
    std::uniform_int_distribution<std::size_t> length(0, 12);
    std::uniform_int_distribution<std::size_t> piece(0, pieces.size() - 1);
    std::string text;
    for (std::size_t n = length(random); n > 0; --n) text += pieces[piece(random)];
    return text;
}

TEST(FieldTextProperties, RandomTextsGiveAByteOrOverflowAndBlanksChangeNothing) {
    std::mt19937 random(20261206);
    std::uniform_int_distribution<int> coin(0, 1);
    for (int i = 0; i < iterations; ++i) {
        const std::string text = randomText(random);
        const auto plain = read(text);

        // Blanks go only between characters, never inside a multibyte one.
        std::string spaced;
        for (const char c : text) {
            const bool continuation = (static_cast<unsigned char>(c) & 0xC0u) == 0x80u;
            if (!continuation && coin(random) != 0) spaced += " \t";
            spaced += c;
        }
        ASSERT_EQ(read(" " + spaced), plain) << "'" << text << "' vs '" << spaced << "'";
    }
}

TEST(FieldTextProperties, RubbishAfterACompleteNumberIsIgnored) {
    std::mt19937 random(7);
    std::uniform_int_distribution<int> value(0, 255);
    std::uniform_int_distribution<int> tenths(0, 9);
    for (int i = 0; i < iterations / 10; ++i) {
        const std::string number = std::to_string(value(random)) + "." + std::to_string(tenths(random));
        ASSERT_EQ(read(number + "x" + randomText(random)), read(number)) << number;
        ASSERT_EQ(read(number + "中"), read(number)) << number;
    }
}

}  // namespace
}  // namespace varnel
