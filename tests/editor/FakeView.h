#pragma once
// An EditorView that keeps the state a window would show and logs every call
// that changes it, with scripted answers for the dialogs.

#include "editor/EditorController.h"
#include "editor/EditorView.h"

#include <deque>
#include <optional>
#include <map>
#include <string>
#include <vector>

namespace varnel::testing {

class FakeView : public EditorView {
public:
    struct List {
        std::vector<std::string> rows;
        int selected = -1;
    };

    // Delivers onSelect for lw, la and cm, as the window does.
    EditorController* controller = nullptr;

    std::map<Control, List> lists;
    std::map<Control, bool> enabled{{Control::lw, true}, {Control::la, true}, {Control::li, true},
                                    {Control::cm, true}, {Control::openf, true}, {Control::save, true}};
    std::map<std::string, std::string> boxes;  // by box name; absent means empty
    std::string filter;

    std::deque<std::string> filesToChoose;  // answers for chooseFileToOpen; "" cancels
    std::deque<bool> confirmAnswers;        // answers for confirm
    int dialogsShown = 0;
    std::vector<std::string> questions;     // "prompt|title"
    std::vector<std::string> errors;

    // Mutating calls in order; runs of the same call on one control collapse
    // to "call control ×count" in collapsedLog().
    std::vector<std::string> log;
    std::vector<std::string> collapsedLog() const;

    void appendItem(Control list, std::string_view text) override;
    int selectedIndex(Control list) const override;
    void select(Control list, int position) override;
    void setEnabled(Control control, bool on) override;
    std::string fieldText(FieldBox box) const override;
    void setFieldText(FieldBox box, std::string_view text) override;
    void setOpenFilter(std::string_view text) override;
    std::string chooseFileToOpen() override;
    bool confirm(std::string_view prompt, std::string_view title) override;
    void showError(std::string_view text) override;

    // What a user does: type into a box, click a row.
    void type(FieldBox box, std::string_view text) { boxes[boxName(box)] = text; }
    std::string box(FieldBox box) const { return fieldText(box); }
};

}  // namespace varnel::testing
