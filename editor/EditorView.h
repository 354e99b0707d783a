#pragma once
// What the editing logic needs from a window. The controller is written
// against this alone, so it runs the same against the Qt window and a fake.

#include "editor/Controls.h"

#include <string>
#include <string_view>

namespace varnel {

class EditorView {
public:
    virtual ~EditorView() = default;

    // Adds a row at the end of lw, la, li or cm; lists are never sorted.
    virtual void appendItem(Control list, std::string_view text) = 0;

    // The selected row of a list, or -1 when none is.
    virtual int selectedIndex(Control list) const = 0;

    // Selects a row. For lw, la and cm a change of selection delivers the
    // controller's onSelect before this returns, even while disabled.
    virtual void select(Control list, int position) = 0;

    // Lists and buttons; a disabled control delivers no user events.
    virtual void setEnabled(Control control, bool on) = 0;

    // A field box's text exactly as typed (UTF-8), and replacing it.
    virtual std::string fieldText(FieldBox box) const = 0;
    virtual void setFieldText(FieldBox box, std::string_view text) = 0;

    // "Description|pattern", used by every later chooseFileToOpen. Matching
    // ignores letter case.
    virtual void setOpenFilter(std::string_view filter) = 0;

    // A modal file-open dialog: the chosen path in the platform's file name
    // encoding, or empty when cancelled.
    virtual std::string chooseFileToOpen() = 0;

    // A modal yes/no question with a question-mark icon, Yes the default.
    virtual bool confirm(std::string_view prompt, std::string_view title) = 0;

    // A modal message reporting a failure.
    virtual void showError(std::string_view text) = 0;
};

}  // namespace varnel
