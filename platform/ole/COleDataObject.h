#pragma once

#include "platform/Types.h"
#include "platform/ole/GlobalMemory.h"

class QMimeData;

// A view of transferred data: the clipboard's current contents, or the data of a drag handed
// to a drop target. It lives for one handler and owns nothing it hands out.
class COleDataObject {
public:
    COleDataObject() = default;
    // Platform-internal: the data of a drag, valid while the drag event is handled.
    explicit COleDataObject(const QMimeData* dragData);
    COleDataObject(const COleDataObject&) = delete;
    COleDataObject& operator=(const COleDataObject&) = delete;
    ~COleDataObject();

    // Attaches to the clipboard; false when the data-transfer service has not been started.
    bool AttachClipboard();

    // Whether the data offers the format. For the clipboard this answers from the service's
    // list of formats, so it never waits on another program and may be asked on every update
    // of a menu or toolbar.
    bool IsDataAvailable(CLIPFORMAT cf, void* lpFormatEtc = nullptr);

    // A new block with the format's data, owned by the caller; null when the format is absent
    // or its data is larger than a global block may be.
    HGLOBAL GetGlobalData(CLIPFORMAT cf, void* lpFormatEtc = nullptr);

    // Detaches from the data; done on destruction too.
    void Release();

private:
    enum class Attached { Nothing, Clipboard, Drag };
    Attached m_attached = Attached::Nothing;
    const QMimeData* m_pDragData = nullptr;
};
