#include "RecordingView.h"
#include "document/CSwoop2Doc.h"

#include "curve/PointBlock.h"
#include "platform/framework/CArchive.h"
#include "platform/framework/CException.h"
#include "platform/framework/CMemFile.h"

#include <gtest/gtest.h>

#include <algorithm>
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

Bytes Store(CSwoop2Doc& doc) {
    CMemFile file;
    CArchive ar(&file, CArchive::store);
    doc.Serialize(ar);
    ar.Close();
    const auto& data = file.GetData();
    Bytes bytes(data.size());
    std::memcpy(bytes.data(), data.data(), data.size());
    return bytes;
}

// Loads the bytes into the document, as Open does after emptying it.
void Load(CSwoop2Doc& doc, const Bytes& bytes) {
    CMemFile file(bytes.data(), bytes.size());
    CArchive ar(&file, CArchive::load);
    doc.Serialize(ar);
}

CCurve* Add(CSwoop2Doc& doc, std::vector<CPoint> points, bool closed = false) {
    auto curve = std::make_unique<CCurve>();
    curve->m_points = std::move(points);
    curve->m_bClosed = closed;
    CCurve* added = curve.get();
    doc.AddCurve(std::move(curve));
    return added;
}

} // namespace

TEST(Serialize, WritesTheWorkedExampleAndTheEmptyDocument) {
    CSwoop2Doc empty;
    EXPECT_EQ(Store(empty), Words({0}));

    CSwoop2Doc doc;
    Add(doc, {{10, 20}, {30, 40}});
    const Bytes expected = {0x01, 0, 0, 0, 0x02, 0, 0, 0, 0x0A, 0, 0, 0,
                            0x14, 0, 0, 0, 0x1E, 0, 0, 0, 0x28, 0, 0, 0};
    EXPECT_EQ(Store(doc), expected);
}

TEST(Serialize, RoundTripKeepsPointsOrderAndEmptyCurvesButOpensClosedOnes) {
    CSwoop2Doc doc;
    Add(doc, {{-5, 7}, {INT_MIN, INT_MAX}, {0, -1}});
    Add(doc, {});
    Add(doc, {{1, 2}, {1, 2}}, true);
    const Bytes bytes = Store(doc);
    EXPECT_EQ(bytes.size(), 4u + (4 + 24) + 4 + (4 + 16));

    CSwoop2Doc loaded;
    RecordingView view;
    loaded.AddView(&view);
    Load(loaded, bytes);
    loaded.RemoveView(&view);

    ASSERT_EQ(loaded.m_curves.size(), 3u);
    for (std::size_t i = 0; i < 3; ++i) {
        EXPECT_EQ(loaded.m_curves[i]->m_points, doc.m_curves[i]->m_points);
        EXPECT_FALSE(loaded.m_curves[i]->m_bClosed);
    }
    EXPECT_EQ(loaded.m_pSelected, nullptr);
    EXPECT_EQ(view.m_nUpdates, 0);
    EXPECT_EQ(Store(loaded), bytes);
}

TEST(Serialize, ExtraBytesAfterTheLastCurveAreIgnored) {
    Bytes bytes = Words({1, 1, 3, 4});
    bytes.insert(bytes.end(), {0xDE, 0xAD, 0xBE});
    CSwoop2Doc doc;
    Load(doc, bytes);
    ASSERT_EQ(doc.m_curves.size(), 1u);
    EXPECT_EQ(doc.m_curves[0]->m_points, (std::vector<CPoint>{{3, 4}}));
}

