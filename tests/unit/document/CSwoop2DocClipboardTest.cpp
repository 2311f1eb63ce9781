#include "RecordingView.h"
#include "document/CSwoop2Doc.h"

#include "platform/framework/CommandRouting.h"
#include "platform/ole/AfxOleInit.h"
#include "platform/ole/COleDataObject.h"
#include "platform/ole/ClipboardFormat.h"

#include <QClipboard>
#include <QGuiApplication>
#include <QImage>
#include <QMimeData>

#include <gtest/gtest.h>

#include <climits>
#include <cstring>

namespace {

using Bytes = std::vector<std::uint8_t>;

Bytes Words(std::initializer_list<std::uint32_t> words) {
    Bytes bytes;
    for (std::uint32_t w : words) {
        for (int i = 0; i < 4; ++i)
            bytes.push_back(static_cast<std::uint8_t>(w >> (8 * i)));
    }
    return bytes;
}

HGLOBAL Block(const Bytes& bytes) {
    HGLOBAL h = GlobalAlloc(GMEM_MOVEABLE, bytes.size());
    if (!bytes.empty())
        std::memcpy(GlobalLock(h), bytes.data(), bytes.size());
    GlobalUnlock(h);
    return h;
}

Bytes Contents(HGLOBAL h) {
    Bytes bytes(GlobalSize(h));
    if (!bytes.empty())
        std::memcpy(bytes.data(), GlobalLock(h), bytes.size());
    GlobalUnlock(h);
    return bytes;
}

class Clipboard : public ::testing::Test {
protected:
    Clipboard() {
        EXPECT_TRUE(AfxOleInit());
        QGuiApplication::clipboard()->clear();
        doc.AddView(&view);
    }
    ~Clipboard() override {
        doc.RemoveView(&view);
        QGuiApplication::clipboard()->clear();
    }

    CCurve* Add(std::vector<CPoint> points, bool closed = false) {
        auto owned = std::make_unique<CCurve>();
        owned->m_points = std::move(points);
        owned->m_bClosed = closed;
        CCurve* curve = owned.get();
        doc.AddCurve(std::move(owned));
        doc.SetModifiedFlag(false);
        return curve;
    }

    CSwoop2Doc doc;
    RecordingView view;
};

} // namespace

TEST(CurveRecord, RegistersTheOwnFormatUnderItsName) {
    const CSwoop2Doc doc;
    EXPECT_NE(doc.m_cfCurve, 0);
    EXPECT_EQ(doc.m_cfCurve, RegisterClipboardFormat("Tav.Swoop"));
}

TEST(CurveRecord, EncodesTheSizeAndThePointsLittleEndian) {
    const CSwoop2Doc doc;
    CCurve curve;
    curve.m_points = {{10, 20}, {30, 40}, {50, 60}};
    HGLOBAL h = doc.CurveToGlobal(&curve);
    ASSERT_NE(h, nullptr);
    EXPECT_EQ(Contents(h), Words({28, 10, 20, 30, 40, 50, 60}));
    GlobalFree(h);

    CCurve negative;
    negative.m_points = {{-1, INT_MIN}};
    h = doc.CurveToGlobal(&negative);
    EXPECT_EQ(Contents(h), Words({12, 0xFFFFFFFF, 0x80000000}));
    GlobalFree(h);
}

TEST(CurveRecord, DecodesAClosedCurveGoingBySizeFieldAndLeavesTheBlock) {
    const CSwoop2Doc doc;
    const struct {
        Bytes record;
        std::vector<CPoint> points;
    } rows[] = {
        {Words({28, 10, 20, 30, 40, 50, 60}), {{10, 20}, {30, 40}, {50, 60}}},
        {Words({4}), {}},
        {[] {
             Bytes b = Words({13, 0xFFFFFFFF, 7});
             b.push_back(0xAB); // the odd byte is ignored
             return b;
         }(),
         {{-1, 7}}},
        {Words({12, 1, 2, 3, 4}), {{1, 2}}}, // the block is larger than the record
    };
    for (const auto& row : rows) {
        HGLOBAL h = Block(row.record);
        const std::unique_ptr<CCurve> curve = doc.CurveFromGlobal(h);
        ASSERT_NE(curve, nullptr);
        EXPECT_TRUE(curve->m_bClosed);
        EXPECT_EQ(curve->m_points, row.points);
        EXPECT_EQ(Contents(h), row.record); // still the caller's
        GlobalFree(h);
    }
}

