#include "core/app/undo_history.h"

#include "core/session/program_state.h"

namespace zam1 {

struct ProjectSnapshot {
    Chain chain;
    ProjectTexts projectTexts;
    Documentation documentation;
};

namespace {

std::unique_ptr<ProjectSnapshot> snapshotOf(const ProgramState& state) {
    return std::make_unique<ProjectSnapshot>(ProjectSnapshot{state.chain, state.projectTexts, state.documentation});
}

void restore(ProgramState& state, ProjectSnapshot& snapshot) {
    state.chain = std::move(snapshot.chain);
    state.projectTexts = std::move(snapshot.projectTexts);
    state.documentation = std::move(snapshot.documentation);
    state.file.modified = true;
}

// Swaps the project with the newest step of `from`, keeping what it replaced on `to`.
bool step(ProgramState& state, std::vector<std::unique_ptr<ProjectSnapshot>>& from,
          std::vector<std::unique_ptr<ProjectSnapshot>>& to) {
    if (from.empty()) return false;
    to.push_back(snapshotOf(state));
    restore(state, *from.back());
    from.pop_back();
    return true;
}

} // namespace

UndoHistory::UndoHistory() = default;
UndoHistory::~UndoHistory() = default;

void UndoHistory::begin(const ProgramState& state) { m_pending = snapshotOf(state); }

void UndoHistory::commit() {
    if (!m_pending) return;
    if (m_undo.size() == kDepth) m_undo.erase(m_undo.begin());
    m_undo.push_back(std::move(m_pending));
    m_redo.clear();
}

void UndoHistory::discard() { m_pending.reset(); }

bool UndoHistory::undo(ProgramState& state) { return step(state, m_undo, m_redo); }

bool UndoHistory::redo(ProgramState& state) { return step(state, m_redo, m_undo); }

void UndoHistory::clear() {
    m_pending.reset();
    m_undo.clear();
    m_redo.clear();
}

} // namespace zam1
