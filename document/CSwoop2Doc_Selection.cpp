#include "document/CSwoop2Doc.h"

#include "document/ChangedPart.h"
#include "document/CurveStep.h"
#include "document/StepGroup.h"
#include "platform/framework/CView.h"
#include "platform/geometry/PointSpan.h"
#include "platform/geometry/Saturate.h"

#include <algorithm>
#include <climits>

namespace {

// The selected curves in no particular order, for edits that do not care about it.
std::vector<CCurve*> Unordered(CCurve* current, const std::unordered_set<const CCurve*>& others) {
    std::vector<CCurve*> curves;
    if (current == nullptr)
        return curves;
    curves.reserve(others.size() + 1);
    curves.push_back(current);
    for (const CCurve* other : others)
        curves.push_back(const_cast<CCurve*>(other));
    return curves;
}

} // namespace

bool CSwoop2Doc::IsSelected(const CCurve* pCurve) const {
    if (pCurve == nullptr || m_pSelected == nullptr)
        return false;
    return pCurve == m_pSelected || m_others.count(pCurve) != 0;
}

std::size_t CSwoop2Doc::SelectedCount() const {
    return m_pSelected == nullptr ? 0 : 1 + m_others.size();
}

std::vector<CCurve*> CSwoop2Doc::Selection() const {
    std::vector<CCurve*> selection;
    if (m_pSelected == nullptr)
        return selection;
    if (m_others.empty()) {
        selection.push_back(m_pSelected);
        return selection;
    }
    selection.reserve(m_others.size() + 1);
    for (const auto& curve : m_curves) {
        if (IsSelected(curve.get()))
            selection.push_back(curve.get());
    }
    return selection;
}

CRect CSwoop2Doc::SelectionHandles() const {
    CRect part;
    for (const CCurve* curve : Unordered(m_pSelected, m_others)) {
        const CRect handles = ChangedPart::Handles(*curve);
        UnionRect(&part, &part, &handles);
    }
    return part;
}

void CSwoop2Doc::DropOthers() {
    if (m_others.empty())
        return;
    m_others.clear();
    ++m_nSelectionChanges;
}

void CSwoop2Doc::SelectAlone(CCurve* pCurve) {
    if (m_pSelected == pCurve && m_others.empty())
        return;
    CRect part = SelectionHandles();
    DropOthers();
    m_pSelected = pCurve;
    if (pCurve != nullptr) {
        const CRect shown = ChangedPart::Handles(*pCurve);
        UnionRect(&part, &part, &shown);
    }
    UpdateAllViews(nullptr, HINT_UPDATE_RECT, &part);
}

void CSwoop2Doc::MakeCurrent(CCurve* pCurve) {
    if (pCurve == m_pSelected || m_others.count(pCurve) == 0)
        return;
    m_others.erase(pCurve);
    m_others.insert(m_pSelected);
    m_pSelected = pCurve;
    ++m_nSelectionChanges;
    CRect unchanged;
    UpdateAllViews(nullptr, HINT_UPDATE_RECT, &unchanged);
}

void CSwoop2Doc::CancelPointDrag() {
    auto* open = dynamic_cast<CurveStep*>(GetHistory().OpenStep());
    if (open == nullptr || open->GetKind() != CurveStep::Kind::MovePoint)
        return;
    // Taken back as Undo takes it back, so that the clean mark stays true.
    Undo();
}

void CSwoop2Doc::ToggleSelected(CCurve* pCurve) {
    if (pCurve == nullptr)
        return;
    const CRect part = ChangedPart::Handles(*pCurve);
    if (!IsSelected(pCurve)) {
        if (m_pSelected != nullptr)
            m_others.insert(m_pSelected);
        m_pSelected = pCurve;
    } else if (pCurve != m_pSelected) {
        m_others.erase(pCurve);
    } else if (m_others.empty()) {
        m_pSelected = nullptr;
    } else {
        // The topmost of the others becomes current.
        m_pSelected = nullptr;
        for (auto it = m_curves.rbegin(); it != m_curves.rend() && m_pSelected == nullptr; ++it) {
            if (m_others.count(it->get()) != 0)
                m_pSelected = it->get();
        }
        m_others.erase(m_pSelected);
    }
    ++m_nSelectionChanges;
    UpdateAllViews(nullptr, HINT_UPDATE_RECT, const_cast<CRect*>(&part));
}

