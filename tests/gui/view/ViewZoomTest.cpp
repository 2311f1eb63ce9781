// Scrolling and zoom driven through the view's window: the scroll bars reach every curve, the
// pointer lands on the unit under it at any zoom, handles keep their size on the screen, and
// drops land where the pointer is in the drawing.

#define QTEST_QPA_MOUSE_HANDLING

#include "ViewHarness.h"

#include "platform/ole/AfxOleInit.h"
#include "platform/ole/GlobalMemory.h"
#include "view/CommandIds.h"

#include <QMimeData>
#include <QScrollBar>
#include <QStyleHints>
#include <QtEndian>
#include <QtTest>

namespace {

QScrollBar* Bar(const ViewHarness& h, Qt::Orientation orientation) {
    for (QScrollBar* bar : h.Widget()->findChildren<QScrollBar*>())
        if (bar->orientation() == orientation)
            return bar;
    return nullptr;
}

// The black pixels of an image, and the rectangle around them.
QRect BlackArea(const QImage& image, int* count) {
    QRect area;
    *count = 0;
    for (int y = 0; y < image.height(); ++y)
        for (int x = 0; x < image.width(); ++x)
            if (image.pixel(x, y) == qRgb(0, 0, 0)) {
                area |= QRect(x, y, 1, 1);
                ++*count;
            }
    return area;
}

// Takes every release of a mouse button before the window it watches hears of it.
class SwallowReleases : public QObject {
protected:
    bool eventFilter(QObject*, QEvent* event) override {
        return event->type() == QEvent::MouseButtonRelease;
    }
};

// One notch of the wheel at a point of the view, with the keys given: up (positive) or down.
void Wheel(QWidget* widget, QPoint at, int notches, Qt::KeyboardModifiers keys) {
    QWheelEvent wheel(at, widget->mapToGlobal(at), QPoint(), QPoint(0, 120 * notches), Qt::NoButton,
                      keys, Qt::NoScrollPhase, false);
    QCoreApplication::sendEvent(widget, &wheel);
}

} // namespace

namespace {

// The transfer record of a curve as another running copy offers it; empty when none.
QByteArray RecordOf(ViewHarness& source, const CCurve* curve) {
    HGLOBAL block = source.doc.CurveToGlobal(curve);
    if (block == nullptr)
        return {};
    const QByteArray bytes(static_cast<const char*>(GlobalLock(block)), int(GlobalSize(block)));
    GlobalUnlock(block);
    GlobalFree(block);
    return bytes;
}

} // namespace

class ViewZoomTest : public QObject {
    Q_OBJECT

    std::unique_ptr<ViewHarness> h;

    void Show(ViewHarness& harness) {
        harness.frame.GetWidget()->show();
        QVERIFY(QTest::qWaitForWindowExposed(harness.frame.GetWidget()));
        QCoreApplication::processEvents();
    }

    void CheckWindow() {
        h->view->UpdateWindow();
        const QImage shown = h->view->GetBackingImage()->convertToFormat(QImage::Format_RGB32);
        QCOMPARE(shown, h->Render());
    }

private slots:
    void initTestCase() { QVERIFY(AfxOleInit()); }

    void init() {
        h = std::make_unique<ViewHarness>(320, 240);
        Show(*h);
    }

    void cleanup() { h.reset(); }

