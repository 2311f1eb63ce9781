#include "document/CSwoop2Doc.h"

#include "curve/PointBlock.h"
#include "document/ChangedPart.h"
#include "document/CurveStep.h"
#include "platform/framework/CView.h"
#include "platform/geometry/Saturate.h"
#include "platform/ole/ClipboardFormat.h"

#include <algorithm>
#include <cstdint>

IMPLEMENT_DYNCREATE(CSwoop2Doc, CDocument)

BEGIN_MESSAGE_MAP(CSwoop2Doc, CDocument)
ON_COMMAND(ID_EDIT_COPY, &CSwoop2Doc::OnEditCopy)
ON_COMMAND(ID_EDIT_CUT, &CSwoop2Doc::OnEditCut)
ON_COMMAND(ID_EDIT_PASTE, &CSwoop2Doc::OnEditPaste)
ON_COMMAND(ID_EDIT_CLEAR, &CSwoop2Doc::OnEditClear)
ON_COMMAND(ID_EDIT_SELECT_ALL, &CSwoop2Doc::OnEditSelectAll)
END_MESSAGE_MAP()

CSwoop2Doc::CSwoop2Doc()
    // Every copy of the program registers the same name and so gets the same id: curves travel
    // between them. A failed registration leaves 0, which offers and finds nothing.
    : m_cfCurve(static_cast<CLIPFORMAT>(RegisterClipboardFormatW(L"Tav.Swoop"))),
      // Several curves travel under a name of their own, which a copy that knows only one
      // curve does not look for.
      m_cfCurves(static_cast<CLIPFORMAT>(RegisterClipboardFormatW(L"Tav.Swoop.Curves"))) {}

CSwoop2Doc::~CSwoop2Doc() {
    CSwoop2Doc::DeleteContents();
}

bool CSwoop2Doc::OnNewDocument() {
    return CDocument::OnNewDocument();
}

void CSwoop2Doc::DeleteContents() {
    // The history names the curves that go now, and keeps some that left before: it goes first.
    GetHistory().Clear();
    // In index order, as the stacking order lists them. The curves of a file all go, so none
    // of them moves its points out of the file's block on the way.
    PointBlock::BulkRelease bulk;
    for (auto& curve : m_curves)
        curve.reset();
    m_nDeletedCurves += m_curves.size();
    m_curves.clear();
    m_index.Clear();
    m_pSelected = nullptr;
    DropOthers();
    UpdateAllViews(nullptr);
}

CCurve* CSwoop2Doc::NewCurve() {
    auto curve = std::make_unique<CCurve>();
    auto step =
        std::make_unique<CurveStep>(*this, CurveStep::Kind::Insert, curve.get(), m_curves.size());
    GetHistory().Reserve();
    m_curves.push_back(std::move(curve));
    CCurve* added = m_curves.back().get();
    // The step stays open for the first point, which belongs to it.
    Record(std::move(step), true);
    // An empty curve draws nothing, and it is not selected: no part of any view changes.
    CRect unchanged;
    UpdateAllViews(nullptr, HINT_UPDATE_RECT, &unchanged);
    return added;
}

void CSwoop2Doc::AddCurve(std::unique_ptr<CCurve> pCurve) {
    if (!pCurve)
        return;
    m_curves.push_back(std::move(pCurve));
    // No step describes this curve: the history no longer leads back to any state it knew.
    GetHistory().Clear();
    GetHistory().ForgetClean();
    SetModifiedFlag();
}

void CSwoop2Doc::RemoveCurve(CCurve* pCurve) {
    const std::size_t index = IndexOf(pCurve);
    if (index == m_curves.size())
        return;
    auto step = std::make_unique<CurveStep>(*this, CurveStep::Kind::Remove, pCurve, index);
    GetHistory().Reserve();
    m_stepPart = CRect();
    // Its handles go too, whether or not it was the selection.
    TakeOut(pCurve, step->Kept());
    Record(std::move(step));
    UpdateStepPart();
}

void CSwoop2Doc::SyncIndex() const {
    // Curves put on top are the ones the index does not hold yet.
    std::size_t held = m_curves.size();
    while (held > 0 && !m_index.Holds(m_curves[held - 1].get()))
        --held;
    if (m_index.Count() != held) {
        // The list changed behind the document's back: the index starts again.
        m_index.Rebuild(m_curves, m_pSelected);
    } else {
        for (std::size_t i = held; i < m_curves.size(); ++i)
            m_index.Insert(m_curves[i].get(), i > 0 ? m_curves[i - 1].get() : nullptr, nullptr);
    }
    m_index.Loosen(m_pSelected);
}

