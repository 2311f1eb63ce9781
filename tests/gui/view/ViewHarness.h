#pragma once

// A document with its view in a frame, as the program makes them, and helpers that describe
// the view's state in one line so that tests can be written as rows of input and outcome.

#include "document/CSwoop2Doc.h"
#include "platform/framework/CCmdUI.h"
#include "platform/framework/CFrameWnd.h"
#include "platform/gdi/CDC.h"
#include "view/CSwoop2View.h"

#include <QBackingStore>
#include <QImage>
#include <QString>
#include <QStringList>
#include <QWidget>

class ViewHarness {
public:
    explicit ViewHarness(int width = 320, int height = 240) {
        CCreateContext context;
        context.m_pNewViewClass = RUNTIME_CLASS(CSwoop2View);
        context.m_pCurrentDoc = &doc;
        frame.LoadFrame(0, WS_OVERLAPPEDWINDOW, nullptr, &context);
        view = static_cast<CSwoop2View*>(frame.GetActiveView());
        frame.GetWidget()->resize(width + 40, height + 40);
        view->GetWidget()->setFixedSize(width, height);
    }

    QWidget* Widget() const { return view->GetWidget(); }

    // Appends a curve the test made; returns it.
    CCurve* Add(std::initializer_list<CPoint> points, bool closed = true) {
        auto curve = std::make_unique<CCurve>();
        curve->m_points = points;
        curve->m_bClosed = closed;
        CCurve* added = curve.get();
        doc.AddCurve(std::move(curve));
        return added;
    }

    int IndexOf(const CCurve* curve) const {
        for (std::size_t i = 0; i < doc.m_curves.size(); ++i) {
            if (doc.m_curves[i].get() == curve)
                return int(i);
        }
        return -1;
    }

    // Every curve bottom to top as "o" (open) or "c" (closed) and its points, the current one
    // marked with '*' and the others selected with '+'; then the tool and the flags that are set.
    QString State() const {
        QStringList parts;
        for (const auto& curve : doc.m_curves) {
            QString text = curve->m_bClosed ? "c(" : "o(";
            QStringList points;
            for (const CPoint& pt : curve->m_points)
                points << QString("%1,%2").arg(pt.x).arg(pt.y);
            text += points.join(' ') + ")";
            if (curve.get() == doc.m_pSelected)
                text += '*';
            else if (doc.IsSelected(curve.get()))
                text += '+';
            parts << text;
        }
        parts << (view->m_nTool == 0 ? "draw" : view->m_nTool == 1 ? "select" : "tool?");
        if (view->m_bDrawing)
            parts << "drawing";
        if (view->m_bMovingPoint)
            parts << "moving";
        if (view->m_bDragPending)
            parts << "pending";
        if (view->m_bDragging)
            parts << "dragging";
        if (view->m_bBanding)
            parts << "band";
        return parts.join(' ');
    }

    // The view's painting on a white image of the window's size less its scroll bars, with as
    // many pixels per unit as the window's screen has, at the view's zoom and scroll position.
    QImage Render() const {
        const DeviceScale scale = view->GetDeviceScale();
        const CSize client = view->GetClientSize();
        QImage image(int(scale.Cover(client.cx)), int(scale.Cover(client.cy)),
                     QImage::Format_RGB32);
        image.setDevicePixelRatio(scale.Ratio());
        image.fill(Qt::white);
        CDC dc;
        dc.AttachImage(&image);
        view->OnPrepareDC(&dc);
        view->OnDraw(&dc);
        return image;
    }

    // What the screen shows of the window: the pixels of its store, which the platform fills
    // with the parts it is asked to show again, rounding them to pixels its own way, and copies
    // to the screen as they are.
    QImage OnScreen() const {
        QBackingStore* store = Widget()->window()->backingStore();
        const auto* pixels =
            store != nullptr ? dynamic_cast<QImage*>(store->paintDevice()) : nullptr;
        // A deep copy: the store's image wraps pixels that the next paint writes in place.
        return pixels != nullptr ? pixels->copy().convertToFormat(QImage::Format_RGB32) : QImage();
    }

    // The same once the view has repainted all of itself.
    QImage OnScreenRepaintedWhole() const {
        view->InvalidateRect(nullptr);
        view->UpdateWindow();
        return OnScreen();
    }

    struct CommandState {
        bool enabled;
        bool radio;
    };
    CommandState Command(UINT id) const {
        CCmdUI ui(id);
        ui.DoUpdate(view, true);
        return {ui.m_bEnabled, ui.m_bRadio && ui.m_nCheck == 1};
    }

    // Declared first, destroyed last: the frame deletes the view, which leaves the document.
    CSwoop2Doc doc;
    CFrameWnd frame;
    CSwoop2View* view = nullptr;
};
