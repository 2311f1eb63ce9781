#pragma once

#include "curve/CCurve.h"
#include "document/CurveIndex.h"
#include "platform/Types.h"
#include "platform/framework/CDocument.h"
#include "platform/ole/GlobalMemory.h"

#include <cstdint>
#include <functional>
#include <memory>
#include <unordered_set>
#include <vector>

class CArchive;
class CurveStep;

// The hint of an update that only adds curves to the selection, with the rectangle of the
// handles before and after: no curve and no point moved, so a view may keep its pixels and
// paint the new handles over them.
inline constexpr std::intptr_t HINT_HANDLES_ADDED = 0x7E52;

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
    std::size_t GetItemCount() const override { return m_curves.size(); }

    // Index 0 is painted first (bottom), the last curve last (top). The document owns them all.
    std::vector<std::unique_ptr<CCurve>> m_curves;
    CLIPFORMAT m_cfCurve = 0;
    // The id of the format that carries several curves.
    CLIPFORMAT m_cfCurves = 0;
    // The current curve of the selection, one of m_curves or null: the curve the user pressed
    // last, which the Draw tool extends. With no other curve selected it is the selection.
    // Owns nothing.
    CCurve* m_pSelected = nullptr;
    // The control point that the last HitTestPoint found, or -1.
    std::int32_t m_nSelPoint = -1;

    // Appends an empty open curve on top and returns it; it is not selected. The first point
    // appended to it belongs to the same step of the history: its Undo removes the curve.
    CCurve* NewCurve();
    // Appends a curve the caller made; the document owns it from then on. Does not repaint.
    // The history does not describe such a curve, so it starts again.
    void AddCurve(std::unique_ptr<CCurve> pCurve);
    // Takes the curve out of the drawing, when the document holds it; the history keeps it for
    // Undo. It is no longer the selection, not even while the views repaint.
    void RemoveCurve(CCurve* pCurve);
    // How many times a curve has left the drawing, deleted or kept by the history. A curve is
    // only ever freed after it left, so a caller that kept a curve's address across an event
    // loop knows from this whether the address may have gone stale.
    std::uint64_t DeletedCurveCount() const { return m_nDeletedCurves; }
    // How many times Undo or Redo has put a curve back into the stacking order below its top.
    std::uint64_t RestoredCurveCount() const { return m_nRestoredCurves; }

    // The Draw tool's edits of the curve being drawn. They record their steps but leave the
    // repaint to the caller, which knows whether the handles show.
    void AppendPoint(CCurve* pCurve, CPoint point);
    void CloseCurve(CCurve* pCurve);
    // The drawing of the curve ended: the steps of its points and its closing, when nothing came
    // between them, become the one step that added it.
    void FinishCurve(CCurve* pCurve);
    // A point drag ended: the next move of a point is a new step.
    void EndPointDrag();

    // Takes back the last step, or does again the last one taken back; false when there is
    // none. The curve the step touched becomes the selection, where it is still in the drawing.
    bool Undo();
    bool Redo();

    // Every curve whose drawing can reach the part, or whose bounds a press within it can pick,
    // bottom to top; perhaps a few more, never fewer. Costs what the part holds, not what the
    // drawing holds: an index of the curves' reach, kept by the edits, answers it.
    void CurvesMeeting(const CRect& part, std::vector<const CCurve*>& out) const;
    std::vector<const CCurve*> CurvesMeeting(const CRect& part) const;
    // Whether the curve is one of the drawing's.
    bool Holds(const CCurve* pCurve) const;

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
    // Where a drop puts the top-left corner of what it carries, taken in 64 bits so that a
    // corner past an end of the range can be stated and brought back.
    struct Landing {
        std::int64_t left = 0;
        std::int64_t top = 0;
    };
    // Takes a record into the drawing, as Paste and a drop do: the decoded curve goes on top,
    // becomes the selection, and the drawing is marked modified and repainted. Given a landing,
    // the curve is first moved so that its bounds' top-left corner lands there, or as near as
    // the range lets the whole curve go; otherwise it keeps the record's coordinates. Returns
    // the curve, or null (and changes nothing) when the record holds none. The block stays the
    // caller's.
    CCurve* TakeRecord(HGLOBAL hGlobal, const Landing* pLanding = nullptr);
    // A packed 24-bit picture of the curve for other programs, drawn on a surface compatible
    // with the view the command is routed through. Null when there is no such view, for a
    // curve without points, and for a picture too large to offer.
    HGLOBAL CurveToDib(const CCurve* pCurve) const;

    // Commands of the Edit menu. Copy, Cut and Delete act on the whole selection, each as one
    // step; Paste puts what the clipboard holds on top and selects it.
    void OnEditCopy();
    void OnEditCut();
    void OnEditPaste();
    // Delete: removes the selection without touching the clipboard.
    void OnEditClear();
    void OnEditSelectAll();
    // Offers the curves, in stacking order, to the clipboard: the one-curve record for one
    // curve, the record of several for more, and a picture of them all.
    void OfferCurves(const std::vector<CCurve*>& curves);

    // The selection: the current curve and any others beside it. With one curve or none it is
    // m_pSelected alone, which callers may still assign directly while no other is selected.
    bool IsSelected(const CCurve* pCurve) const;
    std::size_t SelectedCount() const;
    // The selected curves in stacking order, bottom first: what a transfer carries and what the
    // arrangement moves.
    std::vector<CCurve*> Selection() const;
    // The curve alone, or nothing with null.
    void SelectAlone(CCurve* pCurve);
    // A selected curve becomes the current one; the selection stays.
    void MakeCurrent(CCurve* pCurve);
    // A point drag is given up: the point goes back where the drag found it, as Undo puts it.
    void CancelPointDrag();
    // Shift+click: adds the curve, which becomes current, or takes it out when it was selected.
    void ToggleSelected(CCurve* pCurve);
    // Selects the curves, beside the selection when adding; the topmost becomes current when
    // nothing was selected before.
    void SelectCurves(const std::vector<CCurve*>& curves, bool add);
    // Curves selected beside the current one; they change only through the calls above, and
    // each change counts, so that a view knows its layer leaves out other curves now.
    const std::unordered_set<const CCurve*>& OtherSelected() const { return m_others; }
    std::uint64_t SelectionChangeCount() const { return m_nSelectionChanges; }

    // The curves whose control-point bounds lie wholly inside the rectangle (edges included), in
    // stacking order: what a rubber band selects.
    std::vector<CCurve*> CurvesInside(const CRect& rect) const;
    // The one query behind the hit tests and the band: offers, from the top of the stacking
    // order down, every curve whose bounds may meet the rectangle (edges included), until the
    // visitor returns false. The visitor makes the exact test; an index of bounds need only
    // leave out curves that cannot meet it.
    void ForCurvesMeeting(const CRect& rect, const std::function<bool(CCurve*)>& visit) const;
    // Brings what the queries keep up to date, so that threads that only read may then draw
    // and query the curves at the same time: the queries write nothing more until an edit.
    void PrepareForReaders() const { SyncIndex(); }

    // Moves every selected curve by the offset, or as far toward it as keeps every point in the
    // range. Nudges that follow one another with nothing between are one step.
    void NudgeSelection(std::int64_t dx, std::int64_t dy);
    // The arrangement: where the selected curves go in the stacking order, keeping their order
    // among themselves. Each is one step; CanArrange says whether it would change anything.
    enum class Arrangement { ToFront, Forward, Backward, ToBack };
    bool CanArrange(Arrangement how) const;
    void Arrange(Arrangement how);

    // Records of several curves, in stacking order: a 32-bit count, then for each curve a
    // 32-bit point count and its points as x, y pairs, all little-endian. Null when there is
    // nothing to offer.
    HGLOBAL CurvesToGlobal(const std::vector<CCurve*>& curves) const;
    // Closed curves, or none for a block that does not hold what its counts say.
    std::vector<std::unique_ptr<CCurve>> CurvesFromGlobal(HGLOBAL hGlobal) const;
    // Takes several curves into the drawing on top, in their order, as one step, and selects
    // them; placed as TakeRecord places one. Returns how many were taken.
    std::size_t TakeCurves(std::vector<std::unique_ptr<CCurve>> curves,
                           const Landing* pLanding = nullptr);

    DECLARE_MESSAGE_MAP()

