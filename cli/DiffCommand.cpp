// diff: the fields in which the tables of two images differ, and a count of
// the differing bytes outside them. Exit status as diff(1): 0 same, 1 differ.

#include "cli/Arguments.h"
#include "cli/Command.h"
#include "core/NameLists.h"
#include "core/RomFile.h"
#include "core/RomStore.h"
#include "formats/ImageDiff.h"
#include "formats/ResultTexts.h"
#include "formats/TableFile.h"

#include <CLI/CLI.hpp>
#include <nlohmann/json.hpp>

#include <algorithm>

namespace varnel::cli {
namespace {

std::vector<FieldDifference> tableDifferences(const std::filesystem::path& imageA, const std::filesystem::path& imageB) {
    RomStore a;
    RomStore b;
    a.open(imageA, OpenMode::ReadOnly);
    a.load();
    b.open(imageB, OpenMode::ReadOnly);
    b.load();
    return fieldDifferences(a, b);
}

// Bytes outside the tables that differ, counting every byte that only the
// longer file has. Read in pieces, so any size of file is fine.
std::uint64_t outsideDifferences(const std::filesystem::path& imageA, const std::filesystem::path& imageB) {
    RomFile a;
    RomFile b;
    a.open(imageA, OpenMode::ReadOnly);
    b.open(imageB, OpenMode::ReadOnly);
    const std::uint64_t sizeA = a.size();
    const std::uint64_t sizeB = b.size();
    const std::uint64_t common = std::min(sizeA, sizeB);
    std::uint64_t count = bytesOnlyInOne(sizeA, sizeB);

    constexpr std::size_t pieceSize = 1 << 16;
    std::vector<std::uint8_t> pieceA(pieceSize);
    std::vector<std::uint8_t> pieceB(pieceSize);
    for (std::uint64_t offset = 0; offset < common; offset += pieceSize) {
        const auto length = static_cast<std::size_t>(std::min<std::uint64_t>(pieceSize, common - offset));
        a.readAt(offset, std::span(pieceA).first(length));
        b.readAt(offset, std::span(pieceB).first(length));
        count += differingBytesOutsideTables(offset, std::span(pieceA).first(length), std::span(pieceB).first(length));
    }
    return count;
}

class DiffCommand : public Command {
public:
    const char* name() const override { return "diff"; }
    const char* summary() const override { return "比较两个镜像的表格"; }

    void declare(CLI::App& command) override {
        addFile(command, "IMAGE_A", imageA_, "第一个镜像");
        addFile(command, "IMAGE_B", imageB_, "第二个镜像");
        addChoice(command, "--format", format_, outputFormatChoices(), "输出格式（默认 text）");
    }

    int run(Output output) override {
        const std::vector<FieldDifference> differences = tableDifferences(imageA_, imageB_);
        const std::uint64_t outside = outsideDifferences(imageA_, imageB_);
        if (format_ == OutputFormat::Json) {
            printJson(output.out, differences, outside);
        } else {
            const Listing listing = comparison(differences, outside);
            for (const std::string& line : listing.lines) output.out << line << '\n';
            output.out << listing.summary << '\n';
        }
        return differences.empty() ? exitSuccess : exitDifferent;
    }

private:
    static void printJson(std::ostream& out, const std::vector<FieldDifference>& differences, std::uint64_t outside) {
        nlohmann::ordered_json fields = nlohmann::ordered_json::array();
        for (const FieldDifference& d : differences) {
            fields.push_back({{"table", tableKey(d.kind)},
                              {"index", d.index},
                              {"name", recordName(d.kind, d.index)},
                              {"field", d.field},
                              {"a", d.a},
                              {"b", d.b}});
        }
        const nlohmann::ordered_json result{{"identical", differences.empty()},
                                            {"differences", fields},
                                            {"bytesOutsideTablesDiffering", outside}};
        out << result.dump(2) << '\n';
    }

    std::filesystem::path imageA_;
    std::filesystem::path imageB_;
    OutputFormat format_ = OutputFormat::Text;
};

}  // namespace

std::unique_ptr<Command> makeDiffCommand() { return std::make_unique<DiffCommand>(); }

}  // namespace varnel::cli