TEST(CurveRecord, RefusesRecordsThatPointOutsideTheirBlock) {
    const CSwoop2Doc doc;
    EXPECT_EQ(doc.CurveFromGlobal(nullptr), nullptr);
    for (const Bytes& record : {Words({0}), Words({3, 0}), Words({0xFFFFFFFF, 1, 2}),
                                Words({20, 1, 2}), Bytes{4, 0}, Bytes{}}) {
        HGLOBAL h = Block(record);
        EXPECT_EQ(doc.CurveFromGlobal(h), nullptr);
        GlobalFree(h);
    }
    // Several curves: no count may ask for more than the block holds, and nothing is
    // allocated from one that does.
    for (const Bytes& record :
         {Words({1}), Words({0xFFFFFFFF, 0}), Words({2, 0}), Words({1, 1, 5}),
          Words({1, 0x20000000, 1, 2}), Words({2, 1, 5, 6, 0xFFFFFFFF}), Bytes{1, 0}, Bytes{}}) {
        HGLOBAL h = Block(record);
        EXPECT_TRUE(doc.CurvesFromGlobal(h).empty());
        GlobalFree(h);
    }
    HGLOBAL h = Block(Words({2, 1, 5, 6, 0, 7}));
    const auto curves = doc.CurvesFromGlobal(h);
    GlobalFree(h);
    ASSERT_EQ(curves.size(), 2u);
    EXPECT_EQ(curves[0]->m_points, (std::vector<CPoint>{{5, 6}}));
    EXPECT_TRUE(curves[1]->m_points.empty() && curves[1]->m_bClosed);
}

TEST_F(Clipboard, CopyOffersTheRecordFirstAndLeavesTheDocumentAlone) {
    CCurve* curve = Add({{10, 20}, {30, 40}, {50, 60}});
    doc.m_pSelected = curve;
    doc.OnEditCopy();
    EXPECT_EQ(doc.m_curves.size(), 1u);
    EXPECT_EQ(view.m_nUpdates, 0);
    EXPECT_FALSE(doc.IsModified());

    const QMimeData* mime = QGuiApplication::clipboard()->mimeData();
    ASSERT_NE(mime, nullptr);
    ASSERT_FALSE(mime->formats().isEmpty());
    EXPECT_EQ(mime->formats().first(), QStringLiteral("Tav.Swoop"));
    const QByteArray record = mime->data(QStringLiteral("Tav.Swoop"));
    EXPECT_EQ(Bytes(record.begin(), record.end()), Words({28, 10, 20, 30, 40, 50, 60}));
}

TEST_F(Clipboard, CopyThenPasteAddsAClosedCopyOnTopAndSelectsIt) {
    CCurve* original = Add({{10, 20}, {30, 40}, {-50, 60}});
    Add({{0, 0}, {5, 5}});
    doc.m_pSelected = original;
    doc.OnEditCopy();

    doc.OnEditPaste();
    ASSERT_EQ(doc.m_curves.size(), 3u);
    CCurve* pasted = doc.m_curves.back().get();
    EXPECT_EQ(doc.m_pSelected, pasted);
    EXPECT_EQ(pasted->m_points, original->m_points);
    EXPECT_TRUE(pasted->m_bClosed);
    EXPECT_FALSE(original->m_bClosed);
    EXPECT_EQ(view.m_nUpdates, 1);
    EXPECT_TRUE(doc.IsModified());

    doc.OnEditPaste();
    ASSERT_EQ(doc.m_curves.size(), 4u);
    EXPECT_EQ(doc.m_pSelected, doc.m_curves.back().get());
    EXPECT_EQ(doc.m_curves[3]->m_points, doc.m_curves[2]->m_points);
}

