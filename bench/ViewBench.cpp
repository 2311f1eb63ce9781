#include "BenchDocuments.h"
#include "app/Swoop2Resources.h"
#include "document/CSwoop2Doc.h"
#include "platform/framework/CFrameWnd.h"
#include "platform/framework/CStatusBar.h"
#include "platform/gdi/CDC.h"
#include "platform/gdi/DeviceScale.h"
#include "platform/gdi/RasterDevice.h"
#include "platform/ole/AfxOleInit.h"
#include "platform/ole/GlobalMemory.h"
#include "platform/ole/OleConstants.h"
#include "view/CSwoop2View.h"
#include "view/CommandIds.h"

#include <QApplication>
#include <QDropEvent>
#include <QImage>
#include <QMimeData>
#include <QMouseEvent>
#include <QPainter>
#include <QPainterPath>
#include <QWidget>
#include <QtEndian>

#include <benchmark/benchmark.h>

#include <algorithm>
#include <chrono>
#include <cstdlib>
#include <memory>
#include <random>
#include <vector>

// A full repaint of a 1920 by 1080 view, and single edits with the repaint they cause and its
// showing in the window (a step of a point drag, its Undo and Redo, a point appended while
// drawing, a drop),
// through the program's own view and document, beside QPainter drawing the same Bezier point
// lists (already converted) onto an image of the same size. The selected curve is the last one,
// so its handles are painted above everything. An edit repaints only what it changes, so its
// cost should hardly grow with the drawing.
//
// OnDraw also runs on images with 1.5 and 2 pixels per logical unit, as a HiDPI screen's window
// has them. The whole repaint takes the ratio of the screen: run the program with
// QT_SCALE_FACTOR=2 to measure it at ratio 2.

namespace {

using bench::kHeight;
using bench::kWidth;

// A document and its view in a shown frame, as the program has them.
class ViewSetup {
public:
    ViewSetup(int curves, int points, int selectedPoints = 0) {
        // Random walks, closed as the Draw tool leaves them.
        for (CCurve& curve : bench::MakeCurves(curves, points)) {
            curve.m_bClosed = true;
            doc.AddCurve(std::make_unique<CCurve>(std::move(curve)));
        }
        doc.m_pSelected = doc.m_curves.back().get();
        // A long selected curve: its handles are painted once, not once per curve.
        std::mt19937 rng(7);
        std::uniform_int_distribution<int> x(0, kWidth - 1);
        std::uniform_int_distribution<int> y(0, kHeight - 1);
        for (int j = 0; j < selectedPoints; ++j)
            doc.m_pSelected->m_points.push_back(CPoint(x(rng), y(rng)));
        doc.m_nSelPoint = 0;

        CCreateContext context;
        context.m_pNewViewClass = RUNTIME_CLASS(CSwoop2View);
        context.m_pCurrentDoc = &doc;
        frame = std::make_unique<CFrameWnd>();
        frame->LoadFrame(0, WS_OVERLAPPEDWINDOW, nullptr, &context);
        view = static_cast<CSwoop2View*>(frame->GetActiveView());
        view->GetWidget()->setFixedSize(kWidth, kHeight);
        frame->GetWidget()->resize(kWidth + 40, kHeight + 80);
        frame->GetWidget()->show();
        QCoreApplication::processEvents();
    }

    ~ViewSetup() { frame.reset(); }

