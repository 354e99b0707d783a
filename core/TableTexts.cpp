#include "core/TableTexts.h"

#include "core/NameLists.h"

namespace varnel {

std::string plainCaption(std::string_view caption) {
    std::string plain;
    for (const char c : caption) {
        if (c != '&') plain.push_back(c);
    }
    while (!plain.empty() && plain.back() == ' ') plain.pop_back();
    return plain;
}

std::string recordLabel(TableKind kind, int index) {
    return std::string(tableTitle(kind)) + " #" + std::to_string(index) + " “" + std::string(recordName(kind, index)) +
           "”";
}

std::string fieldChange(TableKind kind, int index, int field, int from, int to) {
    return recordLabel(kind, index) + " 字段 " + std::to_string(field) + "：" + std::to_string(from) + " → " +
           std::to_string(to);
}

}  // namespace varnel
