#include "cli/Texts.h"

#include "formats/TableFile.h"

namespace varnel::cli {

std::string_view tableTitle(TableKind kind) {
    switch (kind) {
    case TableKind::Weapon: return "武器";
    case TableKind::Armour: return "防具";
    case TableKind::Magic: return "魔法";
    }
    return {};
}

std::string recordLabel(TableKind kind, int index) {
    return std::string(tableTitle(kind)) + " #" + std::to_string(index) + " “" + std::string(recordName(kind, index)) +
           "”";
}

std::string fieldChange(TableKind kind, int index, int field, int from, int to) {
    return recordLabel(kind, index) + " 字段 " + std::to_string(field) + "：" + std::to_string(from) + " → " +
           std::to_string(to);
}

}  // namespace varnel::cli
