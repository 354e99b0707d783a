#pragma once
// A table file read as import reads it, for the command line and the page
// alike: bytes → text in its encoding → CSV, TSV or JSON → checked records.

#include "formats/TableFile.h"
#include "formats/TextEncoding.h"

#include <cstdint>
#include <filesystem>
#include <optional>
#include <span>

namespace varnel {

// Table files are small; anything larger is not one.
inline constexpr std::uint64_t tableFileLimit = 16u << 20;

struct TableFileRead {
    TableFileContents contents;
    TextEncoding encoding;  // the one the text was read in
};

// The encoding is the one asked for, else found as decodeText finds it; the
// format is the one asked for, else chosen by the name, else by the text.
// Throws FormatError when the text cannot be decoded; every other problem is
// in the contents.
TableFileRead readTableFile(std::span<const std::uint8_t> bytes, const std::filesystem::path& name,
                            std::optional<TableFileFormat> format, std::optional<TextEncoding> encoding);

}  // namespace varnel
