#include "formats/BpsMatchIndex.h"

#include <algorithm>
#include <cstring>
#include <limits>

namespace varnel {

std::uint64_t windowHash(const std::uint8_t* window) {
    std::uint64_t word = 0;
    std::memcpy(&word, window, windowSize);
    return word * 0x9E3779B97F4A7C15;  // 2^64 divided by the golden ratio
}

BpsMatchIndex::BpsMatchIndex(std::span<const std::uint8_t> bytes, std::size_t stride) : stride_(stride) {
    // Entries are counted in 32 bits; windows past the 4 billionth are not indexed.
    constexpr std::size_t mostEntries = std::numeric_limits<std::uint32_t>::max() - 1;
    const std::size_t entries =
        bytes.size() < windowSize ? 0 : std::min((bytes.size() - windowSize) / stride + 1, mostEntries);
    // About one entry a bucket: random data rarely shares one, so a miss costs one look.
    while (shift_ > 32 && std::size_t{1} << (64 - shift_) < entries) --shift_;
    heads_.resize(std::size_t{1} << (64 - shift_));
    older_.resize(entries);
    for (std::uint32_t entry = 0; entry < entries; ++entry) {
        std::uint32_t& head = heads_[bucket(&bytes[entry * stride])];
        older_[entry] = head;
        head = entry + 1;
    }
}

}  // namespace varnel
