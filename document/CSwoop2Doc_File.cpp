#include "document/CSwoop2Doc.h"

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

// The points as the file holds them, x and y 32-bit little-endian, copied in blocks. The list
// grows with the data read, so that a count larger than the file costs no more than the file.
void ReadPoints(CArchive& ar, PointList& points, std::uint32_t count) {
    static_assert(sizeof(CPoint) == 8 && offsetof(CPoint, y) == 4);
    ReserveIfPresent(points, count, 8, ar);
    constexpr std::size_t kBlock = 64 * 1024;
    for (std::size_t done = 0; done < count;) {
        const std::size_t n = std::min<std::size_t>(count - done, kBlock);
        points.resize(done + n);
        ar.Read(points.data() + done, 8 * n);
        if constexpr (std::endian::native == std::endian::big) {
            for (std::size_t k = done; k < done + n; ++k) {
                CPoint& pt = points[k];
                pt = CPoint(std::int32_t(__builtin_bswap32(std::uint32_t(pt.x))),
                            std::int32_t(__builtin_bswap32(std::uint32_t(pt.y))));
            }
        }
        done += n;
    }
}

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
    // read: a file that ends early leaves none of its curves behind.
    std::vector<std::unique_ptr<CCurve>> loaded;
    std::uint32_t curveCount = 0;
    ar >> curveCount;
    ReserveIfPresent(loaded, curveCount, 4, ar);
    for (std::uint32_t i = 0; i < curveCount; ++i) {
        std::uint32_t pointCount = 0;
        ar >> pointCount;
        auto curve = std::make_unique<CCurve>();
        ReadPoints(ar, curve->m_points, pointCount);
        loaded.push_back(std::move(curve));
    }

    if (m_curves.empty()) {
        m_curves = std::move(loaded);
        return;
    }
    m_curves.reserve(m_curves.size() + loaded.size());
    std::move(loaded.begin(), loaded.end(), std::back_inserter(m_curves));
}
