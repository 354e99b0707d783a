// export: the records of an image's tables as a CSV, TSV or JSON file.

#include "cli/Arguments.h"
#include "cli/Command.h"
#include "cli/Failure.h"
#include "cli/Files.h"
#include "core/RomStore.h"
#include "formats/TableFile.h"
#include "formats/TableFileWriter.h"
#include "formats/TextEncoding.h"

#include <algorithm>
#include <optional>

namespace varnel::cli {
namespace {

class ExportCommand : public Command {
public:
    const char* name() const override { return "export"; }
    const char* summary() const override { return "把表格导出为 CSV、TSV 或 JSON 文件"; }

    void declare(CLI::App& command) override {
        addFile(command, "IMAGE", image_, "镜像文件");
        addFile(command, "-o,--output", output_, "输出文件（默认写到标准输出）");
        addChoice(command, "--format", format_, tableFileFormatChoices(), "文件格式（默认按输出文件的扩展名，否则 csv）");
        addChoice(command, "--table", tables_, tableChoices(), "只导出这个表格（可重复）");
        addChoice(command, "--encoding", encoding_, encodingChoices(false),
                  "文本编码（默认 utf-8；gb18030 供按系统代码页打开 CSV 的旧电子表格程序使用）");
        command.add_flag("--bom", bom_, "以 UTF-8 字节顺序标记开头，便于电子表格程序识别（只用于 CSV 和 TSV）");
    }

    int run(Output output) override {
        const TableFileFormat format = format_.value_or(formatFromExtension(output_).value_or(TableFileFormat::Csv));
        if (bom_ && format == TableFileFormat::Json) throw Failure("--bom 只用于 CSV 和 TSV 文件。");
        if (bom_ && encoding_ != TextEncoding::Utf8) throw Failure("--bom 是 UTF-8 的标记，不能与 --encoding gb18030 一起用。");

        RomStore store;
        store.open(image_, OpenMode::ReadOnly);
        store.load();
        std::vector<TableRecord> records = store.records();
        store.close();
        std::erase_if(records, [this](const TableRecord& record) {
            return !tables_.empty() && std::find(tables_.begin(), tables_.end(), record.kind) == tables_.end();
        });

        const std::string text = encodeText(writeTableFile(records, format, bom_), encoding_);
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
    std::filesystem::path image_;
    std::filesystem::path output_;
    std::optional<TableFileFormat> format_;
    std::vector<TableKind> tables_;
    TextEncoding encoding_ = TextEncoding::Utf8;
    bool bom_ = false;
};

}  // namespace

std::unique_ptr<Command> makeExportCommand() { return std::make_unique<ExportCommand>(); }

}  // namespace varnel::cli
