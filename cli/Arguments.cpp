#include "cli/Arguments.h"

#include <uniwidth.h>

namespace varnel::cli {
namespace {

std::size_t displayWidth(const std::string& text) {
    const int width = u8_strwidth(reinterpret_cast<const std::uint8_t*>(text.c_str()), "UTF-8");
    return width < 0 ? text.size() : static_cast<std::size_t>(width);
}

// The parser's two-column layout, padded by display width instead of bytes.
class ChineseFormatter : public CLI::Formatter {
public:
    std::string make_option(const CLI::Option* option, bool positional) const override {
        return row(make_option_name(option, positional) + make_option_opts(option), make_option_desc(option));
    }

    std::string make_subcommand(const CLI::App* command) const override {
        return row(command->get_display_name(true), command->get_description());
    }

private:
    std::string row(const std::string& name, const std::string& description) const {
        const std::string left = "  " + name;
        const std::size_t width = displayWidth(left);
        std::string text = left;
        if (!description.empty()) {
            text += width >= column_width_ ? "\n" + std::string(column_width_, ' ') : std::string(column_width_ - width, ' ');
            text += description;
        }
        return text + "\n";
    }
};

}  // namespace

Choices<TableKind> tableChoices() {
    Choices<TableKind> choices;
    for (const TableSpec& table : tableSpecs) choices.emplace_back(std::string(tableKey(table.kind)), table.kind);
    return choices;
}

Choices<TableFileFormat> tableFileFormatChoices() {
    return {{"csv", TableFileFormat::Csv}, {"tsv", TableFileFormat::Tsv}, {"json", TableFileFormat::Json}};
}

Choices<TextEncoding> encodingChoices(bool withUtf16) {
    Choices<TextEncoding> choices{{"utf-8", TextEncoding::Utf8}};
    if (withUtf16) choices.emplace_back("utf-16", TextEncoding::Utf16);
    choices.emplace_back("gb18030", TextEncoding::Gb18030);
    return choices;
}

Choices<OutputFormat> outputFormatChoices() { return {{"text", OutputFormat::Text}, {"json", OutputFormat::Json}}; }

Choices<PatchFormat> patchFormatChoices() { return {{"ips", PatchFormat::Ips}, {"bps", PatchFormat::Bps}}; }

CLI::Option* addFile(CLI::App& command, const std::string& name, std::filesystem::path& file,
                     const std::string& description) {
    // A positional's own name already says what it is; an option shows FILE.
    const bool positional = name.front() != '-';
    CLI::Option* option = command.add_option(name, file, description)->type_name(positional ? "" : "FILE");
    if (positional) option->required();
    return option;
}

void useChineseHelp(CLI::App& app) {
    auto formatter = std::make_shared<ChineseFormatter>();
    // REQUIRED is left blank: the usage line already shows what is required.
    for (const auto& [key, label] : {std::pair{"Usage", "用法"}, {"Positionals", "参数"}, {"OPTIONS", "选项"},
                                     {"SUBCOMMAND", "命令"}, {"SUBCOMMANDS", "命令"}, {"REQUIRED", ""}}) {
        formatter->label(key, label);
    }
    formatter->column_width(26);
    app.formatter(formatter);
    app.option_defaults()->group("选项");
    app.set_help_flag("-h,--help", "显示帮助并退出");
}

}  // namespace varnel::cli