    CSwoop2Doc doc;
    std::unique_ptr<CFrameWnd> frame;
    CSwoop2View* view = nullptr;
};

void Label(benchmark::State& state) {
    state.SetItemsProcessed(static_cast<std::int64_t>(state.iterations()) * state.range(0));
}

// OnDraw over the whole document into the window's image, erased to white first, through the
// surface a repaint uses, with the given pixels per logical unit (in hundredths).
void BM_ViewOnDraw(benchmark::State& state) {
    ViewSetup setup(int(state.range(0)), int(state.range(1)), int(state.range(2)));
    const DeviceScale scale = DeviceScale::FromRatio(double(state.range(3)) / 100);
    QImage image(int(scale.Cover(kWidth)), int(scale.Cover(kHeight)), QImage::Format_RGB32);
    image.setDevicePixelRatio(scale.Ratio());
    for (auto _ : state) {
        image.fill(Qt::white);
        CDC dc;
        dc.AttachWindowImage(&image);
        setup.view->OnDraw(&dc);
        dc.DetachDevice();
        benchmark::ClobberMemory();
    }
    Label(state);
}

// The window's whole repaint after the document said everything changed: erase, every curve
// drawn again, and showing the image. The figure the others are measured against.
void BM_ViewRepaint(benchmark::State& state) {
    ViewSetup setup(int(state.range(0)), int(state.range(1)));
    for (auto _ : state) {
        setup.view->OnUpdate(nullptr, 0, nullptr);
        setup.view->UpdateWindow();
    }
    Label(state);
}

// The same repaint with every curve drawn on the calling thread alone, as on a machine with
// one processor: the figure to hold against the polygon floor, which is drawn on one thread too.
void BM_ViewRepaintOneThread(benchmark::State& state) {
    RasterDevice::SetDrawingThreads(1);
    BM_ViewRepaint(state);
    RasterDevice::SetDrawingThreads(0);
}

// The floor a repaint can hope for: plain Bresenham lines over the control polygons of the same
// curves, on one thread, onto an image of the window's size. The spline passes through every
// control point, so its pixels are at least those of the polygon.
void BM_PolygonFloor(benchmark::State& state) {
    const std::vector<CCurve> curves = bench::MakeCurves(int(state.range(0)), int(state.range(1)));
    QImage image(kWidth, kHeight, QImage::Format_RGB32);
    const auto line = [&image](CPoint a, CPoint b) {
        auto* bits = reinterpret_cast<std::uint32_t*>(image.bits());
        const std::ptrdiff_t stride = image.bytesPerLine() / 4;
        const int dx = std::abs(b.x - a.x);
        const int dy = -std::abs(b.y - a.y);
        const int sx = a.x < b.x ? 1 : -1;
        const int sy = a.y < b.y ? 1 : -1;
        int err = dx + dy;
        for (int x = a.x, y = a.y;;) {
            if (unsigned(x) < unsigned(kWidth) && unsigned(y) < unsigned(kHeight))
                bits[y * stride + x] = 0xFF000000u;
            if (x == b.x && y == b.y)
                break;
            const int e2 = 2 * err;
            if (e2 >= dy) {
                err += dy;
                x += sx;
            }
            if (e2 <= dx) {
                err += dx;
                y += sy;
            }
        }
    };
    for (auto _ : state) {
        image.fill(Qt::white);
        for (const CCurve& curve : curves) {
            const auto& pts = curve.m_points;
            for (std::size_t i = 1; i < pts.size(); ++i)
                line(pts[i - 1], pts[i]);
            if (pts.size() > 1)
                line(pts.back(), pts[0]);
        }
        benchmark::ClobberMemory();
    }
    Label(state);
}

// One step of a point drag: the selected curve's first point moves a pixel, the document asks
// for a repaint, and the window paints.
void BM_ViewPointDragStep(benchmark::State& state) {
    ViewSetup setup(int(state.range(0)), int(state.range(1)));
    int direction = 1;
    for (auto _ : state) {
        setup.doc.MoveSelectedPoint(direction, direction);
        direction = -direction;
        setup.view->UpdateWindow();
    }
    Label(state);
}

// The same step with the turn of the event loop after it, where the scroll bars follow the
// drawing's extent, which is asked of every curve.
void BM_ViewPointDragStepAndScrollBars(benchmark::State& state) {
    ViewSetup setup(int(state.range(0)), int(state.range(1)));
    int direction = 1;
    for (auto _ : state) {
        setup.doc.MoveSelectedPoint(direction, direction);
        direction = -direction;
        QCoreApplication::processEvents();
        setup.view->UpdateWindow();
    }
    Label(state);
}

// A step of the wheel at zoom 2, where the drawing is larger than the window: the window's
// pixels move 60 rows and only the strip that came into view is drawn, on the window and on the
// layer.
void BM_ViewScrollStep(benchmark::State& state) {
    ViewSetup setup(int(state.range(0)), int(state.range(1)));
    setup.view->SetZoomStep(2, CPoint(0, 0));
    setup.view->ScrollTo(0, 200);
    setup.doc.MoveSelectedPoint(1, 1);
    setup.view->UpdateWindow();
    int direction = 1;
    for (auto _ : state) {
        setup.view->ScrollBy(0, 60 * direction);
        if (setup.view->GetScrollY() != (direction > 0 ? 260 : 200))
            state.SkipWithError("the view did not scroll");
        direction = -direction;
        setup.view->UpdateWindow();
    }
    Label(state);
}

// A step of the wheel at zoom 1/4 or 1 (the third argument, in steps of the ladder), the
// pointer held still while the drawing moves 60 screen units under it, up and down in turn.
void BM_ViewScrollStepAtZoom(benchmark::State& state) {
    ViewSetup setup(int(state.range(0)), int(state.range(1)));
    setup.view->SetZoomStep(int(state.range(2)), CPoint(0, 0));
    setup.view->WaitForBackgroundDrawing();
    setup.view->UpdateWindow();
    setup.doc.MoveSelectedPoint(1, 1);
    setup.view->UpdateWindow();
    const std::int64_t top = setup.view->GetScrollY();
    int direction = 1;
    for (auto _ : state) {
        setup.view->AutoScrollBy(CPoint(0, 60 * direction));
        setup.view->UpdateWindow();
        if (setup.view->GetScrollY() != (direction > 0 ? top + 60 : top))
            state.SkipWithError("the view did not scroll");
        direction = -direction;
    }
    Label(state);
}

// The first scroll after a drawing is opened and shown (second argument 1), or the second (2).
void BM_ViewFirstScrollAfterOpen(benchmark::State& state) {
    ViewSetup setup(int(state.range(0)), int(state.range(1)));
    const int which = int(state.range(2));
    for (auto _ : state) {
        setup.view->OnInitialUpdate();
        setup.view->UpdateWindow();
        // The turn of the event loop after opening, where the scroll bars learn the extent.
        QCoreApplication::processEvents();
        std::chrono::duration<double> took{};
        for (int scroll = 1; scroll <= which; ++scroll) {
            const auto start = std::chrono::steady_clock::now();
            setup.view->AutoScrollBy(CPoint(0, scroll % 2 ? 60 : -60));
            setup.view->UpdateWindow();
            took = std::chrono::steady_clock::now() - start;
        }
        state.SetIterationTime(took.count());
    }
    Label(state);
}

// A zoom step in or out about the middle of the window, until the scaled picture is in the
// window's image (First frame), or until the sharp one drawn in the background has replaced it
// (Sharp). The other outside the timing. Sharp also repaints the whole window at 100% after
// each step back out, outside the timing, and reports the mean step as a share of that
// repaint: the machine's pace drifts by a fifth from one benchmark to the next, and measured
// side by side the drift cancels.
void ZoomStep(benchmark::State& state, bool sharp) {
    using Clock = std::chrono::steady_clock;
    ViewSetup setup(int(state.range(0)), int(state.range(1)));
    setup.view->UpdateWindow();
    int direction = 1;
    double steps = 0;
    double repaints = 0;
    int repainted = 0;
    for (auto _ : state) {
        const auto start = Clock::now();
        setup.view->SetZoomStep(setup.view->GetZoomStep() + direction,
                                CPoint(kWidth / 2, kHeight / 2));
        if (sharp) {
            setup.view->WaitForBackgroundDrawing();
            setup.view->UpdateWindow();
        }
        const double took = std::chrono::duration<double>(Clock::now() - start).count();
        state.SetIterationTime(took);
        steps += took;
        if (!sharp) {
            setup.view->WaitForBackgroundDrawing();
            setup.view->UpdateWindow();
        } else if (setup.view->GetZoomStep() == 0) {
            const auto repaint = Clock::now();
            setup.view->OnUpdate(nullptr, 0, nullptr);
            setup.view->UpdateWindow();
            repaints += std::chrono::duration<double>(Clock::now() - repaint).count();
            ++repainted;
            // The turn of the event loop where the scroll bars follow the drawing, as after
            // any edit.
            QCoreApplication::processEvents();
        }
        direction = -direction;
    }
    if (repainted > 0 && state.iterations() > 0)
        state.counters["per_repaint"] =
            (steps / double(state.iterations())) / (repaints / repainted);
    Label(state);
}

void BM_ViewZoomFirstFrame(benchmark::State& state) {
    ZoomStep(state, false);
}

void BM_ViewZoomSharp(benchmark::State& state) {
    ZoomStep(state, true);
}

// Zoom In and Out about the middle of the window: each redraws the whole window once.
void BM_ViewZoomStep(benchmark::State& state) {
    ViewSetup setup(int(state.range(0)), int(state.range(1)));
    int direction = 1;
    for (auto _ : state) {
        setup.view->SetZoomStep(setup.view->GetZoomStep() + direction,
                                CPoint(kWidth / 2, kHeight / 2));
        direction = -direction;
        setup.view->UpdateWindow();
    }
    Label(state);
}

// Undo or Redo of a point drag of the selected curve's first point, and the window's paint of
// what it changed; the other of the two brings the drawing back, outside the timing. Timed by
// hand, so that the pauses cost nothing.
void HistoryOfPointDrag(benchmark::State& state, bool undo) {
    ViewSetup setup(int(state.range(0)), int(state.range(1)));
    setup.doc.EndPointDrag();
    setup.doc.MoveSelectedPoint(1, 1);
    setup.doc.EndPointDrag();
    setup.view->UpdateWindow();
    if (!undo) {
        setup.doc.Undo();
        setup.view->UpdateWindow();
    }
    for (auto _ : state) {
        const auto start = std::chrono::steady_clock::now();
        if (!(undo ? setup.doc.Undo() : setup.doc.Redo()))
            state.SkipWithError("there was no step to take");
        setup.view->UpdateWindow();
        state.SetIterationTime(
            std::chrono::duration<double>(std::chrono::steady_clock::now() - start).count());
        undo ? setup.doc.Redo() : setup.doc.Undo();
        setup.view->UpdateWindow();
        QCoreApplication::processEvents();
    }
    Label(state);
}

void BM_ViewUndoPointDrag(benchmark::State& state) {
    HistoryOfPointDrag(state, true);
}

void BM_ViewRedoPointDrag(benchmark::State& state) {
    HistoryOfPointDrag(state, false);
}

// One point appended by a press of the Draw tool to the curve being drawn, zigzagging in place.
// Every 64 presses the curve is cut back, outside the timing, so that every size of drawing
// draws a curve of the same length.
void BM_ViewAppendPointStep(benchmark::State& state) {
    ViewSetup setup(int(state.range(0)), int(state.range(1)));
    CCurve* curve = setup.doc.m_pSelected;
    curve->m_bClosed = false;
    setup.view->m_nTool = CSwoop2View::kToolDraw;
    setup.view->m_bDrawing = true;
    const std::size_t length = curve->m_points.size();
    setup.view->Invalidate();
    setup.view->UpdateWindow();
    static constexpr CPoint kSteps[] = {{5, 3}, {-4, 4}, {3, -5}, {-4, -2}};
    CPoint at = curve->m_points.back();
    int presses = 0;
    for (auto _ : state) {
        at = at + kSteps[presses % 4];
        setup.view->OnLButtonDown(MK_LBUTTON, at);
        setup.view->UpdateWindow();
        if (++presses % 64 == 0) {
            state.PauseTiming();
            curve->m_points.resize(length);
            state.ResumeTiming();
        }
    }
    Label(state);
}

// A curve of ten points dragged in from elsewhere: the drag enters, moves once (the outline is
// drawn), and drops, and the window shows the dropped curve. Drops land in turn on two places.
void BM_ViewDropStep(benchmark::State& state) {
    ViewSetup setup(int(state.range(0)), int(state.range(1)));
    QByteArray record(4 + 8 * 10, '\0');
    qToLittleEndian(quint32(record.size()), record.data());
    for (int i = 0; i < 10; ++i) {
        qToLittleEndian(quint32(600 + 13 * i), record.data() + 4 + 8 * i);
        qToLittleEndian(quint32(400 + (i % 3) * 20), record.data() + 8 + 8 * i);
    }
    QMimeData data;
    data.setData("Tav.Swoop", record);
    const Qt::DropActions actions = Qt::CopyAction | Qt::MoveAction;
    QWidget* widget = setup.view->GetWidget();
    int drops = 0;
    for (auto _ : state) {
        const QPoint at(700 + (drops % 2) * 300, 500);
        QDragEnterEvent enter(at - QPoint(20, 20), actions, &data, Qt::LeftButton, {});
        QCoreApplication::sendEvent(widget, &enter);
        QDragMoveEvent move(at - QPoint(10, 10), actions, &data, Qt::LeftButton, {});
        QCoreApplication::sendEvent(widget, &move);
        QDropEvent drop(at, actions, &data, Qt::NoButton, {});
        QCoreApplication::sendEvent(widget, &drop);
        setup.view->UpdateWindow();
        ++drops;
    }
    if (setup.doc.m_curves.size() != std::size_t(state.range(0)) + std::size_t(drops))
        state.SkipWithError("a drop added no curve");
    Label(state);
}

// A press of the Select tool that chooses another curve, in turn at two places far apart: the
// handles move, the curve chosen before goes back among the others in the picture the view
// keeps of them, and the one chosen now leaves it.
void BM_ViewSelectStep(benchmark::State& state) {
    ViewSetup setup(int(state.range(0)), int(state.range(1)));
    setup.view->m_nTool = CSwoop2View::kToolSelect;
    const auto middle = [&](std::size_t index) {
        const CRect bounds = setup.doc.m_curves[index]->GetBounds();
        return CPoint(std::int32_t(bounds.left + bounds.Width() / 2),
                      std::int32_t(bounds.top + bounds.Height() / 2));
    };
    const std::size_t count = setup.doc.m_curves.size();
    const CPoint places[2] = {middle(count / 4), middle(3 * count / 4)};
    // The picture of the other curves is made by the first repaint of a part, not timed.
    setup.view->OnLButtonDown(MK_LBUTTON, places[1]);
    setup.view->OnLButtonUp(0, places[1]);
    setup.view->UpdateWindow();
    int presses = 0;
    for (auto _ : state) {
        const CPoint at = places[presses % 2];
        setup.view->OnLButtonDown(MK_LBUTTON, at);
        setup.view->OnLButtonUp(0, at);
        setup.view->UpdateWindow();
        ++presses;
    }
    if (setup.doc.m_pSelected == nullptr)
        state.SkipWithError("no curve was chosen");
    Label(state);
}

// The pointer moving over the view with no button held, in turn between two places: the view
// hears the move, and at the turn of the event loop the status bar's panes show the unit under
// the pointer and the zoom, as after every input event. Nothing of the view is repainted.
void BM_ViewPointerMove(benchmark::State& state) {
    ViewSetup setup(int(state.range(0)), int(state.range(1)));
    setup.view->m_nTool = CSwoop2View::kToolSelect;
    CStatusBar bar;
    static const UINT kPanes[] = {ID_SEPARATOR, ID_INDICATOR_POSITION, ID_INDICATOR_ZOOM};
    if (!bar.Create(setup.frame.get()) || !bar.SetIndicators(kPanes, 3)) {
        state.SkipWithError("the status bar could not be made");
        return;
    }
    setup.view->UpdateWindow();
    QWidget* widget = setup.view->GetWidget();
    int moves = 0;
    for (auto _ : state) {
        const QPointF at(700 + (moves % 2) * 300, 500);
        QMouseEvent move(QEvent::MouseMove, at, widget->mapToGlobal(at), Qt::NoButton, Qt::NoButton,
                         Qt::NoModifier);
        QCoreApplication::sendEvent(widget, &move);
        // The turn of the event loop after the move brings the bars up to date, and the window
        // paints what changed: the pane.
        QCoreApplication::processEvents();
        setup.view->UpdateWindow();
        ++moves;
    }
    if (bar.GetPaneText(1) != (moves % 2 == 0 ? "1000, 500" : "700, 500"))
        state.SkipWithError("the pane does not show the pointer's place");
    Label(state);
}

// QPainter with a cosmetic one-pixel pen on the same converted point lists.
void BM_QPainterSameCurves(benchmark::State& state) {
    std::vector<std::vector<CPoint>> lists;
    {
        ViewSetup setup(int(state.range(0)), int(state.range(1)));
        for (const auto& curve : setup.doc.m_curves)
            lists.push_back(curve->ToBezier());
    }
    QImage image(kWidth, kHeight, QImage::Format_RGB32);
    for (auto _ : state) {
        image.fill(Qt::white);
        bench::PaintWithQPainter(image, lists);
        benchmark::ClobberMemory();
    }
    Label(state);
}

// Select All on a drawing whose last curve alone was selected, and the window's repaint of
// every handle that shows now.
void BM_ViewSelectAll(benchmark::State& state) {
    ViewSetup setup(int(state.range(0)), int(state.range(1)));
    CCurve* last = setup.doc.m_curves.back().get();
    for (auto _ : state) {
        state.PauseTiming();
        setup.doc.SelectAlone(last);
        setup.view->UpdateWindow();
        state.ResumeTiming();
        setup.doc.OnEditSelectAll();
        setup.view->UpdateWindow();
    }
    if (setup.doc.SelectedCount() != setup.doc.m_curves.size())
        state.SkipWithError("Select All left curves out");
    Label(state);
}

// One move of a held rubber band: the band is erased where it was and drawn where the pointer
// is, in turn at two places.
void BM_ViewRubberBandStep(benchmark::State& state) {
    ViewSetup setup(int(state.range(0)), int(state.range(1)));
    setup.view->m_nTool = CSwoop2View::kToolSelect;
    setup.view->m_bBandPending = true;
    setup.view->m_ptBandStart = CPoint(100, 100);
    setup.view->UpdateWindow();
    int direction = 1;
    for (auto _ : state) {
        setup.view->OnMouseMove(MK_LBUTTON, CPoint(900 + 300 * direction, 700));
        direction = -direction;
        setup.view->UpdateWindow();
    }
    if (!setup.view->m_bBanding)
        state.SkipWithError("no band was drawn");
    Label(state);
}

// The last ten curves, selected together.
void SelectTen(ViewSetup& setup) {
    const auto& curves = setup.doc.m_curves;
    std::vector<CCurve*> ten;
    for (std::size_t i = curves.size() - std::min<std::size_t>(10, curves.size());
         i < curves.size(); ++i)
        ten.push_back(curves[i].get());
    setup.doc.SelectCurves(ten, false);
    setup.view->UpdateWindow();
}

// One step of a drag of ten selected curves within the window: their outline follows the
// pointer, in turn at two places.
void BM_ViewMoveSelectionStep(benchmark::State& state) {
    ViewSetup setup(int(state.range(0)), int(state.range(1)));
    SelectTen(setup);
    HGLOBAL block = setup.doc.CurvesToGlobal(setup.doc.Selection());
    QMimeData data;
    data.setData("Tav.Swoop.Curves", QByteArray(static_cast<const char*>(GlobalLock(block)),
                                                qsizetype(GlobalSize(block))));
    GlobalUnlock(block);
    GlobalFree(block);
    const Qt::DropActions actions = Qt::CopyAction | Qt::MoveAction;
    QWidget* widget = setup.view->GetWidget();
    QDragEnterEvent enter(QPoint(500, 500), actions, &data, Qt::LeftButton, {});
    QCoreApplication::sendEvent(widget, &enter);
    int direction = 1;
    for (auto _ : state) {
        QDragMoveEvent move(QPoint(900 + 300 * direction, 500), actions, &data, Qt::LeftButton, {});
        QCoreApplication::sendEvent(widget, &move);
        direction = -direction;
        setup.view->UpdateWindow();
    }
    QDragLeaveEvent leave;
    QCoreApplication::sendEvent(widget, &leave);
    if (setup.view->m_pFeedback != nullptr)
        state.SkipWithError("the outline stayed");
    Label(state);
}

// One nudge of ten selected curves by a pixel, back and forth, and the window's repaint.
void BM_ViewNudge(benchmark::State& state) {
    ViewSetup setup(int(state.range(0)), int(state.range(1)));
    SelectTen(setup);
    int direction = 1;
    for (auto _ : state) {
        setup.doc.NudgeSelection(direction, direction);
        direction = -direction;
        setup.view->UpdateWindow();
    }
    Label(state);
}

void Documents(benchmark::internal::Benchmark* b) {
    b->ArgNames({"curves", "points"});
    b->Args({1000, 16});
    b->Args({10000, 16});
    b->Args({100000, 10});
    b->Unit(benchmark::kMillisecond);
}

// The largest walk and the 100 MB drawing.
void LargeDocuments(benchmark::internal::Benchmark* b) {
    b->ArgNames({"curves", "points"});
    b->Args({100000, 10});
    b->Args({757575, 16});
    b->Unit(benchmark::kMillisecond);
}

} // namespace

