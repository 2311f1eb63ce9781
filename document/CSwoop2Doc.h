#pragma once

#include "curve/CCurve.h"
#include "platform/Types.h"
#include "platform/framework/CDocument.h"
#include "platform/ole/GlobalMemory.h"

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
    void AddCurve(std::unique_ptr<CCurve> pCurve);
    // Takes the curve out and deletes it, when the document holds it. The selection is the
    // caller's to clear.
    void RemoveCurve(CCurve* pCurve);
    // How many curves the document has deleted so far. A caller that kept a curve's address
    // across an event loop knows from it whether the address may have gone stale.
    std::uint64_t DeletedCurveCount() const { return m_nDeletedCurves; }

    // The topmost curve whose control-point bounds contain the point, or null.
    CCurve* HitTestCurve(CPoint point) const;
    // Whether a control point of the curve lies under the point; remembers which in m_nSelPoint.
    // half: how far from the point, in units, the square reaches on each side; a view zoomed
    // in or out asks for the square that is 8 by 8 on its screen.
    bool HitTestPoint(const CCurve* pCurve, CPoint point, std::int32_t half = kHitHalf);
    static constexpr std::int32_t kHitHalf = 4;
    // Moves the control point found by the last HitTestPoint on the selected curve.
    void MoveSelectedPoint(std::int32_t dx, std::int32_t dy);

    // The curve transfer record: a 32-bit byte size, then the points as 32-bit x, y pairs, all
    // little-endian. A new block the caller owns; null when none can be had.
    HGLOBAL CurveToGlobal(const CCurve* pCurve) const;
    // A new closed curve, or null for a null, unlockable or inconsistent block. The block stays
    // the caller's.
    std::unique_ptr<CCurve> CurveFromGlobal(HGLOBAL hGlobal) const;
    // Takes a record into the drawing, as Paste and a drop do: the decoded curve goes on top,
    // becomes the selection, and the drawing is marked modified and repainted. Given a corner,
    // the curve is first moved so that its bounds' top-left corner lands there; otherwise it
    // keeps the record's coordinates. Returns the curve, or null (and changes nothing) when
    // the record holds none. The block stays the caller's.
    CCurve* TakeRecord(HGLOBAL hGlobal, const CPoint* pTopLeft = nullptr);
    // A packed 24-bit picture of the curve for other programs, drawn on a surface compatible
    // with the view the command is routed through. Null when there is no such view, for a
    // curve without points, and for a picture too large to offer.
    HGLOBAL CurveToDib(const CCurve* pCurve) const;

    // Commands of the Edit menu. Copy and Cut act on the selected curve.
    void OnEditCopy();
    void OnEditCut();
    void OnEditPaste();

    DECLARE_MESSAGE_MAP()

private:
    std::uint64_t m_nDeletedCurves = 0;
};
