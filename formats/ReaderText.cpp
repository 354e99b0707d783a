#include "formats/ReaderText.h"

#include "core/Utf8.h"

namespace varnel {
namespace {

// Enough to recognise a cell or a JSON value; a whole line would drown the message.
constexpr std::size_t quotedCharacterLimit = 40;

constexpr std::string_view replacementCharacter = "\xEF\xBF\xBD";

// C0, DEL and C1 controls could move a terminal's cursor or change its colours.
bool isControl(std::string_view character) {
    const auto lead = static_cast<unsigned char>(character[0]);
    if (character.size() == 1) return lead < 0x20 || lead == 0x7F;
    return character.size() == 2 && lead == 0xC2 && static_cast<unsigned char>(character[1]) < 0xA0;
}

}  // namespace

std::string_view withoutByteOrderMark(std::string_view text) {
    if (text.starts_with(byteOrderMark)) text.remove_prefix(byteOrderMark.size());
    return text;
}

std::string_view trimBlanks(std::string_view text) {
    const auto first = text.find_first_not_of(" \t");
    if (first == std::string_view::npos) return {};
    return text.substr(first, text.find_last_not_of(" \t") - first + 1);
}

std::string quotedText(std::string_view text) {
    std::string out = "“";
    std::size_t characters = 0;
    while (!text.empty()) {
        if (characters == quotedCharacterLimit) {
            out += "…";
            break;
        }
        const Utf8Character decoded = firstCharacter(text);
        const std::string_view character = text.substr(0, decoded.length);
        if (!decoded.valid || isControl(character)) {
            out += replacementCharacter;
        } else {
            out += character;
        }
        text.remove_prefix(character.size());
        ++characters;
    }
    return out + "”";
}

}  // namespace varnel
