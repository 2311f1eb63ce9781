// The view as a drop target, fed with drag events that carry synthetic curve records, and its
// outline checked on the image the window shows; also run on a screen with more pixels than
// logical units, where the outline maps to the screen's pixels and must still come off whole.

#include "ViewHarness.h"

#include "platform/framework/AfxMessageBox.h"
#include "platform/ole/AfxOleInit.h"
#include "platform/ole/COleDataSource.h"
#include "platform/ole/ClipboardFormat.h"
#include "platform/ole/OleConstants.h"

#include <QMessageBox>
#include <QMimeData>
#include <QPushButton>
#include <QtEndian>
#include <QtTest>

#include <climits>
#include <new>
#include <vector>

Q_DECLARE_METATYPE(std::vector<CPoint>)

namespace {

const Qt::DropActions kCopyOrMove = Qt::CopyAction | Qt::MoveAction;

// A curve transfer record: the byte size (or the given size field), then x, y pairs.
QByteArray Record(const std::vector<CPoint>& points, qint64 sizeField = -1) {
    QByteArray bytes(4 + 8 * qsizetype(points.size()), '\0');
    const quint32 size = sizeField < 0 ? quint32(bytes.size()) : quint32(sizeField);
    qToLittleEndian(size, bytes.data());
    for (std::size_t i = 0; i < points.size(); ++i) {
        qToLittleEndian(quint32(points[i].x), bytes.data() + 4 + 8 * i);
        qToLittleEndian(quint32(points[i].y), bytes.data() + 8 + 8 * i);
    }
    return bytes;
}

const std::vector<CPoint> kBox = {{0, 0}, {100, 0}, {100, 50}, {0, 50}}; // bounds 0,0 to 100,50

} // namespace

class ViewDragDropTest : public QObject {
    Q_OBJECT

    std::unique_ptr<ViewHarness> h;
    QMimeData m_mime;

    QWidget* W() { return h->Widget(); }

    DROPEFFECT Enter(QPoint p, Qt::KeyboardModifiers keys = Qt::NoModifier) {
        QDragEnterEvent e(p, kCopyOrMove, &m_mime, Qt::LeftButton, keys);
        QCoreApplication::sendEvent(W(), &e);
        return Effect(e);
    }
    DROPEFFECT Over(QPoint p, Qt::KeyboardModifiers keys = Qt::NoModifier) {
        QDragMoveEvent e(p, kCopyOrMove, &m_mime, Qt::LeftButton, keys);
        QCoreApplication::sendEvent(W(), &e);
        return Effect(e);
    }
    void Leave() {
        QDragLeaveEvent e;
        QCoreApplication::sendEvent(W(), &e);
    }
    bool Drop(QPoint p) {
        QDropEvent e(p, kCopyOrMove, &m_mime, Qt::NoButton, Qt::NoModifier);
        QCoreApplication::sendEvent(W(), &e);
        return e.isAccepted();
    }
    static DROPEFFECT Effect(const QDropEvent& e) {
        // The platform takes every entry so that the moves keep coming; a refusal shows as
        // no action.
        if (!e.isAccepted() || e.dropAction() == Qt::IgnoreAction)
            return DROPEFFECT_NONE;
        return e.dropAction() == Qt::CopyAction ? DROPEFFECT_COPY : DROPEFFECT_MOVE;
    }

    QImage Shown() { return h->view->GetBackingImage()->copy(); }

    // The window's painting with the dragged curve's outline at the offset, as the view
    // should show it.
    QImage WithOutline(const std::vector<CPoint>& points, CPoint at) {
        QImage image = h->Render();
        CCurve outline;
        outline.m_points = points;
        outline.m_bClosed = true;
        outline.Normalize();
        CDC dc;
        dc.AttachImage(&image);
        outline.DrawTracker(&dc, at.x, at.y);
        return image;
    }

    // Lets the window paint whatever is pending.
    void Settle() {
        QCoreApplication::processEvents();
        h->view->UpdateWindow();
    }

private slots:
    void initTestCase() { QVERIFY(AfxOleInit()); }

    void init() {
        h = std::make_unique<ViewHarness>();
        h->Add({{20, 150}, {60, 150}, {60, 200}, {20, 200}}, true);
        h->frame.GetWidget()->show();
        QVERIFY(QTest::qWaitForWindowExposed(h->frame.GetWidget()));
        Settle();
        QCOMPARE(Shown(), h->Render());
        m_mime.clear();
        m_mime.setData("Tav.Swoop", Record(kBox));
    }

    void cleanup() { h.reset(); }

