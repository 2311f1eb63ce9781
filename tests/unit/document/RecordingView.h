#pragma once

#include "platform/framework/CView.h"

// A view that counts the repaint requests its document sends it.
class RecordingView : public CView {
public:
    void OnUpdate(CView*, std::intptr_t, void*) override { ++m_nUpdates; }
    void OnDraw(CDC*) override {}

    int m_nUpdates = 0;
};
