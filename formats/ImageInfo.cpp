#include "formats/ImageInfo.h"

#include "core/TableLayout.h"
#include "formats/Crc32.h"

#include <algorithm>
#include <cstdio>

namespace varnel {
namespace {

// A NES 2.0 size: a plain count of units, or 2^exponent * (2 * multiplier + 1)
// bytes when the high nibble is all ones.
std::optional<std::uint64_t> nes2Size(std::uint8_t low, std::uint8_t highNibble, std::uint64_t unit) {
    if (highNibble == 0x0F) {
        const unsigned exponent = low >> 2;
        const std::uint64_t multiplier = (low & 0x03u) * 2u + 1u;
        if (exponent >= 64 || multiplier > (UINT64_MAX >> exponent)) return std::nullopt;
        return multiplier << exponent;
    }
    return ((static_cast<std::uint64_t>(highNibble) << 8) | low) * unit;
}

}  // namespace

std::optional<InesHeader> readInesHeader(std::span<const std::uint8_t> bytes) {
    if (bytes.size() < inesHeaderSize || bytes[0] != 'N' || bytes[1] != 'E' || bytes[2] != 'S' || bytes[3] != 0x1A) {
        return std::nullopt;
    }
    constexpr std::uint64_t prgUnit = 16 * 1024;
    constexpr std::uint64_t chrUnit = 8 * 1024;
    InesHeader header;
    header.nes2 = (bytes[7] & 0x0Cu) == 0x08u;
    header.battery = (bytes[6] & 0x02u) != 0;
    header.trainer = (bytes[6] & 0x04u) != 0;
    header.mapper = (bytes[6] >> 4) | (bytes[7] & 0xF0);
    if (header.nes2) {
        header.mapper |= (bytes[8] & 0x0F) << 8;
        header.prgRomBytes = nes2Size(bytes[4], bytes[9] & 0x0Fu, prgUnit);
        header.chrRomBytes = nes2Size(bytes[5], static_cast<std::uint8_t>(bytes[9] >> 4), chrUnit);
    } else {
        header.prgRomBytes = bytes[4] * prgUnit;
        header.chrRomBytes = bytes[5] * chrUnit;
    }
    return header;
}

void ImageExaminer::DigestBuilder::add(std::span<const std::uint8_t> bytes) {
    crc32_.add(bytes);
    if (sha1_) sha1_->add(bytes);
}

Digest ImageExaminer::DigestBuilder::finish() {
    Digest digest;
    digest.crc32 = crc32_.value();
    if (sha1_) digest.sha1 = sha1_->finish();
    return digest;
}

ImageExaminer::ImageExaminer(std::uint64_t size) {
    facts_.size = size;
    facts_.romStart = size;
    facts_.tablesInside = size >= tablesEnd;
    readHeaderOnce();  // a file too short for a header has none
}

void ImageExaminer::readHeaderOnce() {
    if (headerRead_ || seen_ < std::min<std::uint64_t>(facts_.size, inesHeaderSize)) return;
    headerRead_ = true;
    facts_.header = readInesHeader(std::span(first_).first(static_cast<std::size_t>(seen_)));
    if (facts_.header) facts_.romStart = inesHeaderSize + (facts_.header->trainer ? trainerSize : 0);
}

void ImageExaminer::add(std::span<const std::uint8_t> piece) {
    const std::uint64_t offset = seen_;
    for (std::size_t i = 0; i < piece.size() && seen_ < inesHeaderSize; ++i) first_[seen_++] = piece[i];
    seen_ = offset + piece.size();
    readHeaderOnce();
    whole_.add(piece);
    // The data after the header starts at or after the first 16 bytes, so the header is known by then.
    if (facts_.header && seen_ > facts_.romStart) {
        rom_.add(piece.subspan(static_cast<std::size_t>(facts_.romStart > offset ? facts_.romStart - offset : 0)));
    }
}

ImageFacts ImageExaminer::finish() {
    facts_.file = whole_.finish();
    if (facts_.header) facts_.rom = rom_.finish();
    return facts_;
}

std::string sha1Text(const Sha1Digest& sha1) {
    std::string text;
    for (const std::uint8_t byte : sha1) {
        char pair[3];
        std::snprintf(pair, sizeof pair, "%02x", static_cast<unsigned>(byte));
        text += pair;
    }
    return text;
}

}  // namespace varnel
