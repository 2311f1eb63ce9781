#include "document/CSwoop2Doc.h"

#include "document/ChangedPart.h"
#include "document/CurveStep.h"
#include "platform/framework/CView.h"

#include <algorithm>
#include <climits>

namespace {

// What a change covers once it is made, when working that out fails for want of memory: the
// edit is done and must not go unseen, so every part of every view is repainted.
template <class Part> CRect PartAfter(Part part) noexcept {
    try {
        return part();
    } catch (...) {
        return CRect(INT_MIN, INT_MIN, INT_MAX, INT_MAX);
    }
}

} // namespace

std::size_t CSwoop2Doc::IndexOf(const CCurve* pCurve) const {
    // Steps mostly touch the top of the stacking order: the search starts there.
    for (std::size_t i = m_curves.size(); i > 0; --i) {
        if (m_curves[i - 1].get() == pCurve)
            return i - 1;
    }
    return m_curves.size();
}

void CSwoop2Doc::Record(std::unique_ptr<CurveStep> step, bool open) {
    GetHistory().Push(std::move(step), open);
    UpdateModifiedFlag();
}

void CSwoop2Doc::UpdateStepPart() {
    CRect part = m_stepPart;
    m_stepPart = CRect();
    UpdateAllViews(nullptr, HINT_UPDATE_RECT, &part);
}

void CSwoop2Doc::Select(CCurve* pCurve) {
    if (m_bTouching && pCurve != nullptr)
        m_touched.push_back(pCurve);
    if (m_pSelected == pCurve && m_others.empty())
        return;
    CRect part = SelectionHandles();
    DropOthers();
    if (pCurve != nullptr) {
        const CRect shown = ChangedPart::Handles(*pCurve);
        UnionRect(&part, &part, &shown);
    }
    m_pSelected = pCurve;
    UpdateAllViews(nullptr, HINT_UPDATE_RECT, &part);
}

void CSwoop2Doc::PutBack(std::unique_ptr<CCurve>& kept, std::size_t index) {
    CCurve* curve = kept.get();
    if (curve == nullptr)
        return;
    index = std::min(index, m_curves.size());
    CRect part = ChangedPart::OfCurve(*curve, true);
    const CRect handles = SelectionHandles();
    UnionRect(&part, &part, &handles);
    DropOthers();
    if (m_bTouching)
        m_touched.push_back(curve);
    // Nothing has changed if the list cannot grow.
    m_curves.insert(m_curves.begin() + std::ptrdiff_t(index), std::move(kept));
    if (index + 1 < m_curves.size()) {
        ++m_nRestoredCurves;
        // A curve back below the top takes its place in the index at once; one on top is
        // found there at the next question.
        const CCurve* below = index > 0 ? m_curves[index - 1].get() : nullptr;
        const CCurve* above = m_curves[index + 1].get();
        if ((below == nullptr || m_index.Holds(below)) && m_index.Holds(above))
            m_index.Insert(curve, below, above);
    }
    m_pSelected = curve;
    UnionRect(&m_stepPart, &m_stepPart, &part);
}

void CSwoop2Doc::TakeOut(CCurve* pCurve, std::unique_ptr<CCurve>& kept) {
    const std::size_t index = IndexOf(pCurve);
    if (index == m_curves.size())
        return;
    const CRect part = ChangedPart::OfCurve(*pCurve, true);
    // The selection lets go of the curve before any view hears of its leaving; another selected
    // curve, the topmost, becomes current.
    if (m_others.erase(pCurve) != 0)
        ++m_nSelectionChanges;
    if (m_pSelected == pCurve) {
        m_pSelected = nullptr;
        if (!m_others.empty()) {
            for (std::size_t i = m_curves.size(); i > 0 && m_pSelected == nullptr; --i) {
                if (m_others.count(m_curves[i - 1].get()) != 0)
                    m_pSelected = m_curves[i - 1].get();
            }
            m_others.erase(m_pSelected);
            ++m_nSelectionChanges;
        }
    }
    kept = std::move(m_curves[index]);
    m_curves.erase(m_curves.begin() + std::ptrdiff_t(index));
    m_index.Remove(pCurve);
    ++m_nDeletedCurves;
    UnionRect(&m_stepPart, &m_stepPart, &part);
}

void CSwoop2Doc::SetPoint(CCurve* pCurve, std::size_t index, CPoint point) {
    Select(pCurve);
    if (index >= pCurve->m_points.size())
        return;
    const CRect before = ChangedPart::AroundPoint(*pCurve, index, true);
    const CPoint delta = point - pCurve->m_points[index];
    // Moved, not set, so that the curve keeps its extent up to date at the cost of one point.
    pCurve->MovePoint(static_cast<std::int32_t>(index), delta.x, delta.y);
    const CRect after = PartAfter([&] { return ChangedPart::AroundPoint(*pCurve, index, true); });
    UnionRect(&m_stepPart, &m_stepPart, &before);
    UnionRect(&m_stepPart, &m_stepPart, &after);
}

