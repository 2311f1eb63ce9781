#include "curve/PointBlock.h"

#include "curve/PointList.h"

#include <new>
#include <sys/mman.h>
#include <unistd.h>

namespace {

constexpr std::size_t kHugePage = 2 * 1024 * 1024;
// Beyond this a file is read into memory of each curve's own; no real drawing comes near.
constexpr std::uint64_t kMaxFileBytes = std::uint64_t{1} << 40;

std::size_t PageSize() {
    static const std::size_t size = static_cast<std::size_t>(::sysconf(_SC_PAGESIZE));
    return size;
}

std::size_t RoundUp(std::size_t n, std::size_t unit) {
    return (n + unit - 1) / unit * unit;
}

constexpr std::size_t kSliceHeader = sizeof(PointBlock::Slice);
static_assert(kSliceHeader == 16 && alignof(PointBlock::Slice) <= 8 && sizeof(CPoint) == 8);

} // namespace

PointBlock* PointBlock::Create(std::uint64_t nBytes) {
    if (nBytes == 0 || nBytes > kMaxFileBytes)
        return nullptr;
    // A curve of one point takes 12 bytes of the file and 24 of the block, the most that any
    // curve needs per byte of file; a curve without points takes no slice at all.
    const std::size_t wanted = RoundUp(static_cast<std::size_t>(2 * nBytes), PageSize());
    // A large block starts on a huge page, so that the system can back it with huge pages and
    // spare most of the faults of touching fresh memory.
    const bool huge = wanted >= kHugePage;
    const std::size_t mapped = huge ? wanted + kHugePage : wanted;
    // The system counts the mapping against the memory it can promise, as it would an
    // allocation: a file too large for the machine is then refused here, and the load falls
    // back to allocating as it goes, instead of failing on the first touch of a page.
    void* p = ::mmap(nullptr, mapped, PROT_READ | PROT_WRITE, MAP_PRIVATE | MAP_ANONYMOUS, -1, 0);
    if (p == MAP_FAILED)
        return nullptr;
    auto* base = static_cast<std::byte*>(p);
    std::size_t size = mapped;
    if (huge) {
        const auto address = reinterpret_cast<std::uintptr_t>(base);
        const std::size_t head = RoundUp(address, kHugePage) - address;
        if (head > 0)
            ::munmap(base, head);
        base += head;
        size = wanted;
        if (mapped - head > wanted)
            ::munmap(base + wanted, mapped - head - wanted);
        ::madvise(base, size, MADV_HUGEPAGE);
    }
    PointBlock* block = new (std::nothrow) PointBlock(base, size);
    if (!block)
        ::munmap(base, size);
    return block;
}

PointBlock::PointBlock(std::byte* pBase, std::size_t nMapped) : m_pBase(pBase), m_nMapped(nMapped) {
    s_nMappedBytes.fetch_add(m_nMapped, std::memory_order_relaxed);
}

PointBlock::~PointBlock() {
    ::munmap(m_pBase, m_nMapped);
    s_nMappedBytes.fetch_sub(m_nMapped, std::memory_order_relaxed);
}

PointBlock::Slice* PointBlock::Take(PointList& owner, std::uint32_t count) {
    const std::uint64_t need = kSliceHeader + std::uint64_t{8} * count;
    if (m_bSealed || need > m_nMapped - m_nUsed)
        return nullptr;
    auto* slice = new (m_pBase + m_nUsed) Slice{&owner, count, 0};
    m_nUsed += static_cast<std::size_t>(need);
    ++m_nHolds;
    m_nPoints += count;
    m_nLivePoints += count;
    return slice;
}

void PointBlock::Seal() {
    m_bSealed = true;
    const std::size_t keep = RoundUp(m_nUsed, PageSize());
    if (keep < m_nMapped) {
        ::munmap(m_pBase + keep, m_nMapped - keep);
        s_nMappedBytes.fetch_sub(m_nMapped - keep, std::memory_order_relaxed);
        m_nMapped = keep;
    }
    Unhold();
}

void PointBlock::Release(Slice& slice) {
    slice.owner = nullptr;
    m_nLivePoints -= slice.count;
    if (--m_nHolds == 0) {
        delete this;
        return;
    }
    if (m_bSealed && !m_bCompacting && !m_bCompactionFailed && s_nBulkReleases == 0 &&
        m_nLivePoints * 8 < m_nPoints * 7)
        Compact();
}

void PointBlock::Unhold() {
    if (--m_nHolds == 0)
        delete this;
}

void PointBlock::Compact() {
    m_bCompacting = true;
    ++m_nHolds;
    try {
        for (std::size_t at = 0; at < m_nUsed;) {
            auto* slice = reinterpret_cast<Slice*>(m_pBase + at);
            at += kSliceHeader + std::size_t{8} * slice->count;
            if (slice->owner)
                slice->owner->Own();
        }
    } catch (const std::bad_alloc&) {
        // The lists that could not move keep their points here, as they may.
        m_bCompactionFailed = true;
    }
    m_bCompacting = false;
    Unhold();
}
