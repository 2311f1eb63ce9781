#pragma once

#include "curve/CCurve.h"
#include "platform/Types.h"
#include "platform/framework/CDocument.h"

#include <cstdint>
#include <memory>
#include <vector>

class CArchive;

// The one document: every curve of the drawing in stacking order, the selection, and the id of
// the clipboard format that carries a curve between running copies of the program.
class CSwoop2Doc : public CDocument {
    DECLARE_DYNCREATE(CSwoop2Doc)
public:
    CSwoop2Doc();
    ~CSwoop2Doc() override;

    void Serialize(CArchive& ar) override;
    void DeleteContents() override;
    bool OnNewDocument() override;

    // Index 0 is painted first (bottom), the last curve last (top). The document owns them all.
    std::vector<std::unique_ptr<CCurve>> m_curves;
    CLIPFORMAT m_cfCurve = 0;
    // The selected curve, one of m_curves or null; the Draw tool extends it. Owns nothing.
    CCurve* m_pSelected = nullptr;
    // The control point that the last HitTestPoint found, or -1.
    std::int32_t m_nSelPoint = -1;

    // Appends an empty open curve on top and returns it; it is not selected.
    CCurve* NewCurve();
    // Appends a curve the caller made; the document owns it from then on. Does not repaint.
    void AddCurve(CCurve* pCurve);
    // Takes the curve out and deletes it, when the document holds it. The selection is the
    // caller's to clear.
    void RemoveCurve(CCurve* pCurve);

    // The topmost curve whose control-point bounds contain the point, or null.
    CCurve* HitTestCurve(CPoint point) const;
    // Whether a control point of the curve lies under the point; remembers which in m_nSelPoint.
    bool HitTestPoint(const CCurve* pCurve, CPoint point);
    // Moves the control point found by the last HitTestPoint on the selected curve.
    void MoveSelectedPoint(std::int32_t dx, std::int32_t dy);
};
