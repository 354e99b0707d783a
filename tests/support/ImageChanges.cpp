#include "tests/support/ImageChanges.h"

#include "core/TableLayout.h"
#include "tests/support/SyntheticImage.h"

#include <algorithm>

namespace varnel::testing {

void writeRunOverTheMiddle(std::vector<std::uint8_t>& image) {
    std::fill_n(image.begin() + 358'224, 70'000, 0x3C);
}

void insertSixteenBytes(std::vector<std::uint8_t>& image) {
    const auto inserted = makeImage(16, 2);
    image.insert(image.begin() + 0x201, inserted.begin(), inserted.end());
}

void moveBlockAndShiftMagicTable(std::vector<std::uint8_t>& image) {
    const auto before = image;
    const TableSpec& magic = tableSpec(TableKind::Magic);
    std::copy_n(before.begin() + 0x70001, 4096, image.begin() + 0x10000);
    std::copy_n(before.begin() + magic.baseOffset, (magic.recordCount - 1) * recordSize,
                image.begin() + magic.baseOffset + recordSize);
}

}  // namespace varnel::testing
