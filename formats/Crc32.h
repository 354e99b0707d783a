#pragma once
// CRC-32 as used by zip, PNG and the BPS patch format.

#include <cstdint>
#include <span>
#include <string>

namespace varnel {

// Pass the result for one piece as `previous` to continue with the next.
std::uint32_t crc32(std::span<const std::uint8_t> bytes, std::uint32_t previous = 0);

// Eight upper-case hexadecimal digits, as checksums are usually shown: "1A2B3C4D".
std::string crcText(std::uint32_t crc);

}  // namespace varnel
