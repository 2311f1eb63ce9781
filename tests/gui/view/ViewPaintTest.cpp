// The view's painting checked pixel by pixel: curves, the selection's handles, and the same
// painting through a painter as printing and the preview use it. The tests also run on screens
// with more pixels than logical units (Qt's scale factor), where the window's image has the
// screen's pixels and everything drawn maps to them.

#include "ViewHarness.h"

#include "platform/framework/AfxRes.h"
#include "platform/ole/AfxOleInit.h"
#include "view/CommandIds.h"

#include <QPainter>
#include <QProcess>
#include <QtTest>

#include <cmath>
#include <vector>

namespace {

// The curves alone, drawn as the curves draw themselves, at the window's ratio.
QImage CurvesOnly(const ViewHarness& h) {
    QImage image = h.Render();
    image.fill(Qt::white);
    CDC dc;
    dc.AttachImage(&image);
    for (const auto& curve : h.doc.m_curves)
        curve->Draw(&dc);
    return image;
}

// Pixels that differ from the expectation: black inside the squares (logical units, left, top,
// right and bottom exclusive) as the screen shows them, the reference everywhere else.
int Mismatches(const ViewHarness& h, const QImage& actual, const QImage& reference,
               const std::vector<CRect>& squares) {
    std::vector<CRect> shown;
    for (const CRect& r : squares)
        shown.push_back(h.view->GetDeviceScale().ToDevice(r));
    int wrong = 0;
    for (int y = 0; y < actual.height(); ++y) {
        for (int x = 0; x < actual.width(); ++x) {
            bool inSquare = false;
            for (const CRect& r : shown)
                inSquare = inSquare || PtInRect(&r, CPoint(x, y));
            const QRgb want = inSquare ? qRgb(0, 0, 0) : reference.pixel(x, y);
            if (actual.pixel(x, y) != want)
                ++wrong;
        }
    }
    return wrong;
}

// A page painted through a painter, as printing and the preview paint it: the view's painting,
// or the curves alone.
QImage Printed(const ViewHarness& h, bool view) {
    QImage page(400, 300, QImage::Format_RGB32);
    page.fill(Qt::white);
    QPainter painter(&page);
    CDC dc;
    dc.AttachPainter(&painter);
    if (view) {
        h.view->OnDraw(&dc);
    } else {
        for (const auto& curve : h.doc.m_curves)
            curve->Draw(&dc);
    }
    painter.end();
    return page;
}

} // namespace

class ViewPaintTest : public QObject {
    Q_OBJECT

private slots:
    void initTestCase() { QVERIFY(AfxOleInit()); }

    void anEmptyDocumentPaintsNothing() {
        ViewHarness h;
        QImage white = h.Render();
        white.fill(Qt::white);
        QCOMPARE(h.Render(), white);
    }

    void theSelectionShowsSquaresOnItsPointsAndOneAtItsCentre() {
        ViewHarness h;
        h.Add({{40, 40}, {120, 30}, {200, 90}, {150, 170}, {60, 140}}, true);
        CCurve* selected = h.Add({{100, 60}, {180, 200}, {30, 190}}, true);
        h.Add({{10, 100}, {300, 110}}, false); // above the selection
        h.doc.m_pSelected = selected;
        // Point squares are 6 by 6 around each point, the centre square 8 by 8 around the
        // middle of the bounds (105, 130).
        const std::vector<CRect> squares = {
            {97, 57, 103, 63}, {177, 197, 183, 203}, {27, 187, 33, 193}, {101, 126, 109, 134}};
        QCOMPARE(Mismatches(h, h.Render(), CurvesOnly(h), squares), 0);
    }

    void theCentreHalvesTowardZero() {
        ViewHarness h;
        // Bounds from x = -5 to 0 and y = 40 to 60: the centre is (-2, 50), not (-3, 50).
        h.doc.m_pSelected = h.Add({{-5, 40}, {0, 60}}, false);
        const std::vector<CRect> squares = {{-8, 37, -2, 43}, {-3, 57, 3, 63}, {-6, 46, 2, 54}};
        QCOMPARE(Mismatches(h, h.Render(), CurvesOnly(h), squares), 0);
        const DeviceScale scale = h.view->GetDeviceScale();
        QCOMPARE(h.Render().pixel(int(scale.Map(1)), int(scale.Map(50))), qRgb(0, 0, 0));
    }

    // On the screen and on paper alike.
    void noHandlesWhileDrawingWithoutSelectionOrForAnEmptyCurve_data() {
        QTest::addColumn<QString>("situation");
        QTest::newRow("drawing") << "drawing";
        QTest::newRow("nothing selected") << "none";
        QTest::newRow("a selected curve without points") << "empty";
    }

    void noHandlesWhileDrawingWithoutSelectionOrForAnEmptyCurve() {
        QFETCH(QString, situation);
        ViewHarness h;
        CCurve* curve = h.Add({{50, 50}, {150, 60}, {100, 150}}, true);
        h.doc.m_pSelected = curve;
        if (situation == "drawing")
            h.view->m_bDrawing = true;
        if (situation == "none")
            h.doc.m_pSelected = nullptr;
        if (situation == "empty")
            h.doc.m_pSelected = h.Add({}, false);
        QCOMPARE(h.Render(), CurvesOnly(h));
        QCOMPARE(Printed(h, true), Printed(h, false));
    }

