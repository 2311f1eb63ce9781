#include "document/CSwoop2Doc.h"

#include "curve/PointBlock.h"
#include "platform/framework/CArchive.h"
#include "platform/framework/CException.h"

#include <algorithm>
#include <bit>
#include <cstddef>
#include <limits>

namespace {

// Every count in the file is 32 bits wide; a drawing beyond that cannot be written truthfully.
std::uint32_t CountToStore(std::size_t count) {
    if (count > std::numeric_limits<std::uint32_t>::max())
        AfxThrowArchiveException(CArchiveException::genericException);
    return static_cast<std::uint32_t>(count);
}

// A count read from the file decides a reservation only when the rest of the file can hold
// that many records of the given size; otherwise the container grows with the data itself.
template <typename Vector>
void ReserveIfPresent(Vector& v, std::uint32_t count, std::uint64_t recordSize,
                      const CArchive& ar) {
    // A 32-bit count times a record size of a few bytes cannot overflow 64 bits.
    if (std::uint64_t{count} * recordSize <= ar.GetBytesRemaining())
        v.reserve(count);
}

static_assert(sizeof(CPoint) == 8 && offsetof(CPoint, y) == 4);

void ToNativeOrder(CPoint* points, std::size_t n) {
    if constexpr (std::endian::native == std::endian::big) {
        for (std::size_t k = 0; k < n; ++k) {
            CPoint& pt = points[k];
            pt = CPoint(std::int32_t(__builtin_bswap32(std::uint32_t(pt.x))),
                        std::int32_t(__builtin_bswap32(std::uint32_t(pt.y))));
        }
    }
}

// The points as the file holds them, x and y 32-bit little-endian, copied in blocks. The list
// grows with the data read, so that a count larger than the file costs no more than the file.
void ReadPoints(CArchive& ar, PointList& points, std::uint32_t count) {
    ReserveIfPresent(points, count, 8, ar);
    constexpr std::size_t kBlock = 64 * 1024;
    for (std::size_t done = 0; done < count;) {
        const std::size_t n = std::min<std::size_t>(count - done, kBlock);
        points.resize(done + n);
        ar.Read(points.data() + done, 8 * n);
        ToNativeOrder(points.data() + done, n);
        done += n;
    }
}

// The points of a curve into a slice of the load's block, read in one piece; into the list's
// own vector when there is no block, no room left in it, or fewer bytes left in the file than
// the count claims (the read then fails as the file ends).
void ReadCurvePoints(CArchive& ar, PointBlock* block, PointList& points, std::uint32_t count) {
    CPoint* placed = nullptr;
    if (block && count > 0 && std::uint64_t{count} * 8 <= ar.GetBytesRemaining())
        placed = points.PlaceIn(*block, count);
    if (!placed) {
        ReadPoints(ar, points, count);
        return;
    }
    ar.Read(placed, std::size_t{count} * 8);
    ToNativeOrder(placed, count);
}

struct SealBlock {
    void operator()(PointBlock* block) const { block->Seal(); }
};

} // namespace

void CSwoop2Doc::Serialize(CArchive& ar) {
    if (ar.IsStoring()) {
        ar << CountToStore(m_curves.size());
        for (const auto& curve : m_curves) {
            ar << CountToStore(curve->m_points.size());
            for (const CPoint& pt : curve->m_points)
                ar << pt.x << pt.y;
        }
        return;
    }

    // The curves are gathered apart and join the document only once the whole file has been
    // read: a file that ends early leaves none of its curves behind. Their points share one
    // block, sized by what the file holds, instead of an allocation each; a failed load lets
    // the block go with the curves, all at once.
    PointBlock::BulkRelease bulk;
    std::uint32_t curveCount = 0;
    ar >> curveCount;
    std::unique_ptr<PointBlock, SealBlock> block(
        curveCount > 0 ? PointBlock::Create(ar.GetBytesRemaining()) : nullptr);
    std::vector<std::unique_ptr<CCurve>> loaded;
    ReserveIfPresent(loaded, curveCount, 4, ar);
    for (std::uint32_t i = 0; i < curveCount; ++i) {
        std::uint32_t pointCount = 0;
        ar >> pointCount;
        auto curve = std::make_unique<CCurve>();
        ReadCurvePoints(ar, block.get(), curve->m_points, pointCount);
        loaded.push_back(std::move(curve));
    }

    // No step describes the curves read: the history starts again.
    GetHistory().Clear();
    GetHistory().ForgetClean();
    if (m_curves.empty()) {
        m_curves = std::move(loaded);
        return;
    }
    m_curves.reserve(m_curves.size() + loaded.size());
    std::move(loaded.begin(), loaded.end(), std::back_inserter(m_curves));
}
