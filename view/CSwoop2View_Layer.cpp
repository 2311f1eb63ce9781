#include "view/CSwoop2View.h"

#include "document/CSwoop2Doc.h"
#include "document/ChangedPart.h"
#include "platform/framework/CClientDC.h"
#include "platform/gdi/CDC.h"

#include <algorithm>
#include <cmath>
#include <functional>
#include <memory>
#include <new>
#include <unordered_set>
#include <vector>

void CSwoop2View::OnUpdate(CView* pSender, std::intptr_t lHint, void* pHint) {
    if (lHint == HINT_HANDLES_ADDED && pHint != nullptr) {
        if (ShowAddedHandles())
            return;
        lHint = HINT_UPDATE_RECT;
    }
    if (lHint != HINT_UPDATE_RECT || pHint == nullptr) {
        m_bSettled = false;
        CView::OnUpdate(pSender, lHint, pHint);
        return;
    }
    // Parts hold the handles as they are at one unit per screen unit; zoomed out, the handles
    // keep their size on the screen and reach further in units.
    CRect part = *static_cast<const CRect*>(pHint);
    if (GetZoomStep() < 0 && !part.IsRectEmpty()) {
        const auto margin = std::int32_t(std::ceil(6.0 / GetZoom()));
        part = CRect(
            std::int32_t(std::max<std::int64_t>(std::int64_t(part.left) - margin, INT32_MIN)),
            std::int32_t(std::max<std::int64_t>(std::int64_t(part.top) - margin, INT32_MIN)),
            std::int32_t(std::min<std::int64_t>(std::int64_t(part.right) + margin, INT32_MAX)),
            std::int32_t(std::min<std::int64_t>(std::int64_t(part.bottom) + margin, INT32_MAX)));
    }
    // The edit is done when the views hear of it: keeping the layer must not fail it. A layer
    // that cannot follow for want of memory is given up, and the next repaint makes a new one.
    try {
        SettleEdit(part);
    } catch (...) {
        m_bSettled = false;
        m_pUnsettled = nullptr;
        DropLayer();
    }
    CView::OnUpdate(pSender, lHint, &part);
}

bool CSwoop2View::ShowAddedHandles() {
    // The curves keep their pixels and the handles are opaque and painted last, so the
    // selection's handles painted over the window's picture give what a repaint would, at the
    // cost of the squares alone. Outlines inverted over the picture, and a picture still to be
    // replaced by a sharp one, take the repaint.
    if (!HandlesShown() || m_pFeedback != nullptr || m_bBanding || IsDrawingInBackground())
        return false;
    // The curves that joined the selection are still on the layer.
    m_bSettled = false;
    try {
        CClientDC dc(this);
        OnPrepareDC(&dc, nullptr);
        PaintHandles(&dc);
    } catch (const std::bad_alloc&) {
        return false;
    }
    return true;
}

void CSwoop2View::OnLayerExposed(const CRect& part) {
    // The layer moved with the window; what came into view is drawn on it as on the window.
    if (!IsSettled()) {
        m_bSettled = false;
        return;
    }
    try {
        DrawSettled(part, m_pUnsettled);
    } catch (...) {
        m_bSettled = false;
        m_pUnsettled = nullptr;
        DropLayer();
    }
}

CView::LayerDrawing CSwoop2View::MakeLayerDrawing() {
    const CSwoop2Doc* doc = GetDocument();
    if (doc == nullptr)
        return {};
    doc->PrepareForReaders();
    const CCurve* leftOut = doc->m_pSelected;
    m_pDrawnUnsettled = leftOut;
    m_nDrawnSelection = doc->SelectionChangeCount();
    // The other selected curves stay off the layer too; the set is the drawing's own copy.
    auto others = std::make_shared<const std::unordered_set<const CCurve*>>(
        leftOut != nullptr ? doc->OtherSelected() : std::unordered_set<const CCurve*>());
    return [doc, leftOut, others](CDC* pDC, const std::function<bool()>& keepGoing) {
        // A few hundred curves take a fraction of a millisecond: the window waits no longer for
        // the gate.
        constexpr std::size_t kCurvesPerStretch = 256;
        CRect clip;
        pDC->GetClipBox(&clip);
        std::vector<const CCurve*> meeting;
        doc->CurvesMeeting(clip, meeting);
        const bool anyOthers = !others->empty();
        for (std::size_t i = 0; i < meeting.size(); ++i) {
            if (i % kCurvesPerStretch == kCurvesPerStretch - 1 && !keepGoing())
                return false;
            if (meeting[i] != leftOut && !(anyOthers && others->count(meeting[i]) != 0))
                meeting[i]->Draw(pDC);
        }
        return true;
    };
}

