// Table files as Chinese spreadsheets save them: the encoding is found from
// the byte-order mark or the bytes themselves, or taken as asked.

#include "core/NameLists.h"
#include "formats/FormatError.h"
#include "formats/TextEncoding.h"

#include <gtest/gtest.h>

#include <string>
#include <vector>

namespace varnel {
namespace {

using Bytes = std::vector<std::uint8_t>;

Bytes bytes(const std::string& text) { return {text.begin(), text.end()}; }

// "表格\n" in each encoding.
const std::string gb18030 = "\xB1\xED\xB8\xF1\n";
const std::string utf16Little("\xFF\xFE\x68\x88\x3C\x68\x0A\x00", 8);
const std::string utf16Big("\xFE\xFF\x88\x68\x68\x3C\x00\x0A", 8);

TEST(TextEncoding, IsFoundFromTheMarkOrTheBytes) {
    const struct {
        std::string bytes;
        TextEncoding encoding;
    } files[] = {
        {"表格\n", TextEncoding::Utf8},
        {"\xEF\xBB\xBF表格\n", TextEncoding::Utf8},
        {utf16Little, TextEncoding::Utf16},
        {utf16Big, TextEncoding::Utf16},
        {gb18030, TextEncoding::Gb18030},
    };
    for (const auto& file : files) {
        const DecodedText decoded = decodeText(bytes(file.bytes));
        EXPECT_EQ(decoded.utf8, "表格\n") << file.bytes;
        EXPECT_EQ(decoded.encoding, file.encoding) << file.bytes;
    }
    // Asked for, the encoding is not guessed: these GB18030 bytes are not UTF-8.
    EXPECT_EQ(decodeText(bytes(gb18030), TextEncoding::Gb18030).utf8, "表格\n");
    EXPECT_EQ(decodeText(bytes(utf16Little.substr(2)), TextEncoding::Utf16).utf8, "表格\n");  // little-endian without a mark
}

// The message names the line of the first byte that cannot be read, and
// tells a file whose last character was cut off from one with unreadable bytes.
TEST(TextEncoding, RefusesBytesThatFitNoEncodingNamingTheLine) {
    const std::string unreadable = "无法读取的字节。";
    const std::string cutOff = "的末尾截断了一个 ";
    const struct {
        std::string bytes;
        std::optional<TextEncoding> asked;
        std::string says;
    } refusals[] = {
        {"a,b\nc,d\n\x80\xFF\n", std::nullopt, "第 3 行有按 UTF-8 和按 GB18030 都" + unreadable},
        {"a\n\x80\n", std::nullopt, "第 2 行有按 UTF-8 和按 GB18030 都" + unreadable},  // a lone 0x80 is no "€"
        {gb18030 + "a\n\x80\n", std::nullopt, "第 3 行有按 UTF-8 和按 GB18030 都" + unreadable},  // GB18030's line, not UTF-8's
        {"a\n" + gb18030, TextEncoding::Utf8, "第 2 行有按 UTF-8 " + unreadable},
        {"a\nb\n\xFF\xFF", TextEncoding::Gb18030, "第 3 行有按 GB18030 " + unreadable},
        {std::string("\xFF\xFE" "a\0\n\0\x00\xDC", 8), std::nullopt, "第 2 行有按 UTF-16 " + unreadable},  // a lone low surrogate
        {"a\n\xE8\xA1", TextEncoding::Utf8, "第 2 行" + cutOff + "UTF-8 字符"},
        {"a\n\n\xE8", std::nullopt, "第 3 行" + cutOff + "UTF-8 字符"},
        {"a\n" + gb18030 + "\x81\x30", std::nullopt, "第 3 行" + cutOff + "GB18030 字符"},
        {"\xB1\xED\n\xB1", TextEncoding::Gb18030, "第 2 行" + cutOff + "GB18030 字符"},
        {std::string("\xFF\xFE" "a\0\n\0\x3D\xD8", 8), std::nullopt, "第 2 行" + cutOff + "UTF-16 字符"},  // half a pair
        {std::string("\xFF\xFE" "a\0\n\0b", 7), std::nullopt, "第 2 行" + cutOff + "UTF-16 字符"},  // half a unit
    };
    for (const auto& refusal : refusals) {
        try {
            decodeText(bytes(refusal.bytes), refusal.asked);
            ADD_FAILURE() << "accepted " << refusal.says;
        } catch (const FormatError& error) {
            EXPECT_NE(std::string(error.what()).find(refusal.says), std::string::npos) << error.what();
        }
    }
}

TEST(TextEncoding, EveryRecordNameCanBeWrittenInGb18030AndReadBack) {
    std::string names;
    for (const NameList list : {NameList::Weapon, NameList::Armour, NameList::Magic}) {
        for (const std::string_view name : varnel::names(list)) names += std::string(name) + "\n";
    }
    const std::string encoded = encodeText(names, TextEncoding::Gb18030);
    EXPECT_NE(encoded, names);
    EXPECT_EQ(decodeText(bytes(encoded), TextEncoding::Gb18030).utf8, names);
    EXPECT_EQ(encodeText(names, TextEncoding::Utf8), names);
    EXPECT_THROW(encodeText("\xED\xA0\x80", TextEncoding::Gb18030), FormatError);  // no character at all
}

}  // namespace
}  // namespace varnel
