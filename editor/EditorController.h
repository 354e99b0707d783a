#pragma once
// The editing behaviour: start-up, open, selection, save and close, driven by
// the window's events through EditorView.
//
// Each handler is where failures end: it reports them through showError and
// leaves the window as it was before the event. Nothing escapes a handler.

#include "core/RomStore.h"
#include "core/TableLayout.h"
#include "editor/EditorView.h"
#include "editor/TableControls.h"

namespace varnel {

class EditorController {
public:
    explicit EditorController(EditorView& view) : view_(view) {}

    void onLoad();
    void onUnload();
    void onSelect(TableKind kind);
    void onOpen();
    void onSave();

private:
    template <typename Handler>
    void guarded(Handler&& handler);

    // Shows the selected record of a table in its boxes; no selection, no change.
    void show(const TableControls& table);
    void save();

    EditorView& view_;
    RomStore store_;
};

}  // namespace varnel
