// export: the records of an image's tables as a CSV or JSON file.

#include "cli/Arguments.h"
#include "cli/Command.h"
#include "cli/Failure.h"
#include "cli/Files.h"
#include "core/RomStore.h"
#include "formats/CsvTableFile.h"
#include "formats/JsonTableFile.h"
#include "formats/TableFile.h"

#include <CLI/CLI.hpp>

#include <algorithm>

namespace varnel::cli {
namespace {

class ExportCommand : public Command {
public:
    const char* name() const override { return "export"; }
    const char* summary() const override { return "把表格导出为 CSV 或 JSON 文件"; }

    void declare(CLI::App& command) override {
        addFile(command, "IMAGE", image_, "镜像文件");
        addFile(command, "-o,--output", output_, "输出文件（默认写到标准输出）");
        addChoice(command, "--format", format_, {"csv", "json"}, "文件格式（默认按输出文件的扩展名，否则 csv）");
        addChoices(command, "--table", tables_, {"weapon", "armour", "magic"}, "只导出这个表格（可重复）");
        command.add_flag("--bom", bom_, "CSV 文件以 UTF-8 字节顺序标记开头，便于电子表格程序识别");
    }

    int run(Output output) override {
        const TableFileFormat format = chosenFormat();
        if (bom_ && format != TableFileFormat::Csv) throw Failure("--bom 只用于 CSV 文件。");

        RomStore store;
        store.open(image_, OpenMode::ReadOnly);
        store.load();
        std::vector<TableRecord> records;
        for (const TableSpec& table : tableSpecs) {
            if (!wanted(table.kind)) continue;
            for (int index = 0; index < table.recordCount; ++index) {
                records.push_back({table.kind, index, store.record(table.kind, index)});
            }
        }
        store.close();

        const std::string text = format == TableFileFormat::Csv ? writeCsv(records, bom_) : writeJson(records);
        if (output_.empty()) {
            output.out << text;
            return exitSuccess;
        }
        refuseOverwritingInput(output_, {image_});
        const auto* first = reinterpret_cast<const std::uint8_t*>(text.data());
        writeWholeFile(output_, {first, text.size()}, Existing::Replace);
        return exitSuccess;
    }

private:
    TableFileFormat chosenFormat() const {
        if (format_ == "json") return TableFileFormat::Json;
        if (format_ == "csv") return TableFileFormat::Csv;
        return formatFromExtension(output_).value_or(TableFileFormat::Csv);
    }

    bool wanted(TableKind kind) const {
        return tables_.empty() || std::find(tables_.begin(), tables_.end(), tableKey(kind)) != tables_.end();
    }

    std::filesystem::path image_;
    std::filesystem::path output_;
    std::string format_;
    std::vector<std::string> tables_;
    bool bom_ = false;
};

}  // namespace

std::unique_ptr<Command> makeExportCommand() { return std::make_unique<ExportCommand>(); }

}  // namespace varnel::cli
