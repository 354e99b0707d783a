#include "formats/Crc32.h"

#include <zlib.h>

#include <algorithm>
#include <cstddef>
#include <cstdio>

namespace varnel {
namespace {

// zlib takes a uInt length; larger spans go through in pieces of this size.
constexpr std::size_t pieceSize = std::size_t{1} << 30;

}  // namespace

std::uint32_t crc32(std::span<const std::uint8_t> bytes, std::uint32_t previous) {
    uLong crc = previous;
    while (!bytes.empty()) {
        const std::size_t length = std::min(bytes.size(), pieceSize);
        crc = ::crc32(crc, bytes.data(), static_cast<uInt>(length));
        bytes = bytes.subspan(length);
    }
    return static_cast<std::uint32_t>(crc);
}

std::string crcText(std::uint32_t crc) {
    char text[9];
    std::snprintf(text, sizeof text, "%08X", static_cast<unsigned>(crc));
    return text;
}

}  // namespace varnel