    // A zoom step's sharp picture, drawn in the background, is cut short by what comes next
    // after it has drawn a while, or overtaken by a newer step or a scroll: the window ends up
    // as a whole repaint of the drawing as it is then, with nothing of the stale picture left.
    void aSharpPictureCutShortLeavesNothingBehind_data() {
        QTest::addColumn<QString>("next");
        QTest::newRow("a second step") << "zoom";
        QTest::newRow("a scroll") << "scroll";
        QTest::newRow("a point moved") << "edit";
        QTest::newRow("a curve deleted") << "delete";
    }
    void aSharpPictureCutShortLeavesNothingBehind() {
        QFETCH(QString, next);
        // Far more curves than the stretches the drawing is let run, and below them one of its
        // own place, to be deleted; the selection is the top one.
        CCurve* alone = h->Add({{230, 150}, {290, 160}, {260, 200}});
        for (int i = 0; i < 40000; ++i)
            h->Add({{i % 190, i % 130},
                    {i % 190 + 15, i % 130 + 30},
                    {i % 190 + 30, i % 130},
                    {i % 190 + 10, i % 130 + 5}});
        h->doc.m_pSelected = h->doc.m_curves.back().get();
        h->doc.m_nSelPoint = 1;
        h->doc.UpdateAllViews(nullptr);
        CheckWindow();
        h->view->SetZoomStep(1, CPoint(100, 80));
        QVERIFY(h->view->IsDrawingInBackground());
        QVERIFY(h->view->LetBackgroundDrawingRun(20));
        if (next == "zoom")
            h->view->SetZoomStep(2, CPoint(30, 200));
        else if (next == "scroll")
            h->view->ScrollBy(40, 25);
        else if (next == "edit")
            h->doc.MoveSelectedPoint(17, -9);
        else
            h->doc.RemoveCurve(alone);
        h->view->WaitForBackgroundDrawing();
        CheckWindow();
    }

    void scrollBarsShowWhileTheDrawingDoesNotFit() {
        CCurve* curve = h->Add({{10, 10}, {300, 20}, {200, 220}});
        h->doc.UpdateAllViews(nullptr);
        QCoreApplication::processEvents();
        QVERIFY(!Bar(*h, Qt::Horizontal)->isVisible());
        QVERIFY(!Bar(*h, Qt::Vertical)->isVisible());
        QCOMPARE(h->view->GetClientSize(), CSize(320, 240));
        // A point dragged out below the window brings the vertical bar alone; dragged back, the
        // bar goes again.
        h->doc.m_pSelected = curve;
        h->doc.m_nSelPoint = 2;
        h->doc.UpdateAllViews(nullptr);
        h->doc.MoveSelectedPoint(0, 300);
        QTRY_VERIFY(Bar(*h, Qt::Vertical)->isVisible());
        QVERIFY(!Bar(*h, Qt::Horizontal)->isVisible());
        QCOMPARE(h->view->GetViewportSize(), CSize(320 - Bar(*h, Qt::Vertical)->width(), 240));
        CheckWindow();
        // Short scrolls down and back up move the pixels that stay in view, the bottom row
        // among them, and draw only the strip that came into view.
        for (int value : {40, 10, 0}) {
            Bar(*h, Qt::Vertical)->setValue(value);
            QCOMPARE(h->view->GetScrollY(), value);
            CheckWindow();
        }
        h->doc.MoveSelectedPoint(0, -300);
        QTRY_VERIFY(!Bar(*h, Qt::Vertical)->isVisible());
        QCOMPARE(h->view->GetViewportSize(), CSize(320, 240));
        CheckWindow();
    }

    void farCurvesAreReachedWithTheScrollBarsAndCanBeEdited_data() {
        QTest::addColumn<QPoint>("far");
        QTest::newRow("above and left of the origin") << QPoint(-5000, -3000);
        QTest::newRow("beyond 100,000 units") << QPoint(150000, 120000);
        QTest::newRow("far below only") << QPoint(20, 150000);
    }

