#include "tests/editor/FakeView.h"

#include "editor/TableControls.h"

namespace varnel::testing {

std::vector<std::string> FakeView::collapsedLog() const {
    std::vector<std::string> collapsed;
    std::size_t i = 0;
    while (i < log.size()) {
        std::size_t run = 1;
        const bool collapsible = log[i].rfind("appendItem", 0) == 0 || log[i].rfind("setFieldText", 0) == 0;
        while (collapsible && i + run < log.size() && log[i + run] == log[i]) ++run;
        collapsed.push_back(run > 1 ? log[i] + " ×" + std::to_string(run) : log[i]);
        i += run;
    }
    return collapsed;
}

void FakeView::appendItem(Control list, std::string_view text) {
    lists[list].rows.emplace_back(text);
    log.push_back("appendItem " + std::string(controlName(list)));
}

int FakeView::selectedIndex(Control list) const {
    const auto found = lists.find(list);
    return found == lists.end() ? -1 : found->second.selected;
}

void FakeView::select(Control list, int position) {
    log.push_back("select " + std::string(controlName(list)) + " " + std::to_string(position));
    List& target = lists[list];
    if (target.selected == position) return;
    target.selected = position;
    if (const auto kind = tableListedIn(list); kind && controller != nullptr) controller->onSelect(*kind);
}

void FakeView::setEnabled(Control control, bool on) {
    enabled[control] = on;
    log.push_back("setEnabled " + std::string(controlName(control)) + (on ? " on" : " off"));
}

std::string FakeView::fieldText(FieldBox box) const {
    const auto found = boxes.find(boxName(box));
    return found == boxes.end() ? std::string() : found->second;
}

void FakeView::setFieldText(FieldBox box, std::string_view text) {
    boxes[boxName(box)] = text;
    // Logged by group, so that a record shown at once collapses to one line.
    log.push_back("setFieldText " + std::string(boxGroupName(box.group)));
}

void FakeView::setOpenFilter(std::string_view text) {
    filter = text;
    log.push_back("setOpenFilter " + filter);
}

std::string FakeView::chooseFileToOpen() {
    ++dialogsShown;
    if (filesToChoose.empty()) return {};
    std::string path = filesToChoose.front();
    filesToChoose.pop_front();
    return path;
}

bool FakeView::confirm(std::string_view prompt, std::string_view title) {
    questions.push_back(std::string(prompt) + "|" + std::string(title));
    if (confirmAnswers.empty()) return false;
    const bool answer = confirmAnswers.front();
    confirmAnswers.pop_front();
    return answer;
}

void FakeView::showError(std::string_view text) {
    errors.emplace_back(text);
}

}  // namespace varnel::testing
