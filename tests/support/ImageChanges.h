#pragma once
// Changes to a synthetic image of typical size that a few BPS copies
// express, shared by the patch tests and the benchmarks.

#include <cstdint>
#include <vector>

namespace varnel::testing {

// 70,000 bytes of one value over the middle.
void writeRunOverTheMiddle(std::vector<std::uint8_t>& image);

// 16 random bytes inserted at 0x201, shifting the rest of the image.
void insertSixteenBytes(std::vector<std::uint8_t>& image);

// The 4 KiB at 0x70001 written over 0x10000, and the magic table's records
// moved on by one record. The block comes from past the table, so that the
// table's copy moves the source cursor backwards.
void moveBlockAndShiftMagicTable(std::vector<std::uint8_t>& image);

}  // namespace varnel::testing
