#pragma once

#include "platform/Types.h"
#include "platform/gdi/DrawingDevice.h"
#include "platform/gdi/GdiConstants.h"
#include "platform/geometry/CPoint.h"
#include "platform/geometry/CRect.h"

#include <array>
#include <cstddef>
#include <memory>

class CBitmap;
class CBrush;
class CGdiObject;
class CPen;
class QImage;
class QPainter;

// A drawing surface. It keeps the drawing state (current position, selected pen, brush and
// bitmap, raster operation) and hands each primitive to a device: an image in memory for
// windows and bitmaps, a QPainter for printing. A surface with no device draws nothing.
//
// A new surface holds the black one-pixel pen, the white solid brush and R2_COPYPEN.
class CDC {
public:
    CDC();
    CDC(const CDC&) = delete;
    CDC& operator=(const CDC&) = delete;
    virtual ~CDC();

    // Draws straight into the image's pixels, which must be QImage::Format_RGB32 (or ARGB32);
    // the image is not owned and must outlive the surface or the next attach.
    void AttachImage(QImage* image);
    // The same for a window's image that is read only after the surface lets go of it: the
    // device may hold curves back and draw them together when it goes. With a part (logical
    // units, right and bottom edges outside), nothing outside it changes and the part is the
    // clipping box: the pixels inside are those that drawing on the whole image would give.
    // With a mapping, units map to the image's pixels through it (a window's zoom and scroll
    // position), the part included; otherwise through the image's own ratio.
    void AttachWindowImage(QImage* image, const CRect* pPart = nullptr,
                           const DeviceMapping* pMapping = nullptr);
    // The same for the image's rows top to bottom - 1 alone, drawn at once, so that several
    // threads draw one image side by side, each in rows of its own.
    void AttachImageRows(QImage* image, const DeviceMapping& mapping, int top, int bottom);
    // Draws through the painter, one logical unit to one device unit of the painter.
    void AttachPainter(QPainter* painter);
    // Draws through a device that the caller owns.
    void AttachDevice(DrawingDevice* device);
    // Leaves the surface with no device; the drawing state is kept.
    void DetachDevice();
    DrawingDevice* GetDevice() const { return m_pDevice; }

    // Makes this a memory surface that draws into the bitmap selected into it. It starts with
    // an empty bitmap selected.
    bool CreateCompatibleDC(CDC* pDC);
    bool IsMemoryDC() const { return m_bMemory; }

    // Sets the current position and returns the previous one.
    CPoint MoveTo(int x, int y);
    CPoint MoveTo(CPoint pt) { return MoveTo(pt.x, pt.y); }
    CPoint GetCurrentPosition() const { return m_ptCurrent; }
    // Draws from the current position to (x, y), leaving out that last pixel, and moves there.
    bool LineTo(int x, int y);
    bool LineTo(CPoint pt) { return LineTo(pt.x, pt.y); }
    // Draws count = 1 + 3k points as Bezier segments; the current position is neither used nor
    // changed. Fails for a count of any other form.
    bool PolyBezier(const CPoint* points, int count);

    // Sets the raster operation for lines and returns the previous one, or 0 for an unknown
    // operation, which changes nothing.
    int SetROP2(int mode);
    int GetROP2() const { return m_nRop; }

    // Selecting returns the object of the same kind that was selected before, or null (and
    // changes nothing) when the object cannot be selected.
    CGdiObject* SelectStockObject(int index);
    CPen* SelectObject(CPen* pen);
    CBrush* SelectObject(CBrush* brush);
    // Only a memory surface takes a bitmap.
    CBitmap* SelectObject(CBitmap* bitmap);
    CGdiObject* SelectObject(CGdiObject* object);
    CPen* GetCurrentPen() const { return m_pPen; }
    CBrush* GetCurrentBrush() const { return m_pBrush; }
    CBitmap* GetCurrentBitmap() const { return m_pBitmap; }

    // Fills left <= x < right, top <= y < bottom with the brush; the raster operation does not
    // apply. A hollow brush or an empty or inverted rectangle fills nothing.
    void FillRect(const CRect* rect, CBrush* brush);
    void FillSolidRect(int x, int y, int cx, int cy, COLORREF color);
    void FillSolidRect(const CRect* rect, COLORREF color);
    // Fills with the brush the square of half screen units on each side of the point's pixel:
    // the same size on the screen at any zoom, and at one unit per screen unit exactly the
    // point's rectangle grown by half.
    void FillSquare(CPoint centre, int half, CBrush* brush);
    // FillSquare around each of the points, at a cost that suits hundreds of thousands.
    void FillSquares(const CPoint* centres, std::size_t count, int half, CBrush* brush);

    // Maps units to the device's pixels as a window at some zoom and scroll position shows
    // them; the clipping box follows. Devices that draw in their own units ignore it.
    void SetMapping(const DeviceMapping& mapping);

    // The logical rectangle outside which drawing does not show: for a window's repaint, the part
    // being repainted. Returns NULLREGION when nothing can show (no device, or an empty part),
    // SIMPLEREGION otherwise. A device's clipping box is fixed when it is attached.
    int GetClipBox(CRect* pRect) const;
    // From now on, gathers the logical rectangle around everything drawn or filled through the
    // surface; GetBoundsRect gives it, right and bottom edges outside, empty while nothing has
    // been. Surfaces that do not ask spend nothing on it.
    void AccumulateBounds() { m_bAccumulate = true; }
    CRect GetBoundsRect() const { return m_bounds; }
    // The same drawing as a few rectangles that together hold it: the edges of a large outline
    // are thin strips, and showing them alone leaves the window's inside untouched.
    std::size_t GetBoundsPartCount() const { return m_nBoundsParts; }
    const CRect& GetBoundsPart(std::size_t i) const { return m_boundsParts[i]; }
    static constexpr std::size_t kMostBoundsParts = 32;

private:
    friend class CBitmap;
    void SetOwnedDevice(std::unique_ptr<DrawingDevice> device);
    // Called by a bitmap that is destroyed while selected here.
    void ForgetBitmap(CBitmap* bitmap);
    void AddToBounds(const CPoint* points, int count);
    void AddToBounds(const CRect& drawn);

    std::unique_ptr<DrawingDevice> m_ownedDevice;
    DrawingDevice* m_pDevice = nullptr;
    // The device's, asked once: every curve of a repaint asks for it.
    CRect m_clipBox;
    bool m_bAccumulate = false;
    CRect m_bounds;
    std::array<CRect, kMostBoundsParts> m_boundsParts;
    std::size_t m_nBoundsParts = 0;
    bool m_bMemory = false;

    CPoint m_ptCurrent;
    int m_nRop = R2_COPYPEN;
    CPen* m_pPen = nullptr;
    PenAttributes m_pen;
    CBrush* m_pBrush = nullptr;
    CBitmap* m_pBitmap = nullptr;
    // Where the pen's pattern stands for the next LineTo; MoveTo starts it afresh.
    int m_nLinePhase = 0;
};