void CSwoop2Doc::SelectCurves(const std::vector<CCurve*>& curves, bool add) {
    SelectCurves(curves, add, add);
}

void CSwoop2Doc::SelectCurves(const std::vector<CCurve*>& curves, bool add, bool onlyAdds) {
    CRect part = SelectionHandles();
    if (!add) {
        m_others.clear();
        m_pSelected = nullptr;
    }
    m_others.reserve(m_others.size() + curves.size());
    for (CCurve* curve : curves) {
        if (curve != m_pSelected)
            m_others.insert(curve);
    }
    if (m_pSelected == nullptr && !curves.empty()) {
        m_pSelected = curves.back();
        m_others.erase(m_pSelected);
    }
    ++m_nSelectionChanges;
    const CRect shown = SelectionHandles();
    UnionRect(&part, &part, &shown);
    UpdateAllViews(nullptr, onlyAdds ? HINT_HANDLES_ADDED : HINT_UPDATE_RECT, &part);
}

std::vector<CCurve*> CSwoop2Doc::CurvesInside(const CRect& rect) const {
    std::vector<CCurve*> inside;
    // The band's right and bottom edges are inside it; the query's are not.
    const auto past = [](std::int32_t v) { return v == INT32_MAX ? v : v + 1; };
    const CRect reach(rect.left, rect.top, past(rect.right), past(rect.bottom));
    ForCurvesMeeting(reach, [&](CCurve* curve) {
        if (curve->m_points.empty())
            return true;
        const CRect bounds = curve->GetBounds();
        if (bounds.left >= rect.left && bounds.right <= rect.right && bounds.top >= rect.top &&
            bounds.bottom <= rect.bottom)
            inside.push_back(curve);
        return true;
    });
    // Found from the top down; the selection lists them bottom first.
    std::reverse(inside.begin(), inside.end());
    return inside;
}

void CSwoop2Doc::OnEditSelectAll() {
    std::vector<CCurve*> all;
    all.reserve(m_curves.size());
    for (const auto& curve : m_curves)
        all.push_back(curve.get());
    // Every curve selected before is among all of them: the selection only grows.
    SelectCurves(all, false, true);
}

void CSwoop2Doc::ShiftCurves(const std::vector<CCurve*>& curves, CPoint delta) {
    for (CCurve* curve : curves) {
        if (m_bTouching)
            m_touched.push_back(curve);
        CRect part = ChangedPart::OfCurve(*curve, true);
        curve->Offset(delta.x, delta.y);
        m_index.Refile(curve);
        const CRect after = ChangedPart::OfCurve(*curve, true);
        UnionRect(&part, &part, &after);
        // Each curve's own part: curves far apart repaint two small parts, not all between.
        UpdateAllViews(nullptr, HINT_UPDATE_RECT, &part);
    }
}

void CSwoop2Doc::NudgeSelection(std::int64_t dx, std::int64_t dy) {
    std::vector<CCurve*> curves = Unordered(m_pSelected, m_others);
    // The selection moves as one and stops as one when any of its points reaches an end.
    PointSpan span = SpanOfPoints(nullptr, 0);
    for (const CCurve* curve : curves)
        span = UnionSpan(span, SpanOfPoints(curve->m_points.data(), curve->m_points.size()));
    if (span.IsEmpty())
        return;
    dx = ClampShift(span.left, span.right, dx);
    dy = ClampShift(span.top, span.bottom, dy);
    if (dx == 0 && dy == 0)
        return;
    const CPoint delta(static_cast<std::int32_t>(dx), static_cast<std::int32_t>(dy));
    std::sort(curves.begin(), curves.end(), std::less<>());
    m_stepPart = CRect();
    auto* open = dynamic_cast<CurveStep*>(GetHistory().OpenStep());
    if (open != nullptr && open->GetKind() == CurveStep::Kind::Shift && open->Shifted() == curves) {
        // A run of nudges is one step.
        ShiftCurves(curves, delta);
        open->ShiftFurther(delta);
        UpdateModifiedFlag();
    } else {
        auto step = std::make_unique<CurveStep>(*this, CurveStep::Kind::Shift, m_pSelected, 0,
                                                CPoint(), delta);
        step->SetShifted(curves);
        GetHistory().Reserve();
        ShiftCurves(curves, delta);
        Record(std::move(step), true);
    }
    UpdateStepPart();
}

