#pragma once

// The drawing surface the views paint on. Until the drawing-surface classes join the build a
// minimal surface of the same shape stands in, so that the windows can be built and tested.
#if __has_include("platform/gdi/CDC.h")
#include "platform/gdi/CDC.h"
#else
#include "platform/Types.h"

class QImage;
class QPainter;

class CDC {
public:
    CDC() = default;
    CDC(const CDC&) = delete;
    CDC& operator=(const CDC&) = delete;
    virtual ~CDC();

    void AttachImage(QImage* image);
    void AttachPainter(QPainter* painter);

    void FillSolidRect(int x, int y, int cx, int cy, COLORREF color);
    void MoveTo(int x, int y);
    void LineTo(int x, int y);

private:
    QImage* m_pImage = nullptr;
    QPainter* m_pPainter = nullptr;
    QPainter* m_pOwnPainter = nullptr;
    int m_x = 0;
    int m_y = 0;

    QPainter* Painter();
};
#endif
