#pragma once

#include <cstddef>

// One edit as the history keeps it: enough to take it back and to do it again. A step is pushed
// once its edit is done, so the first call it gets is Undo; calls then alternate. Each call
// either completes or throws having changed nothing, so that the history always matches the
// contents it describes.
class CUndoStep {
public:
    CUndoStep() = default;
    CUndoStep(const CUndoStep&) = delete;
    CUndoStep& operator=(const CUndoStep&) = delete;
    virtual ~CUndoStep() = default;

    virtual void Undo() = 0;
    virtual void Redo() = 0;
    // The bytes the step keeps, counted against the history's budget.
    virtual std::size_t Cost() const = 0;
};