void CSwoop2Doc::Restack(CCurve* pCurve, std::size_t to) {
    const std::size_t from = IndexOf(pCurve);
    if (from == m_curves.size() || to >= m_curves.size())
        return;
    if (m_bTouching)
        m_touched.push_back(pCurve);
    std::unique_ptr<CCurve> moving = std::move(m_curves[from]);
    m_curves.erase(m_curves.begin() + std::ptrdiff_t(from));
    m_curves.insert(m_curves.begin() + std::ptrdiff_t(to), std::move(moving));
    // The index answers in stacking order: it files the curves again at its next query.
    m_index.Clear();
    // Every curve is black on white: the order changes no pixel, but the views are told.
    const CRect part = pCurve->GetExtent();
    UnionRect(&m_stepPart, &m_stepPart, &part);
}

bool CSwoop2Doc::CanArrange(Arrangement how) const {
    if (m_pSelected == nullptr)
        return false;
    const std::size_t count = m_curves.size();
    // Whether some unselected curve lies above (or below) some selected one.
    if (how == Arrangement::ToFront || how == Arrangement::Forward) {
        bool unselectedAbove = false;
        for (std::size_t i = count; i > 0; --i) {
            const bool selected = IsSelected(m_curves[i - 1].get());
            if (selected && unselectedAbove)
                return true;
            unselectedAbove = unselectedAbove || !selected;
        }
        return false;
    }
    bool unselectedBelow = false;
    for (std::size_t i = 0; i < count; ++i) {
        const bool selected = IsSelected(m_curves[i].get());
        if (selected && unselectedBelow)
            return true;
        unselectedBelow = unselectedBelow || !selected;
    }
    return false;
}

void CSwoop2Doc::Arrange(Arrangement how) {
    if (!CanArrange(how))
        return;
    // Each move of one curve is a step of its own kind; the command is their group.
    std::vector<std::pair<CCurve*, std::size_t>> moves;
    const std::size_t count = m_curves.size();
    switch (how) {
    case Arrangement::ToFront:
        for (CCurve* curve : Selection())
            moves.emplace_back(curve, count - 1);
        break;
    case Arrangement::ToBack: {
        const std::vector<CCurve*> selection = Selection();
        for (auto it = selection.rbegin(); it != selection.rend(); ++it)
            moves.emplace_back(*it, 0);
        break;
    }
    case Arrangement::Forward:
    case Arrangement::Backward: {
        // Each selected curve passes the unselected neighbour above (below) it; a block of
        // selected curves passes it together.
        std::vector<bool> selected(count);
        std::vector<CCurve*> order(count);
        for (std::size_t i = 0; i < count; ++i) {
            order[i] = m_curves[i].get();
            selected[i] = IsSelected(order[i]);
        }
        const bool up = how == Arrangement::Forward;
        for (std::size_t n = 1; n < count; ++n) {
            const std::size_t i = up ? count - 1 - n : n;
            const std::size_t j = up ? i + 1 : i - 1;
            if (selected[i] && !selected[j]) {
                moves.emplace_back(order[i], j);
                std::swap(order[i], order[j]);
                selected[i] = false;
                selected[j] = true;
            }
        }
        break;
    }
    }
    m_stepPart = CRect();
    {
        const StepGroup oneStep(GetHistory());
        for (const auto& [curve, to] : moves) {
            auto step =
                std::make_unique<CurveStep>(*this, CurveStep::Kind::Restack, curve, IndexOf(curve));
            step->SetRestackedTo(to);
            GetHistory().Reserve();
            Restack(curve, to);
            Record(std::move(step));
        }
    }
    UpdateModifiedFlag();
    UpdateStepPart();
}