// The same documents, one whose selected curve has 10,000 more points, and the middle one at
// ratios 1.5 and 2.
BENCHMARK(BM_ViewOnDraw)
    ->ArgNames({"curves", "points", "selected_extra", "ratio_pct"})
    ->Args({1000, 16, 0, 100})
    ->Args({10000, 16, 0, 100})
    ->Args({100000, 10, 0, 100})
    ->Args({10000, 16, 10000, 100})
    ->Args({10000, 16, 0, 150})
    ->Args({10000, 16, 0, 200})
    ->Args({100000, 10, 0, 200})
    ->Unit(benchmark::kMillisecond);
BENCHMARK(BM_ViewRepaint)->Apply(Documents)->Args({757575, 16});
BENCHMARK(BM_ViewRepaintOneThread)
    ->ArgNames({"curves", "points"})
    ->Args({100000, 10})
    ->Unit(benchmark::kMillisecond);
BENCHMARK(BM_PolygonFloor)
    ->ArgNames({"curves", "points"})
    ->Args({100000, 10})
    ->Unit(benchmark::kMillisecond);
// Each step waits for the sharp picture, which takes a whole repaint: a few steps suffice.
BENCHMARK(BM_ViewZoomFirstFrame)->Apply(LargeDocuments)->UseManualTime()->Iterations(6);
BENCHMARK(BM_ViewZoomSharp)->Apply(LargeDocuments)->UseManualTime()->Iterations(12);
BENCHMARK(BM_ViewScrollStepAtZoom)
    ->ArgNames({"curves", "points", "zoom_step"})
    ->Args({100000, 10, -4})
    ->Args({100000, 10, 0})
    ->Args({757575, 16, -4})
    ->Args({757575, 16, 0})
    ->Unit(benchmark::kMillisecond);
