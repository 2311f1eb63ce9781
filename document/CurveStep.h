#pragma once

#include "curve/CCurve.h"
#include "platform/framework/CUndoStep.h"
#include "platform/geometry/CPoint.h"

#include <cstddef>
#include <memory>
#include <vector>

class CSwoop2Doc;

// One edit of the drawing, as the history keeps it: a curve put in or taken out of the stacking
// order, one control point moved or appended, or a curve closed. It keeps only what the edit
// changed: two coordinates for a point, the curve object itself while it is out of the drawing,
// so that the other steps that name it stay true however often it goes and comes back.
//
// Taking a step back or doing it again makes the curve it touched the selection, where that
// curve is still in the drawing.
class CurveStep : public CUndoStep {
public:
    enum class Kind {
        Insert,      // the curve came into the stacking order at the index
        Remove,      // the curve left the stacking order from the index
        MovePoint,   // point index of the curve went from one place to another
        AppendPoint, // the point was appended to the curve
        Close,       // the open curve was closed
        Shift,       // the curves moved by the offset (to), all together
        Restack,     // the curve went from the index to another place in the stacking order
    };

    CurveStep(CSwoop2Doc& doc, Kind kind, CCurve* curve, std::size_t index = 0, CPoint from = {},
              CPoint to = {});
    ~CurveStep() override;

    Kind GetKind() const { return m_kind; }
    CCurve* GetCurve() const { return m_pCurve; }
    std::size_t GetIndex() const { return m_nIndex; }
    // A point drag goes on: the point's latest place is where Redo puts it.
    void SetTo(CPoint to) { m_ptTo = to; }
    // Where a curve that leaves the drawing is kept until it comes back.
    std::unique_ptr<CCurve>& Kept() { return m_pKept; }
    // The curves a shift moves, and a shift that goes on moving them.
    void SetShifted(std::vector<CCurve*> curves) { m_shifted = std::move(curves); }
    const std::vector<CCurve*>& Shifted() const { return m_shifted; }
    void ShiftFurther(CPoint delta) { m_ptTo = m_ptTo + delta; }
    // Where a restacked curve went.
    void SetRestackedTo(std::size_t to) { m_nTo = to; }

    void Undo() override;
    void Redo() override;
    std::size_t Cost() const override;

private:
    void Apply(bool forward);

    CSwoop2Doc& m_doc;
    Kind m_kind;
    CCurve* m_pCurve;
    std::size_t m_nIndex;
    CPoint m_ptFrom;
    CPoint m_ptTo;
    std::unique_ptr<CCurve> m_pKept;
    std::vector<CCurve*> m_shifted;
    std::size_t m_nTo = 0;
};
