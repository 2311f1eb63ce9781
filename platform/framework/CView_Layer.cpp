#include "platform/framework/CView.h"

#include "platform/gdi/CDC.h"
#include "platform/gdi/RasterDevice.h"

#include <QImage>

#include <cstdio>
#include <cstdlib>

namespace {

// The window's own device, when the surface draws through one.
RasterDevice* WindowDevice(const CDC* pDC, const QImage* image) {
    if (pDC == nullptr || image == nullptr)
        return nullptr;
    auto* device = dynamic_cast<RasterDevice*>(pDC->GetDevice());
    return device != nullptr && device->DrawsOn(*image) ? device : nullptr;
}

} // namespace

bool CView::IsLayerKept() const {
    return m_bLayerKept && m_pLayer != nullptr && m_pImage != nullptr &&
           m_pLayer->size() == m_pImage->size() &&
           m_pLayer->devicePixelRatio() == m_pImage->devicePixelRatio();
}

void CView::DropLayer() {
    // The pixels are kept for the next layer of the same size.
    m_bLayerKept = false;
}

bool CView::DrawOnLayer(const CRect* pPart, const std::function<void(CDC*)>& draw) {
    if (m_pImage == nullptr)
        return false;
    if (!IsLayerKept()) {
        if (m_pLayer == nullptr || m_pLayer->size() != m_pImage->size()) {
            delete m_pLayer;
            m_pLayer = new QImage(m_pImage->size(), QImage::Format_RGB32);
        }
        // Qt answers a failed allocation with a null image.
        if (m_pLayer->isNull())
            return false;
        m_pLayer->setDevicePixelRatio(m_pImage->devicePixelRatio());
        m_pLayer->fill(Qt::white);
        m_bLayerKept = true;
        ++m_nLayersMade;
    }
    CDC dc;
    const DeviceMapping mapping = GetDeviceMapping();
    dc.AttachWindowImage(m_pLayer, pPart, &mapping);
    draw(&dc);
    return true;
}

bool CView::IsWindowSurface(const CDC* pDC) const {
    return WindowDevice(pDC, m_pImage) != nullptr || WindowDevice(pDC, m_pChecked) != nullptr;
}

bool CView::IsRepaintingPart(const CDC* pDC) const {
    const RasterDevice* device = WindowDevice(pDC, m_pImage);
    return device != nullptr && device->IsClipped();
}

bool CView::IsRepaintingWindow(const CDC* pDC) const {
    return WindowDevice(pDC, m_pImage) != nullptr;
}

bool CView::ShowLayer(CDC* pDC) const {
    RasterDevice* device = WindowDevice(pDC, m_pImage);
    if (device == nullptr || !IsLayerKept() || !device->CopyFrom(*m_pLayer))
        return false;
    m_bLayerShown = true;
    return true;
}

void CView::OnLayerExposed(const CRect&) {
    DropLayer();
}

bool CView::IsLayerChecked() {
#if SWOOP2_CHECK_LAYER
    return true;
#else
    return false;
#endif
}

void CView::CheckLayerPart(const QImage& image, const CRect& part) {
    // The layer is true only while every change to what it holds is reported before the next
    // paint; nothing else would notice one that is not, so the checking build draws the part
    // again from the document on a copy, where the layer cannot be used, and compares.
    QImage fresh = image.copy();
    // The view sees the copy as its window only while the check draws on it, however the
    // drawing ends.
    struct Checking {
        const QImage*& checked;
        ~Checking() { checked = nullptr; }
    } checking{m_pChecked};
    m_pChecked = &fresh;
    {
        CDC dc;
        const DeviceMapping mapping = GetDeviceMapping();
        dc.AttachWindowImage(&fresh, &part, &mapping);
        CRect clip;
        dc.GetClipBox(&clip);
        dc.FillSolidRect(&clip, RGB(255, 255, 255));
        OnPrepareDC(&dc, nullptr);
        OnDraw(&dc);
    }
    if (fresh == image)
        return;
    for (int y = 0; y < image.height(); ++y) {
        for (int x = 0; x < image.width(); ++x) {
            if (fresh.pixel(x, y) == image.pixel(x, y))
                continue;
            std::fprintf(stderr,
                         "Swoop2: the view's layer is out of step with its document: the "
                         "repaint of the part %d,%d to %d,%d from the layer differs from the "
                         "same part drawn afresh at pixel %d,%d. A change was not followed by "
                         "an update before the next paint.\n",
                         part.left, part.top, part.right, part.bottom, x, y);
            std::abort();
        }
    }
}