    void farCurvesAreReachedWithTheScrollBarsAndCanBeEdited() {
        QFETCH(QPoint, far);
        h->Add({{10, 10}, {100, 40}, {50, 90}});
        CCurve* curve =
            h->Add({{far.x(), far.y()}, {far.x() + 100, far.y()}, {far.x() + 100, far.y() + 60}});
        h->doc.UpdateAllViews(nullptr);
        QCoreApplication::processEvents();
        QScrollBar* horizontal = Bar(*h, Qt::Horizontal);
        QScrollBar* vertical = Bar(*h, Qt::Vertical);
        QVERIFY(vertical->isVisible());
        QCOMPARE(horizontal->isVisible(), far.x() < 0 || far.x() > 200);
        // The user moves the bars towards the curve as far as they go, to show it.
        horizontal->setValue(far.x() - 50);
        vertical->setValue(far.y() - 50);
        const QPoint scroll(int(h->view->GetScrollX()), int(h->view->GetScrollY()));
        QCOMPARE(scroll, QPoint(horizontal->value(), vertical->value()));
        const QPoint at = far - scroll + QPoint(1, 1);
        QVERIFY(QRect(0, 0, 300, 220).contains(at));
        CheckWindow();
        h->frame.ExecuteCommand(ID_CURVES_SELECT);
        // A press inside the curve picks it; a press on its point then drags the point.
        QTest::mouseClick(h->Widget(), Qt::LeftButton, {}, at + QPoint(30, 10));
        QCOMPARE(h->doc.m_pSelected, curve);
        QTest::qWait(QGuiApplication::styleHints()->mouseDoubleClickInterval() + 50);
        QTest::mousePress(h->Widget(), Qt::LeftButton, {}, at);
        QVERIFY(h->view->m_bMovingPoint);
        QTest::mouseMove(h->Widget(), at + QPoint(20, 10));
        QTest::mouseRelease(h->Widget(), Qt::LeftButton, {}, at + QPoint(20, 10));
        QCOMPARE(curve->m_points[0], CPoint(far.x() + 20, far.y() + 10));
        CheckWindow();
        // Actual Size comes back to the origin.
        h->frame.ExecuteCommand(ID_VIEW_ACTUAL_SIZE);
        QCOMPARE(h->view->GetScrollX(), 0);
        QCOMPARE(h->view->GetScrollY(), 0);
        CheckWindow();
    }

    void aPickedPointMovesByTheTravelOverTheZoom_data() {
        QTest::addColumn<int>("step");
        QTest::addColumn<CPoint>("picked");
        QTest::addColumn<QPoint>("off");
        QTest::addColumn<CPoint>("moved");
        // Zoom 4: the point's pixel is four times its units; 40, 20 of travel is 10, 5 units.
        QTest::newRow("zoom 4") << 4 << CPoint(40, 30) << QPoint(-2, 2) << CPoint(50, 35);
        // The last pixel of the handle, right of and below the point, is nearer the next unit.
        QTest::newRow("zoom 4, the handle's corner")
            << 4 << CPoint(40, 30) << QPoint(2, 2) << CPoint(50, 35);
        // Zoom 1/4: a pixel holds four units; 40, 20 of travel is 160, 80 units.
        QTest::newRow("zoom 1/4") << -4 << CPoint(400, 320) << QPoint(-2, 2) << CPoint(560, 400);
    }

    void aPickedPointMovesByTheTravelOverTheZoom() {
        QFETCH(int, step);
        QFETCH(CPoint, picked);
        QFETCH(QPoint, off);
        QFETCH(CPoint, moved);
        CCurve* curve = h->Add({{picked.x, picked.y}, {picked.x + 40, picked.y + 40}, {0, 0}});
        h->doc.m_pSelected = curve;
        h->doc.UpdateAllViews(nullptr);
        h->view->SetZoomStep(step, CPoint(0, 0));
        QCOMPARE(h->view->GetZoomStep(), step);
        QCOMPARE(h->view->GetScrollX(), 0);
        h->frame.ExecuteCommand(ID_CURVES_SELECT);
        const double zoom = h->view->GetZoom();
        const QPoint at(int(picked.x * zoom), int(picked.y * zoom));
        // A press on the point's handle, off its middle, still picks it.
        QTest::mousePress(h->Widget(), Qt::LeftButton, {}, at + off);
        QVERIFY(h->view->m_bMovingPoint);
        QTest::mouseMove(h->Widget(), at + off + QPoint(40, 20));
        QTest::mouseRelease(h->Widget(), Qt::LeftButton, {}, at + off + QPoint(40, 20));
        QCOMPARE(curve->m_points[0], moved);
        CheckWindow();
    }

