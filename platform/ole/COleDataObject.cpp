#include "platform/ole/COleDataObject.h"

#include "platform/ole/ClipboardService.h"
#include "platform/ole/MimeFormat.h"

#include <QMimeData>

COleDataObject::COleDataObject(const QMimeData* dragData)
    : m_attached(dragData ? Attached::Drag : Attached::Nothing), m_pDragData(dragData) {}

COleDataObject::~COleDataObject() {
    Release();
}

bool COleDataObject::AttachClipboard() {
    Release();
    if (!ClipboardService::Instance())
        return false;
    m_attached = Attached::Clipboard;
    return true;
}

bool COleDataObject::IsDataAvailable(CLIPFORMAT cf, void*) {
    switch (m_attached) {
    case Attached::Clipboard: {
        const ClipboardService* service = ClipboardService::Instance();
        return service && service->IsAvailable(cf);
    }
    case Attached::Drag:
        return FormatsOffer(m_pDragData->formats(), cf);
    case Attached::Nothing:
        break;
    }
    return false;
}

HGLOBAL COleDataObject::GetGlobalData(CLIPFORMAT cf, void*) {
    switch (m_attached) {
    case Attached::Clipboard: {
        const ClipboardService* service = ClipboardService::Instance();
        return service ? service->GetGlobalData(cf) : nullptr;
    }
    case Attached::Drag:
        return GlobalDataFromMime(*m_pDragData, cf);
    case Attached::Nothing:
        break;
    }
    return nullptr;
}

void COleDataObject::Release() {
    m_attached = Attached::Nothing;
    m_pDragData = nullptr;
}
