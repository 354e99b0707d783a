#include "formats/Crc32.h"

#include <boost/crc.hpp>

#include <cstdio>

namespace varnel {

struct Crc32::State {
    boost::crc_32_type crc;
};

Crc32::Crc32() : state_(std::make_unique<State>()) {}
Crc32::~Crc32() = default;
Crc32::Crc32(Crc32&&) noexcept = default;
Crc32& Crc32::operator=(Crc32&&) noexcept = default;

void Crc32::add(std::span<const std::uint8_t> bytes) { state_->crc.process_bytes(bytes.data(), bytes.size()); }

std::uint32_t Crc32::value() const { return state_->crc.checksum(); }

std::uint32_t crc32(std::span<const std::uint8_t> bytes) {
    Crc32 crc;
    crc.add(bytes);
    return crc.value();
}

std::string crcText(std::uint32_t crc) {
    char text[9];
    std::snprintf(text, sizeof text, "%08X", static_cast<unsigned>(crc));
    return text;
}

}  // namespace varnel
