// The view's painting checked pixel by pixel: curves, the selection's handles, and the same
// painting through a painter as printing and the preview use it. The tests also run on screens
// with more pixels than logical units (Qt's scale factor), where the window's image has the
// screen's pixels and everything drawn maps to them.

#include "ViewHarness.h"

#include "platform/framework/AfxRes.h"

#include <QPainter>
#include <QtTest>

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
