// info: size, iNES header, checksums, and whether the item tables fit.

#include "cli/Arguments.h"
#include "cli/Command.h"
#include "core/RomFile.h"
#include "formats/Crc32.h"
#include "formats/ImageInfo.h"
#include "formats/ResultTexts.h"

#include <CLI/CLI.hpp>
#include <nlohmann/json.hpp>

#include <algorithm>

namespace varnel::cli {
namespace {

ImageFacts examine(const std::filesystem::path& image) {
    RomFile file;
    file.open(image, OpenMode::ReadOnly);
    const std::uint64_t size = file.size();
    ImageExaminer examiner(size);
    constexpr std::size_t pieceSize = 1 << 16;
    std::vector<std::uint8_t> piece(pieceSize);
    for (std::uint64_t offset = 0; offset < size; offset += pieceSize) {
        const auto length = static_cast<std::size_t>(std::min<std::uint64_t>(pieceSize, size - offset));
        const std::span<std::uint8_t> bytes = std::span(piece).first(length);
        file.readAt(offset, bytes);
        examiner.add(bytes);
    }
    return examiner.finish();
}

void printText(std::ostream& out, const std::filesystem::path& image, const ImageFacts& facts) {
    out << "文件：" << image.string() << '\n';
    for (const FactRow& row : imageRows(facts)) out << (row.detail ? "  " : "") << row.term << "：" << row.value << '\n';
    out << wholeFileTerm << "：" << digestValue(facts.file.crc32, sha1Text(*facts.file.sha1)) << '\n';
    if (facts.rom) out << romTerm(facts) << "：" << digestValue(facts.rom->crc32, sha1Text(*facts.rom->sha1)) << '\n';
    const FactRow tables = tablesRow(facts);
    out << tables.term << "：" << tables.value << '\n';
}

void printJson(std::ostream& out, const ImageFacts& facts) {
    const auto digest = [](const Digest& d) {
        return nlohmann::ordered_json{{"crc32", crcText(d.crc32)}, {"sha1", sha1Text(*d.sha1)}};
    };
    const auto size = [](const std::optional<std::uint64_t>& bytes) {
        return bytes ? nlohmann::ordered_json(*bytes) : nlohmann::ordered_json(nullptr);
    };
    nlohmann::ordered_json result{{"size", facts.size}};
    if (facts.header) {
        const InesHeader& header = *facts.header;
        result["header"] = {{"nes2", header.nes2},          {"prgRomBytes", size(header.prgRomBytes)},
                            {"chrRomBytes", size(header.chrRomBytes)}, {"mapper", header.mapper},
                            {"trainer", header.trainer},    {"battery", header.battery}};
    } else {
        result["header"] = nullptr;
    }
    result["file"] = digest(facts.file);
    result["rom"] = facts.rom ? digest(*facts.rom) : nlohmann::ordered_json(nullptr);
    result["tablesInside"] = facts.tablesInside;
    out << result.dump(2) << '\n';
}

class InfoCommand : public Command {
public:
    const char* name() const override { return "info"; }
    const char* summary() const override { return "显示文件大小、iNES 文件头、校验和，以及表格是否在文件之内"; }

    void declare(CLI::App& command) override {
        addFile(command, "IMAGE", image_, "任意普通文件");
        addChoice(command, "--format", format_, outputFormatChoices(), "输出格式（默认 text）");
    }

    int run(Output output) override {
        const ImageFacts facts = examine(image_);
        if (format_ == OutputFormat::Json) printJson(output.out, facts);
        else printText(output.out, image_, facts);
        return exitSuccess;
    }

private:
    std::filesystem::path image_;
    OutputFormat format_ = OutputFormat::Text;
};

}  // namespace

std::unique_ptr<Command> makeInfoCommand() { return std::make_unique<InfoCommand>(); }

}  // namespace varnel::cli
