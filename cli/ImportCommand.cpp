// import: writes the records of a table file into an image, only where they
// differ, after every row has been checked.

#include "cli/Arguments.h"
#include "cli/Command.h"
#include "cli/Failure.h"
#include "cli/Files.h"
#include "core/RomStore.h"
#include "core/TableTexts.h"
#include "formats/CsvTableFile.h"
#include "formats/FormatError.h"
#include "formats/ImageDiff.h"
#include "formats/JsonTableFile.h"
#include "formats/TableFile.h"
#include "formats/TextEncoding.h"

#include <optional>

namespace varnel::cli {
namespace {

struct TableFileRead {
    TableFileContents contents;
    TextEncoding encoding;
};

TableFileRead readTableFile(const std::filesystem::path& file, std::optional<TableFileFormat> format,
                            std::optional<TextEncoding> encoding) {
    const std::vector<std::uint8_t> bytes = readWholeFile(file, tableFileLimit);
    DecodedText text;
    try {
        text = decodeText(bytes, encoding);
    } catch (const FormatError& error) {
        throw Failure("无法读取表格文件 " + file.string() + "：" + error.what() +
                      "可以用 --encoding 指定编码（utf-8、utf-16 或 gb18030）。");
    }
    switch (chooseFormat(format, file, text.utf8)) {
    case TableFileFormat::Csv: return {readCsv(text.utf8, csvSeparator), text.encoding};
    case TableFileFormat::Tsv: return {readCsv(text.utf8, tsvSeparator), text.encoding};
    case TableFileFormat::Json: return {readJson(text.utf8), text.encoding};
    }
    return {{}, text.encoding};
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

        const TableFileRead read = readTableFile(tableFile_, format_, encoding_);
        const TableFileContents& contents = read.contents;
        if (!contents.problems.empty()) {
            output.err << "varnel-rom-tables: 表格文件 " << tableFile_.string() << " 有 " << contents.problemCount()
                       << " 处错误，镜像没有任何改动：\n";
            for (const RowProblem& problem : contents.problems) output.err << "  " << describe(problem) << '\n';
            if (contents.unlistedProblems > 0) {
                output.err << "  ……另有 " << contents.unlistedProblems << " 处错误没有列出。\n";
            }
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

        const std::string readAs = "（表格文件按 " + std::string(encodingName(read.encoding)) + " 编码读取）";
        if (changed.empty()) {
            output.out << "表格文件与镜像一致，没有需要写入的内容" << readAs << "。\n";
        } else {
            output.out << (dryRun_ ? "试运行：将修改 " : "已修改 ") << changed.size() << " 条记录中的 " << changes.size()
                       << " 个字段" << readAs << (dryRun_ ? "，镜像没有任何改动。\n" : "。\n");
        }
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
