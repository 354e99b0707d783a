// BPS numbers at the lengths where their encoding grows, and the bytes that
// decode to no 64-bit number.

#include "formats/Bps.h"
#include "formats/FormatError.h"

#include <gtest/gtest.h>

#include <limits>
#include <utility>

namespace varnel {
namespace {

using Bytes = std::vector<std::uint8_t>;

TEST(BpsNumber, RoundTripsWhereTheEncodingGrows) {
    const std::pair<std::uint64_t, std::size_t> numberAndLength[] = {
        {0, 1}, {127, 1}, {128, 2}, {16'511, 2}, {16'512, 3}, {std::numeric_limits<std::uint64_t>::max(), 10}};
    for (const auto& [number, length] : numberAndLength) {
        Bytes bytes{0xEE};  // decoding starts past what is already there
        bps::encodeNumber(number, bytes);
        EXPECT_EQ(bytes.size(), 1 + length) << number;
        std::size_t position = 1;
        EXPECT_EQ(bps::decodeNumber(bytes, position), number);
        EXPECT_EQ(position, bytes.size());
    }
}

TEST(BpsNumber, RefusesNumbersRunningPastTheEndOrBeyond64Bits) {
    const Bytes twoToThe64{0x00, 0x7F, 0x7E, 0x7E, 0x7E, 0x7E, 0x7E, 0x7E, 0x7E, 0x80};
    const Bytes elevenBytes{0, 0, 0, 0, 0, 0, 0, 0, 0, 0, 0x81};
    for (const Bytes& bytes : {Bytes{}, Bytes{0x00, 0x7F}, twoToThe64, elevenBytes}) {
        std::size_t position = 0;
        EXPECT_THROW(bps::decodeNumber(bytes, position), FormatError) << bytes.size() << " bytes";
    }
}

}  // namespace
}  // namespace varnel
