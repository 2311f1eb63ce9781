#include "document/CSwoop2Doc.h"

#include "document/ChangedPart.h"
#include "document/CurvePicture.h"
#include "document/CurveStep.h"
#include "document/SvgDrawing.h"
#include "platform/LittleEndian.h"
#include "platform/framework/CClientDC.h"
#include "platform/framework/CView.h"
#include "platform/framework/CommandRouting.h"
#include "platform/framework/Resources.h"
#include "platform/ole/BlockLock.h"
#include "platform/ole/COleDataObject.h"
#include "platform/ole/COleDataSource.h"
#include "platform/ole/ClipboardFormat.h"

#include <cstring>
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
    HGLOBAL hGlobal = GlobalAlloc(GMEM_MOVEABLE, svg.size());
    if (!hGlobal)
        return nullptr;
    {
        const BlockLock lock(hGlobal);
        if (lock.Bytes() && GlobalSize(hGlobal) >= svg.size()) {
            std::memcpy(lock.Bytes(), svg.data(), svg.size());
            return hGlobal;
        }
    }
    GlobalFree(hGlobal);
    return nullptr;
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
        p += 4;
        for (const CPoint& pt : pCurve->m_points) {
            StoreLe32(p, static_cast<std::uint32_t>(pt.x));
            StoreLe32(p + 4, static_cast<std::uint32_t>(pt.y));
            p += 8;
        }
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

CCurve* CSwoop2Doc::TakeRecord(HGLOBAL hGlobal, const CPoint* pTopLeft) {
    std::unique_ptr<CCurve> curve = CurveFromGlobal(hGlobal);
    if (!curve)
        return nullptr;
    if (pTopLeft) {
        curve->Normalize();
        curve->Offset(pTopLeft->x, pTopLeft->y);
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
    if (!m_pSelected)
        return;
    // The source owns each block offered to it, and frees them should a later step fail.
    auto source = std::make_unique<COleDataSource>();
    if (HGLOBAL hRecord = CurveToGlobal(m_pSelected))
        source->CacheGlobalData(m_cfCurve, hRecord);
    if (HGLOBAL hPicture = CurveToDib(m_pSelected))
        source->CacheGlobalData(CF_DIB, hPicture);
    // Drawing programs take the curves themselves, in stacking order, as the exporter writes
    // them.
    static const auto cfSvg = static_cast<CLIPFORMAT>(RegisterClipboardFormat("image/svg+xml"));
    const std::vector<const CCurve*> curves{m_pSelected};
    if (HGLOBAL hSvg = SvgOfCurves(curves))
        source->CacheGlobalData(cfSvg, hSvg);
    source.release()->SetClipboard();
}

void CSwoop2Doc::OnEditCut() {
    if (!m_pSelected)
        return;
    OnEditCopy();
    // Where the curve and its handles were, taken while it is still there.
    CRect part = ChangedPart::OfCurve(*m_pSelected, true);
    RemoveCurve(m_pSelected);
    UpdateAllViews(nullptr, HINT_UPDATE_RECT, &part);
}

void CSwoop2Doc::OnEditClear() {
    RemoveCurve(m_pSelected);
}

void CSwoop2Doc::OnEditPaste() {
    COleDataObject dataObject;
    dataObject.AttachClipboard();
    HGLOBAL hGlobal = dataObject.GetGlobalData(m_cfCurve);
    if (!hGlobal)
        return;
    // The block is ours to free, whatever becomes of its curve.
    const std::unique_ptr<GlobalBlock, HGLOBAL (*)(HGLOBAL)> block(hGlobal, GlobalFree);
    // Paste repaints even when the record holds no curve, though nothing changed then.
    if (!TakeRecord(hGlobal)) {
        CRect unchanged;
        UpdateAllViews(nullptr, HINT_UPDATE_RECT, &unchanged);
    }
    dataObject.Release();
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