private:
    friend class CurveStep;

    // The edits that steps repeat. Each either completes or throws having changed nothing but
    // the selection; each adds the part of the views it changed to m_stepPart, which the
    // caller repaints. An edit of a curve in place first makes that curve the selection, so
    // that the views see one curve change at a time.
    void Select(CCurve* pCurve);
    void PutBack(std::unique_ptr<CCurve>& kept, std::size_t index);
    void TakeOut(CCurve* pCurve, std::unique_ptr<CCurve>& kept);
    void SetPoint(CCurve* pCurve, std::size_t index, CPoint point);
    void AppendAgain(CCurve* pCurve, CPoint point);
    void DropLastPoint(CCurve* pCurve);
    void SetClosed(CCurve* pCurve, bool closed);
    void ShiftCurves(const std::vector<CCurve*>& curves, CPoint delta);
    void Restack(CCurve* pCurve, std::size_t to);
    // Lets go of the other selected curves, counting the change when there were any.
    void DropOthers();
    // Where the handles of every selected curve are.
    CRect SelectionHandles() const;
    // The same, telling the views when the curves only join the selection.
    void SelectCurves(const std::vector<CCurve*>& curves, bool add, bool onlyAdds);
    bool MoveInHistory(bool forward);
    void SelectTouched();

    // Records a step whose edit is done, and sets the modified flag from the history.
    void Record(std::unique_ptr<CurveStep> step, bool open = false);
    // Repaints the part the last edits changed.
    void UpdateStepPart();
    // Where the curve is in the stacking order, or the count when it is not there.
    std::size_t IndexOf(const CCurve* pCurve) const;

    std::unordered_set<const CCurve*> m_others;
    std::uint64_t m_nSelectionChanges = 0;
    // While Undo or Redo runs: the curves its steps touched, which become the selection when
    // there are several.
    std::vector<CCurve*> m_touched;
    bool m_bTouching = false;
    // Brings the index up to the curves as they are: curves put on top since it last looked,
    // and the selection, which edits change in place, held loose.
    void SyncIndex() const;

    mutable CurveIndex m_index;
    std::uint64_t m_nDeletedCurves = 0;
    std::uint64_t m_nRestoredCurves = 0;
    CRect m_stepPart;
};
