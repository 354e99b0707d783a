#include "editor/EditorController.h"

#include "core/Error.h"
#include "core/FieldText.h"
#include "core/NameLists.h"
#include "editor/Messages.h"

#include <array>
#include <exception>
#include <string>

namespace varnel {

template <typename Handler>
void EditorController::guarded(Handler&& handler) {
    try {
        handler();
    } catch (const Error& error) {
        view_.showError(messages::failure(error));
    } catch (const std::exception& error) {
        view_.showError(messages::unexpected(error.what()));
    }
}

void EditorController::onLoad() {
    guarded([&] {
        for (const Control control : {Control::cm, Control::save, Control::lw, Control::la, Control::li}) {
            view_.setEnabled(control, false);
        }
        view_.setOpenFilter(messages::openFilter);

        // Selecting row 0 shows record 0 of the still-empty tables: all zeros.
        const std::array<std::pair<Control, NameList>, 4> lists{{{Control::lw, NameList::Weapon},
                                                                 {Control::la, NameList::Armour},
                                                                 {Control::li, NameList::Item},
                                                                 {Control::cm, NameList::Magic}}};
        for (const auto& [list, nameList] : lists) {
            for (const std::string_view name : names(nameList)) view_.appendItem(list, name);
            view_.select(list, 0);
        }
    });
}

void EditorController::onUnload() {
    store_.close();
}

void EditorController::onSelect(TableKind kind) {
    guarded([&] { show(controlsOf(kind)); });
}

void EditorController::show(const TableControls& table) {
    const int record = view_.selectedIndex(table.list);
    if (!isValidRecord(table.kind, record)) return;
    const ItemRecord fields = store_.record(table.kind, record);
    for (int field = 1; field <= recordSize; ++field) {
        view_.setFieldText(table.box(field), toText(fields[static_cast<std::size_t>(field - 1)]));
    }
}

void EditorController::onOpen() {
    guarded([&] {
        const std::string path = view_.chooseFileToOpen();
        if (path.empty()) return;
        store_.open(path);
        store_.load();

        for (const Control control : {Control::cm, Control::save, Control::lw, Control::la}) {
            view_.setEnabled(control, true);
        }
        view_.setEnabled(Control::openf, false);  // one image per run
        for (const TableControls& table : tableControls) show(table);
    });
}

void EditorController::onSave() {
    guarded([&] { save(); });
}

void EditorController::save() {
    // Save is disabled until an image is open; should it be pressed anyway, ask nothing.
    if (!store_.isOpen()) throw Error::fileAccess(FileAction::Write, {}, FileProblem::NotOpen);
    if (!view_.confirm(messages::savePrompt, messages::saveTitle)) return;

    // All or nothing: every box is converted before memory or the file changes.
    std::array<TableRecord, tableControls.size()> changes{};
    for (std::size_t t = 0; t < tableControls.size(); ++t) {
        const TableControls& table = tableControls[t];
        TableRecord& change = changes[t];
        change = {table.kind, view_.selectedIndex(table.list), {}};
        if (!isValidRecord(table.kind, change.index)) {
            view_.showError(messages::noSelection(table));
            return;
        }
        for (int field = 1; field <= recordSize; ++field) {
            const std::string text = view_.fieldText(table.box(field));
            try {
                change.fields[static_cast<std::size_t>(field - 1)] = toByte(text);
            } catch (const Error&) {
                view_.showError(messages::fieldOutOfRange(table, field, text));
                return;
            }
        }
    }
    store_.saveRecords(changes);
}

}  // namespace varnel
