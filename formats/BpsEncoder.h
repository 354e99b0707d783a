#pragma once
// The actions of a BPS patch, and the encoder that chooses them.

#include <cstddef>
#include <cstdint>
#include <span>
#include <vector>

namespace varnel::bps {

// The low two bits of an action's number; the rest is its length - 1.
// SourceRead copies the source at the target's own offset, TargetRead bytes
// from the patch; SourceCopy and TargetCopy copy from a cursor that the
// action first moves by a signed distance and that ends after the copy.
enum Action : std::uint64_t { SourceRead = 0, TargetRead = 1, SourceCopy = 2, TargetCopy = 3 };

// Appends to `patch` the actions that build exactly `target` from `source`.
// `target` is at most bps::maximumTargetSize bytes.
void encodeActions(std::span<const std::uint8_t> source, std::span<const std::uint8_t> target,
                   std::vector<std::uint8_t>& patch);

}  // namespace varnel::bps
