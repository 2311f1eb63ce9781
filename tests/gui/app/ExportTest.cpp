// Writing a drawing to a file without a window: the PNG is the window's own painting of the
// opened document, pixel for pixel; the PDF is a page of it; failures name the file and the
// cause.

#include "app/CommandLine.h"
#include "app/DrawingExporter.h"
#include "gui/view/ViewHarness.h"
#include "platform/framework/AfxMessageBox.h"

#include <QFile>
#include <QTemporaryDir>
#include <QtTest>

#include <cstdint>
#include <string>
#include <vector>

namespace {

using Curves = std::vector<std::vector<CPoint>>;

// A document file: the curve count, then each curve's point count and points, little-endian.
QByteArray DocumentBytes(const Curves& curves) {
    QByteArray bytes;
    const auto put = [&](std::int32_t v) {
        const auto u = static_cast<std::uint32_t>(v);
        for (int i = 0; i < 4; ++i)
            bytes.append(char((u >> (8 * i)) & 0xFF));
    };
    put(std::int32_t(curves.size()));
    for (const auto& points : curves) {
        put(std::int32_t(points.size()));
        for (const CPoint& pt : points) {
            put(pt.x);
            put(pt.y);
        }
    }
    return bytes;
}

// Curves of every kind the view draws: a dot, a line, a triangle's two sides, Bezier curves.
const Curves kDrawing = {
    {{30, 40}},
    {{40, 200}, {280, 30}},
    {{60, 60}, {120, 40}, {90, 120}},
    {{100, 100}, {200, 60}, {250, 180}, {150, 210}, {60, 160}},
    {{150, 30}, {160, 30}, {160, 40}, {150, 40}},
};

bool IsAllWhite(const QImage& image) {
    for (int y = 0; y < image.height(); ++y)
        for (int x = 0; x < image.width(); ++x)
            if (image.pixel(x, y) != qRgb(255, 255, 255))
                return false;
    return true;
}

} // namespace

class ExportTest : public QObject {
    Q_OBJECT

    QTemporaryDir m_dir;
    std::vector<std::string> m_messages;

    std::string Path(const char* name) const { return m_dir.filePath(name).toStdString(); }

    std::string WriteDocument(const char* name, const QByteArray& bytes) const {
        QFile file(QString::fromStdString(Path(name)));
        if (!file.open(QIODevice::WriteOnly) || file.write(bytes) != bytes.size())
            return {};
        return Path(name);
    }

    static int Run(const std::vector<std::string>& args) {
        const CommandLine request = CommandLine::Parse(args);
        if (request.m_action != CommandLine::Action::Export)
            return -1;
        return DrawingExporter::Run(request);
    }

    // The window's own painting of the view, from a shown frame.
    static QImage WindowOf(ViewHarness& h) {
        h.frame.GetWidget()->show();
        if (!QTest::qWaitForWindowExposed(h.frame.GetWidget()))
            return {};
        h.view->UpdateWindow();
        return h.view->GetBackingImage()->convertToFormat(QImage::Format_RGB32);
    }

private slots:
    void init() {
        m_messages.clear();
        SetMessageBoxHook([this](const std::string& text, UINT) {
            m_messages.push_back(text);
            return IDOK;
        });
    }
    void cleanup() { SetMessageBoxHook({}); }

    void extentIsTheBezierPointsWithAMargin() {
        CSwoop2Doc doc;
        QCOMPARE(DrawingExporter::ExtentOf(doc), CRect(-10, -10, 11, 11));
        auto curve = std::make_unique<CCurve>();
        // Its Bezier points reach y = -9 and x = 69, beyond the control points.
        curve->m_points = {{0, 0}, {60, 0}, {60, 60}, {0, 60}};
        doc.AddCurve(std::move(curve));
        QCOMPARE(DrawingExporter::ExtentOf(doc), CRect(-10, -19, 80, 80));
        doc.AddCurve(std::make_unique<CCurve>()); // a curve without points adds nothing
        auto dot = std::make_unique<CCurve>();
        dot->m_points = {{-100, 500}};
        doc.AddCurve(std::move(dot));
        QCOMPARE(DrawingExporter::ExtentOf(doc), CRect(-110, -19, 80, 511));
    }

    void pngIsTheWindowsPaintingOfTheOpenedDrawing() {
        const std::string input = WriteDocument("drawing", DocumentBytes(kDrawing));
        QVERIFY(!input.empty());
        ViewHarness h(320, 240);
        QVERIFY(h.doc.OnOpenDocument(input));
        const QImage window = WindowOf(h);
        QVERIFY(!window.isNull());

        QCOMPARE(Run({"-o", Path("drawing.png"), input}), 0);
        QVERIFY(m_messages.empty());
        const QImage png(QString::fromStdString(Path("drawing.png")));
        const CRect area = DrawingExporter::ExtentOf(h.doc);
        // The window holds the whole extent, so that it can be compared.
        QVERIFY(area.left >= 0 && area.top >= 0 && area.right <= 320 && area.bottom <= 240);
        QCOMPARE(png.convertToFormat(QImage::Format_RGB32),
                 window.copy(area.left, area.top, int(area.Width()), int(area.Height())));
        QVERIFY(!IsAllWhite(png));
    }

