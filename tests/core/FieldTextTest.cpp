// Field text to byte and back: lenient reading, exact rounding, strict range.

#include "core/Error.h"
#include "core/FieldText.h"

#include <gtest/gtest.h>

#include <string>

namespace varnel {
namespace {

struct Reading {
    const char* text;
    int byte;  // -1: overflow
};

void PrintTo(const Reading& reading, std::ostream* out) { *out << "'" << reading.text << "'"; }

class ToByteTest : public ::testing::TestWithParam<Reading> {};

TEST_P(ToByteTest, ReadsTheLeadingNumber) {
    const Reading reading = GetParam();
    if (reading.byte < 0) {
        try {
            toByte(reading.text);
            ADD_FAILURE() << "expected overflow";
        } catch (const Error& error) {
            EXPECT_EQ(error.kind(), ErrorKind::Overflow);
            EXPECT_EQ(error.text(), reading.text);
        }
    } else {
        EXPECT_EQ(toByte(reading.text), reading.byte);
    }
}

INSTANTIATE_TEST_SUITE_P(NoNumberReadsAsZero, ToByteTest,
                         ::testing::Values(Reading{"", 0}, Reading{"abc", 0}, Reading{"-", 0}, Reading{".", 0},
                                           Reading{"e5", 0}, Reading{"&", 0}, Reading{"&H", 0}, Reading{"+-1", 0},
                                           Reading{"中", 0}, Reading{"\xff\xfe", 0}));

INSTANTIATE_TEST_SUITE_P(BlanksAnywhereAndTrailingRubbish, ToByteTest,
                         ::testing::Values(Reading{" 42 ", 42}, Reading{"4 2", 42}, Reading{"\t4\n2", 42},
                                           Reading{"42abc", 42}, Reading{"1,5", 1}, Reading{"1.2.3", 1},
                                           Reading{"007", 7}, Reading{"+9", 9}, Reading{"12\r3", 12},
                                           Reading{"5中6", 5}));

INSTANTIATE_TEST_SUITE_P(RoundsHalfToEven, ToByteTest,
                         ::testing::Values(Reading{"2.5", 2}, Reading{"3.5", 4}, Reading{"0.5", 0},
                                           Reading{".5", 0}, Reading{"1.5", 2}, Reading{"2.51", 3},
                                           Reading{"2.5000000000000000000001", 3}, Reading{"2.49999", 2},
                                           Reading{"7.5", 8}, Reading{"254.5", 254}, Reading{"253.5", 254},
                                           Reading{"0.05", 0}, Reading{"25e-1", 2}, Reading{"35E-1", 4}));

INSTANTIATE_TEST_SUITE_P(NegativeValuesThatRoundToZero, ToByteTest,
                         ::testing::Values(Reading{"-0", 0}, Reading{"-0.4", 0}, Reading{"-0.5", 0},
                                           Reading{"-0.6", -1}, Reading{"-1", -1}, Reading{"-1.5", -1},
                                           Reading{"-0e9", 0}));

INSTANTIATE_TEST_SUITE_P(RangeEdges, ToByteTest,
                         ::testing::Values(Reading{"0", 0}, Reading{"255", 255}, Reading{"255.4", 255},
                                           Reading{"255.5", -1}, Reading{"256", -1}, Reading{"999", -1},
                                           Reading{"1000", -1}));

INSTANTIATE_TEST_SUITE_P(Exponents, ToByteTest,
                         ::testing::Values(Reading{"1e2", 100}, Reading{"1E2", 100}, Reading{"1d2", 100},
                                           Reading{"1D+2", 100}, Reading{"2.55e2", 255}, Reading{"1e", 1},
                                           Reading{"1e+", 1}, Reading{"3e-1", 0}, Reading{"1e3", -1},
                                           Reading{"0.000256e6", -1}, Reading{"0.000255e6", 255}, Reading{"1e-999999999999", 0}));

INSTANTIATE_TEST_SUITE_P(HexadecimalAndOctal, ToByteTest,
                         ::testing::Values(Reading{"&HFF", 255}, Reading{"&hff", 255}, Reading{"&H1g", 1},
                                           Reading{"&H100", -1}, Reading{"&O17", 15}, Reading{"&o377", 255},
                                           Reading{"&O400", -1}, Reading{"&O8", 0}, Reading{"& H F", 15},
                                           Reading{"&HFFFF", -1}, Reading{"&HFFFFFFFFFFFFFFFFFF", -1}));

INSTANTIATE_TEST_SUITE_P(FullWidthFormsReadAsAscii, ToByteTest,
                         ::testing::Values(Reading{"２５５", 255}, Reading{"１２", 12}, Reading{"\u3000" "7", 7},
                                           Reading{"＆ＨＦＦ", 255}, Reading{"３．５", 4}, Reading{"－１", -1},
                                           Reading{"１ｅ２", 100}, Reading{"２５６", -1}));

TEST(ToByte, NumbersTooLargeForAnyTypeOverflowCleanly) {
    EXPECT_THROW(toByte("9e999"), Error);
    EXPECT_THROW(toByte("9e99999999999999999999999"), Error);
    EXPECT_THROW(toByte(std::string(400, '9')), Error);
    EXPECT_THROW(toByte("-" + std::string(400, '9')), Error);
    EXPECT_EQ(toByte("0." + std::string(400, '0') + "1"), 0);
    EXPECT_EQ(toByte(std::string(400, '0') + "12"), 12);
}

TEST(ToText, IsPlainDecimal) {
    EXPECT_EQ(toText(0), "0");
    EXPECT_EQ(toText(7), "7");
    EXPECT_EQ(toText(10), "10");
    EXPECT_EQ(toText(255), "255");
}

TEST(FieldText, EveryByteSurvivesTheRoundTrip) {
    for (int value = 0; value <= 255; ++value) {
        const auto byte = static_cast<std::uint8_t>(value);
        EXPECT_EQ(toByte(toText(byte)), byte) << value;
        EXPECT_LE(toText(byte).size(), 3u);  // fits a three-character box
    }
}

}  // namespace
}  // namespace varnel
