#pragma once
// An EditorView that keeps what a window would show, with the answers of its
// dialogs set beforehand.

#include "editor/EditorController.h"
#include "editor/TableControls.h"

#include <map>
#include <string>
#include <utility>
#include <vector>

namespace varnel::testing {

struct FakeView : EditorView {
    EditorController* controller = nullptr;  // gets onSelect from lw, la and cm, as from the window
    std::map<Control, std::vector<std::string>> rows;
    std::map<Control, int> selected;  // absent: no row
    std::map<Control, bool> enabled{{Control::lw, true}, {Control::la, true}, {Control::li, true},
                                    {Control::cm, true}, {Control::openf, true}, {Control::save, true}};
    std::map<std::string, std::string> boxes;  // by box name: what was typed or shown
    std::string filter;
    std::string fileToChoose;  // what the next file dialog returns; empty cancels
    bool answer = false;       // the next question's answer
    std::vector<std::string> questions;  // "prompt|title"
    std::vector<std::string> errors;

    void appendItem(Control list, std::string_view text) override { rows[list].emplace_back(text); }
    int selectedIndex(Control list) const override { return selected.count(list) ? selected.at(list) : -1; }
    void select(Control list, int position) override {
        if (selectedIndex(list) == position) return;
        selected[list] = position;
        if (const auto kind = tableListedIn(list); kind && controller != nullptr) controller->onSelect(*kind);
    }
    void setEnabled(Control control, bool on) override { enabled[control] = on; }
    std::string fieldText(FieldBox box) const override { return boxes.count(boxName(box)) ? boxes.at(boxName(box)) : ""; }
    void setFieldText(FieldBox box, std::string_view text) override { boxes[boxName(box)] = text; }
    void setOpenFilter(std::string_view text) override { filter = text; }
    std::string chooseFileToOpen() override { return std::exchange(fileToChoose, {}); }
    bool confirm(std::string_view prompt, std::string_view title) override {
        questions.push_back(std::string(prompt) + "|" + std::string(title));
        return std::exchange(answer, false);
    }
    void showError(std::string_view text) override { errors.emplace_back(text); }
};

}  // namespace varnel::testing
