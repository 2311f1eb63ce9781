#include "document/CSwoop2Doc.h"

#include "document/ChangedPart.h"
#include "document/CurvePicture.h"
#include "document/CurveStep.h"
#include "document/StepGroup.h"
#include "document/SvgDrawing.h"
#include "platform/LittleEndian.h"
#include "platform/framework/CClientDC.h"
#include "platform/framework/CView.h"
#include "platform/framework/CommandRouting.h"
#include "platform/framework/Resources.h"
#include "platform/geometry/PointSpan.h"
#include "platform/geometry/Saturate.h"
#include "platform/ole/BlockLock.h"
#include "platform/ole/COleDataObject.h"
#include "platform/ole/COleDataSource.h"
#include "platform/ole/ClipboardFormat.h"

#include <algorithm>
#include <limits>
#include <memory>
#include <string>
#include <vector>

namespace {

// The curves as an SVG document for drawing programs, placed as the picture is; null when they
// give none or memory cannot be had.
HGLOBAL SvgOfCurves(const std::vector<const CCurve*>& curves) {
    const std::string svg = SvgDrawing::Placed(curves, AfxLoadString(AFX_IDS_APP_TITLE));
    if (svg.empty())
        return nullptr;
    return GlobalAllocCopy(svg.data(), svg.size());
}

// Writes the curve's points as 32-bit x, y pairs, as both records hold them; returns the end.
std::byte* StorePoints(std::byte* p, const CCurve& curve) {
    for (const CPoint& pt : curve.m_points) {
        StoreLe32(p, static_cast<std::uint32_t>(pt.x));
        StoreLe32(p + 4, static_cast<std::uint32_t>(pt.y));
        p += 8;
    }
    return p;
}

// The smallest and largest coordinates of a curve's points, edges included.
PointSpan PointSpanOf(const CCurve& curve) {
    return SpanOfPoints(curve.m_points.data(), curve.m_points.size());
}

} // namespace

HGLOBAL CSwoop2Doc::CurveToGlobal(const CCurve* pCurve) const {
    if (!pCurve)
        return nullptr;
    const std::size_t count = pCurve->m_points.size();
    // The size field is 32 bits wide: a curve whose record it cannot state is not offered.
    if (count > (std::numeric_limits<std::uint32_t>::max() - 4) / 8)
        return nullptr;
    const auto size = static_cast<std::uint32_t>(8 * count + 4);
    HGLOBAL hGlobal = GlobalAlloc(GMEM_MOVEABLE, size);
    if (!hGlobal)
        return nullptr;
    {
        const BlockLock lock(hGlobal);
        std::byte* p = lock.Bytes();
        if (!p || GlobalSize(hGlobal) < size) {
            GlobalFree(hGlobal);
            return nullptr;
        }
        StoreLe32(p, size);
        StorePoints(p + 4, *pCurve);
    }
    return hGlobal;
}

std::unique_ptr<CCurve> CSwoop2Doc::CurveFromGlobal(HGLOBAL hGlobal) const {
    if (!hGlobal)
        return nullptr;
    const BlockLock lock(hGlobal);
    const std::byte* p = lock.Bytes();
    if (!p)
        return nullptr;
    // The record may come from another program: its size field decides nothing that the block
    // itself does not hold.
    const std::size_t blockSize = GlobalSize(hGlobal);
    if (blockSize < 4)
        return nullptr;
    const std::uint32_t size = LoadLe32(p);
    if (size < 4 || size > blockSize)
        return nullptr;
    const std::size_t count = (size - 4) / 8;

    auto curve = std::make_unique<CCurve>();
    curve->m_points.reserve(count);
    for (std::size_t i = 0; i < count; ++i) {
        const std::byte* pair = p + 4 + 8 * i;
        curve->m_points.emplace_back(static_cast<std::int32_t>(LoadLe32(pair)),
                                     static_cast<std::int32_t>(LoadLe32(pair + 4)));
    }
    curve->m_bClosed = true;
    return curve;
}

