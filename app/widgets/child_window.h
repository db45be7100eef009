#pragma once
// What the main window asks of its child windows before a command runs or another window takes over.

#include <stdexcept>

namespace app::widgets {

/// A child window refused to give up its edit: its message has been shown and it keeps the focus.
class ECommitRefused : public std::runtime_error {
public:
    ECommitRefused() : std::runtime_error("the entry is not valid") {}
};

/// A child window whose pending edit must be committed before a menu opens, a command runs or the
/// program closes.
class TChildWindow {
public:
    virtual ~TChildWindow() = default;
    /// Writes the window's edit back to the problem (its deactivation). Throws ECommitRefused when the
    /// entry is invalid.
    virtual void CommitEdit() = 0;
    /// Shows the problem's values again (after New, Open, a stage switch or a change of units).
    virtual void Reload() = 0;
};

}  // namespace app::widgets