TEST_F(Clipboard, CutThenPasteBringsTheCurveBackOnTopClosed) {
    CCurve* cut = Add({{1, 2}, {3, 4}});
    Add({{7, 7}, {9, 9}});
    doc.m_pSelected = cut;
    doc.m_nSelPoint = 1;
    doc.OnEditCut();
    ASSERT_EQ(doc.m_curves.size(), 1u);
    EXPECT_EQ(doc.m_pSelected, nullptr);
    EXPECT_EQ(doc.m_nSelPoint, 1);
    EXPECT_EQ(view.m_nUpdates, 2);
    EXPECT_TRUE(doc.IsModified());

    doc.OnEditPaste();
    ASSERT_EQ(doc.m_curves.size(), 2u);
    EXPECT_EQ(doc.m_curves[1]->m_points, (std::vector<CPoint>{{1, 2}, {3, 4}}));
    EXPECT_TRUE(doc.m_curves[1]->m_bClosed);
    EXPECT_EQ(doc.m_pSelected, doc.m_curves[1].get());
}

TEST_F(Clipboard, PasteIgnoresTextAndPictures) {
    QGuiApplication::clipboard()->setText(QStringLiteral("Tav.Swoop"));
    doc.OnEditPaste();
    QImage picture(8, 8, QImage::Format_RGB32);
    picture.fill(Qt::white);
    QGuiApplication::clipboard()->setImage(picture);
    doc.OnEditPaste();
    EXPECT_TRUE(doc.m_curves.empty());
    EXPECT_EQ(view.m_nUpdates, 0);
    EXPECT_FALSE(doc.IsModified());
}

TEST_F(Clipboard, PasteOfARecordWithoutACurveAddsNothingAndOfAnEmptyOneAnEmptyCurve) {
    const auto offer = [](std::uint32_t sizeField) {
        auto* mime = new QMimeData;
        const Bytes record = Words({sizeField});
        mime->setData(
            QStringLiteral("Tav.Swoop"),
            QByteArray(reinterpret_cast<const char*>(record.data()), qsizetype(record.size())));
        QGuiApplication::clipboard()->setMimeData(mime);
    };
    offer(2);
    doc.OnEditPaste();
    EXPECT_TRUE(doc.m_curves.empty());
    EXPECT_EQ(doc.m_pSelected, nullptr);
    EXPECT_EQ(view.m_nUpdates, 1);

    CCurve* below = Add({{1, 1}, {2, 2}});
    offer(4);
    doc.OnEditPaste();
    ASSERT_EQ(doc.m_curves.size(), 2u);
    EXPECT_EQ(doc.m_curves[0].get(), below);
    EXPECT_TRUE(doc.m_curves[1]->m_points.empty());
    EXPECT_TRUE(doc.m_curves[1]->m_bClosed);
    EXPECT_EQ(doc.m_pSelected, doc.m_curves[1].get());
    EXPECT_TRUE(doc.IsModified());
}

