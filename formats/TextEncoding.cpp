#include "formats/TextEncoding.h"

#include "core/Utf8.h"
#include "formats/FormatError.h"

#include <iconv.h>

#include <algorithm>
#include <cerrno>
#include <string>

namespace varnel {
namespace {

constexpr std::string_view utf8Mark = "\xEF\xBB\xBF";
constexpr std::string_view utf16LittleMark = "\xFF\xFE";
constexpr std::string_view utf16BigMark = "\xFE\xFF";

// An iconv conversion, closed with the object.
class Converter {
public:
    Converter(const char* to, const char* from) : handle_(::iconv_open(to, from)) {}
    ~Converter() {
        if (usable()) ::iconv_close(handle_);
    }
    Converter(const Converter&) = delete;
    Converter& operator=(const Converter&) = delete;

    bool usable() const { return handle_ != reinterpret_cast<iconv_t>(-1); }

    // The whole input converted, or the offset of the first input byte that
    // cannot be, and whether that is only a character cut off by the end.
    struct Result {
        std::string output;
        std::optional<std::size_t> failedAt;
        bool cutOff = false;
    };

    Result convert(std::string_view input) {
        Result result;
        result.output.resize(input.size() * 2 + 16);
        char* in = const_cast<char*>(input.data());  // iconv's signature; the input is only read
        std::size_t inLeft = input.size();
        std::size_t written = 0;
        while (inLeft > 0) {
            char* out = result.output.data() + written;
            std::size_t outLeft = result.output.size() - written;
            const std::size_t converted = ::iconv(handle_, &in, &inLeft, &out, &outLeft);
            written = result.output.size() - outLeft;
            if (converted != static_cast<std::size_t>(-1)) break;
            if (errno == E2BIG) {
                result.output.resize(result.output.size() * 2);
                continue;
            }
            result.failedAt = input.size() - inLeft;
            result.cutOff = errno == EINVAL;  // else EILSEQ
            break;
        }
        result.output.resize(written);
        return result;
    }

private:
    iconv_t handle_;
};

std::string_view asText(std::span<const std::uint8_t> bytes) {
    return {reinterpret_cast<const char*>(bytes.data()), bytes.size()};
}

// The 1-based line holding the byte at `offset`, counting line feeds, which
// are single 0x0A bytes in UTF-8 and GB18030 and 0x0A 0x00 / 0x00 0x0A units in UTF-16.
std::size_t lineAt(std::string_view text, std::size_t offset, std::size_t unit, bool bigEndian) {
    std::size_t line = 1;
    for (std::size_t i = 0; i + unit <= offset; i += unit) {
        const bool lineFeed = unit == 1 ? text[i] == '\n'
                                        : text[i + (bigEndian ? 1 : 0)] == '\n' && text[i + (bigEndian ? 0 : 1)] == '\0';
        if (lineFeed) ++line;
    }
    return line;
}

std::size_t firstInvalidUtf8(std::string_view text) {
    std::size_t offset = 0;
    while (offset < text.size()) {
        const Utf8Character character = firstCharacter(text.substr(offset));
        if (!character.valid) return offset;
        offset += character.length;
    }
    return offset;
}

// Whether the text is the start of one UTF-8 character that the end cut off.
bool isCutOffUtf8(std::string_view tail) {
    const auto lead = static_cast<unsigned char>(tail.front());
    const std::size_t length = lead >= 0xF0 && lead <= 0xF4 ? 4 : lead >= 0xE0 ? 3 : lead >= 0xC2 ? 2 : 0;
    if (lead > 0xF4 || tail.size() >= length) return false;
    return std::all_of(tail.begin() + 1, tail.end(), [](char c) { return (static_cast<unsigned char>(c) & 0xC0u) == 0x80u; });
}

// Why a file cannot be read, in the encodings tried: bytes that none of
// them reads, or a last character that the end of the file cut off.
FormatError unreadable(std::string_view encodings, std::size_t line) {
    return FormatError("文件的第 " + std::to_string(line) + " 行有按 " + std::string(encodings) + "无法读取的字节。");
}

FormatError cutOff(std::string_view encoding, std::size_t line) {
    return FormatError("文件在第 " + std::to_string(line) + " 行的末尾截断了一个 " + std::string(encoding) +
                       " 字符，可能没有完整保存。");
}

FormatError notRead(std::string_view encoding, bool isCutOff, std::size_t line) {
    return isCutOff ? cutOff(encoding, line) : unreadable(std::string(encoding) + " ", line);
}

DecodedText fromUtf8(std::string_view text) {
    if (text.starts_with(utf8Mark)) text.remove_prefix(utf8Mark.size());
    const std::size_t invalid = firstInvalidUtf8(text);
    if (invalid < text.size()) {
        throw notRead("UTF-8", isCutOffUtf8(text.substr(invalid)), lineAt(text, invalid, 1, false));
    }
    return {std::string(text), TextEncoding::Utf8};
}

DecodedText fromUtf16(std::string_view text) {
    bool bigEndian = false;
    if (text.starts_with(utf16BigMark)) {
        bigEndian = true;
        text.remove_prefix(utf16BigMark.size());
    } else if (text.starts_with(utf16LittleMark)) {
        text.remove_prefix(utf16LittleMark.size());
    }
    Converter converter("UTF-8", bigEndian ? "UTF-16BE" : "UTF-16LE");
    if (!converter.usable()) throw FormatError("这个版本的程序无法读取 UTF-16 编码的文件。");
    Converter::Result result = converter.convert(text);
    if (result.failedAt) throw notRead("UTF-16", result.cutOff, lineAt(text, *result.failedAt, 2, bigEndian));
    return {std::move(result.output), TextEncoding::Utf16};
}

// GB18030 is a superset of GBK and GB2312, so it reads files in either.
Converter::Result fromGb18030(std::string_view text) {
    Converter converter("UTF-8", "GB18030");
    if (!converter.usable()) throw FormatError("这个版本的程序无法读取 GB18030 编码的文件。");
    return converter.convert(text);
}

}  // namespace

std::string_view encodingName(TextEncoding encoding) {
    switch (encoding) {
    case TextEncoding::Utf8: return "UTF-8";
    case TextEncoding::Utf16: return "UTF-16";
    case TextEncoding::Gb18030: return "GB18030";
    }
    return "";
}

DecodedText decodeText(std::span<const std::uint8_t> bytes, std::optional<TextEncoding> forced) {
    const std::string_view text = asText(bytes);
    if (!forced) {
        if (text.starts_with(utf8Mark)) forced = TextEncoding::Utf8;
        else if (text.starts_with(utf16LittleMark) || text.starts_with(utf16BigMark)) forced = TextEncoding::Utf16;
    }
    if (forced == TextEncoding::Utf8) return fromUtf8(text);
    if (forced == TextEncoding::Utf16) return fromUtf16(text);

    const std::size_t invalidUtf8 = forced ? 0 : firstInvalidUtf8(text);
    if (!forced && invalidUtf8 == text.size()) return {std::string(text), TextEncoding::Utf8};
    Converter::Result gb18030 = fromGb18030(text);
    if (!gb18030.failedAt) return {std::move(gb18030.output), TextEncoding::Gb18030};
    if (forced) throw notRead("GB18030", gb18030.cutOff, lineAt(text, *gb18030.failedAt, 1, false));
    // Neither reads it: a UTF-8 file whose end was cut off says so, anything else fits neither.
    if (isCutOffUtf8(text.substr(invalidUtf8))) throw cutOff("UTF-8", lineAt(text, invalidUtf8, 1, false));
    if (gb18030.cutOff) throw cutOff("GB18030", lineAt(text, *gb18030.failedAt, 1, false));
    throw unreadable("UTF-8 和按 GB18030 都", lineAt(text, *gb18030.failedAt, 1, false));
}

std::string encodeText(std::string_view utf8, TextEncoding encoding) {
    if (encoding == TextEncoding::Utf8) return std::string(utf8);
    Converter converter("GB18030", "UTF-8");
    if (encoding != TextEncoding::Gb18030 || !converter.usable()) {
        throw FormatError("这个版本的程序无法写出 " + std::string(encodingName(encoding)) + " 编码的文件。");
    }
    Converter::Result result = converter.convert(utf8);
    if (result.failedAt) {
        throw FormatError("第 " + std::to_string(lineAt(utf8, *result.failedAt, 1, false)) + " 行有 " +
                          std::string(encodingName(encoding)) + " 无法表示的字符。");
    }
    return std::move(result.output);
}

}  // namespace varnel
