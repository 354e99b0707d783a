#pragma once
// BPS patches: "BPS1", source size, target size, metadata size, metadata,
// actions that build the target from the source, the patch and the target
// itself, then the CRC-32s of source, target and the patch before that last
// CRC, little-endian.

#include <cstddef>
#include <cstdint>
#include <span>
#include <vector>

namespace varnel::bps {

// apply refuses a larger declared target before allocating anything, and
// create refuses to make a patch that apply would refuse.
inline constexpr std::uint64_t maximumTargetSize = 1'073'741'824;

// Numbers are 7 bits a byte, low bits first, the high bit marking the last
// byte, with 1 subtracted after each shift so that each has one encoding.
void encodeNumber(std::uint64_t number, std::vector<std::uint8_t>& out);

// How many bytes encodeNumber writes for `number`.
std::size_t numberSize(std::uint64_t number);

// Reads the number at `position` and moves `position` past it. Throws
// FormatError for a number that does not fit 64 bits or runs past the end.
std::uint64_t decodeNumber(std::span<const std::uint8_t> bytes, std::size_t& position);

// Whether the bytes start like a BPS patch.
bool recognises(std::span<const std::uint8_t> patch);

// A patch that turns `original` into exactly `modified`, made of all four
// actions: reading on in the original where bytes match at the same offset,
// copying from elsewhere in the original or from what is already written
// where that makes the patch smaller (moved, inserted or repeated data, runs).
std::vector<std::uint8_t> create(std::span<const std::uint8_t> original, std::span<const std::uint8_t> modified);

// `source` with the patch applied. Checks the patch's own CRC first, then
// that `source` is the file the patch was made for, then every action;
// throws FormatError naming what is wrong.
std::vector<std::uint8_t> apply(std::span<const std::uint8_t> patch, std::span<const std::uint8_t> source);

}  // namespace varnel::bps