    void aPointDraggedPastTheEdgeScrollsTheWindowAndFollowsThePointer() {
        CCurve* curve = h->Add({{200, 100}, {100, 150}, {150, 200}});
        h->doc.m_pSelected = curve;
        h->doc.UpdateAllViews(nullptr);
        h->frame.ExecuteCommand(ID_CURVES_SELECT);
        QTest::mousePress(h->Widget(), Qt::LeftButton, {}, QPoint(199, 101));
        QVERIFY(h->view->m_bMovingPoint);
        // Held beyond the right edge, the pointer scrolls the window step by step.
        QTest::mouseMove(h->Widget(), QPoint(330, 101));
        QTRY_VERIFY(h->view->GetScrollX() > 200);
        // The press was a unit left of the point, which keeps that offset to the pointer.
        QTest::mouseRelease(h->Widget(), Qt::LeftButton, {}, QPoint(330, 101));
        const std::int64_t scrolled = h->view->GetScrollX();
        QCOMPARE(curve->m_points[0], CPoint(int(331 + scrolled), 100));
        QCOMPARE(h->view->GetScrollY(), 0);
        // Once the button is up, nothing moves any more.
        QTest::qWait(200);
        QCOMPARE(h->view->GetScrollX(), scrolled);
        CheckWindow();
    }

    void aPointDragStopsScrollingOnceTheGestureIsLost_data() {
        QTest::addColumn<bool>("focusLost");
        QTest::newRow("released where the window does not hear it") << false;
        QTest::newRow("the keyboard taken by another window") << true;
    }

    void aPointDragStopsScrollingOnceTheGestureIsLost() {
        QFETCH(bool, focusLost);
        h->doc.m_pSelected = h->Add({{200, 100}, {100, 150}, {150, 200}});
        h->doc.UpdateAllViews(nullptr);
        h->frame.ExecuteCommand(ID_CURVES_SELECT);
        h->frame.GetWidget()->activateWindow();
        QVERIFY(QTest::qWaitForWindowActive(h->frame.GetWidget()));
        h->Widget()->setFocus();
        QTest::mousePress(h->Widget(), Qt::LeftButton, {}, QPoint(199, 101));
        QTest::mouseMove(h->Widget(), QPoint(330, 101));
        QTRY_VERIFY(h->view->GetScrollX() > 40);
        // A dialog opened by a key takes the keyboard, or something takes the release before
        // the window hears it.
        SwallowReleases swallow;
        if (focusLost) {
            h->Widget()->clearFocus();
        } else {
            h->Widget()->installEventFilter(&swallow);
            QTest::mouseRelease(h->Widget(), Qt::LeftButton, {}, QPoint(330, 101));
        }
        QTest::qWait(100);
        const std::int64_t stopped = h->view->GetScrollX();
        QTest::qWait(200);
        QCOMPARE(h->view->GetScrollX(), stopped);
    }

    void aDragScrollsNoFurtherThanTheUnitsEnd() {
        // Past the last units a drawing can hold there is nothing to scroll to: a drag held at
        // the right edge stops asking, and one at the left edge scrolls back.
        const CSize size = h->view->GetViewportSize();
        h->view->AutoScrollBy(CPoint(INT32_MAX, 0));
        h->view->AutoScrollBy(CPoint(INT32_MAX, 0));
        const std::int64_t end = h->view->GetScrollX();
        QCOMPARE(h->view->ClientToUnits(CPoint(size.cx - 1, 0)).x, INT32_MAX);
        QVERIFY(!h->view->m_dropTarget.OnDragScroll(h->view, CPoint(size.cx - 2, 100)));
        QCOMPARE(h->view->GetScrollX(), end);
        QVERIFY(h->view->m_dropTarget.OnDragScroll(h->view, CPoint(2, 100)));
        QVERIFY(h->view->GetScrollX() < end);
    }

