#pragma once
// What the page says in Simplified Chinese about what it did or refused. The
// words for tables, fields, changes and failures are core's, as the window
// and the command line use them.

#include "core/Error.h"
#include "core/TableLayout.h"
#include "formats/ImageDiff.h"
#include "formats/ImageInfo.h"
#include "formats/TableFile.h"
#include "formats/TextEncoding.h"

#include <cstdint>
#include <string>
#include <string_view>
#include <vector>

namespace varnel::web {

// "打开文件 a.nes 失败：原因"; `doing` as core's actionOnFile says it.
std::string failed(std::string_view doing, std::string_view reason);

// Why an Error happened, without the page's working folder in it.
std::string reason(const Error& error);

// "已打开 a.nes（786448 字节）。"
std::string opened(std::string_view name, std::uint64_t size);

// A field text outside 0..255: the record, the field and its caption, what
// was typed, and the value the byte keeps.
std::string fieldRefused(TableKind kind, int index, int field, std::string_view typed, int kept);

// "文件 a.csv 太大（… 字节），最多只处理 … 字节。"
std::string tooLarge(std::string_view name, std::uint64_t size, std::uint64_t limit);

// A result told as a summary over a list of lines.
struct Listing {
    std::string summary;
    std::vector<std::string> lines;
};

// What import says: every problem, or every change and how many.
Listing importProblems(std::string_view name, const TableFileContents& contents);
Listing importChanges(const std::vector<FieldDifference>& changes, std::size_t records, std::string_view encoding);

// What diff says of the image now against another.
Listing comparison(const std::vector<FieldDifference>& fields, std::uint64_t outsideBytes);

// "已应用补丁 a.bps，镜像现在有 786448 字节。"
std::string patchApplied(std::string_view patchName, std::uint64_t size);

struct InfoRow {
    std::string term;
    std::string value;
};

// The facts of info, in its words, before the checksums: size and header.
std::vector<InfoRow> imageRows(const ImageFacts& facts);

// What the checksums of the data from romStart are called: "文件头之后的数据".
std::string romTerm(const ImageFacts& facts);

// Whether the tables lie inside the file, as the last fact.
InfoRow tablesRow(const ImageFacts& facts);

}  // namespace varnel::web
