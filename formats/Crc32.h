#pragma once
// CRC-32 as used by zip, PNG and the BPS patch format.

#include <cstdint>
#include <memory>
#include <span>
#include <string>

namespace varnel {

std::uint32_t crc32(std::span<const std::uint8_t> bytes);

// The same over bytes that come in pieces.
class Crc32 {
public:
    Crc32();
    ~Crc32();
    Crc32(Crc32&&) noexcept;
    Crc32& operator=(Crc32&&) noexcept;

    void add(std::span<const std::uint8_t> bytes);
    std::uint32_t value() const;

private:
    struct State;
    std::unique_ptr<State> state_;
};

// Eight upper-case hexadecimal digits, as checksums are usually shown: "1A2B3C4D".
std::string crcText(std::uint32_t crc);

}  // namespace varnel