    void aDragHeldNearTheEdgeScrollsWithTheOutlineUnderThePointer() {
        // A curve in the part that scrolls into view, so that the strips drawn afresh hold
        // something for a stray piece of outline to spoil.
        h->Add({{250, 180}, {520, 260}, {400, 420}});
        h->doc.UpdateAllViews(nullptr);
        ViewHarness source(200, 200);
        CCurve* dragged = source.Add({{5000, 7000}, {5100, 7000}, {5100, 7050}});
        const QByteArray bytes = RecordOf(source, dragged);
        QVERIFY(!bytes.isEmpty());
        QMimeData mime;
        mime.setData("Tav.Swoop", bytes);
        const Qt::DropActions actions = Qt::CopyAction | Qt::MoveAction;
        const QPoint near(h->view->GetViewportSize().cx - 4, h->view->GetViewportSize().cy - 4);
        // Near the right edge alone the window scrolls one way, and only the strip that comes
        // into view is painted: the rest keeps the pixels it had, outline and all.
        const QPoint right(near.x(), 150);
        const auto placedAt = [&](QPoint at) {
            return h->view->ClientToUnits(CPoint(at.x(), at.y())) - h->view->m_ptGrab;
        };
        const auto placed = [&] { return placedAt(near); };

        // Held still near the right edge, the drag scrolls that way, and the outline stays
        // under the pointer with nothing of it left where it was.
        QDragEnterEvent enter(QPoint(100, 80), actions, &mime, Qt::LeftButton, {});
        QCoreApplication::sendEvent(h->Widget(), &enter);
        QDragMoveEvent move(right, actions, &mime, Qt::LeftButton, {});
        QCoreApplication::sendEvent(h->Widget(), &move);
        // The window is painted between the steps, so that each step moves the pixels of a
        // window that shows the outline, rather than repainting all of it.
        for (int i = 0; i < 1000 && h->view->GetScrollX() <= 100; ++i) {
            h->view->UpdateWindow();
            QTest::qWait(5);
        }
        QVERIFY(h->view->GetScrollX() > 100);
        QCOMPARE(h->view->GetScrollY(), 0);
        QCOMPARE(h->view->m_ptFeedback, placedAt(right));
        h->view->UpdateWindow();
        QImage expected = h->Render();
        {
            CDC dc;
            dc.AttachImage(&expected);
            h->view->OnPrepareDC(&dc);
            h->view->m_pFeedback->DrawTracker(&dc, placedAt(right).x, placedAt(right).y);
        }
        QCOMPARE(h->view->GetBackingImage()->convertToFormat(QImage::Format_RGB32), expected);
        // Once the drag has left, the scrolling stops and the window shows no outline.
        QDragLeaveEvent leave;
        QCoreApplication::sendEvent(h->Widget(), &leave);
        const std::int64_t leftAt = h->view->GetScrollX();
        QTest::qWait(200);
        QCOMPARE(h->view->GetScrollX(), leftAt);
        CheckWindow();

        // A drop after scrolling lands at the unit under the pointer.
        QDragEnterEvent again(QPoint(100, 80), actions, &mime, Qt::LeftButton, {});
        QCoreApplication::sendEvent(h->Widget(), &again);
        QDragMoveEvent back(near, actions, &mime, Qt::LeftButton, {});
        QCoreApplication::sendEvent(h->Widget(), &back);
        QTRY_VERIFY(h->view->GetScrollX() > leftAt + 100);
        const CPoint topLeft = placed();
        QDropEvent drop(near, actions, &mime, Qt::NoButton, {});
        QCoreApplication::sendEvent(h->Widget(), &drop);
        QVERIFY(h->doc.m_pSelected != nullptr);
        const CRect bounds = h->doc.m_pSelected->GetBounds();
        QCOMPARE(CPoint(bounds.left, bounds.top), topLeft);
        const std::int64_t droppedAt = h->view->GetScrollX();
        QTest::qWait(200);
        QCOMPARE(h->view->GetScrollX(), droppedAt);
        CheckWindow();
    }

