#pragma once

#include "platform/geometry/CPoint.h"

#include <atomic>
#include <cstddef>
#include <cstdint>
#include <new>

class PointList;

// One stretch of memory for the points of many curves read together, such as every curve of a
// file: a curve's list holds its points in a slice of it instead of an allocation of its own,
// and a large block is backed by huge pages, so that opening a big drawing costs little more
// than reading it. Each slice belongs to exactly one list, which writes its points in place;
// a list that changes its length moves them into memory of its own and lets its slice go.
// The block goes when the last slice does. Once an eighth of its points belongs to no list
// any more, the lists left move out too, so that what deleted or lengthened curves leave
// behind is soon given back. A block and its lists are used on one thread.
class PointBlock {
public:
    struct Slice {
        // Null once the list has let go; the slice stays in place for the walk to the next.
        PointList* owner;
        std::uint32_t count;
        std::uint32_t unused;

        CPoint* Points() { return reinterpret_cast<CPoint*>(this + 1); }
    };
    // The slice whose Points these are.
    static Slice* SliceOf(CPoint* points) {
        return std::launder(
            reinterpret_cast<Slice*>(reinterpret_cast<std::byte*>(points) - sizeof(Slice)));
    }

    // A block with room for the points of the next nBytes of a file, whatever their division
    // into curves. Null when the system grants no such mapping: the curves then get memory of
    // their own, as they would without a block. The caller fills it and then calls Seal.
    static PointBlock* Create(std::uint64_t nBytes);

    PointBlock(const PointBlock&) = delete;
    PointBlock& operator=(const PointBlock&) = delete;

    // A slice of count points for the list, or null when the block has no room left.
    Slice* Take(PointList& owner, std::uint32_t count);
    // Ends the filling: the room no slice took goes back to the system, and the block lives on
    // only while a list holds a slice of it (it may be gone when Seal returns).
    void Seal();
    // The list lets go of its slice. The block may be gone when this returns.
    void Release(Slice& slice);

    // Bytes that every block together holds mapped, for measuring what a drawing costs.
    static std::uint64_t MappedBytes() { return s_nMappedBytes.load(std::memory_order_relaxed); }

    // While one of these lives on the thread, releases never make the other lists move out:
    // when a whole drawing goes, moving its points first would only waste time.
    class BulkRelease {
    public:
        BulkRelease() { ++s_nBulkReleases; }
        ~BulkRelease() { --s_nBulkReleases; }
        BulkRelease(const BulkRelease&) = delete;
        BulkRelease& operator=(const BulkRelease&) = delete;
    };

private:
    PointBlock(std::byte* pBase, std::size_t nMapped);
    ~PointBlock();
    void Unhold();
    void Compact();

    std::byte* m_pBase;
    std::size_t m_nMapped;
    std::size_t m_nUsed = 0;
    // The slices still held, and the filler until Seal.
    std::size_t m_nHolds = 1;
    std::uint64_t m_nPoints = 0;
    std::uint64_t m_nLivePoints = 0;
    bool m_bSealed = false;
    bool m_bCompacting = false;
    // Set when moving the lists out failed for lack of memory; it is not tried again.
    bool m_bCompactionFailed = false;

    static inline std::atomic<std::uint64_t> s_nMappedBytes{0};
    static inline thread_local int s_nBulkReleases = 0;
};
