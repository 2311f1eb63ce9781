#include "platform/framework/CView.h"

#include "platform/gdi/CDC.h"
#include "platform/gdi/RasterDevice.h"

#include <QImage>

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
    }
    CDC dc;
    dc.AttachWindowImage(m_pLayer, pPart);
    draw(&dc);
    return true;
}

bool CView::IsRepaintingPart(const CDC* pDC) const {
    const RasterDevice* device = WindowDevice(pDC, m_pImage);
    return device != nullptr && device->IsClipped();
}

bool CView::ShowLayer(CDC* pDC) const {
    RasterDevice* device = WindowDevice(pDC, m_pImage);
    return device != nullptr && IsLayerKept() && device->CopyFrom(*m_pLayer);
}