    void aPressAddsThePointNearestThePointer_data() {
        QTest::addColumn<int>("step");
        QTest::addColumn<QPoint>("at");
        QTest::addColumn<CPoint>("added");
        // Zoom 8: 83 is 10 units and 3 pixels, 85 is 11 units less 3 pixels.
        QTest::newRow("zoom 8") << 6 << QPoint(83, 85) << CPoint(10, 11);
        // Zoom 1.41: 100 and 99 screen units are 70.7 and 70.0 units.
        QTest::newRow("zoom 1.41") << 1 << QPoint(100, 99) << CPoint(71, 70);
        QTest::newRow("zoom 1/4") << -4 << QPoint(100, 81) << CPoint(400, 324);
    }

    void aPressAddsThePointNearestThePointer() {
        QFETCH(int, step);
        QFETCH(QPoint, at);
        QFETCH(CPoint, added);
        h->view->SetZoomStep(step, CPoint(0, 0));
        QCOMPARE(h->view->GetScrollX(), 0);
        QTest::mouseClick(h->Widget(), Qt::LeftButton, {}, at);
        QVERIFY(h->doc.m_pSelected != nullptr);
        QCOMPARE(h->doc.m_pSelected->m_points.back(), added);
    }

    void aZoomStepInAndBackOutLeavesTheWindowAsItWas_data() {
        QTest::addColumn<int>("step");
        QTest::addColumn<QPoint>("at");
        // Zoom 32 to 45 and 45 to 64 have the widest units; 1/16 and 1.41 the least round.
        for (int step : {-8, -1, 0, 1, 3, 10, 11})
            QTest::newRow(qPrintable(QString("step %1").arg(step))) << step << QPoint(203, 77);
        QTest::newRow("step 10, at the corner") << 10 << QPoint(1, 1);
    }

    void aZoomStepInAndBackOutLeavesTheWindowAsItWas() {
        QFETCH(int, step);
        QFETCH(QPoint, at);
        // A drawing larger than the window at every zoom of the rows.
        h->Add({{-4000, -3000}, {4000, -2500}, {3500, 3000}, {-3500, 2800}});
        h->Add({{-20, -10}, {60, 5}, {30, 70}, {-5, 40}});
        h->doc.UpdateAllViews(nullptr);
        QCoreApplication::processEvents();
        h->view->SetZoomStep(step, CPoint(160, 120));
        h->view->ScrollBy(37, -23);
        h->view->WaitForBackgroundDrawing();
        h->view->UpdateWindow();
        const QImage before = h->view->GetBackingImage()->copy();
        const std::int64_t x = h->view->GetScrollX();
        const std::int64_t y = h->view->GetScrollY();
        // The point of the drawing under the pointer, in units.
        const double unitX = (double(x) + at.x()) / h->view->GetZoom();
        const double unitY = (double(y) + at.y()) / h->view->GetZoom();
        for (int trip = 0; trip < 100; ++trip) {
            Wheel(h->Widget(), at, 1, Qt::ControlModifier);
            QCOMPARE(h->view->GetZoomStep(), step + 1);
            // In, the point stays under the pointer within half a screen unit.
            const double zoom = h->view->GetZoom();
            QVERIFY(std::abs(unitX * zoom - double(h->view->GetScrollX()) - at.x()) <= 0.5);
            QVERIFY(std::abs(unitY * zoom - double(h->view->GetScrollY()) - at.y()) <= 0.5);
            Wheel(h->Widget(), at, -1, Qt::ControlModifier);
            QCOMPARE(h->view->GetScrollX(), x);
            QCOMPARE(h->view->GetScrollY(), y);
        }
        // Once the sharp picture of the last step is in.
        h->view->WaitForBackgroundDrawing();
        h->view->UpdateWindow();
        QCOMPARE(*h->view->GetBackingImage(), before);
        // Steps past the ends of the ladder stop there.
        h->view->SetZoomStep(20, CPoint(0, 0));
        QCOMPARE(h->view->GetZoomStep(), CView::kZoomInmost);
    }

