// Patches made from two synthetic images apply back to exactly the second
// one, in both formats, for the changes that strain each format's limits;
// BPS patches copy what moved or repeats; and the BPS numbers they are made of.

#include "formats/Bps.h"
#include "formats/FormatError.h"
#include "formats/Ips.h"
#include "tests/support/ImageChanges.h"
#include "tests/support/SyntheticImage.h"

#include <gtest/gtest.h>

#include <algorithm>
#include <limits>
#include <random>
#include <tuple>

namespace varnel {
namespace {

using Bytes = std::vector<std::uint8_t>;

struct PatchFormat {
    const char* name;
    Bytes (*create)(std::span<const std::uint8_t>, std::span<const std::uint8_t>);
    Bytes (*apply)(std::span<const std::uint8_t>, std::span<const std::uint8_t>);
};
const PatchFormat formats[] = {{"Ips", ips::create, ips::apply}, {"Bps", bps::create, bps::apply}};

constexpr std::size_t eofOffset = 0x454F46;  // an IPS record starting here would read as "EOF"

// 5 MiB of random bytes, reaching past eofOffset; four bytes a draw, as a
// byte-wise distribution is slow at this size in a sanitizer build.
const Bytes& original() {
    static const Bytes image = [] {
        std::vector<std::uint32_t> words(5 << 18);
        std::ranges::generate(words, std::mt19937(3));
        const auto* bytes = reinterpret_cast<const std::uint8_t*>(words.data());
        return Bytes(bytes, bytes + 4 * words.size());
    }();
    return image;
}

void invert(Bytes& bytes, std::size_t from, std::size_t count) {
    std::for_each_n(bytes.begin() + static_cast<std::ptrdiff_t>(from), count, [](auto& byte) { byte = ~byte; });
}

struct Change {
    const char* name;
    void (*apply)(Bytes&);
};
const Change changes[] = {
    {"Identical", [](Bytes&) {}},
    {"ShorterWithAChange", [](Bytes& image) { invert(image, 1000, 10); image.resize(image.size() - 3000); }},
    {"LongerByZeros", [](Bytes& image) { image.resize(image.size() + 70'000); }},
    {"OneByteAtEofOffset", [](Bytes& image) { invert(image, eofOffset, 1); }},
    {"SplitLandingOnEofOffset", [](Bytes& image) { invert(image, eofOffset - ips::maximumRecordLength, 70'000); }},
    {"LongRunOfOneValue", [](Bytes& image) { std::fill_n(image.begin() + 0x20000, 200'000, 0xA5); }},
    {"LongRunOfRandomBytes", [](Bytes& image) { invert(image, 0x100000, 200'000); }},
};

class PatchRoundTrip : public ::testing::TestWithParam<std::tuple<PatchFormat, Change>> {};

TEST_P(PatchRoundTrip, AppliesBackToExactlyTheModifiedImage) {
    const auto& [format, change] = GetParam();
    Bytes modified = original();
    change.apply(modified);
    EXPECT_TRUE(format.apply(format.create(original(), modified), original()) == modified);
}

INSTANTIATE_TEST_SUITE_P(BothFormats, PatchRoundTrip,
                         ::testing::Combine(::testing::ValuesIn(formats), ::testing::ValuesIn(changes)),
                         [](const auto& info) {
                             return std::string(std::get<0>(info.param).name) + std::get<1>(info.param).name;
                         });

TEST(IpsCreate, ReachesOffset0xFFFFFFAndRefusesLargerFiles) {
    const Bytes shorter(ips::maximumFileSize - 1), largest(ips::maximumFileSize), tooLarge(ips::maximumFileSize + 1);
    EXPECT_TRUE(ips::apply(ips::create(shorter, largest), shorter) == largest);  // a record for its last byte
    EXPECT_THROW(ips::create(shorter, tooLarge), FormatError);
    EXPECT_THROW(ips::create(tooLarge, shorter), FormatError);
}

// Changes that a few copies express, and the most bytes their BPS patch takes.
const std::pair<void (*)(Bytes&), std::size_t> copyingChanges[] = {
    {testing::writeRunOverTheMiddle, 37},
    {testing::insertSixteenBytes, 48},
    {testing::moveBlockAndShiftMagicTable, 42},
};

TEST(BpsCreate, CopiesRunsInsertionsAndMovedData) {
    const Bytes image = testing::makeImage();
    for (const auto& [change, largestPatch] : copyingChanges) {
        Bytes modified = image;
        change(modified);
        const Bytes patch = bps::create(image, modified);
        EXPECT_LE(patch.size(), largestPatch);
        EXPECT_TRUE(bps::apply(patch, image) == modified);
    }
}

// Past 16 MiB, where IPS stops: one copy of the whole source after an insertion.
TEST(BpsCreate, CopiesPast16MiB) {
    Bytes source;
    for (int i = 0; i < 4; ++i) source.insert(source.end(), original().begin(), original().end());
    Bytes modified = source;
    testing::insertSixteenBytes(modified);
    const Bytes patch = bps::create(source, modified);
    EXPECT_LE(patch.size(), 50u);
    EXPECT_TRUE(bps::apply(patch, source) == modified);
}

// A copy is taken where its action and cursor move cost less than the bytes
// it spares: the three bytes between two edits are read on from the source,
// and reading on stays where a copy from afar would match one byte further;
// the source's last eight bytes put at the end are copied, and a run after them.
TEST(BpsCreate, CopiesWhereTheActionCostsLessThanItSpares) {
    Bytes source = testing::makeImage(0x8000, 4);
    std::copy_n(source.begin() + 0x100, 16, source.begin() + 0x4000);
    Bytes target = source;
    target[4] ^= 0xFF;
    target[8] ^= 0xFF;
    target[0xFF] ^= 0xFF;
    target[0x110] = source[0x4010];
    target.insert(target.end(), source.end() - 8, source.end());
    target.insert(target.end(), 16, 0x3C);
    const Bytes patch = bps::create(source, target);
    // "BPS1" and three sizes; SourceRead 4, TargetRead 1, SourceRead 3, TargetRead 1, SourceRead 246,
    // TargetRead 1, SourceRead 16, TargetRead 1, SourceRead to the end, SourceCopy 8, TargetRead 1 and
    // TargetCopy 15, each with its bytes or cursor move; three CRC-32s.
    EXPECT_EQ(patch.size(), 11 + (1 + 2 + 1 + 2 + 2 + 2 + 1 + 2 + 3 + 4 + 2 + 4) + 12);
    EXPECT_TRUE(bps::apply(patch, source) == target);
}

TEST(BpsCreate, RoundTripsEmptyFilesAndFilesOfOneByte) {
    for (const Bytes& from : {Bytes{}, Bytes{7}}) {
        for (const Bytes& to : {Bytes{}, Bytes{7}, Bytes{8}}) EXPECT_EQ(bps::apply(bps::create(from, to), from), to);
    }
}

// BPS numbers at the lengths where their encoding grows.
TEST(BpsNumber, RoundTripsWhereTheEncodingGrows) {
    const std::pair<std::uint64_t, std::size_t> numberAndLength[] = {
        {0, 1}, {127, 1}, {128, 2}, {16'511, 2}, {16'512, 3}, {std::numeric_limits<std::uint64_t>::max(), 10}};
    for (const auto& [number, length] : numberAndLength) {
        Bytes bytes{0xEE};  // decoding starts past what is already there
        bps::encodeNumber(number, bytes);
        EXPECT_EQ(bytes.size(), 1 + length) << number;
        EXPECT_EQ(bps::numberSize(number), length) << number;
        std::size_t position = 1;
        EXPECT_EQ(bps::decodeNumber(bytes, position), number);
        EXPECT_EQ(position, bytes.size());
    }
}

}  // namespace
}  // namespace varnel