    void theWindowShowsWhatOnDrawPaints() {
        ViewHarness h;
        h.doc.m_pSelected = h.Add({{50, 50}, {150, 60}, {100, 150}, {20, 120}}, true);
        h.frame.GetWidget()->show();
        QVERIFY(QTest::qWaitForWindowExposed(h.frame.GetWidget()));
        h.view->UpdateWindow();
        const QImage& backing = *h.view->GetBackingImage();
        QCOMPARE(backing, h.Render());
        QCOMPARE(backing.devicePixelRatio(), h.Widget()->devicePixelRatio());
        // The window shows the image's pixels one to one, not scaled up from fewer.
        const QImage shown = h.Widget()->grab().toImage().convertToFormat(QImage::Format_RGB32);
        const QRect common = shown.rect().intersected(backing.rect());
        QVERIFY(common.width() >= backing.width() - 1 && common.height() >= backing.height() - 1);
        QCOMPARE(shown.copy(common), backing.copy(common));
        QVERIFY(h.Widget()->acceptDrops());
    }

    // After each edit the window repaints what changed, and the platform shows again what it is
    // asked to, rounding logical units to pixels its own way. What reaches the screen must still
    // be what a repaint of everything shows, at an odd size and wherever the window starts
    // between two pixels; and the layer made for the first edit serves all the others.
    void theScreenShowsAWholeRepaintAfterEveryEdit_data() {
        QTest::addColumn<QString>("curves");
        QTest::addColumn<QString>("edits");
        QTest::addColumn<int>("offset");
        QTest::addColumn<int>("left");
        QTest::addColumn<int>("layers");
        // A selection of several curves leaves them all off the layer, which is made again.
        struct Row {
            const char* name;
            const char* curves;
            const char* edits;
            int left;
            int layers = 1;
        };
        const Row rows[] = {
            {"cut a line across the right edge", "o 10 30 90 34", "select 40 32; cut", 0},
            {"select, deselect, select", "c 20 45 40 50 30 58",
             "select 30 52; select 65 10; select 30 52", 1},
            {"point drag, then a click on empty space", "c 20 45 40 50 30 58",
             "select 30 52; drag 40 50 47 54; select 65 10", 1},
            {"a small selection moved into another program", "c 20 45 40 50 30 58",
             "select 30 52; remove", 0},
            {"a point appended near the first of an open selection",
             "o 20 20 60 20 60 50 25 22 22 25", "select 40 30; tool draw; draw 8 27", 1},
            {"an exposed part beside a curve", "o 2 5 2 25 | o 3 10 30 10 30 20",
             "expose 3 0 40 40", 2},
            {"a selection beside a curve", "o 2 5 2 25 | o 3 10 30 10 30 20",
             "expose 60 50 70 60; select 20 15", 2},
            {"every curve joining a selection", "o 2 5 2 25 | c 20 45 40 50 30 58",
             "select 30 52; all", 2, 2},
        };
        for (const Row& row : rows)
            for (int offset : {0, 1, 3})
                QTest::newRow(qPrintable(QString("%1, window at %2").arg(row.name).arg(offset)))
                    << QString(row.curves) << QString(row.edits) << offset << row.left
                    << row.layers;
    }