TEST(Serialize, LoadedCurvesKeepTheirOwnPointsAndGiveTheirMemoryBackOnceAnEighthHasGone) {
    CSwoop2Doc source;
    for (int i = 0; i < 16; ++i)
        Add(source, {{i, -i}, {i + 1, 2 * i}});
    CSwoop2Doc doc;
    const std::uint64_t before = PointBlock::MappedBytes();
    Load(doc, Store(source));
    EXPECT_GT(PointBlock::MappedBytes(), before);

    // The same changes on both drawings: lists swapped, a point dragged, a point appended.
    for (CSwoop2Doc* d : {&source, &doc}) {
        std::swap(d->m_curves[0]->m_points, d->m_curves[1]->m_points);
        d->m_curves[2]->MovePoint(1, 100, 100);
        d->m_curves[3]->m_points.push_back({7, 7});
    }
    // Removing curves: two of the 32 points were left by the appended curve, two more make
    // less than seven eighths, and then the rest move out of the block.
    for (const bool gone : {false, true}) {
        // The history keeps a removed curve for Undo, and its points with it, until it lets go.
        for (CSwoop2Doc* d : {&source, &doc}) {
            d->RemoveCurve(d->m_curves[4].get());
            d->GetHistory().Clear();
        }
        EXPECT_EQ(PointBlock::MappedBytes() == before, gone);
        ASSERT_EQ(doc.m_curves.size(), source.m_curves.size());
        for (std::size_t i = 0; i < doc.m_curves.size(); ++i)
            EXPECT_EQ(doc.m_curves[i]->m_points, source.m_curves[i]->m_points) << i;
    }
}

// Curves of one point need the most block per byte of file: a thousand of them, among others
// of every length, all get their slice of the one block, which shows as their points lying
// within its mapping rather than in memory of their own.
TEST(Serialize, EveryCurveOfAFileGetsItsSliceOfOneBlock) {
    CSwoop2Doc source;
    for (int i = 0; i < 1000; ++i)
        Add(source, i % 100 == 0 ? std::vector<CPoint>{} : std::vector<CPoint>{{i, -i}});
    Add(source, std::vector<CPoint>(300, CPoint(5, 6)));
    Add(source, {{1, 2}});
    CSwoop2Doc doc;
    const std::uint64_t before = PointBlock::MappedBytes();
    Load(doc, Store(source));
    const std::uint64_t mapped = PointBlock::MappedBytes() - before;
    ASSERT_GT(mapped, 0u);
    std::uintptr_t low = UINTPTR_MAX;
    std::uintptr_t high = 0;
    for (const auto& curve : doc.m_curves) {
        if (curve->m_points.empty())
            continue;
        low = std::min(low, reinterpret_cast<std::uintptr_t>(curve->m_points.data()));
        high = std::max(high, reinterpret_cast<std::uintptr_t>(curve->m_points.data() +
                                                               curve->m_points.size()));
    }
    EXPECT_LE(high - low, mapped);
    ASSERT_EQ(doc.m_curves.size(), source.m_curves.size());
    for (std::size_t i = 0; i < doc.m_curves.size(); ++i)
        ASSERT_EQ(doc.m_curves[i]->m_points, source.m_curves[i]->m_points) << i;
}

TEST(Serialize, ShortFileFailsAtEveryByteAndKeepsNothing) {
    CSwoop2Doc source;
    Add(source, {{10, 20}, {30, 40}});
    Add(source, {});
    Add(source, {{-1, -2}});
    const Bytes bytes = Store(source);
    for (std::size_t length = 0; length < bytes.size(); ++length) {
        SCOPED_TRACE(length);
        CSwoop2Doc doc;
        const Bytes cut(bytes.begin(), bytes.begin() + static_cast<std::ptrdiff_t>(length));
        try {
            Load(doc, cut);
            ADD_FAILURE() << "loaded a short file";
        } catch (const CArchiveException& e) {
            EXPECT_EQ(e.m_cause, CArchiveException::endOfFile);
        }
        EXPECT_TRUE(doc.m_curves.empty());
    }
}

TEST(Serialize, HugeCountsFailAtTheEndOfTheDataWithoutReservingForThem) {
    // Four billion curves announced, one present; then one curve announcing four billion points.
    for (const Bytes& bytes : {Words({0xFFFFFFFF, 1, 5, 6}), Words({1, 0xFFFFFFFF, 5, 6, 7, 8})}) {
        CSwoop2Doc doc;
        EXPECT_THROW(Load(doc, bytes), CArchiveException);
        EXPECT_TRUE(doc.m_curves.empty());
    }
}