    void entryFindsTheGrabOffsetAndDrawsNothing_data() {
        QTest::addColumn<std::vector<CPoint>>("points");
        QTest::addColumn<QPoint>("entry");
        QTest::addColumn<QPoint>("grab");

        QTest::newRow("entered outside the bounds: centred")
            << kBox << QPoint(150, 120) << QPoint(50, 25);
        QTest::newRow("on the right edge, which lies outside")
            << kBox << QPoint(100, 20) << QPoint(50, 25);
        QTest::newRow("inside: held where entered")
            << std::vector<CPoint>{{10, 20}, {110, 70}, {10, 70}} << QPoint(30, 40)
            << QPoint(20, 20);
        QTest::newRow("odd sizes halve toward zero")
            << std::vector<CPoint>{{0, 0}, {7, 9}} << QPoint(200, 200) << QPoint(3, 4);
        QTest::newRow("a span as wide as 32 bits allow")
            << std::vector<CPoint>{{-2147483647 - 1, 0}, {2147483647, 10}} << QPoint(5, 5)
            << QPoint(-2147483643, 5); // wraps, and wraps back when the outline is placed
    }

    void entryFindsTheGrabOffsetAndDrawsNothing() {
        QFETCH(std::vector<CPoint>, points);
        QFETCH(QPoint, entry);
        QFETCH(QPoint, grab);
        m_mime.setData("Tav.Swoop", Record(points));
        const QImage before = Shown();

        QCOMPARE(Enter(entry), DROPEFFECT_MOVE);
        QCOMPARE(h->view->m_ptGrab, CPoint(grab.x(), grab.y()));
        QVERIFY(h->view->m_pFeedback != nullptr);
        QCOMPARE(Over(entry), DROPEFFECT_MOVE);
        QCOMPARE(Over(entry, Qt::ControlModifier), DROPEFFECT_COPY);
        Settle();
        QCOMPARE(Shown(), before);
    }

    void theOutlineFollowsTheMouseWithoutRepaints() {
        QCOMPARE(Enter({150, 120}), DROPEFFECT_MOVE);
        QCOMPARE(Over({160, 130}), DROPEFFECT_MOVE);
        // A repaint through the document would wipe the outline off the window's image.
        Settle();
        QCOMPARE(Shown(), WithOutline(kBox, {110, 105}));
        QCOMPARE(Over({140, 90}, Qt::ControlModifier), DROPEFFECT_COPY);
        Settle();
        QCOMPARE(Shown(), WithOutline(kBox, {90, 65}));
        // Hovering where it was changes nothing, and an outline partly outside the window is
        // erased as exactly as one inside it.
        Over({140, 90});
        Over({-30, 300});
        Settle();
        QCOMPARE(Shown(), WithOutline(kBox, {-80, 275}));
    }

    void leavingErasesTheOutlineAndRepaints() {
        Enter({150, 120});
        Over({160, 130});
        // A curve the window has not been told about shows only after a full repaint.
        h->Add({{200, 10}, {300, 10}, {300, 60}});
        Leave();
        QVERIFY(h->view->m_pFeedback == nullptr);
        Settle();
        QCOMPARE(Shown(), h->Render());
        const DeviceScale scale = h->view->GetDeviceScale();
        QVERIFY(Shown().pixelColor(int(scale.Map(250)), int(scale.Map(10))) == Qt::black);
    }

    // The window repaints all of itself while the outline shows, as after a change of size or
    // screen: the outline stays while the drag goes on, and however the drag ends none is left.
    void aWholeRepaintDuringTheDragLeavesNoOutline_data() {
        QTest::addColumn<bool>("drop");
        QTest::newRow("dropped elsewhere") << true;
        QTest::newRow("left") << false;
    }

    void aWholeRepaintDuringTheDragLeavesNoOutline() {
        QFETCH(bool, drop);
        Enter({150, 120});
        Over({160, 130});
        h->view->InvalidateRect(nullptr);
        Settle();
        QCOMPARE(Shown(), WithOutline(kBox, {110, 105}));
        // A part repainted meanwhile keeps its piece of the outline too.
        const CRect part(100, 100, 180, 140);
        h->view->InvalidateRect(&part);
        Settle();
        QCOMPARE(Shown(), WithOutline(kBox, {110, 105}));
        if (drop)
            QVERIFY(Drop({60, 40}));
        else
            Leave();
        Settle();
        QCOMPARE(Shown(), h->Render());
        const QImage screen = h->OnScreen();
        QCOMPARE(screen, h->OnScreenRepaintedWhole());
    }

