#pragma once
// IPS patches: "PATCH", records of (3-byte offset, 2-byte size, data) or
// (offset, 0, 2-byte count, value), "EOF", and an optional 3-byte length to
// cut the result to. All numbers are big-endian.

#include <cstddef>
#include <cstdint>
#include <span>
#include <vector>

namespace varnel::ips {

// Offsets have three bytes, so neither file may be larger than this.
inline constexpr std::size_t maximumFileSize = 16'777'216;

// Largest data size or run count one record can carry.
inline constexpr std::size_t maximumRecordLength = 65'535;

// Whether the bytes start like an IPS patch.
bool recognises(std::span<const std::uint8_t> patch);

// A patch that turns `original` into exactly `modified`. Throws FormatError
// when either is larger than maximumFileSize.
std::vector<std::uint8_t> create(std::span<const std::uint8_t> original, std::span<const std::uint8_t> modified);

// `source` with the patch applied. Throws FormatError for a bad header, a
// truncated record, a missing "EOF", anything but a 3-byte length after it,
// and a length longer than the result.
std::vector<std::uint8_t> apply(std::span<const std::uint8_t> patch, std::span<const std::uint8_t> source);

}  // namespace varnel::ips
