#pragma once
// The problem's edit history for Undo and Redo: whole snapshots of the problem as its files would
// hold it, taken after every command, so no kind of edit can slip past. A problem of this program is
// a few kilobytes of text, so snapshots are simple and cheap (measured in bench/).

#include <cstddef>
#include <memory>
#include <string>
#include <vector>

#include "app/model/problem_tables.h"
#include "app/model/program_data.h"

namespace app::session {

/// A private copy of a problem, with tables of its own.
struct TProblemCopy {
    app::model::TGridTableRegistry Plain;
    app::model::TGridTableRegistry Chart;
    app::model::TProblemTables Tables{Plain, Chart};
    app::model::TProgramData Model{Tables};
};

/// The problem as it stands: the problem in hand as it is in memory (so an option switched off keeps
/// its table until the file is saved, as without undo), and the text of every stage as its file
/// holds it (one text when it has no stages), which says whether two states differ. The stage shown
/// alone is no edit.
struct TProblemSnapshot {
    std::vector<std::string> Texts;
    std::shared_ptr<const TProblemCopy> Problem;
    int CurrentStage = 1;
    [[nodiscard]] bool SameProblem(const TProblemSnapshot& other) const { return Texts == other.Texts; }
};

class TUndoHistory {
public:
    /// At least this many steps can be undone.
    static constexpr std::size_t kMaxSteps = 200;

    /// A new history whose only state is `initial`, the problem as saved (or new).
    void Reset(TProblemSnapshot initial);
    /// Records `now` as a new step when it holds another problem than the current state (dropping
    /// the steps that could have been redone); only notes the stage shown otherwise. True when a step
    /// was added.
    bool Record(TProblemSnapshot now);
    [[nodiscard]] bool CanUndo() const { return m_position > 0; }
    /// The state the problem is in now.
    [[nodiscard]] const TProblemSnapshot& Current() const { return m_states[m_position]; }
    [[nodiscard]] bool CanRedo() const { return m_position + 1 < m_states.size(); }
    /// The state one step back or forward, which becomes the current one; call only when possible.
    const TProblemSnapshot& Undo();
    const TProblemSnapshot& Redo();
    /// The current state is the one on disk.
    void MarkSaved() { m_saved = static_cast<std::ptrdiff_t>(m_position); }
    [[nodiscard]] bool AtSaved() const { return m_saved == static_cast<std::ptrdiff_t>(m_position); }
    [[nodiscard]] std::size_t Steps() const { return m_states.size(); }

private:
    std::vector<TProblemSnapshot> m_states;
    std::size_t m_position = 0;
    std::ptrdiff_t m_saved = 0;  // -1 once the saved state has left the history
};

}  // namespace app::session
