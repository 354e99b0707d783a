#include "cli/Files.h"

#include "cli/Failure.h"
#include "core/RomFile.h"
#include "formats/ResultTexts.h"

#include <string>
#include <system_error>

namespace varnel::cli {

std::vector<std::uint8_t> readWholeFile(const std::filesystem::path& file, std::uint64_t limit) {
    RomFile input;
    input.open(file, OpenMode::ReadOnly);  // refuses what is missing or not a regular file
    const std::uint64_t size = input.size();
    if (size > limit) {
        throw Failure(tooLarge(file.string(), size, limit));
    }
    std::vector<std::uint8_t> bytes(static_cast<std::size_t>(size));
    input.readAt(0, bytes);
    return bytes;
}

void refuseOverwritingInput(const std::filesystem::path& output,
                            std::initializer_list<std::filesystem::path> inputs) {
    for (const std::filesystem::path& input : inputs) {
        std::error_code error;
        if (std::filesystem::equivalent(output, input, error)) {
            throw Failure("输出文件 " + output.string() + " 就是输入文件 " + input.string() + "，不会覆盖它。");
        }
    }
}

}  // namespace varnel::cli
