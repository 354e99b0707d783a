// patch: an IPS or BPS patch that turns one whole file into another.

#include "cli/Arguments.h"
#include "cli/Command.h"
#include "cli/Failure.h"
#include "cli/Files.h"
#include "core/Utf8.h"
#include "formats/Patch.h"

#include <optional>

namespace varnel::cli {
namespace {

// By the patch file's extension, in any letter case.
std::optional<PatchFormat> patchFormatOf(const std::filesystem::path& file) {
    const std::string extension = lowerAscii(file.extension().string());
    for (const auto& [word, format] : patchFormatChoices()) {
        if (extension == "." + word) return format;
    }
    return std::nullopt;
}

class PatchCommand : public Command {
public:
    const char* name() const override { return "patch"; }
    const char* summary() const override { return "制作把原文件变成修改后文件的 IPS 或 BPS 补丁"; }

    void declare(CLI::App& command) override {
        addFile(command, "ORIGINAL", original_, "原文件");
        addFile(command, "MODIFIED", modified_, "修改后的文件");
        addFile(command, "-o,--output", patch_, "补丁文件（必需）")->required();
        addChoice(command, "--format", format_, patchFormatChoices(), "补丁格式（默认按补丁文件的扩展名）");
    }

    int run(Output output) override {
        if (!format_) format_ = patchFormatOf(patch_);
        if (!format_) {
            throw Failure("无法从文件名 " + patch_.string() + " 判断补丁格式，请用 --format ips 或 --format bps 指定。");
        }
        refuseOverwritingInput(patch_, {original_, modified_});
        const std::vector<std::uint8_t> original = readWholeFile(original_, commandLineBinaryFileLimit);
        const std::vector<std::uint8_t> modified = readWholeFile(modified_, commandLineBinaryFileLimit);
        const std::vector<std::uint8_t> patch = createPatch(*format_, original, modified);
        writeWholeFile(patch_, patch, Existing::Replace);
        output.out << "已生成 " << patchFormatName(*format_) << " 补丁 " << patch_.string() << "（" << patch.size()
                   << " 字节）。\n";
        return exitSuccess;
    }

private:
    std::filesystem::path original_;
    std::filesystem::path modified_;
    std::filesystem::path patch_;
    std::optional<PatchFormat> format_;
};

}  // namespace

std::unique_ptr<Command> makePatchCommand() { return std::make_unique<PatchCommand>(); }

}  // namespace varnel::cli
