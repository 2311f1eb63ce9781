#pragma once

#include "platform/framework/CUndoGroup.h"
#include "platform/framework/CUndoStep.h"

#include <cstddef>
#include <memory>
#include <vector>

// The history of a document's edits: the steps done, oldest first, then the steps undone that
// Redo can do again. It keeps as many of the latest steps as fit its budget of bytes, and
// remembers which place in it matches the contents last saved or opened (the clean mark).
//
// An edit records itself in three moves, so that running out of memory can never leave a
// history that no longer matches the contents: Reserve (may throw; nothing has changed yet),
// the edit itself, then Push (cannot fail).
class CUndoStack {
public:
    static constexpr std::size_t kDefaultBudget = std::size_t(64) << 20;

    explicit CUndoStack(std::size_t budget = kDefaultBudget) : m_nBudget(budget) {}

    // Makes room for the next Push; throws, changing nothing, when there is none.
    void Reserve();
    // Records a step whose edit is done: the undone steps go, and then the oldest ones until the
    // history fits its budget, though the newest step always stays. An open step may still grow
    // with the same action (see OpenStep). Needs a Reserve since the last Push.
    void Push(std::unique_ptr<CUndoStep> step, bool open = false) noexcept;

    // While a group is open, the steps pushed go into it, and the group becomes one step when
    // it closes, if it holds any. Opening one may throw, changing nothing; groups do not nest.
    void BeginGroup();
    void EndGroup() noexcept;
    bool InGroup() const { return m_pGroup != nullptr; }

    // The last step pushed, while the action that pushed it may still add to it: nothing has
    // been pushed, undone, redone or saved since, and it is not the clean state. Null otherwise.
    CUndoStep* OpenStep() const;
    // Ends the action of the open step: it grows no more.
    void Seal() noexcept { m_bOpen = false; }
    // The open step grew: its cost is counted again.
    void Recount() noexcept;

    bool CanUndo() const { return m_nDone > 0 && !InGroup(); }
    bool CanRedo() const { return m_nDone < m_nCount && !InGroup(); }
    // The done step that many places below the last one, or null.
    CUndoStep* DoneStep(std::size_t fromTop) const;
    // Takes back the last done step, or does again the first undone one. Null when there is
    // none; the history is unchanged when the step throws.
    CUndoStep* Undo();
    CUndoStep* Redo();
    // Drops the last done steps without taking them back: the step below them already holds
    // their effect. Needs no undone steps.
    void Fold(std::size_t count) noexcept;

    // Drops every step; the contents as they are stay clean if they were.
    void Clear() noexcept;
    // The contents as they are now are those saved.
    void SetClean() noexcept;
    // No place in the history matches the contents saved any more.
    void ForgetClean() noexcept { m_bCleanKnown = false; }
    bool IsClean() const {
        return m_bCleanKnown && m_nClean == m_nDone && (m_pGroup == nullptr || m_pGroup->IsEmpty());
    }

    std::size_t DoneCount() const { return m_nDone; }
    std::size_t StepCount() const { return m_nCount; }
    std::size_t Bytes() const { return m_nBytes; }

private:
    struct Entry {
        std::unique_ptr<CUndoStep> step;
        std::size_t cost = 0;
    };

    // The step at that place, counted from the oldest.
    Entry& At(std::size_t index) noexcept;
    const Entry& At(std::size_t index) const noexcept;
    // Makes room for one more step; may throw, changing nothing.
    void MakeRoom();
    void DropNewest() noexcept;
    void DropUndone() noexcept;
    void DropOldest(std::size_t count) noexcept;

    // The steps lie in a ring, so that a step comes and the oldest goes in the same time
    // however long the history is: m_nCount of them from m_nFirst on, wrapping at the end.
    std::vector<Entry> m_ring;
    std::size_t m_nFirst = 0;
    std::size_t m_nCount = 0;
    // Steps [0, m_nDone) are done, the rest undone.
    std::size_t m_nDone = 0;
    std::size_t m_nBytes = 0;
    std::size_t m_nBudget;
    std::size_t m_nClean = 0;
    bool m_bCleanKnown = true;
    bool m_bOpen = false;
    std::unique_ptr<CUndoGroup> m_pGroup;
};
