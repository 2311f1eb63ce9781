#pragma once

#include "platform/framework/CUndoStep.h"

#include <memory>
#include <vector>

// Steps that the user made with one action, taken back and done again together: the last one
// first on the way back.
class CUndoGroup : public CUndoStep {
public:
    // Makes room so that the next Add cannot fail; throws, changing nothing, when there is none.
    void Reserve();
    void Add(std::unique_ptr<CUndoStep> step) noexcept;
    bool IsEmpty() const { return m_steps.empty(); }
    // Drops the steps gathered so far; the group stays open.
    void Clear() noexcept { m_steps.clear(); }

    void Undo() override;
    void Redo() override;
    std::size_t Cost() const override;

private:
    std::vector<std::unique_ptr<CUndoStep>> m_steps;
};
