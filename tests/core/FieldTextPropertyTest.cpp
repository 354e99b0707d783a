// Random texts, biased toward what makes numbers, against rules that hold for
// every input: a byte or an overflow and never another failure; blanks
// between characters change nothing; rubbish after a number changes nothing.

#include "core/Error.h"
#include "core/FieldText.h"

#include <gtest/gtest.h>

#include <random>

namespace varnel {
namespace {

int read(const std::string& text) {
    try {
        return toByte(text);
    } catch (const Error& error) {
        EXPECT_EQ(error.kind(), ErrorKind::Overflow) << "'" << text << "'";
        return -1;
    }
}

TEST(FieldTextProperties, BlanksAndRubbishAfterANumberChangeNothing) {
    const std::string pieces[] = {"0", "1", "2", "5", "9", "25", "255", "256", ".", "+", "-", "e", "E", "d", "&H",
                                  "&O", "&h", "F", "x", "中", "２", "\u3000", "\xff", "\xe4\xb8"};
    std::mt19937 random(20261206);
    for (int i = 0; i < 30'000; ++i) {
        std::string text, spaced = " ";
        for (auto length = random() % 13; length > 0; --length) {
            const std::string& piece = pieces[random() % std::size(pieces)];
            text += piece;
            spaced += (random() % 2 != 0 ? " \t" : "") + piece;  // between pieces, never inside a character
        }
        ASSERT_EQ(read(spaced), read(text)) << "'" << text << "' vs '" << spaced << "'";
        const std::string number = std::to_string(random() % 256) + "." + std::to_string(random() % 10);
        ASSERT_EQ(read(number + "x" + text), read(number)) << number << "x" << text;
    }
}

}  // namespace
}  // namespace varnel
