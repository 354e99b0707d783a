#pragma once
// What the results of import, diff and info are called, in Simplified
// Chinese, for every program that shows them: the command line prints them
// as lines, the web page lays them out.

#include "formats/ImageDiff.h"
#include "formats/ImageInfo.h"
#include "formats/TableFile.h"

#include <cstdint>
#include <string>
#include <string_view>
#include <vector>

namespace varnel {

// A summary and the lines it sums up.
struct Listing {
    std::string summary;
    std::vector<std::string> lines;
};

// The problems of a table file: how many, the ones listed, and how many more.
Listing importProblems(std::string_view file, const TableFileContents& contents);

// The fields an import changes, in how many records, and the name of the
// encoding read ("GB18030").
Listing importChanges(const std::vector<FieldDifference>& changes, std::size_t records, std::string_view encoding,
                      bool dryRun);

// Two images compared: each differing field, the count of them, and the
// count of differing bytes outside the tables.
Listing comparison(const std::vector<FieldDifference>& fields, std::uint64_t outsideBytes);

// "文件 a.csv 太大（… 字节），最多只处理 … 字节。"
std::string tooLarge(std::string_view file, std::uint64_t size, std::uint64_t limit);

// One fact of info; a detail belongs to the fact before it (the header's).
struct FactRow {
    std::string term;
    std::string value;
    bool detail = false;
};

// Size and header, before the checksums.
std::vector<FactRow> imageRows(const ImageFacts& facts);

// What the data from romStart is called: "文件头之后的数据".
std::string romTerm(const ImageFacts& facts);

// What the checksums of the whole file are called.
inline constexpr std::string_view wholeFileTerm = "整个文件";

// A digest as info gives it: "CRC-32 1A2B3C4D，SHA-1 " and the SHA-1 in hex.
std::string digestValue(std::uint32_t crc32, std::string_view sha1Hex);

// Whether the tables lie inside the file, as the last fact.
FactRow tablesRow(const ImageFacts& facts);

}  // namespace varnel