CCurve* CSwoop2Doc::TakeRecord(HGLOBAL hGlobal, const Landing* pLanding) {
    std::unique_ptr<CCurve> curve = CurveFromGlobal(hGlobal);
    if (!curve)
        return nullptr;
    if (pLanding && !curve->m_points.empty()) {
        // A wide curve dropped near an end stops there whole, rather than wrap around. The
        // corner is that of the bounds; the range must hold the points themselves.
        const CRect bounds = curve->GetBounds();
        const PointSpan points = PointSpanOf(*curve);
        const std::int64_t dx = ClampShift(points.left, points.right, pLanding->left - bounds.left);
        const std::int64_t dy = ClampShift(points.top, points.bottom, pLanding->top - bounds.top);
        // Every moved point lies within the range, so the wrapping sums land exactly there.
        curve->Offset(static_cast<std::int32_t>(static_cast<std::uint32_t>(dx)),
                      static_cast<std::int32_t>(static_cast<std::uint32_t>(dy)));
    }
    CCurve* added = curve.get();
    auto step = std::make_unique<CurveStep>(*this, CurveStep::Kind::Insert, added, m_curves.size());
    GetHistory().Reserve();
    // The handles leave the previous selection and come to the new curve.
    m_stepPart = CRect();
    PutBack(curve, m_curves.size());
    Record(std::move(step));
    UpdateStepPart();
    return added;
}

void CSwoop2Doc::OnEditCopy() {
    OfferCurves(Selection());
}

void CSwoop2Doc::OfferCurves(const std::vector<CCurve*>& curves) {
    if (curves.empty())
        return;
    // The source owns each block offered to it, and frees them should a later step fail.
    auto source = std::make_unique<COleDataSource>();
    if (curves.size() == 1) {
        if (HGLOBAL hRecord = CurveToGlobal(curves.front()))
            source->CacheGlobalData(m_cfCurve, hRecord);
        if (HGLOBAL hPicture = CurveToDib(curves.front()))
            source->CacheGlobalData(CF_DIB, hPicture);
    } else {
        if (HGLOBAL hRecord = CurvesToGlobal(curves))
            source->CacheGlobalData(m_cfCurves, hRecord);
        if (CView* pView = GetRoutingView()) {
            CClientDC windowDC(pView);
            const std::vector<const CCurve*> drawn(curves.begin(), curves.end());
            if (HGLOBAL hPicture = CurvesPicture(drawn, &windowDC))
                source->CacheGlobalData(CF_DIB, hPicture);
        }
    }
    // Drawing programs take the curves themselves, in stacking order, as the exporter writes
    // them.
    static const auto cfSvg = static_cast<CLIPFORMAT>(RegisterClipboardFormat("image/svg+xml"));
    const std::vector<const CCurve*> asSvg(curves.begin(), curves.end());
    if (HGLOBAL hSvg = SvgOfCurves(asSvg))
        source->CacheGlobalData(cfSvg, hSvg);
    source.release()->SetClipboard();
}

void CSwoop2Doc::OnEditCut() {
    if (!m_pSelected)
        return;
    OnEditCopy();
    if (!m_others.empty()) {
        OnEditClear();
        return;
    }
    // Where the curve and its handles were, taken while it is still there.
    CRect part = ChangedPart::OfCurve(*m_pSelected, true);
    RemoveCurve(m_pSelected);
    UpdateAllViews(nullptr, HINT_UPDATE_RECT, &part);
}

void CSwoop2Doc::OnEditClear() {
    if (m_others.empty()) {
        RemoveCurve(m_pSelected);
        return;
    }
    const std::vector<CCurve*> selection = Selection();
    {
        const StepGroup oneStep(GetHistory());
        // From the top, so that each step's index is where Undo puts its curve back.
        for (auto it = selection.rbegin(); it != selection.rend(); ++it)
            RemoveCurve(*it);
    }
    UpdateModifiedFlag();
}

void CSwoop2Doc::OnEditPaste() {
    COleDataObject dataObject;
    dataObject.AttachClipboard();
    if (HGLOBAL hGlobal = dataObject.GetGlobalData(m_cfCurve)) {
        // The block is ours to free, whatever becomes of its curve.
        const std::unique_ptr<GlobalBlock, HGLOBAL (*)(HGLOBAL)> block(hGlobal, GlobalFree);
        // Paste repaints even when the record holds no curve, though nothing changed then.
        if (!TakeRecord(hGlobal)) {
            CRect unchanged;
            UpdateAllViews(nullptr, HINT_UPDATE_RECT, &unchanged);
        }
    } else if (HGLOBAL hCurves = dataObject.GetGlobalData(m_cfCurves)) {
        const std::unique_ptr<GlobalBlock, HGLOBAL (*)(HGLOBAL)> block(hCurves, GlobalFree);
        TakeCurves(CurvesFromGlobal(hCurves));
    }
    dataObject.Release();
}

