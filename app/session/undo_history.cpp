#include "app/session/undo_history.h"

#include <utility>

namespace app::session {

void TUndoHistory::Reset(TProblemSnapshot initial) {
    m_states.clear();
    m_states.push_back(std::move(initial));
    m_position = 0;
    m_saved = 0;
}

bool TUndoHistory::Record(TProblemSnapshot now) {
    if (m_states.empty()) {
        Reset(std::move(now));
        return false;
    }
    TProblemSnapshot& current = m_states[m_position];
    if (current.SameProblem(now)) {
        // The same problem shown on another stage: the state takes the stage in hand.
        current.CurrentStage = now.CurrentStage;
        current.Problem = std::move(now.Problem);
        return false;
    }
    m_states.resize(m_position + 1);
    if (m_saved > static_cast<std::ptrdiff_t>(m_position)) m_saved = -1;
    m_states.push_back(std::move(now));
    ++m_position;
    if (m_states.size() > kMaxSteps + 1) {
        m_states.erase(m_states.begin());
        --m_position;
        m_saved = m_saved > 0 ? m_saved - 1 : -1;
    }
    return true;
}

const TProblemSnapshot& TUndoHistory::Undo() {
    if (m_position > 0) --m_position;
    return m_states[m_position];
}

const TProblemSnapshot& TUndoHistory::Redo() {
    if (m_position + 1 < m_states.size()) ++m_position;
    return m_states[m_position];
}

}  // namespace app::session
