// apply: an IPS or BPS patch applied to a source file, written as a new file.

#include "cli/Arguments.h"
#include "cli/Command.h"
#include "cli/Failure.h"
#include "cli/Files.h"
#include "formats/FormatError.h"
#include "formats/Patch.h"

#include <CLI/CLI.hpp>

namespace varnel::cli {
namespace {

class ApplyCommand : public Command {
public:
    const char* name() const override { return "apply"; }
    const char* summary() const override { return "把 IPS 或 BPS 补丁应用到源文件，写成新文件"; }

    void declare(CLI::App& command) override {
        addFile(command, "PATCH", patch_, "补丁文件（按开头的字节识别 IPS 或 BPS）");
        addFile(command, "SOURCE", source_, "源文件（不会被改动）");
        addFile(command, "-o,--output", target_, "要写出的文件（必需）")->required();
        command.add_flag("--force", force_, "覆盖已经存在的输出文件");
    }

    int run(Output output) override {
        // The source is never written, not even with --force.
        refuseOverwritingInput(target_, {source_, patch_});
        const std::vector<std::uint8_t> patch = readWholeFile(patch_, commandLineBinaryFileLimit);
        const std::vector<std::uint8_t> source = readWholeFile(source_, commandLineBinaryFileLimit);
        std::vector<std::uint8_t> target;
        try {
            target = applyPatch(patch, source);
        } catch (const FormatError& error) {
            throw Failure("无法把补丁 " + patch_.string() + " 应用到 " + source_.string() + "：" + error.what());
        }
        writeWholeFile(target_, target, force_ ? Existing::Replace : Existing::Refuse);
        output.out << "已写出 " << target_.string() << "（" << target.size() << " 字节）。\n";
        return exitSuccess;
    }

private:
    std::filesystem::path patch_;
    std::filesystem::path source_;
    std::filesystem::path target_;
    bool force_ = false;
};

}  // namespace

std::unique_ptr<Command> makeApplyCommand() { return std::make_unique<ApplyCommand>(); }

}  // namespace varnel::cli
