#include "formats/Crc32.h"

#include <boost/crc.hpp>

#include <cstdio>

namespace varnel {
namespace {

std::uint32_t bitsReversed(std::uint32_t value) {
    std::uint32_t reversed = 0;
    for (int bit = 0; bit < 32; ++bit, value >>= 1) reversed = (reversed << 1) | (value & 1u);
    return reversed;
}

}  // namespace

std::uint32_t crc32(std::span<const std::uint8_t> bytes, std::uint32_t previous) {
    // The running remainder is the finished CRC with its final inversion
    // undone, bit-reversed: Boost takes it in unreflected order.
    boost::crc_32_type crc(bitsReversed(previous ^ 0xFFFFFFFFu));
    crc.process_bytes(bytes.data(), bytes.size());
    return crc.checksum();
}

std::string crcText(std::uint32_t crc) {
    char text[9];
    std::snprintf(text, sizeof text, "%08X", static_cast<unsigned>(crc));
    return text;
}

}  // namespace varnel
