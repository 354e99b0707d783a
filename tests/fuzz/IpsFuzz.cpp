// libFuzzer entry point: any bytes as an IPS patch for a small fixed source,
// and as a modified file to make a patch for. How to build: CMakeLists.txt here.

#include "formats/FormatError.h"
#include "formats/Ips.h"

#include <algorithm>
#include <cstdlib>

namespace {

const std::vector<std::uint8_t> source{0x00, 0x01, 0x7F, 0x80, 0xFF, 0x10, 0x45, 0x4F, 0x46, 0x42, 0x50, 0x53, 0x31};

}  // namespace

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
    const std::span<const std::uint8_t> input(data, size);
    try {
        varnel::ips::apply(input, source);
    } catch (const varnel::FormatError&) {
    }
    // A patch from the creator gives back exactly the file it was made for.
    if (!std::ranges::equal(varnel::ips::apply(varnel::ips::create(source, input), source), input)) std::abort();
    return 0;
}