TEST_F(Clipboard, CopyThroughAViewOffersTheRecordThePictureAndTheCurvesAsSvg) {
    doc.m_pSelected = Add({{10, 20}, {30, 40}, {50, 60}});
    {
        const CRoutingScope routing(&view);
        doc.OnEditCopy();
    }
    const QMimeData* mime = QGuiApplication::clipboard()->mimeData();
    const QStringList formats = mime->formats();
    ASSERT_GE(formats.size(), 2);
    EXPECT_EQ(formats[0], QStringLiteral("Tav.Swoop"));
    EXPECT_TRUE(mime->hasImage());
    // Placed as the picture is: the points' top-left corner at the origin, the margin beyond.
    const QByteArray svg = mime->data(QStringLiteral("image/svg+xml"));
    EXPECT_TRUE(svg.contains("viewBox=\"0 0 50 50\"")) << svg.toStdString();
    EXPECT_TRUE(svg.contains("d=\"M 0 0 L 20 20 L 40 40\"")) << svg.toStdString();

    COleDataObject data;
    ASSERT_TRUE(data.AttachClipboard());
    HGLOBAL picture = data.GetGlobalData(CF_DIB);
    ASSERT_NE(picture, nullptr);
    const Bytes bytes = Contents(picture);
    GlobalFree(picture);
    ASSERT_EQ(bytes.size(), 7640u);
    EXPECT_EQ(Bytes(bytes.begin(), bytes.begin() + 12), Words({40, 50, 50}));
    data.Release();

    // Two curves: the record of several, in stacking order, alone, and a picture of both.
    CCurve* second = Add({{100, 20}, {120, 90}});
    doc.SelectCurves({doc.m_curves[0].get(), second}, false);
    {
        const CRoutingScope routing(&view);
        doc.OnEditCopy();
    }
    mime = QGuiApplication::clipboard()->mimeData();
    EXPECT_FALSE(mime->hasFormat(QStringLiteral("Tav.Swoop")));
    // Drawing programs get both curves, placed as the picture of both is.
    const QByteArray svgOfBoth = mime->data(QStringLiteral("image/svg+xml"));
    EXPECT_EQ(svgOfBoth.count("<path"), 2) << svgOfBoth.toStdString();
    EXPECT_TRUE(svgOfBoth.contains("viewBox=\"0 0 120 80\"")) << svgOfBoth.toStdString();
    const QByteArray several = mime->data(QStringLiteral("Tav.Swoop.Curves"));
    EXPECT_EQ(Bytes(several.begin(), several.end()),
              Words({2, 3, 10, 20, 30, 40, 50, 60, 2, 100, 20, 120, 90}));
    ASSERT_TRUE(data.AttachClipboard());
    picture = data.GetGlobalData(CF_DIB);
    ASSERT_NE(picture, nullptr);
    const Bytes both = Contents(picture);
    GlobalFree(picture);
    EXPECT_EQ(Bytes(both.begin(), both.begin() + 12), Words({40, 120, 80}));
}

TEST_F(Clipboard, CopyOfACurveWithoutPointsOffersTheRecordAlone) {
    doc.m_pSelected = Add({});
    {
        const CRoutingScope routing(&view);
        doc.OnEditCopy();
    }
    const QMimeData* mime = QGuiApplication::clipboard()->mimeData();
    EXPECT_EQ(mime->formats(), QStringList{QStringLiteral("Tav.Swoop")});
    const QByteArray record = mime->data(QStringLiteral("Tav.Swoop"));
    EXPECT_EQ(Bytes(record.begin(), record.end()), Words({4}));
}

TEST_F(Clipboard, EditCommandsReachTheDocumentThroughItsTable) {
    doc.m_pSelected = Add({{1, 1}, {2, 2}});
    EXPECT_TRUE(doc.OnCmdMsg(ID_EDIT_CUT, CN_COMMAND, nullptr));
    EXPECT_TRUE(doc.m_curves.empty());
    EXPECT_TRUE(doc.OnCmdMsg(ID_EDIT_PASTE, CN_COMMAND, nullptr));
    ASSERT_EQ(doc.m_curves.size(), 1u);
    EXPECT_EQ(doc.m_pSelected, doc.m_curves[0].get());
    EXPECT_TRUE(doc.OnCmdMsg(ID_EDIT_COPY, CN_COMMAND, nullptr, true));
}

TEST(CSwoop2DocClass, IsCreatedByItsClassName) {
    const CRuntimeClass* runtimeClass = RUNTIME_CLASS(CSwoop2Doc);
    EXPECT_STREQ(runtimeClass->m_lpszClassName, "CSwoop2Doc");
    std::unique_ptr<CCmdTarget> object(runtimeClass->CreateObject());
    EXPECT_NE(dynamic_cast<CSwoop2Doc*>(object.get()), nullptr);
}