    void theScreenShowsAWholeRepaintAfterEveryEdit() {
        QFETCH(QString, curves);
        QFETCH(QString, edits);
        QFETCH(int, offset);
        QFETCH(int, left);
        QFETCH(int, layers);
        ViewHarness h(73, 61);
        for (const QString& curve : curves.split('|')) {
            const QStringList v = curve.split(' ', Qt::SkipEmptyParts);
            CCurve* added = h.Add({}, v[0] == "c");
            for (int i = 1; i + 1 < v.size(); i += 2)
                added->m_points.push_back(CPoint(v[i].toInt(), v[i + 1].toInt()));
        }
        h.frame.GetWidget()->setContentsMargins(offset, offset, 0, 0);
        h.frame.GetWidget()->show();
        QVERIFY(QTest::qWaitForWindowExposed(h.frame.GetWidget()));
        h.view->UpdateWindow();
        // The image covers the whole window, the last partly shown column and row included.
        const double ratio = h.Widget()->devicePixelRatio();
        QCOMPARE(h.view->GetBackingImage()->width(), int(std::ceil(73 * ratio)));
        QCOMPARE(h.view->GetBackingImage()->height(), int(std::ceil(61 * ratio)));

        h.view->m_nTool = CSwoop2View::kToolSelect;
        for (const QString& edit : edits.split(';')) {
            const QStringList v = edit.split(' ', Qt::SkipEmptyParts);
            const auto at = [&](int i) { return CPoint(v[i].toInt(), v[i + 1].toInt()); };
            if (v[0] == "select" || v[0] == "draw") {
                h.view->OnLButtonDown(MK_LBUTTON, at(1));
                h.view->OnLButtonUp(0, at(1));
            } else if (v[0] == "drag") {
                h.view->OnLButtonDown(MK_LBUTTON, at(1));
                QVERIFY(h.view->m_bMovingPoint);
                for (int step = 1; step <= 3; ++step) {
                    const CPoint to = at(3);
                    const CPoint from = at(1);
                    h.view->OnMouseMove(MK_LBUTTON, CPoint(from.x + (to.x - from.x) * step / 3,
                                                           from.y + (to.y - from.y) * step / 3));
                    h.view->UpdateWindow();
                    const QImage shown = h.OnScreen();
                    QCOMPARE(shown, h.OnScreenRepaintedWhole());
                }
                h.view->OnLButtonUp(0, at(3));
            } else if (v[0] == "tool") {
                h.frame.ExecuteCommand(v[1] == "draw" ? ID_CURVES_DRAW : ID_CURVES_SELECT);
            } else if (v[0] == "all") {
                h.frame.ExecuteCommand(ID_EDIT_SELECT_ALL);
            } else if (v[0] == "cut") {
                h.frame.ExecuteCommand(ID_EDIT_CUT);
            } else if (v[0] == "remove") {
                // What a drag that another program took as a move leaves.
                CCurve* moved = h.doc.m_pSelected;
                h.doc.m_pSelected = nullptr;
                h.doc.RemoveCurve(moved);
            } else if (v[0] == "expose") {
                const CRect part(at(1).x, at(1).y, at(3).x, at(3).y);
                h.view->InvalidateRect(&part);
            }
            h.view->UpdateWindow();
            const QImage shown = h.OnScreen();
            QVERIFY2(shown == h.OnScreenRepaintedWhole(), qPrintable(edit));
        }
        QCOMPARE(int(h.doc.m_curves.size()), left);
        QCOMPARE(h.view->LayersMade(), std::uint64_t(layers));
    }

    // A curve changed behind the layer's back, with no update before the next paint, leaves
    // the layer out of step: the checking build stops at the first repaint that shows it.
    void aChangeWithoutAnUpdateStopsTheCheckingBuild() {
        if (!CView::IsLayerChecked())
            QSKIP("only the sanitizer build checks the layer");
        if (!qEnvironmentVariableIsSet("SWOOP2_CHANGE_BEHIND_THE_LAYER")) {
            QProcess child;
            QProcessEnvironment environment = QProcessEnvironment::systemEnvironment();
            environment.insert("SWOOP2_CHANGE_BEHIND_THE_LAYER", "1");
            child.setProcessEnvironment(environment);
            child.start(QCoreApplication::applicationFilePath(),
                        {"aChangeWithoutAnUpdateStopsTheCheckingBuild"});
            QVERIFY(child.waitForFinished(120000));
            const QByteArray errors = child.readAllStandardError();
            QCOMPARE(child.exitStatus(), QProcess::CrashExit);
            QVERIFY2(errors.contains("layer is out of step"), errors.constData());
            return;
        }
        ViewHarness h;
        CCurve* behind = h.Add({{40, 40}, {120, 50}, {80, 120}}, true);
        h.Add({{200, 40}, {280, 60}, {240, 150}}, true);
        h.frame.GetWidget()->show();
        QVERIFY(QTest::qWaitForWindowExposed(h.frame.GetWidget()));
        const CRect part(0, 0, 160, 160);
        h.view->InvalidateRect(&part);
        h.view->UpdateWindow();
        QCOMPARE(h.view->LayersMade(), std::uint64_t(1));
        behind->m_points[1] = CPoint(150, 20);
        h.view->InvalidateRect(&part);
        h.view->UpdateWindow();
        QFAIL("a repaint from a layer out of step went unnoticed");
    }

    void printingPaintsTheSameHandles() {
        ViewHarness h;
        h.doc.m_pSelected = h.Add({{50, 50}, {150, 60}, {100, 150}}, true);
        const QImage page = Printed(h, true);
        // Unscaled: the squares land on the same device pixels as on screen.
        for (const CPoint& pt : h.doc.m_pSelected->m_points) {
            QCOMPARE(page.pixel(pt.x - 3, pt.y - 3), qRgb(0, 0, 0));
            QCOMPARE(page.pixel(pt.x + 2, pt.y + 2), qRgb(0, 0, 0));
            QCOMPARE(page.pixel(pt.x + 3, pt.y - 4), qRgb(255, 255, 255));
        }
        QCOMPARE(page.pixel(96, 96), qRgb(0, 0, 0)); // centre (100, 100)
        QCOMPARE(page.pixel(103, 103), qRgb(0, 0, 0));
        for (const UINT id : {ID_FILE_PRINT, ID_FILE_PRINT_DIRECT, ID_FILE_PRINT_PREVIEW})
            QVERIFY(h.view->OnCmdMsg(id, CN_COMMAND, nullptr, true));
    }
};

QTEST_MAIN(ViewPaintTest)
#include "ViewPaintTest.moc"
