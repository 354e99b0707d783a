#include "editor/Controls.h"

namespace varnel {

std::string_view controlName(Control control) {
    switch (control) {
    case Control::lw: return "lw";
    case Control::la: return "la";
    case Control::li: return "li";
    case Control::cm: return "cm";
    case Control::openf: return "openf";
    case Control::save: return "save";
    }
    return {};
}

std::string_view boxGroupName(BoxGroup group) {
    switch (group) {
    case BoxGroup::wt: return "wt";
    case BoxGroup::at: return "at";
    case BoxGroup::it: return "it";
    case BoxGroup::mt: return "mt";
    }
    return {};
}

std::string boxName(FieldBox box) {
    return std::string(boxGroupName(box.group)) + std::to_string(box.field);
}

}  // namespace varnel