void CSwoop2Doc::AppendAgain(CCurve* pCurve, CPoint point) {
    Select(pCurve);
    const std::size_t last = pCurve->m_points.size();
    CRect part = last > 0 ? ChangedPart::AroundPoint(*pCurve, last - 1, true) : CRect();
    pCurve->m_points.push_back(point);
    const CRect after = PartAfter([&] { return ChangedPart::AroundPoint(*pCurve, last, true); });
    UnionRect(&part, &part, &after);
    UnionRect(&m_stepPart, &m_stepPart, &part);
}

void CSwoop2Doc::DropLastPoint(CCurve* pCurve) {
    Select(pCurve);
    const std::size_t count = pCurve->m_points.size();
    if (count == 0)
        return;
    CRect part = ChangedPart::AroundPoint(*pCurve, count - 1, true);
    pCurve->m_points.pop_back();
    if (count > 1) {
        const CRect after =
            PartAfter([&] { return ChangedPart::AroundPoint(*pCurve, count - 2, true); });
        UnionRect(&part, &part, &after);
    }
    UnionRect(&m_stepPart, &m_stepPart, &part);
}

void CSwoop2Doc::SetClosed(CCurve* pCurve, bool closed) {
    Select(pCurve);
    // The closed curve reaches wherever the open one did.
    const CRect part = ChangedPart::OfCurve(*pCurve, true);
    pCurve->m_bClosed = closed;
    UnionRect(&m_stepPart, &m_stepPart, &part);
}

void CSwoop2Doc::AppendPoint(CCurve* pCurve, CPoint point) {
    if (pCurve == nullptr)
        return;
    // The first point of a new curve belongs to the step that added the curve.
    auto* open = dynamic_cast<CurveStep*>(GetHistory().OpenStep());
    if (open != nullptr && open->GetKind() == CurveStep::Kind::Insert &&
        open->GetCurve() == pCurve && pCurve->m_points.empty()) {
        pCurve->m_points.push_back(point);
        GetHistory().Recount();
        GetHistory().Seal();
        UpdateModifiedFlag();
        return;
    }
    auto step = std::make_unique<CurveStep>(*this, CurveStep::Kind::AppendPoint, pCurve,
                                            pCurve->m_points.size(), CPoint(), point);
    GetHistory().Reserve();
    pCurve->m_points.push_back(point);
    Record(std::move(step));
}

void CSwoop2Doc::CloseCurve(CCurve* pCurve) {
    if (pCurve == nullptr || pCurve->m_bClosed)
        return;
    auto step = std::make_unique<CurveStep>(*this, CurveStep::Kind::Close, pCurve);
    GetHistory().Reserve();
    pCurve->m_bClosed = true;
    Record(std::move(step));
}

void CSwoop2Doc::FinishCurve(CCurve* pCurve) {
    CUndoStack& history = GetHistory();
    if (pCurve == nullptr || history.CanRedo())
        return;
    // The steps of the curve's points and its closing lie right above the step that added it,
    // unless another edit came between: then they stay as they are.
    std::size_t count = 0;
    for (;; ++count) {
        const auto* step = dynamic_cast<const CurveStep*>(history.DoneStep(count));
        if (step == nullptr || step->GetCurve() != pCurve)
            return;
        if (step->GetKind() == CurveStep::Kind::Insert)
            break;
        if (step->GetKind() != CurveStep::Kind::AppendPoint &&
            step->GetKind() != CurveStep::Kind::Close)
            return;
    }
    // The curve object holds every point and its closing, and the step that added it puts it
    // back whole: the steps above it have nothing left to do.
    history.Fold(count);
    UpdateModifiedFlag();
}

void CSwoop2Doc::EndPointDrag() {
    GetHistory().Seal();
}

bool CSwoop2Doc::Undo() {
    return MoveInHistory(false);
}

bool CSwoop2Doc::Redo() {
    return MoveInHistory(true);
}

bool CSwoop2Doc::MoveInHistory(bool forward) {
    m_stepPart = CRect();
    m_touched.clear();
    m_bTouching = true;
    CUndoStep* moved = nullptr;
    try {
        moved = forward ? GetHistory().Redo() : GetHistory().Undo();
    } catch (...) {
        m_bTouching = false;
        throw;
    }
    m_bTouching = false;
    if (moved == nullptr)
        return false;
    SelectTouched();
    UpdateModifiedFlag();
    UpdateStepPart();
    return true;
}

void CSwoop2Doc::SelectTouched() {
    // A step on one curve has selected it already; a step on several selects all of them that
    // are still in the drawing.
    std::unordered_set<const CCurve*> touched(m_touched.begin(), m_touched.end());
    if (touched.size() == 1) {
        CCurve* only = m_touched.front();
        m_touched.clear();
        if (IndexOf(only) != m_curves.size())
            Select(only);
        return;
    }
    m_touched.clear();
    if (touched.empty())
        return;
    std::vector<CCurve*> present;
    for (const auto& curve : m_curves) {
        if (touched.count(curve.get()) != 0)
            present.push_back(curve.get());
    }
    CRect part = SelectionHandles();
    m_others.clear();
    m_pSelected = present.empty() ? nullptr : present.back();
    for (CCurve* curve : present) {
        if (curve != m_pSelected)
            m_others.insert(curve);
    }
    ++m_nSelectionChanges;
    const CRect shown = SelectionHandles();
    UnionRect(&part, &part, &shown);
    UnionRect(&m_stepPart, &m_stepPart, &part);
}
