#pragma once
// What a file says about itself: its iNES header, if it has one, and the
// checksums by which ROM catalogues list images.

#include "formats/Crc32.h"
#include "formats/Sha1.h"

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
    std::optional<Sha1Digest> sha1;  // where the build computes SHA-1
};

struct ImageFacts {
    std::uint64_t size = 0;
    std::optional<InesHeader> header;
    // Where the data after the header (and trainer) begins; the size when
    // there is no header.
    std::uint64_t romStart = 0;
    Digest file;
    std::optional<Digest> rom;  // of the data from romStart, when there is a header
    bool tablesInside = false;  // the file is long enough to hold the three tables
};

// Examines a file of a known size from its bytes, fed in order in pieces of
// any size, so that large files need not be held whole.
class ImageExaminer {
public:
    explicit ImageExaminer(std::uint64_t size);

    void add(std::span<const std::uint8_t> piece);
    ImageFacts finish();

private:
    class DigestBuilder {
    public:
        DigestBuilder() : sha1_(makeSha1Hasher()) {}
        void add(std::span<const std::uint8_t> bytes);
        Digest finish();

    private:
        std::unique_ptr<Sha1Hasher> sha1_;
        Crc32 crc32_;
    };

    void readHeaderOnce();

    ImageFacts facts_;
    std::array<std::uint8_t, inesHeaderSize> first_{};
    std::uint64_t seen_ = 0;
    bool headerRead_ = false;
    DigestBuilder whole_;
    DigestBuilder rom_;
};

// The SHA-1 as 40 lower-case hexadecimal digits.
std::string sha1Text(const Sha1Digest& sha1);

}  // namespace varnel