    void aDropAddsAClosedSelectedCurveOnTopAndSwitchesToSelect_data() {
        QTest::addColumn<std::vector<CPoint>>("points");
        QTest::addColumn<QPoint>("entry");
        QTest::addColumn<std::vector<CPoint>>("dropped");

        QTest::newRow("under the pointer")
            << std::vector<CPoint>{{500, 500}, {600, 500}, {600, 550}} << QPoint(150, 120)
            << std::vector<CPoint>{{120, 115}, {220, 115}, {220, 165}};
        // Moved right, the widest curve would pass the end of the range: it stops there whole.
        QTest::newRow("as wide as the range, it stops at the end")
            << std::vector<CPoint>{{INT_MIN, 0}, {INT_MAX, 10}, {0, 20}} << QPoint(160, 125)
            << std::vector<CPoint>{{INT_MIN, 130}, {INT_MAX, 140}, {0, 150}};
    }

    void aDropAddsAClosedSelectedCurveOnTopAndSwitchesToSelect() {
        QFETCH(std::vector<CPoint>, points);
        QFETCH(QPoint, entry);
        QFETCH(std::vector<CPoint>, dropped);
        h->doc.SetModifiedFlag(false);
        m_mime.setData("Tav.Swoop", Record(points));
        QCOMPARE(Enter(entry), DROPEFFECT_MOVE);
        Over({160, 130});
        QVERIFY(Drop({170, 140}));

        QCOMPARE(h->doc.m_curves.size(), std::size_t(2));
        const CCurve* added = h->doc.m_curves.back().get();
        QCOMPARE(h->doc.m_pSelected, added);
        QVERIFY(added->m_bClosed);
        QVERIFY(added->m_points == dropped);
        QCOMPARE(h->view->m_nTool, CSwoop2View::kToolSelect);
        QVERIFY(h->view->m_pFeedback == nullptr);
        QVERIFY(h->doc.IsModified());
        Settle();
        QCOMPARE(Shown(), h->Render());
    }

    void hostileRecordsShowNothingAndDropNothing_data() {
        QTest::addColumn<QByteArray>("record");
        QTest::newRow("size field 0") << Record(kBox, 0);
        QTest::newRow("size field 3") << Record(kBox, 3);
        QTest::newRow("size field past the data") << Record(kBox, 4 + 8 * 4 + 1);
        QTest::newRow("size field 2^32-1") << Record(kBox, 0xFFFFFFFF);
        QTest::newRow("shorter than a size field") << QByteArray("\x04\0", 2);
        QTest::newRow("empty") << QByteArray();
    }

    void hostileRecordsShowNothingAndDropNothing() {
        QFETCH(QByteArray, record);
        m_mime.setData("Tav.Swoop", record);
        const QImage before = Shown();

        QCOMPARE(Enter({150, 120}), DROPEFFECT_NONE);
        QVERIFY(h->view->m_pFeedback == nullptr);
        QCOMPARE(Over({160, 130}), DROPEFFECT_NONE);
        QCOMPARE(Over({10, 10}), DROPEFFECT_NONE);
        Settle();
        QCOMPARE(Shown(), before);
        QVERIFY(!Drop({10, 10}));
        QCOMPARE(h->doc.m_curves.size(), std::size_t(1));
        QCOMPARE(h->view->m_nTool, CSwoop2View::kToolDraw);
        Settle();
        QCOMPARE(Shown(), before);
    }

    void dataWithoutTheFormatIsRefused() {
        m_mime.clear();
        m_mime.setText("not a curve");
        QCOMPARE(Enter({150, 120}), DROPEFFECT_NONE);
        QCOMPARE(Over({160, 130}), DROPEFFECT_NONE);
        QVERIFY(!Drop({160, 130}));
        QCOMPARE(h->doc.m_curves.size(), std::size_t(1));
    }

    void aDragThatCannotRunLeavesTheCurveInPlace() {
        // The offscreen desktop runs no drag: the source sees no effect and keeps its curve.
        h->frame.ExecuteCommand(32771);
        CCurve* curve = h->doc.m_curves.front().get();
        QTest::mousePress(W(), Qt::LeftButton, {}, {40, 170});
        QCOMPARE(h->doc.m_pSelected, curve);
        QVERIFY(h->view->m_bDragPending);
        QTest::mouseMove(W(), {60, 190});
        QVERIFY(!h->view->m_bDragPending);
        QVERIFY(!h->view->m_bDragging);
        QTest::mouseRelease(W(), Qt::LeftButton, {}, {60, 190});
        QCOMPARE(h->doc.m_curves.size(), std::size_t(1));
        QCOMPARE(h->doc.m_pSelected, curve);
    }

    // What the drag ends with decides what the source does with its curve; -1 stands for a
    // drag that ends in an exception.
    void theSourceActsOnTheDragsOutcome_data() {
        QTest::addColumn<int>("outcome");
        QTest::addColumn<bool>("kept");
        QTest::newRow("copy keeps the curve") << int(DROPEFFECT_COPY) << true;
        QTest::newRow("none keeps the curve") << int(DROPEFFECT_NONE) << true;
        QTest::newRow("move removes the curve and the selection") << int(DROPEFFECT_MOVE) << false;
        QTest::newRow("an exception keeps the curve") << -1 << true;
    }

