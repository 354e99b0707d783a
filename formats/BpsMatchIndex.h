#pragma once
// Where the eight-byte windows of a file start, found by a hash of the
// window: the match finder of the BPS encoder. It indexes every fourth
// position or so, which keeps it near two bytes per byte of the file and
// still finds every match a few bytes longer than a window: one of the
// match's first positions is indexed, and the encoder extends what it finds
// backwards.

#include <cstddef>
#include <cstdint>
#include <span>
#include <vector>

namespace varnel {

inline constexpr std::size_t windowSize = 8;

// Mixes the `windowSize` bytes at `window` so that the high bits depend on all of them.
std::uint64_t windowHash(const std::uint8_t* window);

class BpsMatchIndex {
public:
    // Indexes the windows that start at every `stride`-th position of `bytes`.
    BpsMatchIndex(std::span<const std::uint8_t> bytes, std::size_t stride);

    // Calls visit(position) for up to `limit` indexed positions whose window
    // hashes like the one at `window`, the latest first. Most hold the same
    // bytes; the caller checks.
    template <typename Visit>
    void forEachCandidate(const std::uint8_t* window, std::size_t limit, Visit visit) const {
        for (std::uint32_t entry = heads_[bucket(window)]; entry != 0 && limit > 0; --limit) {
            visit((entry - std::size_t{1}) * stride_);
            entry = older_[entry - 1];
        }
    }

private:
    std::size_t bucket(const std::uint8_t* window) const {
        return static_cast<std::size_t>(windowHash(window) >> shift_);
    }

    std::size_t stride_;
    unsigned shift_ = 63;
    // Entry n is the window at position n * stride_; both hold an entry + 1, 0 for none.
    std::vector<std::uint32_t> heads_;  // by bucket, its latest entry
    std::vector<std::uint32_t> older_;  // by entry, the one before it in its bucket
};

}  // namespace varnel
