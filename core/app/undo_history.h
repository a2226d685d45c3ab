#pragma once
// Undo and Redo over whole commands: before a command that may change the
// project the history takes a snapshot of it (chain, project texts,
// documentation); when the command did change it, the snapshot becomes the undo
// step. Replacing the project (New, Open, a recent file) starts a new history.

#include <cstddef>
#include <memory>
#include <vector>

namespace zam1 {

struct ProgramState;
struct ProjectSnapshot;

class UndoHistory {
public:
    UndoHistory();
    ~UndoHistory();
    UndoHistory(const UndoHistory&) = delete;
    UndoHistory& operator=(const UndoHistory&) = delete;

    // The project as it stands, kept until commit() or discard().
    void begin(const ProgramState& state);
    // The command changed the project: the kept state becomes an undo step and
    // whatever was undone before can no longer be redone.
    void commit();
    void discard();

    bool canUndo() const { return !m_undo.empty(); }
    bool canRedo() const { return !m_redo.empty(); }
    // Put back the project before the last change (or after the last undo). The
    // project counts as modified afterwards. False when there is nothing to do.
    bool undo(ProgramState& state);
    bool redo(ProgramState& state);

    void clear();

    // The oldest steps go when more than this many are kept.
    static constexpr std::size_t kDepth = 50;

private:
    std::unique_ptr<ProjectSnapshot> m_pending;
    std::vector<std::unique_ptr<ProjectSnapshot>> m_undo;
    std::vector<std::unique_ptr<ProjectSnapshot>> m_redo;
};

} // namespace zam1
