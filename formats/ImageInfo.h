#pragma once
// What a file says about itself: its iNES header, if it has one, and the
// checksums by which ROM catalogues list images.

#include <array>
#include <cstdint>
#include <memory>
#include <optional>
#include <span>
#include <string>

namespace varnel {

inline constexpr std::size_t inesHeaderSize = 16;
inline constexpr std::size_t trainerSize = 512;

struct InesHeader {
    bool nes2 = false;
    // Empty where a NES 2.0 size does not fit 64 bits.
    std::optional<std::uint64_t> prgRomBytes;
    std::optional<std::uint64_t> chrRomBytes;
    int mapper = 0;
    bool trainer = false;
    bool battery = false;
};

// The header, if the bytes start with "NES" 1A and hold all 16 header bytes.
std::optional<InesHeader> readInesHeader(std::span<const std::uint8_t> firstBytes);

struct Digest {
    std::uint32_t crc32 = 0;
    std::array<std::uint8_t, 20> sha1{};
};

// CRC-32 and SHA-1 of bytes fed in pieces.
class DigestBuilder {
public:
    DigestBuilder();
    ~DigestBuilder();
    DigestBuilder(const DigestBuilder&) = delete;
    DigestBuilder& operator=(const DigestBuilder&) = delete;

    void add(std::span<const std::uint8_t> bytes);
    Digest finish();

private:
    struct Sha1;
    std::unique_ptr<Sha1> sha1_;
    std::uint32_t crc32_ = 0;
};

// The SHA-1 as 40 lower-case hexadecimal digits.
std::string sha1Text(const std::array<std::uint8_t, 20>& sha1);

}  // namespace varnel
