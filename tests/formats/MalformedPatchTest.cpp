// Patches that are broken, truncated or made for another file are refused
// with a sentence saying why. The BPS cases have correct CRCs unless the CRC
// is the point, so each reaches the check it is about.

#include "formats/Bps.h"
#include "formats/Crc32.h"
#include "formats/FormatError.h"
#include "formats/Ips.h"
#include "tests/support/Refusal.h"
#include "tests/support/SyntheticImage.h"

#include <gtest/gtest.h>

#include <string>

namespace varnel {
namespace {

using Bytes = std::vector<std::uint8_t>;
using ApplyPatch = Bytes (*)(std::span<const std::uint8_t>, std::span<const std::uint8_t>);
using testing::makeImage;

const Bytes source = makeImage(16, 5);

Bytes operator+(Bytes bytes, const Bytes& more) {
    bytes.insert(bytes.end(), more.begin(), more.end());
    return bytes;
}

Bytes text(const std::string& characters) { return {characters.begin(), characters.end()}; }

Bytes number(std::uint64_t value) {
    Bytes bytes;
    bps::encodeNumber(value, bytes);
    return bytes;
}

enum Command { SourceRead, TargetRead, SourceCopy, TargetCopy };
Bytes action(Command command, std::uint64_t length) { return number((length - 1) << 2 | command); }

void putCrc(Bytes& bytes, std::uint32_t crc) {
    for (int shift = 0; shift < 32; shift += 8) bytes.push_back(static_cast<std::uint8_t>(crc >> shift));
}

// Source and patch CRCs that fit; the target's as given.
Bytes withCrcs(Bytes patch, std::uint32_t targetCrc = 0) {
    putCrc(patch, crc32(source));
    putCrc(patch, targetCrc);
    putCrc(patch, crc32(patch));
    return patch;
}

Bytes bpsPatch(std::uint64_t targetSize, const Bytes& actions, std::uint32_t targetCrc = 0) {
    return withCrcs(text("BPS1") + number(source.size()) + number(targetSize) + number(0) + actions, targetCrc);
}

struct Malformed {
    const char* name;
    ApplyPatch apply;
    Bytes patch;
    const char* reason;  // what tells this refusal from the others
};
const Malformed malformed[] = {
    {"IpsBadHeader", ips::apply, text("PATCX") + text("EOF"), "不是 IPS 补丁"},
    {"IpsTruncatedRecordHeader", ips::apply, text("PATCH") + Bytes{0, 0}, "第 1 条记录的头部不完整"},
    {"IpsTruncatedRunRecord", ips::apply, text("PATCH") + Bytes{0, 0, 1, 0, 1, 0xAA, 0, 0, 2, 0, 0, 0, 9},
     "第 2 条记录的数据不完整"},
    {"IpsMissingEof", ips::apply, text("PATCH") + Bytes{0, 0, 1, 0, 1, 0xAA}, "缺少结尾标记"},
    {"IpsTrailingJunk", ips::apply, text("PATCHEOF") + Bytes{0, 0, 1, 2}, "之后还有 4 个字节"},
    {"IpsCutBeyondTheResult", ips::apply, text("PATCHEOF") + Bytes{0, 0, 17}, "截短为 17 字节"},
    {"BpsBadHeader", bps::apply, text("BPS2") + Bytes(16), "不是 BPS 补丁"},
    {"BpsBadPatchCrc", bps::apply, text("BPS1") + Bytes{0x80, 0x80, 0x80} + Bytes(12), "自身 CRC-32"},
    {"BpsNumberRunsIntoTheCrcs", bps::apply, withCrcs(text("BPS1") + Bytes{0x90, 0, 0}), "数值没有结束"},
    {"BpsTargetOverOneGiB", bps::apply, bpsPatch(bps::maximumTargetSize + 1, {}), "超过了允许的上限"},
    {"BpsMetadataOverrunsThePatch", bps::apply, withCrcs(text("BPS1") + number(16) + number(0) + number(9)), "元数据"},
    {"BpsSourceReadOverrunsTheSource", bps::apply, bpsPatch(17, action(SourceRead, 17)), "超出了源文件的大小"},
    {"BpsCopyFromBeforeTheStart", bps::apply, bpsPatch(4, action(SourceCopy, 4) + number(1 << 1 | 1)), "开头之前"},
    {"BpsActionOverrunsTheTarget", bps::apply, bpsPatch(4, action(TargetRead, 5) + Bytes(5)), "超出了目标文件的大小"},
    {"BpsTargetReadOverrunsThePatch", bps::apply, bpsPatch(8, action(TargetRead, 8) + Bytes{1, 2}), "数据不完整"},
    {"BpsTargetCopyOfUnwrittenOutput", bps::apply,
     bpsPatch(8, action(TargetRead, 1) + Bytes{7} + action(TargetCopy, 7) + number(1 << 1)), "只写出了 1 字节"},
    {"BpsTargetNotFilled", bps::apply, bpsPatch(8, action(SourceRead, 4)), "全部操作只写出了 4 字节"},
    {"BpsWrongTargetCrc", bps::apply, bpsPatch(4, action(SourceRead, 4)), "目标文件不符"},
};

class MalformedPatch : public ::testing::TestWithParam<Malformed> {};

TEST_P(MalformedPatch, IsRefusedSayingWhy) {
    const std::string message = testing::refusalOf<FormatError>([] { GetParam().apply(GetParam().patch, source); });
    EXPECT_NE(message.find(GetParam().reason), std::string::npos) << message;
}

INSTANTIATE_TEST_SUITE_P(Table, MalformedPatch, ::testing::ValuesIn(malformed),
                         [](const auto& info) { return std::string(info.param.name); });

// Bytes that decode to no 64-bit number.
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