BENCHMARK(BM_ViewFirstScrollAfterOpen)
    ->ArgNames({"curves", "points", "scroll"})
    ->Args({100000, 10, 1})
    ->Args({100000, 10, 2})
    ->Args({757575, 16, 1})
    ->Args({757575, 16, 2})
    ->UseManualTime()
    ->Iterations(4)
    ->Unit(benchmark::kMillisecond);
BENCHMARK(BM_ViewPointDragStep)->Apply(Documents);
BENCHMARK(BM_ViewPointDragStepAndScrollBars)->Apply(Documents);
BENCHMARK(BM_ViewScrollStep)->Apply(Documents);
BENCHMARK(BM_ViewZoomStep)->Apply(Documents);
BENCHMARK(BM_ViewUndoPointDrag)->Apply(Documents)->UseManualTime();
BENCHMARK(BM_ViewRedoPointDrag)->Apply(Documents)->UseManualTime();
BENCHMARK(BM_ViewAppendPointStep)->Apply(Documents);
BENCHMARK(BM_ViewDropStep)->Apply(Documents);
BENCHMARK(BM_ViewSelectStep)->Apply(Documents);
BENCHMARK(BM_ViewPointerMove)->Apply(Documents);
BENCHMARK(BM_QPainterSameCurves)->Apply(Documents);
BENCHMARK(BM_ViewSelectAll)->Apply(Documents);
BENCHMARK(BM_ViewRubberBandStep)->Apply(Documents);
BENCHMARK(BM_ViewMoveSelectionStep)
    ->ArgNames({"curves", "points", "selected"})
    ->Args({100000, 10, 10})
    ->Unit(benchmark::kMillisecond);
BENCHMARK(BM_ViewNudge)
    ->ArgNames({"curves", "points", "selected"})
    ->Args({100000, 10, 10})
    ->Unit(benchmark::kMillisecond);

int main(int argc, char** argv) {
    // The view needs a window; no display is needed to measure it.
    if (qEnvironmentVariableIsEmpty("QT_QPA_PLATFORM"))
        qputenv("QT_QPA_PLATFORM", "offscreen");
    QApplication app(argc, argv);
    // The status bar's panes take their widths from the program's strings.
    RegisterSwoop2Resources();
    if (!AfxOleInit())
        return 1;
    benchmark::Initialize(&argc, argv);
    if (benchmark::ReportUnrecognizedArguments(argc, argv))
        return 1;
    benchmark::RunSpecifiedBenchmarks();
    benchmark::Shutdown();
    return 0;
}
