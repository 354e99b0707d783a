#pragma once
// A patch in either format, for the programs that make and apply them.

#include <cstdint>
#include <span>
#include <string_view>
#include <vector>

namespace varnel {

enum class PatchFormat { Ips, Bps };

// "IPS", "BPS".
std::string_view patchFormatName(PatchFormat format);

// A patch that turns `original` into exactly `modified`. Throws FormatError
// for files the format cannot hold.
std::vector<std::uint8_t> createPatch(PatchFormat format, std::span<const std::uint8_t> original,
                                      std::span<const std::uint8_t> modified);

// `source` with an IPS or BPS patch applied, told apart by its first bytes.
// Throws FormatError for anything else, or a patch that does not fit.
std::vector<std::uint8_t> applyPatch(std::span<const std::uint8_t> patch, std::span<const std::uint8_t> source);

}  // namespace varnel
