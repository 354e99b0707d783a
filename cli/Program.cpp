#include "cli/Program.h"

#include "cli/Arguments.h"
#include "cli/Command.h"
#include "cli/Failure.h"
#include "core/Error.h"
#include "core/ErrorText.h"
#include "core/Version.h"
#include "formats/FormatError.h"

#include <CLI/CLI.hpp>

#include <new>
#include <string>

namespace varnel::cli {
namespace {

constexpr const char* programName = "varnel-rom-tables";

std::string describe(const Error& error) {
    std::string text = error.what();
    if (error.kind() == ErrorKind::FileAccess) {
        if (const std::string_view aftermath = aftermathText(error); !aftermath.empty()) text += " " + std::string(aftermath);
    }
    return text;
}

// Parser complaints in Chinese, with the parser's own words for detail.
std::string describe(const CLI::ParseError& error) {
    std::string text = "命令行参数有误";
    if (dynamic_cast<const CLI::RequiredError*>(&error) != nullptr) text = "缺少必需的参数";
    else if (dynamic_cast<const CLI::ExtrasError*>(&error) != nullptr) text = "有多余的参数";
    else if (dynamic_cast<const CLI::ValidationError*>(&error) != nullptr ||
             dynamic_cast<const CLI::ConversionError*>(&error) != nullptr) text = "参数的取值无效";
    else if (dynamic_cast<const CLI::ArgumentMismatch*>(&error) != nullptr) text = "参数的个数不对";
    return text + "（" + error.what() + "）。用 --help 查看用法。";
}

}  // namespace

int runProgram(int argc, const char* const* argv, std::ostream& out, std::ostream& err) {
    CLI::App app("把镜像里的武器、防具、魔法表格当作数据处理：导出、导入、比较，制作和应用补丁，查看镜像信息。",
                 programName);
    useChineseHelp(app);
    app.set_version_flag("--version",
                         std::string(programName) + " " + std::string(projectVersion) + "\n" + std::string(copyrightNotice),
                         "显示版本和许可证并退出");
    app.require_subcommand(1);
    app.footer("退出状态：0 成功；1 diff 发现表格不同；2 出错或拒绝执行。详见 man varnel-rom-tables。");

    std::vector<std::unique_ptr<Command>> commands;
    for (auto make : {makeExportCommand, makeImportCommand, makeDiffCommand, makePatchCommand, makeApplyCommand,
                      makeInfoCommand}) {
        commands.push_back(make());
    }
    std::vector<std::pair<CLI::App*, Command*>> parsers;
    for (const auto& command : commands) {
        CLI::App* parser = app.add_subcommand(command->name(), command->summary());
        parser->group("命令");
        parser->get_help_ptr()->group("选项");
        command->declare(*parser);
        parsers.emplace_back(parser, command.get());
    }

    try {
        app.parse(argc, argv);
    } catch (const CLI::Success& success) {  // --help, --version
        return app.exit(success, out, err);
    } catch (const CLI::ParseError& error) {
        err << programName << ": " << describe(error) << '\n';
        return exitTrouble;
    }

    const Output output{out, err};
    try {
        for (const auto& [parser, command] : parsers) {
            if (parser->parsed()) return command->run(output);
        }
        return exitTrouble;  // require_subcommand makes this unreachable
    } catch (const Failure& failure) {
        err << programName << ": " << failure.what() << '\n';
    } catch (const FormatError& error) {
        err << programName << ": " << error.what() << '\n';
    } catch (const Error& error) {
        err << programName << ": " << describe(error) << '\n';
    } catch (const std::bad_alloc&) {
        err << programName << ": 内存不足。\n";
    } catch (const std::exception& error) {
        err << programName << ": 发生意外错误：" << error.what() << '\n';
    }
    return exitTrouble;
}

}  // namespace varnel::cli
