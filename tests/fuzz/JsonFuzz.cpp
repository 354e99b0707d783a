// libFuzzer entry point: any bytes at all must come back as records and problems.

#include "formats/JsonTableFile.h"

#include <nlohmann/json.hpp>

#include <cstddef>
#include <cstdint>
#include <cstdlib>
#include <string_view>

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
    const auto contents = varnel::readJson(std::string_view(reinterpret_cast<const char*>(data), size));
    // Whatever was read must survive writing and reading back unchanged.
    const auto again = varnel::readJson(varnel::writeJson(contents.records));
    if (again.records != contents.records || !again.problems.empty()) std::abort();
    // Messages quote the input, yet must stay valid UTF-8: dump() throws otherwise.
    for (const auto& problem : contents.problems) (void)nlohmann::json(varnel::describe(problem)).dump();
    return 0;
}