    void pngOfAnAreaIsThatPartOfTheWindowAndWhiteBeyond() {
        const std::string input = WriteDocument("drawing", DocumentBytes(kDrawing));
        ViewHarness h(320, 240);
        QVERIFY(h.doc.OnOpenDocument(input));
        const QImage window = WindowOf(h);

        QCOMPARE(Run({"--export-area", "-15:-10:200:150", "-o", Path("part.png"), input}), 0);
        const QImage png =
            QImage(QString::fromStdString(Path("part.png"))).convertToFormat(QImage::Format_RGB32);
        QCOMPARE(png.size(), QSize(215, 160));
        QCOMPARE(png.copy(15, 10, 200, 150), window.copy(0, 0, 200, 150));
        QVERIFY(IsAllWhite(png.copy(0, 0, 15, 160)));
        QVERIFY(IsAllWhite(png.copy(0, 0, 215, 10)));
    }

    // The picture is the view's painting, not the curves alone: a selection would show its
    // handles in it exactly as in the window.
    void aSelectedCurveShowsItsHandlesAsInTheWindow() {
        ViewHarness h(320, 240);
        h.Add({{100, 100}, {200, 60}, {250, 180}, {150, 210}}, false);
        h.doc.m_pSelected = h.Add({{40, 50}, {90, 70}, {60, 120}}, true);
        const QImage window = WindowOf(h);
        const CRect area(0, 0, 320, 240);
        QCOMPARE(
            DrawingExporter::Write(h.doc, Path("selected.png"), CommandLine::Format::Png, area),
            std::string());
        const QImage png(QString::fromStdString(Path("selected.png")));
        QCOMPARE(png.convertToFormat(QImage::Format_RGB32), window);
        QCOMPARE(png.pixel(37, 47), qRgb(0, 0, 0)); // the handle of (40, 50)
    }

    void pdfIsOnePageOfTheArea() {
        const std::string input = WriteDocument("drawing", DocumentBytes(kDrawing));
        QCOMPARE(Run({"-o", Path("drawing.pdf"), input}), 0);
        QFile pdf(QString::fromStdString(Path("drawing.pdf")));
        QVERIFY(pdf.open(QIODevice::ReadOnly));
        const QByteArray bytes = pdf.readAll();
        QVERIFY(bytes.startsWith("%PDF-"));
        QVERIFY(bytes.contains("/Count 1"));
        // One unit is one point: the page is the area.
        QCOMPARE(Run({"--export-area", "0:0:271:201", "-o", Path("area.pdf"), input}), 0);
        QFile area(QString::fromStdString(Path("area.pdf")));
        QVERIFY(area.open(QIODevice::ReadOnly));
        QVERIFY(area.readAll().contains("/MediaBox [0 0 271.000000 201.000000]"));
    }

    void aDrawingThatCannotBeReadIsReportedAndNothingWritten() {
        const std::string missing = Path("no such drawing");
        QCOMPARE(Run({"-o", Path("a.png"), missing}), 1);
        QCOMPARE(m_messages.size(), std::size_t(1));
        QVERIFY(m_messages[0].find("\"" + missing + "\"") != std::string::npos);
        QVERIFY(m_messages[0].find("does not exist") != std::string::npos);

        // One curve announced with two points, and only one there.
        const std::string truncated =
            WriteDocument("truncated", DocumentBytes({{{1, 2}, {3, 4}}}).left(4 + 4 + 8));
        m_messages.clear();
        QCOMPARE(Run({"-o", Path("b.svg"), truncated}), 1);
        QCOMPARE(m_messages.size(), std::size_t(1));
        QVERIFY(m_messages[0].find("\"" + truncated + "\"") != std::string::npos);
        QVERIFY(m_messages[0].find("ended") != std::string::npos);
        QVERIFY(!QFile::exists(QString::fromStdString(Path("a.png"))));
        QVERIFY(!QFile::exists(QString::fromStdString(Path("b.svg"))));
    }

    void anOutputThatCannotBeWrittenIsReported() {
        const std::string input = WriteDocument("drawing", DocumentBytes(kDrawing));
        for (const char* format : {"png", "svg", "pdf"}) {
            m_messages.clear();
            const std::string output = Path("missing folder/out.") + format;
            QCOMPARE(Run({"-o", output, input}), 1);
            QCOMPARE(m_messages.size(), std::size_t(1));
            QCOMPARE(m_messages[0],
                     "Could not write \"" + output + "\".\nThe folder does not exist.");
        }
        // Written over the drawing it comes from, the drawing would be lost.
        m_messages.clear();
        const QByteArray before = DocumentBytes(kDrawing);
        QCOMPARE(Run({"--export-type", "svg", "-o", input, input}), 1);
        QCOMPARE(m_messages.at(0),
                 "Could not write \"" + input + "\".\nIt is the drawing being read.");
        QFile kept(QString::fromStdString(input));
        QVERIFY(kept.open(QIODevice::ReadOnly));
        QCOMPARE(kept.readAll(), before);

        m_messages.clear();
        QCOMPARE(Run({"--export-area", "0:0:20000:10", "-o", Path("wide.png"), input}), 1);
        QVERIFY(m_messages.at(0).find("20000 by 10 pixels") != std::string::npos);
        QVERIFY(!QFile::exists(QString::fromStdString(Path("wide.png"))));
    }
};

QTEST_MAIN(ExportTest)
#include "ExportTest.moc"
