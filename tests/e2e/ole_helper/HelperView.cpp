#include "HelperView.h"

#include "platform/ole/COleDataObject.h"
#include "platform/ole/COleDataSource.h"
#include "platform/ole/GlobalMemory.h"

#include <QMouseEvent>

#include <cstdio>
#include <cstring>

namespace {

class HelperWidget : public QWidget {
public:
    explicit HelperWidget(HelperView* view) : m_view(view) {}

protected:
    void mousePressEvent(QMouseEvent* event) override {
        if (event->button() == Qt::LeftButton)
            m_view->OnLButtonDown();
    }
    void mouseMoveEvent(QMouseEvent*) override { m_view->OnMouseMove(); }

private:
    HelperView* m_view;
};

void Say(const char* format, auto... args) {
    std::printf(format, args...);
    std::fflush(stdout);
}

} // namespace

HelperView::HelperView(QByteArray record, UINT format)
    : m_record(std::move(record)), m_format(format) {
    m_pWidget = new HelperWidget(this);
    m_pWidget->resize(300, 300);
    m_dropTarget.Register(this);
}

HelperView::~HelperView() {
    m_dropTarget.Revoke();
    delete m_pWidget;
}

void HelperView::OnLButtonDown() {
    m_bDragPending = !m_record.isEmpty();
}

void HelperView::OnMouseMove() {
    if (!m_bDragPending)
        return;
    m_bDragPending = false;
    HGLOBAL block = GlobalAlloc(GMEM_MOVEABLE, std::size_t(m_record.size()));
    std::memcpy(GlobalLock(block), m_record.constData(), std::size_t(m_record.size()));
    GlobalUnlock(block);
    COleDataSource source;
    source.CacheGlobalData(CLIPFORMAT(m_format), block);
    m_bDragging = true;
    const DROPEFFECT effect = source.DoDragDrop(DROPEFFECT_COPY | DROPEFFECT_MOVE);
    m_bDragging = false;
    Say("result %u\n", effect);
}

DROPEFFECT HelperView::Answer(COleDataObject* pDataObject, DWORD dwKeyState) const {
    if (!pDataObject->IsDataAvailable(CLIPFORMAT(m_format)))
        return DROPEFFECT_NONE;
    return (dwKeyState & MK_CONTROL) ? DROPEFFECT_COPY : DROPEFFECT_MOVE;
}

DROPEFFECT HelperView::OnDragEnter(COleDataObject* pDataObject, DWORD dwKeyState, CPoint point) {
    Say("enter key=%u nested=%d at=%d,%d\n", dwKeyState, int(m_bDragging), point.x, point.y);
    return Answer(pDataObject, dwKeyState);
}

DROPEFFECT HelperView::OnDragOver(COleDataObject* pDataObject, DWORD dwKeyState, CPoint point) {
    Say("over key=%u nested=%d at=%d,%d\n", dwKeyState, int(m_bDragging), point.x, point.y);
    return Answer(pDataObject, dwKeyState);
}

void HelperView::OnDragLeave() {
    Say("leave nested=%d\n", int(m_bDragging));
}

bool HelperView::OnDrop(COleDataObject* pDataObject, DROPEFFECT dropEffect, CPoint point) {
    HGLOBAL block = pDataObject->GetGlobalData(CLIPFORMAT(m_format));
    if (!block) {
        Say("drop nothing nested=%d\n", int(m_bDragging));
        return false;
    }
    const QByteArray bytes(static_cast<const char*>(GlobalLock(block)),
                           qsizetype(GlobalSize(block)));
    GlobalUnlock(block);
    GlobalFree(block);
    Say("drop effect=%u nested=%d at=%d,%d bytes=%s\n", dropEffect, int(m_bDragging), point.x,
        point.y, bytes.toHex().constData());
    // A target whose drop fails, as the program's does for a record it cannot read.
    return !qEnvironmentVariableIsSet("OLE_HELPER_FAIL_DROPS");
}
