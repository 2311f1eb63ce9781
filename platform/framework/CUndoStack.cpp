#include "platform/framework/CUndoStack.h"

#include <algorithm>

void CUndoStack::Reserve() {
    if (m_pGroup != nullptr) {
        m_pGroup->Reserve();
        return;
    }
    // The undone steps go before the new one comes, so one more than now is always enough.
    MakeRoom();
}

void CUndoStack::Push(std::unique_ptr<CUndoStep> step, bool open) noexcept {
    if (step == nullptr)
        return;
    if (m_pGroup != nullptr) {
        m_pGroup->Add(std::move(step));
        return;
    }
    DropUndone();
    // A caller that skipped Reserve still gets its step kept, or the program ends as it would
    // on any allocation failing where none may.
    MakeRoom();
    const std::size_t cost = step->Cost();
    At(m_nCount) = {std::move(step), cost};
    ++m_nCount;
    m_nBytes += cost;
    ++m_nDone;
    m_bOpen = open;
    // The oldest steps go until the rest fit; a step larger than the whole budget stays alone.
    std::size_t drop = 0;
    std::size_t bytes = m_nBytes;
    while (bytes > m_nBudget && drop + 1 < m_nCount)
        bytes -= At(drop++).cost;
    DropOldest(drop);
}

void CUndoStack::BeginGroup() {
    if (m_pGroup != nullptr)
        return;
    auto group = std::make_unique<CUndoGroup>();
    // The group's own place in the history is made now, so that closing it cannot fail.
    MakeRoom();
    m_pGroup = std::move(group);
    m_bOpen = false;
}

void CUndoStack::EndGroup() noexcept {
    std::unique_ptr<CUndoGroup> group = std::move(m_pGroup);
    if (group == nullptr || group->IsEmpty())
        return;
    // Every step pushed since the group opened made its room in the group: the room made for
    // the group itself at its opening is still there.
    Push(std::move(group));
}

CUndoStep* CUndoStack::OpenStep() const {
    if (!m_bOpen || m_pGroup != nullptr || m_nDone == 0 || m_nDone != m_nCount || IsClean())
        return nullptr;
    return At(m_nDone - 1).step.get();
}

void CUndoStack::Recount() noexcept {
    if (m_nDone == 0)
        return;
    Entry& top = At(m_nDone - 1);
    m_nBytes -= top.cost;
    top.cost = top.step->Cost();
    m_nBytes += top.cost;
}

CUndoStep* CUndoStack::DoneStep(std::size_t fromTop) const {
    return fromTop < m_nDone ? At(m_nDone - 1 - fromTop).step.get() : nullptr;
}

CUndoStep* CUndoStack::Undo() {
    if (!CanUndo())
        return nullptr;
    CUndoStep* step = At(m_nDone - 1).step.get();
    step->Undo();
    --m_nDone;
    m_bOpen = false;
    return step;
}

CUndoStep* CUndoStack::Redo() {
    if (!CanRedo())
        return nullptr;
    CUndoStep* step = At(m_nDone).step.get();
    step->Redo();
    ++m_nDone;
    m_bOpen = false;
    return step;
}

void CUndoStack::Fold(std::size_t count) noexcept {
    count = std::min(count, m_nDone);
    if (count == 0 || m_nDone != m_nCount)
        return;
    // The place the folded steps led to is now the one of the step below them; the places in
    // between are gone, and so is the one the step below led to by itself.
    if (m_bCleanKnown && m_nClean >= m_nDone - count) {
        if (m_nClean == m_nDone)
            m_nClean = m_nDone - count;
        else
            m_bCleanKnown = false;
    }
    for (std::size_t i = 0; i < count; ++i)
        DropNewest();
    m_nDone -= count;
    m_bOpen = false;
    Recount();
}

void CUndoStack::Clear() noexcept {
    const bool clean = IsClean();
    // An open group stays open, for the action that opened it will close it.
    if (m_pGroup != nullptr)
        m_pGroup->Clear();
    // The ring keeps its room: the place made for an open group is still needed.
    while (m_nCount > 0)
        DropNewest();
    m_nFirst = 0;
    m_nDone = 0;
    m_nBytes = 0;
    m_bOpen = false;
    m_nClean = 0;
    m_bCleanKnown = clean;
}

void CUndoStack::SetClean() noexcept {
    m_nClean = m_nDone;
    m_bCleanKnown = true;
    m_bOpen = false;
}

void CUndoStack::DropUndone() noexcept {
    if (m_bCleanKnown && m_nClean > m_nDone)
        m_bCleanKnown = false;
    while (m_nCount > m_nDone)
        DropNewest();
}

void CUndoStack::DropOldest(std::size_t count) noexcept {
    if (count == 0)
        return;
    for (std::size_t i = 0; i < count; ++i) {
        Entry& oldest = At(0);
        m_nBytes -= oldest.cost;
        oldest = {};
        m_nFirst = m_nFirst + 1 == m_ring.size() ? 0 : m_nFirst + 1;
        --m_nCount;
    }
    m_nDone -= count;
    if (m_bCleanKnown) {
        if (m_nClean < count)
            m_bCleanKnown = false;
        else
            m_nClean -= count;
    }
}

CUndoStack::Entry& CUndoStack::At(std::size_t index) noexcept {
    const std::size_t place = m_nFirst + index;
    return m_ring[place < m_ring.size() ? place : place - m_ring.size()];
}

const CUndoStack::Entry& CUndoStack::At(std::size_t index) const noexcept {
    const std::size_t place = m_nFirst + index;
    return m_ring[place < m_ring.size() ? place : place - m_ring.size()];
}

void CUndoStack::MakeRoom() {
    if (m_nCount < m_ring.size())
        return;
    // Doubling keeps the moves of every step into a larger ring to a few per step in all.
    std::vector<Entry> larger(std::max<std::size_t>(16, m_ring.size() * 2));
    for (std::size_t i = 0; i < m_nCount; ++i)
        larger[i] = std::move(At(i));
    m_ring = std::move(larger);
    m_nFirst = 0;
}

void CUndoStack::DropNewest() noexcept {
    Entry& newest = At(m_nCount - 1);
    m_nBytes -= newest.cost;
    newest = {};
    --m_nCount;
}
