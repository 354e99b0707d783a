// import: writes the records of a CSV or JSON file into an image, only where
// they differ, after every row has been checked.

#include "cli/Arguments.h"
#include "cli/Command.h"
#include "cli/Failure.h"
#include "cli/Files.h"
#include "core/RomStore.h"
#include "core/TableTexts.h"
#include "formats/CsvTableFile.h"
#include "formats/ImageDiff.h"
#include "formats/JsonTableFile.h"
#include "formats/TableFile.h"

#include <CLI/CLI.hpp>

#include <string_view>

namespace varnel::cli {
namespace {

TableFileContents readTableFile(const std::filesystem::path& file) {
    const std::vector<std::uint8_t> bytes = readWholeFile(file, tableFileLimit);
    const std::string_view text(reinterpret_cast<const char*>(bytes.data()), bytes.size());
    const TableFileFormat format = formatFromExtension(file).value_or(formatFromContent(text));
    return format == TableFileFormat::Csv ? readCsv(text) : readJson(text);
}

class ImportCommand : public Command {
public:
    const char* name() const override { return "import"; }
    const char* summary() const override { return "把 CSV 或 JSON 文件中的记录写入镜像"; }

    void declare(CLI::App& command) override {
        addFile(command, "IMAGE", image_, "要写入的镜像文件");
        addFile(command, "FILE", tableFile_, "CSV 或 JSON 表格文件");
        command.add_flag("--dry-run", dryRun_, "只列出将要做的修改，不写入镜像");
    }

    int run(Output output) override {
        RomStore store;
        store.open(image_, dryRun_ ? OpenMode::ReadOnly : OpenMode::ReadWrite);
        store.load();

        TableFileContents contents = readTableFile(tableFile_);
        if (!contents.problems.empty()) {
            output.err << "varnel-rom-tables: 表格文件 " << tableFile_.string() << " 有 " << contents.problems.size()
                       << " 处错误，镜像没有任何改动：\n";
            for (const RowProblem& problem : contents.problems) output.err << "  " << describe(problem) << '\n';
            return exitTrouble;
        }

        // Changes are listed in table order, whatever the file's order.
        const std::vector<FieldDifference> changes = fieldChanges(store, contents.records);
        for (const FieldDifference& change : changes) {
            output.out << fieldChange(change.kind, change.index, change.field, change.a, change.b) << '\n';
        }
        std::vector<TableRecord> changed;
        for (const TableRecord& record : contents.records) {
            if (store.record(record.kind, record.index) != record.fields) changed.push_back(record);
        }
        if (!dryRun_ && !changed.empty()) store.saveRecords(changed);

        if (changed.empty()) {
            output.out << "表格文件与镜像一致，没有需要写入的内容。\n";
        } else {
            output.out << (dryRun_ ? "试运行：将修改 " : "已修改 ") << changed.size() << " 条记录中的 " << changes.size()
                       << " 个字段" << (dryRun_ ? "，镜像没有任何改动。\n" : "。\n");
        }
        return exitSuccess;
    }

private:
    std::filesystem::path image_;
    std::filesystem::path tableFile_;
    bool dryRun_ = false;
};

}  // namespace

std::unique_ptr<Command> makeImportCommand() { return std::make_unique<ImportCommand>(); }

}  // namespace varnel::cli