    void barsShowOnlyWhereThereIsSomewhereToScroll() {
        // A drawing that fits the window at 100%: no bar, and the wheel moves nothing, though
        // the hull of its bend reaches above the window.
        const CCurve* bent = h->Add({{50, 22}, {280, 27}, {260, 220}, {60, 200}});
        QVERIFY(bent->GetExtent().top < 0 && bent->GetDrawnExtent().top >= 0);
        h->doc.UpdateAllViews(nullptr);
        QCoreApplication::processEvents();
        Wheel(h->Widget(), QPoint(100, 100), -3, {});
        Wheel(h->Widget(), QPoint(100, 100), 3, {});
        QCoreApplication::processEvents();
        QVERIFY(!Bar(*h, Qt::Horizontal)->isVisible() && !Bar(*h, Qt::Vertical)->isVisible());
        QCOMPARE(h->view->GetScrollY(), 0);
        // Fitted, a drawing far from the origin shows whole, with nowhere to scroll.
        h->Add({{3000, 2000}, {3600, 2100}, {3300, 2300}});
        h->doc.UpdateAllViews(nullptr);
        h->frame.ExecuteCommand(ID_VIEW_FIT_DRAWING);
        QCoreApplication::processEvents();
        QVERIFY(!Bar(*h, Qt::Horizontal)->isVisible() && !Bar(*h, Qt::Vertical)->isVisible());
        const std::int64_t fitX = h->view->GetScrollX();
        const std::int64_t fitY = h->view->GetScrollY();
        Wheel(h->Widget(), QPoint(100, 100), -3, {});
        Wheel(h->Widget(), QPoint(100, 100), 3, Qt::ShiftModifier);
        QCOMPARE(h->view->GetScrollX(), fitX);
        QCOMPARE(h->view->GetScrollY(), fitY);
        CheckWindow();
    }

    void autoScrollStepsGrowFromTheEdges_data() {
        // A column from the left edge, or from the right one (the window's width plus it).
        QTest::addColumn<bool>("fromRight");
        QTest::addColumn<int>("x");
        QTest::addColumn<int>("step");
        QTest::newRow("16 from the left") << false << 16 << 0;
        QTest::newRow("15 from the left") << false << 15 << -1;
        QTest::newRow("at the left edge") << false << 0 << -16;
        QTest::newRow("far left") << false << -500 << -80;
        QTest::newRow("w - 17") << true << -17 << 0;
        QTest::newRow("w - 16") << true << -16 << 1;
        QTest::newRow("far right") << true << 500 << 80;
    }

    void autoScrollStepsGrowFromTheEdges() {
        QFETCH(bool, fromRight);
        QFETCH(int, x);
        QFETCH(int, step);
        const CSize size = h->view->GetViewportSize();
        QCOMPARE(h->view->AutoScrollStep(CPoint(fromRight ? size.cx + x : x, size.cy / 2)),
                 CPoint(step, 0));
        // The bottom edge is measured the same way.
        QCOMPARE(h->view->AutoScrollStep(CPoint(size.cx / 2, fromRight ? size.cy + x : x)),
                 CPoint(0, step));
    }

    void theBarsReachBothEndsOfAFarDrawingAtTheLargestZoom() {
        // At zoom 64 a curve near 10^8 units lies past the scroll bars' range of int: they count
        // in coarser steps, and still reach both ends.
        h->Add({{10, 10}, {100, 40}, {50, 90}});
        h->Add({{100000000, 100000000}, {100000100, 100000000}, {100000100, 100000060}});
        h->doc.UpdateAllViews(nullptr);
        QCoreApplication::processEvents();
        h->view->SetZoomStep(CView::kZoomInmost, CPoint(0, 0));
        QCoreApplication::processEvents();
        QScrollBar* horizontal = Bar(*h, Qt::Horizontal);
        QScrollBar* vertical = Bar(*h, Qt::Vertical);
        const QImage* image = h->view->GetBackingImage();
        // Whether the image shows the unit's pixel.
        const auto shows = [image](const DeviceMapping& mapping, std::int64_t x, std::int64_t y) {
            return mapping.X(x) >= 0 && mapping.X(x) < image->width() && mapping.Y(y) >= 0 &&
                   mapping.Y(y) < image->height();
        };
        horizontal->setValue(horizontal->maximum());
        vertical->setValue(vertical->maximum());
        QVERIFY(shows(h->view->GetDeviceMapping(), 100000100 - 1, 100000060 - 1));
        horizontal->setValue(horizontal->minimum());
        vertical->setValue(vertical->minimum());
        QVERIFY(shows(h->view->GetDeviceMapping(), 10, 10));
        CheckWindow();
    }

