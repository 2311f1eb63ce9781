#include "document/CurveStep.h"

#include "document/CSwoop2Doc.h"

CurveStep::CurveStep(CSwoop2Doc& doc, Kind kind, CCurve* curve, std::size_t index, CPoint from,
                     CPoint to)
    : m_doc(doc), m_kind(kind), m_pCurve(curve), m_nIndex(index), m_ptFrom(from), m_ptTo(to) {}

CurveStep::~CurveStep() = default;

void CurveStep::Undo() {
    Apply(false);
}

void CurveStep::Redo() {
    Apply(true);
}

void CurveStep::Apply(bool forward) {
    switch (m_kind) {
    case Kind::Insert:
        if (forward)
            m_doc.PutBack(m_pKept, m_nIndex);
        else
            m_doc.TakeOut(m_pCurve, m_pKept);
        break;
    case Kind::Remove:
        if (forward)
            m_doc.TakeOut(m_pCurve, m_pKept);
        else
            m_doc.PutBack(m_pKept, m_nIndex);
        break;
    case Kind::MovePoint:
        m_doc.SetPoint(m_pCurve, m_nIndex, forward ? m_ptTo : m_ptFrom);
        break;
    case Kind::AppendPoint:
        if (forward)
            m_doc.AppendAgain(m_pCurve, m_ptTo);
        else
            m_doc.DropLastPoint(m_pCurve);
        break;
    case Kind::Close:
        m_doc.SetClosed(m_pCurve, forward);
        break;
    case Kind::Shift:
        // Every move of a shift landed within the range, so the wrapping sum of its moves
        // undoes exactly.
        m_doc.ShiftCurves(m_shifted, forward ? m_ptTo : CPoint() - m_ptTo);
        break;
    case Kind::Restack:
        if (forward)
            m_doc.Restack(m_pCurve, m_nTo);
        else
            m_doc.Restack(m_pCurve, m_nIndex);
        break;
    }
}

std::size_t CurveStep::Cost() const {
    std::size_t cost = sizeof(*this);
    // A curve that comes and goes is kept whole while it is out of the drawing.
    if (m_kind == Kind::Insert || m_kind == Kind::Remove)
        cost += sizeof(CCurve) + m_pCurve->m_points.size() * sizeof(CPoint);
    cost += m_shifted.size() * sizeof(CCurve*);
    return cost;
}
