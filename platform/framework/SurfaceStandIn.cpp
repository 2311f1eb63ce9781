#include "platform/framework/SurfaceInclude.h"

#if !__has_include("platform/gdi/CDC.h")
#include <QImage>
#include <QPainter>

CDC::~CDC() {
    delete m_pOwnPainter;
}

void CDC::AttachImage(QImage* image) {
    m_pImage = image;
}

void CDC::AttachPainter(QPainter* painter) {
    m_pPainter = painter;
}

QPainter* CDC::Painter() {
    if (m_pPainter != nullptr)
        return m_pPainter;
    if (m_pOwnPainter == nullptr && m_pImage != nullptr)
        m_pOwnPainter = new QPainter(m_pImage);
    return m_pOwnPainter;
}

void CDC::FillSolidRect(int x, int y, int cx, int cy, COLORREF color) {
    if (QPainter* p = Painter())
        p->fillRect(x, y, cx, cy, QColor(GetRValue(color), GetGValue(color), GetBValue(color)));
}

void CDC::MoveTo(int x, int y) {
    m_x = x;
    m_y = y;
}

void CDC::LineTo(int x, int y) {
    if (QPainter* p = Painter()) {
        p->setPen(QPen(Qt::black, 0));
        p->drawLine(m_x, m_y, x, y);
    }
    m_x = x;
    m_y = y;
}
#endif
