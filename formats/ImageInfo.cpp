#include "formats/ImageInfo.h"

#include "formats/Crc32.h"

#include <openssl/evp.h>

#include <cstdio>
#include <new>

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

struct DigestBuilder::Sha1 {
    EVP_MD_CTX* context = EVP_MD_CTX_new();
    ~Sha1() { EVP_MD_CTX_free(context); }
};

DigestBuilder::DigestBuilder() : sha1_(std::make_unique<Sha1>()) {
    if (sha1_->context == nullptr || EVP_DigestInit_ex(sha1_->context, EVP_sha1(), nullptr) != 1) {
        throw std::bad_alloc();
    }
}

DigestBuilder::~DigestBuilder() = default;

void DigestBuilder::add(std::span<const std::uint8_t> bytes) {
    crc32_ = crc32(bytes, crc32_);
    EVP_DigestUpdate(sha1_->context, bytes.data(), bytes.size());
}

Digest DigestBuilder::finish() {
    Digest digest;
    digest.crc32 = crc32_;
    unsigned length = 0;
    EVP_DigestFinal_ex(sha1_->context, digest.sha1.data(), &length);
    return digest;
}

std::string sha1Text(const std::array<std::uint8_t, 20>& sha1) {
    std::string text;
    for (const std::uint8_t byte : sha1) {
        char pair[3];
        std::snprintf(pair, sizeof pair, "%02x", static_cast<unsigned>(byte));
        text += pair;
    }
    return text;
}

}  // namespace varnel