void CSwoop2Doc::CurvesMeeting(const CRect& part, std::vector<const CCurve*>& out) const {
    SyncIndex();
    if (!m_index.IsWide(part)) {
        m_index.Meeting(part, out);
        return;
    }
    out.clear();
    for (const auto& curve : m_curves) {
        if (CurveIndex::Reaches(*curve, part))
            out.push_back(curve.get());
    }
}

bool CSwoop2Doc::Holds(const CCurve* pCurve) const {
    SyncIndex();
    return m_index.Holds(pCurve);
}

std::vector<const CCurve*> CSwoop2Doc::CurvesMeeting(const CRect& part) const {
    std::vector<const CCurve*> out;
    CurvesMeeting(part, out);
    return out;
}

CCurve* CSwoop2Doc::HitTestCurve(CPoint point) const {
    // No bounds reach the last column or row of the range: their right and bottom edges are
    // outside.
    if (point.x == INT32_MAX || point.y == INT32_MAX)
        return nullptr;
    const std::vector<const CCurve*> near =
        CurvesMeeting(CRect(point.x, point.y, point.x + 1, point.y + 1));
    for (auto it = near.rbegin(); it != near.rend(); ++it) {
        if ((*it)->PtInBounds(point))
            // The document owns its curves; the index only finds them.
            return const_cast<CCurve*>(*it);
    }
    return nullptr;
}

void CSwoop2Doc::ForCurvesMeeting(const CRect& part,
                                  const std::function<bool(CCurve*)>& visit) const {
    // The index offers every curve that may meet the part, top first; the visitor decides.
    const std::vector<const CCurve*> near = CurvesMeeting(part);
    for (auto it = near.rbegin(); it != near.rend(); ++it) {
        if (!visit(const_cast<CCurve*>(*it)))
            return;
    }
}

bool CSwoop2Doc::HitTestPoint(const CCurve* pCurve, CPoint point, std::int32_t half) {
    const std::size_t count = pCurve ? pCurve->m_points.size() : 0;
    for (std::size_t i = 0; i < count && i <= static_cast<std::size_t>(INT32_MAX); ++i) {
        const CPoint& pt = pCurve->m_points[i];
        CRect square(pt.x, pt.y, pt.x, pt.y);
        InflateRect(&square, half, half);
        if (PtInRect(&square, point)) {
            m_nSelPoint = static_cast<std::int32_t>(i);
            return true;
        }
    }
    m_nSelPoint = -1;
    return false;
}

void CSwoop2Doc::MoveSelectedPoint(std::int32_t dx, std::int32_t dy) {
    if (!m_pSelected)
        return;
    // The index may be stale when the selection changed after the hit test; the curve then
    // ignores it.
    const bool isPoint =
        m_nSelPoint >= 0 && static_cast<std::size_t>(m_nSelPoint) < m_pSelected->m_points.size();
    const auto index = static_cast<std::size_t>(isPoint ? m_nSelPoint : 0);
    // Views repaint the segments around the point and the handles that move with it, before
    // and after: a step costs the same in a drawing of any size.
    CRect part = isPoint ? ChangedPart::AroundPoint(*m_pSelected, index, true) : CRect();
    const CPoint from = isPoint ? m_pSelected->m_points[index] : CPoint();
    // Held past an end of the range, the point stops there rather than wrap to the far side.
    const CPoint to = SaturateAdd(from, dx, dy);
    if (isPoint && to != from) {
        // The moves of one drag are one step: the first records where the point was, the
        // others only where it went.
        const CPoint delta = to - from;
        auto* open = dynamic_cast<CurveStep*>(GetHistory().OpenStep());
        if (open != nullptr && open->GetKind() == CurveStep::Kind::MovePoint &&
            open->GetCurve() == m_pSelected && open->GetIndex() == index) {
            m_pSelected->MovePoint(m_nSelPoint, delta.x, delta.y);
            open->SetTo(to);
            UpdateModifiedFlag();
        } else {
            auto step = std::make_unique<CurveStep>(*this, CurveStep::Kind::MovePoint, m_pSelected,
                                                    index, from, to);
            GetHistory().Reserve();
            m_pSelected->MovePoint(m_nSelPoint, delta.x, delta.y);
            Record(std::move(step), true);
        }
        const CRect after = ChangedPart::AroundPoint(*m_pSelected, index, true);
        UnionRect(&part, &part, &after);
    }
    UpdateAllViews(nullptr, HINT_UPDATE_RECT, &part);
}
