#pragma once

#include "platform/framework/CUndoStack.h"

// The edits of one command on several curves are one step of the history. The group closes on
// every way out; within a group already open (a drag that drops into its own window) the edits
// join that one.
class StepGroup {
public:
    explicit StepGroup(CUndoStack& history) : m_history(history), m_bOwn(!history.InGroup()) {
        if (m_bOwn)
            m_history.BeginGroup();
    }
    StepGroup(const StepGroup&) = delete;
    StepGroup& operator=(const StepGroup&) = delete;
    ~StepGroup() {
        if (m_bOwn)
            m_history.EndGroup();
    }

private:
    CUndoStack& m_history;
    bool m_bOwn;
};