void CSwoop2View::OnLayerDrawn() {
    // Any edit since the drawing began gave it up, so the drawing is as it was then.
    const CSwoop2Doc* doc = GetDocument();
    m_bSettled = false;
    if (doc == nullptr || doc->m_pSelected != m_pDrawnUnsettled ||
        doc->SelectionChangeCount() != m_nDrawnSelection)
        return;
    m_pUnsettled = m_pDrawnUnsettled;
    m_nSettledSelection = m_nDrawnSelection;
    m_nSettledCurves = doc->m_curves.size();
    m_nSettledDeletions = doc->DeletedCurveCount();
    m_nSettledRestorations = doc->RestoredCurveCount();
    m_bSettled = true;
}

bool CSwoop2View::IsSettled() const {
    const CSwoop2Doc* doc = GetDocument();
    return m_bSettled && doc != nullptr && IsLayerKept() && doc->m_pSelected == m_pUnsettled &&
           doc->m_curves.size() == m_nSettledCurves &&
           doc->DeletedCurveCount() == m_nSettledDeletions &&
           doc->RestoredCurveCount() == m_nSettledRestorations &&
           doc->SelectionChangeCount() == m_nSettledSelection;
}

void CSwoop2View::SettleAll() {
    m_bSettled = false;
    const CSwoop2Doc* doc = GetDocument();
    if (doc == nullptr)
        return;
    const CCurve* selected = doc->m_pSelected;
    DropLayer();
    const bool made = DrawOnLayer(nullptr, [&](CDC* pDC) { DrawCurves(pDC, selected); });
    if (!made)
        return;
    m_pUnsettled = selected;
    m_nSettledCurves = doc->m_curves.size();
    m_nSettledDeletions = doc->DeletedCurveCount();
    m_nSettledRestorations = doc->RestoredCurveCount();
    m_nSettledSelection = doc->SelectionChangeCount();
    m_bSettled = true;
}

void CSwoop2View::SettleEdit(const CRect& part) {
    // Until the layer has caught up with the edit, nothing trusts it; an edit it cannot follow
    // leaves it so, and the next repaint of a part makes a new one.
    if (!m_bSettled)
        return;
    m_bSettled = false;
    const CSwoop2Doc* doc = GetDocument();
    if (doc == nullptr || !IsLayerKept())
        return;
    // The other selected curves changed: the layer starts again at the next repaint.
    if (doc->SelectionChangeCount() != m_nSettledSelection)
        return;
    const auto& curves = doc->m_curves;
    const CCurve* selected = doc->m_pSelected;
    const bool onTop = doc->DeletedCurveCount() == m_nSettledDeletions &&
                       doc->RestoredCurveCount() == m_nSettledRestorations &&
                       curves.size() >= m_nSettledCurves;
    bool selectedIsNew = false;
    if (!onTop) {
        // Curves left the drawing or came back into the middle of it, all within the part,
        // which is drawn again from the curves as they are now. The curve the layer left out
        // may be among those that went, and the selection may still name it: neither is
        // followed then.
        const CCurve* gone = DrawSettled(part, m_pUnsettled) ? nullptr : m_pUnsettled;
        if (gone != nullptr)
            m_pUnsettled = nullptr;
        m_nSettledCurves = curves.size();
        m_nSettledDeletions = doc->DeletedCurveCount();
        m_nSettledRestorations = doc->RestoredCurveCount();
        if (gone != nullptr && selected == gone) {
            m_bSettled = true;
            return;
        }
    } else if (curves.size() > m_nSettledCurves) {
        // Curves put on top join the layer, all but a new selection, which it never held.
        DrawOnLayer(nullptr, [&](CDC* pDC) {
            for (std::size_t i = m_nSettledCurves; i < curves.size(); ++i) {
                if (curves[i].get() == selected)
                    selectedIsNew = true;
                else if (doc->OtherSelected().count(curves[i].get()) == 0)
                    curves[i]->Draw(pDC);
            }
        });
        m_nSettledCurves = curves.size();
    }
    if (selected != m_pUnsettled) {
        // The previous selection settles; the new one leaves the layer. No curve went since
        // the previous one was last seen in the drawing, so it is still there.
        if (const CCurve* settled = m_pUnsettled)
            DrawOnLayer(nullptr, [settled](CDC* pDC) { settled->Draw(pDC); });
        if (selected != nullptr && !selectedIsNew)
            DrawSettled(ChangedPart::OfCurve(*selected, false), selected);
        m_pUnsettled = selected;
    }
    m_bSettled = true;
}

bool CSwoop2View::DrawSettled(const CRect& part, const CCurve* pLeftOut) {
    bool found = false;
    DrawOnLayer(&part, [&](CDC* pDC) {
        // The clip holds every pixel the part's units are drawn on, more than the part's own
        // fill where several units share a pixel.
        CRect clip;
        pDC->GetClipBox(&clip);
        pDC->FillSolidRect(&clip, RGB(255, 255, 255));
        found = DrawCurves(pDC, pLeftOut);
    });
    return found;
}
