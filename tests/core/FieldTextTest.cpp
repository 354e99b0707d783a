// Field text to byte: lenient reading, exact rounding, strict range; then
// random texts against rules that hold for every input. (Byte to text shows in
// every box that the editor tests compare with the image.)

#include "core/Error.h"
#include "core/FieldText.h"

#include <gtest/gtest.h>

#include <random>

namespace varnel {
namespace {

constexpr int overflow = -1;
constexpr int otherFailure = -2;

int read(const std::string& text) {
    try {
        return toByte(text);
    } catch (const Error& error) {
        return error.kind() == ErrorKind::Overflow ? overflow : otherFailure;
    }
}

TEST(ToByte, ReadsTheLeadingNumberRoundsHalvesToEvenAndRefusesWhatIsNoByte) {
    const std::pair<std::string, int> readings[] = {
        // No number at all is 0; blanks anywhere are dropped; what cannot continue the number ends it.
        {"", 0}, {"abc", 0}, {"-", 0}, {".", 0}, {"e5", 0}, {"&H", 0}, {"中", 0}, {"\xff\xfe", 0}, {" 42 ", 42},
        {"4 2", 42}, {"\t4\n2", 42}, {"42abc", 42}, {"1,5", 1}, {"1.2.3", 1}, {"12\r3", 12}, {"+9", 9},
        // An exact half goes to the even neighbour, however many zeros follow it; more than a half goes up.
        {"2.5", 2}, {"3.5", 4}, {".5", 0}, {"253.5", 254}, {"254.5", 254}, {"2.50", 2}, {".50", 0}, {"-0.50", 0},
        {"254.50", 254}, {"2.51", 3}, {"2.5000000000000000000001", 3}, {"2.49999", 2}, {".6", 1}, {"0.05", 0},
        // Below 0 only what rounds to 0 is a byte; above 255 nothing is.
        {"-0", 0}, {"-0.4", 0}, {"-0.5", 0}, {"-0.6", overflow}, {"-1", overflow}, {"255", 255}, {"255.4", 255},
        {"255.5", overflow}, {"256", overflow}, {"1000", overflow},
        // Exponents after E or D, either case, either sign; &H hexadecimal and &O octal.
        {"1e2", 100}, {"1D+2", 100}, {"2.55e2", 255}, {"25e-1", 2}, {"35E-1", 4}, {"1e", 1}, {"3e-1", 0},
        {"1e3", overflow}, {"0.000256e6", overflow}, {"1e-999999999999", 0}, {"9e99999999999999999999", overflow},
        {"&HFF", 255}, {"&hff", 255}, {"&H1g", 1}, {"& H F", 15}, {"&H100", overflow}, {"&HFFFFFFFFFFFFFFFFFF", overflow},
        {"&O17", 15}, {"&o377", 255}, {"&O8", 0}, {"&O400", overflow},
        // Full-width forms, as Chinese input methods type them; numbers no integer type holds.
        {"２５５", 255}, {"＆ＨＦＦ", 255}, {"３．５", 4}, {"\u3000" "7", 7}, {"－１", overflow},
        {std::string(400, '9'), overflow}, {"-" + std::string(400, '9'), overflow},
        {"0." + std::string(400, '0') + "1", 0}, {std::string(400, '0') + "12", 12}};
    for (const auto& [text, byte] : readings) EXPECT_EQ(read(text), byte) << "'" << text << "'";
}

// Texts biased toward what makes numbers: a byte or an overflow and never
// another failure; blanks between characters and rubbish after a number
// change nothing.
TEST(ToByte, BlanksAndRubbishAfterANumberChangeNothing) {
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
        ASSERT_NE(read(text), otherFailure) << "'" << text << "'";
        ASSERT_EQ(read(spaced), read(text)) << "'" << text << "' vs '" << spaced << "'";
        const std::string number = std::to_string(random() % 256) + "." + std::to_string(random() % 10);
        ASSERT_EQ(read(number + "x" + text), read(number)) << number << "x" << text;
    }
}

}  // namespace
}  // namespace varnel
