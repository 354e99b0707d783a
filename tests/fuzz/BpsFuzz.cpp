// libFuzzer entry point: any bytes as a BPS patch for a small fixed source;
// again split into a source and a patch whose CRCs are made to fit it, so
// that the actions get walked; and that source with the start of the rest as
// files to make a patch between.
// How to build: CMakeLists.txt here.

#include "formats/Bps.h"
#include "formats/Crc32.h"
#include "formats/FormatError.h"

#include <algorithm>
#include <cstdlib>
#include <utility>

namespace {

using Bytes = std::vector<std::uint8_t>;
using Span = std::span<const std::uint8_t>;

const Bytes source{0x00, 0x01, 0x7F, 0x80, 0xFF, 0x10, 0x45, 0x4F, 0x46, 0x42, 0x50, 0x53, 0x31};

void putCrc(Bytes& bytes, std::uint32_t crc) {
    for (int shift = 0; shift < 32; shift += 8) bytes.push_back(static_cast<std::uint8_t>(crc >> shift));
}

}  // namespace

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
    if (size == 0) return 0;
    const Span input(data, size);
    // First byte: the source's length; then the source; then the patch between "BPS1" and the CRCs.
    const Span ownSource = input.subspan(1, std::min<std::size_t>(input[0], size - 1));
    const Span body = input.subspan(1 + ownSource.size());
    Bytes fitted{'B', 'P', 'S', '1'};
    fitted.insert(fitted.end(), body.begin(), body.end());
    putCrc(fitted, varnel::crc32(ownSource));
    putCrc(fitted, 0);  // the target's, checked last
    putCrc(fitted, varnel::crc32(fitted));

    for (const auto& [patch, file] : {std::pair<Span, Span>(input, source), std::pair<Span, Span>(fitted, ownSource)}) {
        try {
            varnel::bps::apply(patch, file);
        } catch (const varnel::FormatError&) {
        }
    }
    // A patch from the creator gives back exactly the file it was made for. A
    // few KiB reach every path of the encoder; more would only slow the fuzzing.
    const Span modified = body.first(std::min<std::size_t>(body.size(), 4096));
    if (!std::ranges::equal(varnel::bps::apply(varnel::bps::create(ownSource, modified), ownSource), modified)) {
        std::abort();
    }
    return 0;
}
