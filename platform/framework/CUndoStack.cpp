#include "platform/framework/CUndoStack.h"

#include <algorithm>

void CUndoStack::Reserve() {
    if (m_pGroup != nullptr) {
        m_pGroup->Reserve();
        return;
    }
    // The undone steps go before the new one comes, so one more than now is always enough.
    m_steps.reserve(m_steps.size() + 1);
}

void CUndoStack::Push(std::unique_ptr<CUndoStep> step, bool open) noexcept {
    if (step == nullptr)
        return;
    if (m_pGroup != nullptr) {
        m_pGroup->Add(std::move(step));
        return;
    }
    DropUndone();
    const std::size_t cost = step->Cost();
    m_steps.push_back({std::move(step), cost});
    m_nBytes += cost;
    ++m_nDone;
    m_bOpen = open;
    // The oldest steps go until the rest fit; a step larger than the whole budget stays alone.
    std::size_t drop = 0;
    std::size_t bytes = m_nBytes;
    while (bytes > m_nBudget && drop + 1 < m_steps.size())
        bytes -= m_steps[drop++].cost;
    DropOldest(drop);
}

void CUndoStack::BeginGroup() {
    if (m_pGroup != nullptr)
        return;
    auto group = std::make_unique<CUndoGroup>();
    // The group's own place in the history is made now, so that closing it cannot fail.
    m_steps.reserve(m_steps.size() + 1);
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
    if (!m_bOpen || m_pGroup != nullptr || m_nDone == 0 || m_nDone != m_steps.size() || IsClean())
        return nullptr;
    return m_steps[m_nDone - 1].step.get();
}

void CUndoStack::Recount() noexcept {
    if (m_nDone == 0)
        return;
    Entry& top = m_steps[m_nDone - 1];
    m_nBytes -= top.cost;
    top.cost = top.step->Cost();
    m_nBytes += top.cost;
}

CUndoStep* CUndoStack::DoneStep(std::size_t fromTop) const {
    return fromTop < m_nDone ? m_steps[m_nDone - 1 - fromTop].step.get() : nullptr;
}

CUndoStep* CUndoStack::Undo() {
    if (!CanUndo())
        return nullptr;
    CUndoStep* step = m_steps[m_nDone - 1].step.get();
    step->Undo();
    --m_nDone;
    m_bOpen = false;
    return step;
}

CUndoStep* CUndoStack::Redo() {
    if (!CanRedo())
        return nullptr;
    CUndoStep* step = m_steps[m_nDone].step.get();
    step->Redo();
    ++m_nDone;
    m_bOpen = false;
    return step;
}

void CUndoStack::Fold(std::size_t count) noexcept {
    count = std::min(count, m_nDone);
    if (count == 0 || m_nDone != m_steps.size())
        return;
    // The place the folded steps led to is now the one of the step below them; the places in
    // between are gone, and so is the one the step below led to by itself.
    if (m_bCleanKnown && m_nClean >= m_nDone - count) {
        if (m_nClean == m_nDone)
            m_nClean = m_nDone - count;
        else
            m_bCleanKnown = false;
    }
    for (std::size_t i = 0; i < count; ++i) {
        m_nBytes -= m_steps.back().cost;
        m_steps.pop_back();
    }
    m_nDone -= count;
    m_bOpen = false;
    Recount();
}

void CUndoStack::Clear() noexcept {
    const bool clean = IsClean();
    // An open group stays open, for the action that opened it will close it.
    if (m_pGroup != nullptr)
        m_pGroup->Clear();
    m_steps.clear();
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
    while (m_steps.size() > m_nDone) {
        m_nBytes -= m_steps.back().cost;
        m_steps.pop_back();
    }
}

void CUndoStack::DropOldest(std::size_t count) noexcept {
    if (count == 0)
        return;
    for (std::size_t i = 0; i < count; ++i)
        m_nBytes -= m_steps[i].cost;
    m_steps.erase(m_steps.begin(), m_steps.begin() + std::ptrdiff_t(count));
    m_nDone -= count;
    if (m_bCleanKnown) {
        if (m_nClean < count)
            m_bCleanKnown = false;
        else
            m_nClean -= count;
    }
}
