#pragma once

#include "platform/gdi/CDC.h"

class CWnd;

// A surface on a view's client area for drawing outside painting. It draws on the image the
// window shows, repainted first wherever it was invalid; when it goes away the window shows the
// changed image without repainting through OnDraw, so an inverted outline stays until the next
// repaint of its part.
class CClientDC : public CDC {
public:
    explicit CClientDC(CWnd* pWnd);
    ~CClientDC();

private:
    CWnd* m_pWnd;
};