    void handlesKeepTheirSizeOnTheScreenAtAnyZoom_data() {
        QTest::addColumn<int>("step");
        for (int step : {-4, -1, 0, 3, 6})
            QTest::newRow(qPrintable(QString("step %1").arg(step))) << step;
    }

    void handlesKeepTheirSizeOnTheScreenAtAnyZoom() {
        QFETCH(int, step);
        // A curve of one point draws nothing but its handles: the centre's 8 by 8 square over
        // the point's 6 by 6 one.
        h->doc.m_pSelected = h->Add({{32, 24}});
        h->doc.UpdateAllViews(nullptr);
        h->view->SetZoomStep(step, CPoint(0, 0));
        const DeviceMapping mapping = h->view->GetDeviceMapping();
        const double ratio = h->view->GetDeviceScale().Ratio();
        int count = 0;
        const QRect area = BlackArea(h->Render(), &count);
        const int side = int(h->view->GetDeviceScale().Cover(8));
        QVERIFY2(std::abs(area.width() - side) <= 1 && std::abs(area.height() - side) <= 1,
                 qPrintable(QString("%1x%2").arg(area.width()).arg(area.height())));
        QCOMPARE(count, area.width() * area.height());
        QVERIFY(std::abs(area.x() - (mapping.X(32) - 4 * ratio)) <= 1);
        QVERIFY(std::abs(area.y() - (mapping.Y(24) - 4 * ratio)) <= 1);
        CheckWindow();
    }

    void aDropLandsUnderThePointerAtTheTargetsZoom_data() {
        QTest::addColumn<int>("step");
        QTest::addColumn<CPoint>("topLeft");
        // The record's bounds hold no entry point: the outline is centred on the pointer,
        // 50, 25 from its corner, at the unit under the pointer, (200, 120) on the screen.
        QTest::newRow("zoom 4") << 4 << CPoint(0, 5);
        QTest::newRow("zoom 1/4") << -4 << CPoint(750, 455);
        QTest::newRow("zoom 1") << 0 << CPoint(150, 95);
    }

    void aDropLandsUnderThePointerAtTheTargetsZoom() {
        QFETCH(int, step);
        QFETCH(CPoint, topLeft);
        // The curve comes from another view at another zoom: the record is in units.
        ViewHarness source(200, 200);
        source.view->SetZoomStep(-step, CPoint(10, 10));
        CCurve* dragged = source.Add({{5000, 7000}, {5100, 7000}, {5100, 7050}});
        const QByteArray bytes = RecordOf(source, dragged);
        QVERIFY(!bytes.isEmpty());
        QMimeData mime;
        mime.setData("Tav.Swoop", bytes);
        h->view->SetZoomStep(step, CPoint(0, 0));
        const QPoint at(200, 120);
        QDragEnterEvent enter(at, Qt::CopyAction | Qt::MoveAction, &mime, Qt::LeftButton, {});
        QCoreApplication::sendEvent(h->Widget(), &enter);
        QDropEvent drop(at, Qt::CopyAction | Qt::MoveAction, &mime, Qt::NoButton, {});
        QCoreApplication::sendEvent(h->Widget(), &drop);
        QVERIFY(h->doc.m_pSelected != nullptr);
        const CRect bounds = h->doc.m_pSelected->GetBounds();
        QCOMPARE(CPoint(bounds.left, bounds.top), topLeft);
        CheckWindow();
    }
};

QTEST_MAIN(ViewZoomTest)
#include "ViewZoomTest.moc"