    void theSourceActsOnTheDragsOutcome() {
        QFETCH(int, outcome);
        QFETCH(bool, kept);
        h->frame.ExecuteCommand(32771);
        CCurve* curve = h->doc.m_curves.front().get();
        bool drawEnabled = true;
        bool recordOffered = false;
        COleDataSource::SetDragHook([&](const COleDataSource& source) -> DROPEFFECT {
            drawEnabled = h->Command(32772).enabled;
            recordOffered = source.FindBlock(h->doc.m_cfCurve) != nullptr;
            if (outcome < 0)
                throw std::bad_alloc();
            return DROPEFFECT(outcome);
        });
        SetMessageBoxHook([](const std::string&, UINT) { return IDOK; });
        QTest::mousePress(W(), Qt::LeftButton, {}, {40, 170});
        QTest::mouseMove(W(), {60, 190});
        COleDataSource::SetDragHook({});
        SetMessageBoxHook({});

        QVERIFY(recordOffered);
        QVERIFY(!drawEnabled);
        QVERIFY(!h->view->m_bDragging);
        QVERIFY(h->Command(32772).enabled);
        QCOMPARE(h->IndexOf(curve) == 0, kept);
        QCOMPARE(h->doc.m_curves.size(), std::size_t(kept ? 1 : 0));
        QCOMPARE(h->doc.m_pSelected, kept ? curve : nullptr);
    }

    void inputDuringTheDragReachesOnlyWindowsOpenedMeanwhile() {
        // A press on another curve would select it; a close would take the window away while
        // its drag runs. A message box opened by the drag (a drop handler out of memory) must
        // still take the click that closes it.
        h->Add({{200, 20}, {260, 20}, {260, 80}});
        h->frame.ExecuteCommand(32771);
        CCurve* curve = h->doc.m_curves.front().get();
        QString during;
        int answer = 0;
        bool boxClosedByClick = true;
        // Should the click not get through, the box is hidden without input or a close event,
        // so that the test fails instead of hanging.
        QTimer fallback;
        QObject::connect(&fallback, &QTimer::timeout, [&] {
            if (auto* box = qobject_cast<QMessageBox*>(QApplication::activeModalWidget())) {
                boxClosedByClick = false;
                box->hide();
            }
        });
        COleDataSource::SetDragHook([&](const COleDataSource&) {
            fallback.start(5000);
            QTest::mouseClick(W(), Qt::LeftButton, {}, {230, 50});
            h->frame.GetWidget()->close();
            during = h->State();
            QTimer::singleShot(0, [] {
                if (auto* box = qobject_cast<QMessageBox*>(QApplication::activeModalWidget()))
                    QTest::mouseClick(box->button(QMessageBox::Ok), Qt::LeftButton);
            });
            answer = AfxMessageBox("Out of memory.", MB_OK | MB_ICONEXCLAMATION);
            return DROPEFFECT_NONE;
        });
        QTest::mousePress(W(), Qt::LeftButton, {}, {40, 170});
        QTest::mouseMove(W(), {60, 190});
        COleDataSource::SetDragHook({});
        QTest::mouseRelease(W(), Qt::LeftButton, {}, {60, 190});

        QCOMPARE(during, QString("c(20,150 60,150 60,200 20,200)* c(200,20 260,20 260,80) "
                                 "select dragging"));
        QVERIFY(boxClosedByClick);
        QCOMPARE(answer, IDOK);
        QVERIFY(h->frame.GetWidget()->isVisible());
        QCOMPARE(h->doc.m_pSelected, curve);
    }

    void aMoveRemovesNothingOnceTheDraggedCurveMayBeGone() {
        // Should anything delete the dragged curve while the drag runs, the curve added next
        // may take its address; the move must not remove that one in its place.
        h->frame.ExecuteCommand(32771);
        CCurve* dragged = h->doc.m_curves.front().get();
        CCurve* added = nullptr;
        COleDataSource::SetDragHook([&](const COleDataSource&) {
            h->doc.m_pSelected = nullptr;
            h->doc.RemoveCurve(dragged);
            added = h->Add({{5, 5}, {9, 9}});
            return DROPEFFECT_MOVE;
        });
        QTest::mousePress(W(), Qt::LeftButton, {}, {40, 170});
        QTest::mouseMove(W(), {60, 190});
        COleDataSource::SetDragHook({});
        QCOMPARE(h->doc.m_curves.size(), std::size_t(1));
        QCOMPARE(h->doc.m_curves.front().get(), added);
    }
};

QTEST_MAIN(ViewDragDropTest)
#include "ViewDragDropTest.moc"
