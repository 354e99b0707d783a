// import: writes the records of a table file into an image, only where they
// differ, after every row has been checked.

#include "cli/Arguments.h"
#include "cli/Command.h"
#include "cli/Failure.h"
#include "cli/Files.h"
#include "core/RomStore.h"
#include "formats/FormatError.h"
#include "formats/ImportPlan.h"
#include "formats/ResultTexts.h"
#include "formats/TableFileReader.h"

#include <optional>

namespace varnel::cli {
namespace {

// The file's bytes, read as the page reads them; a refusal names the file.
TableFileRead readTableFileNamed(const std::filesystem::path& file, std::optional<TableFileFormat> format,
                                 std::optional<TextEncoding> encoding) {
    const std::vector<std::uint8_t> bytes = readWholeFile(file, tableFileLimit);
    try {
        return readTableFile(bytes, file, format, encoding);
    } catch (const FormatError& error) {
        throw Failure("无法读取表格文件 " + file.string() + "：" + error.what() +
                      "可以用 --encoding 指定编码（utf-8、utf-16 或 gb18030）。");
    }
}

class ImportCommand : public Command {
public:
    const char* name() const override { return "import"; }
    const char* summary() const override { return "把 CSV、TSV 或 JSON 文件中的记录写入镜像"; }

    void declare(CLI::App& command) override {
        addFile(command, "IMAGE", image_, "要写入的镜像文件");
        addFile(command, "FILE", tableFile_, "CSV、TSV 或 JSON 表格文件");
        addChoice(command, "--format", format_, tableFileFormatChoices(), "文件格式（默认按扩展名，否则按内容）");
        addChoice(command, "--encoding", encoding_, encodingChoices(true), "文本编码（默认按字节顺序标记和内容判断）");
        command.add_flag("--dry-run", dryRun_, "只列出将要做的修改，不写入镜像");
    }

    int run(Output output) override {
        RomStore store;
        store.open(image_, dryRun_ ? OpenMode::ReadOnly : OpenMode::ReadWrite);
        store.load();

        const TableFileRead read = readTableFileNamed(tableFile_, format_, encoding_);
        const TableFileContents& contents = read.contents;
        if (!contents.problems.empty()) {
            const Listing problems = importProblems(tableFile_.string(), contents);
            output.err << "varnel-rom-tables: " << problems.summary << '\n';
            for (const std::string& line : problems.lines) output.err << "  " << line << '\n';
            return exitTrouble;
        }

        const ImportPlan plan = planImport(store, contents.records);
        if (!dryRun_ && !plan.changedRecords.empty()) store.saveRecords(plan.changedRecords);

        const Listing summary =
            importChanges(plan.changes, plan.changedRecords.size(), encodingName(read.encoding), dryRun_);
        for (const std::string& line : summary.lines) output.out << line << '\n';
        output.out << summary.summary << '\n';
        return exitSuccess;
    }

private:
    std::filesystem::path image_;
    std::filesystem::path tableFile_;
    std::optional<TableFileFormat> format_;
    std::optional<TextEncoding> encoding_;
    bool dryRun_ = false;
};

}  // namespace

std::unique_ptr<Command> makeImportCommand() { return std::make_unique<ImportCommand>(); }

}  // namespace varnel::cli
