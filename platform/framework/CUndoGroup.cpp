#include "platform/framework/CUndoGroup.h"

#include <algorithm>

void CUndoGroup::Reserve() {
    // Room for twice as many at a time, so that a large group is gathered in linear time.
    if (m_steps.size() == m_steps.capacity())
        m_steps.reserve(std::max<std::size_t>(4, m_steps.capacity() * 2));
}

void CUndoGroup::Add(std::unique_ptr<CUndoStep> step) noexcept {
    // Room was made by Reserve, so the vector does not grow here.
    m_steps.push_back(std::move(step));
}

void CUndoGroup::Undo() {
    std::size_t done = m_steps.size();
    try {
        for (; done > 0; --done)
            m_steps[done - 1]->Undo();
    } catch (...) {
        // The steps already taken back are done again, so that the group changed nothing.
        for (; done < m_steps.size(); ++done)
            m_steps[done]->Redo();
        throw;
    }
}

void CUndoGroup::Redo() {
    std::size_t done = 0;
    try {
        for (; done < m_steps.size(); ++done)
            m_steps[done]->Redo();
    } catch (...) {
        for (; done > 0; --done)
            m_steps[done - 1]->Undo();
        throw;
    }
}

std::size_t CUndoGroup::Cost() const {
    std::size_t cost = sizeof(*this) + m_steps.capacity() * sizeof(m_steps[0]);
    for (const auto& step : m_steps)
        cost += step->Cost();
    return cost;
}
