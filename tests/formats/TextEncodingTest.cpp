// Bytes that fit no encoding are refused, naming the line of the first one
// and telling a file whose last character was cut off from one with
// unreadable bytes. (Each encoding found or taken as asked, and the usual
// refusals, show in the corpus of table files, read through import.)

#include "formats/FormatError.h"
#include "formats/TextEncoding.h"
#include "tests/support/Refusal.h"

#include <gtest/gtest.h>

#include <string>
#include <vector>

namespace varnel {
namespace {

TEST(TextEncoding, RefusesBytesThatFitNoEncodingNamingTheLine) {
    const std::string unreadable = "无法读取的字节。";
    const std::string cutOff = "的末尾截断了一个 ";
    const struct {
        std::string bytes;
        std::optional<TextEncoding> asked;
        std::string says;
    } refusals[] = {
        // "表格\n" in GB18030 first: the line is counted as GB18030 reads it, not UTF-8.
        {"\xB1\xED\xB8\xF1\na\n\x80\n", std::nullopt, "第 3 行有按 UTF-8 和按 GB18030 都" + unreadable},
        {"a\nb\n\xFF\xFF", TextEncoding::Gb18030, "第 3 行有按 GB18030 " + unreadable},
        {std::string("\xFF\xFE" "a\0\n\0\x00\xDC", 8), std::nullopt, "第 2 行有按 UTF-16 " + unreadable},  // a lone low surrogate
        {"\xB1\xED\n\xB1", TextEncoding::Gb18030, "第 2 行" + cutOff + "GB18030 字符"},
        {std::string("\xFF\xFE" "a\0\n\0\x3D\xD8", 8), std::nullopt, "第 2 行" + cutOff + "UTF-16 字符"},  // half a pair
    };
    for (const auto& [bytes, asked, says] : refusals) {
        const std::string said = testing::refusalOf<FormatError>(
            [&] { decodeText(std::vector<std::uint8_t>(bytes.begin(), bytes.end()), asked); });
        EXPECT_NE(said.find(says), std::string::npos) << said << " is not " << says;
    }
}

}  // namespace
}  // namespace varnel