HGLOBAL CSwoop2Doc::CurvesToGlobal(const std::vector<CCurve*>& curves) const {
    // A count, then each curve as a point count and its points; every count is 32 bits wide.
    std::uint64_t size = 4;
    for (const CCurve* curve : curves)
        size += 4 + 8 * std::uint64_t(curve->m_points.size());
    if (curves.size() > std::numeric_limits<std::uint32_t>::max() ||
        size > std::numeric_limits<std::uint32_t>::max())
        return nullptr;
    HGLOBAL hGlobal = GlobalAlloc(GMEM_MOVEABLE, std::size_t(size));
    if (!hGlobal)
        return nullptr;
    {
        const BlockLock lock(hGlobal);
        std::byte* p = lock.Bytes();
        if (!p || GlobalSize(hGlobal) < size) {
            GlobalFree(hGlobal);
            return nullptr;
        }
        StoreLe32(p, static_cast<std::uint32_t>(curves.size()));
        p += 4;
        for (const CCurve* curve : curves) {
            StoreLe32(p, static_cast<std::uint32_t>(curve->m_points.size()));
            p = StorePoints(p + 4, *curve);
        }
    }
    return hGlobal;
}

std::vector<std::unique_ptr<CCurve>> CSwoop2Doc::CurvesFromGlobal(HGLOBAL hGlobal) const {
    std::vector<std::unique_ptr<CCurve>> curves;
    if (!hGlobal)
        return curves;
    const BlockLock lock(hGlobal);
    const std::byte* p = lock.Bytes();
    if (!p)
        return curves;
    // The record may come from another program: every count is checked against the bytes
    // that are left before anything is allocated from it.
    std::size_t left = GlobalSize(hGlobal);
    if (left < 4)
        return curves;
    const std::uint32_t count = LoadLe32(p);
    p += 4;
    left -= 4;
    if (count > left / 4)
        return curves;
    curves.reserve(count);
    for (std::uint32_t i = 0; i < count; ++i) {
        if (left < 4)
            return {};
        const std::uint32_t points = LoadLe32(p);
        p += 4;
        left -= 4;
        if (points > left / 8)
            return {};
        auto curve = std::make_unique<CCurve>();
        curve->m_points.reserve(points);
        for (std::uint32_t j = 0; j < points; ++j) {
            curve->m_points.emplace_back(static_cast<std::int32_t>(LoadLe32(p)),
                                         static_cast<std::int32_t>(LoadLe32(p + 4)));
            p += 8;
        }
        left -= 8 * std::size_t(points);
        // As the one-curve record, the curves come in closed.
        curve->m_bClosed = true;
        curves.push_back(std::move(curve));
    }
    return curves;
}

std::size_t CSwoop2Doc::TakeCurves(std::vector<std::unique_ptr<CCurve>> curves,
                                   const Landing* pLanding) {
    if (curves.empty())
        return 0;
    if (pLanding) {
        // The corner of the bounds of them all lands where asked, or as near as keeps every
        // point within the range; the curves keep their places among themselves.
        CRect corner(INT32_MAX, INT32_MAX, INT32_MIN, INT32_MIN);
        PointSpan points = SpanOfPoints(nullptr, 0);
        for (const auto& curve : curves) {
            if (curve->m_points.empty())
                continue;
            const CRect bounds = curve->GetBounds();
            corner.left = std::min(corner.left, bounds.left);
            corner.top = std::min(corner.top, bounds.top);
            points = UnionSpan(points, PointSpanOf(*curve));
        }
        if (!points.IsEmpty()) {
            const std::int64_t dx =
                ClampShift(points.left, points.right, pLanding->left - corner.left);
            const std::int64_t dy =
                ClampShift(points.top, points.bottom, pLanding->top - corner.top);
            for (auto& curve : curves)
                curve->Offset(static_cast<std::int32_t>(static_cast<std::uint32_t>(dx)),
                              static_cast<std::int32_t>(static_cast<std::uint32_t>(dy)));
        }
    }
    std::vector<CCurve*> added;
    added.reserve(curves.size());
    m_stepPart = CRect();
    try {
        const StepGroup oneStep(GetHistory());
        for (auto& curve : curves) {
            CCurve* taken = curve.get();
            auto step =
                std::make_unique<CurveStep>(*this, CurveStep::Kind::Insert, taken, m_curves.size());
            GetHistory().Reserve();
            PutBack(curve, m_curves.size());
            Record(std::move(step));
            added.push_back(taken);
        }
    } catch (...) {
        UpdateModifiedFlag();
        UpdateStepPart();
        throw;
    }
    UpdateModifiedFlag();
    UpdateStepPart();
    SelectCurves(added, false);
    return added.size();
}

HGLOBAL CSwoop2Doc::CurveToDib(const CCurve* pCurve) const {
    // The picture takes the display's format from the window the command came through; with no
    // such window there is no picture.
    CView* pView = GetRoutingView();
    if (!pCurve || !pView)
        return nullptr;
    CClientDC windowDC(pView);
    return CurvePicture(*pCurve, &windowDC);
}
