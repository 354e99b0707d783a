#pragma once
// Whole files in and out for the commands: reads are bounded, and an output
// is either complete in its place or not there at all.

#include "formats/Bps.h"

#include <cstdint>
#include <filesystem>
#include <initializer_list>
#include <span>
#include <vector>

namespace varnel::cli {

// Images and patches: as large as the largest target a BPS patch may make.
// The page's limit is smaller (pageBinaryFileLimit): it holds every copy in memory.
inline constexpr std::uint64_t commandLineBinaryFileLimit = bps::maximumTargetSize;

// An existing regular file, whole. Refuses one over `limit` bytes.
std::vector<std::uint8_t> readWholeFile(const std::filesystem::path& file, std::uint64_t limit);

enum class Existing { Refuse, Replace };

// Writes a temporary file beside `file`, flushes it and renames it into
// place, so a failure leaves no half-written output.
void writeWholeFile(const std::filesystem::path& file, std::span<const std::uint8_t> bytes, Existing existing);

// Refuses an output that names one of the inputs: it would be overwritten.
void refuseOverwritingInput(const std::filesystem::path& output,
                            std::initializer_list<std::filesystem::path> inputs);

}  // namespace varnel::cli
