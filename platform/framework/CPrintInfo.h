#pragma once

#include "platform/Types.h"
#include "platform/geometry/CRect.h"

class QPrinter;

// One print job or preview, from the print dialog to the last page.
struct CPrintInfo {
    bool m_bPreview = false;
    bool m_bDirect = false;
    bool m_bContinuePrinting = true;
    UINT m_nCurPage = 1;
    UINT m_nNumPreviewPages = 1;
    CRect m_rectDraw;               // the page's printable area in printer dots
    QPrinter* m_pPrinter = nullptr; // the printer chosen for the job
};
