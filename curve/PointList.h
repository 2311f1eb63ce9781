#pragma once

#include "curve/PointBlock.h"
#include "platform/geometry/CPoint.h"

#include <algorithm>
#include <cstddef>
#include <cstdint>
#include <cstring>
#include <initializer_list>
#include <limits>
#include <memory>
#include <new>
#include <stdexcept>
#include <utility>
#include <vector>

// The control points of a curve: a growable array that callers read and write as they would a
// vector, and that notes every access able to change its points. The curve keeps what it works
// out from its points (the part of a surface its drawing can touch) and takes it again after
// such an access, whoever made the change. A pointer or reference taken from the list stays
// watched only until the curve next uses what it keeps.
//
// The points of a curve read from a file may lie in a slice of a block shared with the other
// curves of that file (see PointBlock). Writing a point in place leaves them there; anything
// that changes how many points there are first moves them into memory of the list's own,
// which invalidates pointers and iterators as a vector's reallocation would. So may deleting
// or lengthening another curve of the same file, when the block then gives its points back.
//
// The list holds at most 2^32 - 1 points, as many as a file can count; it is 32 bytes, so that
// a curve fits the smallest heap chunk that holds it.
class PointList {
    using Vector = std::vector<CPoint>;

public:
    using value_type = CPoint;
    using size_type = std::size_t;
    using difference_type = std::ptrdiff_t;
    using reference = CPoint&;
    using const_reference = const CPoint&;
    using iterator = CPoint*;
    using const_iterator = const CPoint*;

    PointList() = default;
    PointList(std::initializer_list<CPoint> points) { Assign(points.begin(), points.size()); }
    PointList(const Vector& points) { Assign(points.data(), points.size()); }
    template <class It> PointList(It first, It last) {
        const Vector points(first, last);
        Assign(points.data(), points.size());
    }
    // What was worked out from another list's points is not this list's to trust. A copy has
    // points of its own.
    PointList(const PointList& other) { Assign(other.data(), other.size()); }
    PointList(PointList&& other) noexcept { Take(other); }
    PointList& operator=(const PointList& other) {
        Touch();
        Assign(other.data(), other.size());
        return *this;
    }
    PointList& operator=(PointList&& other) noexcept {
        Touch();
        if (this != &other) {
            // Letting go may move the other list out of its block: it is read afterwards.
            Release();
            Take(other);
        }
        other.Touch();
        return *this;
    }
    ~PointList() { Release(); }

    PointList& operator=(std::initializer_list<CPoint> points) {
        Touch();
        Assign(points.begin(), points.size());
        return *this;
    }
    PointList& operator=(const Vector& points) {
        Touch();
        Assign(points.data(), points.size());
        return *this;
    }

    // Reading.
    size_type size() const { return m_nSize; }
    bool empty() const { return m_nSize == 0; }
    size_type capacity() const { return m_pBlock ? m_nSize : m_nCapacity; }
    const CPoint* data() const { return m_pData; }
    const_iterator begin() const { return m_pData; }
    const_iterator end() const { return m_pData + m_nSize; }
    const_iterator cbegin() const { return begin(); }
    const_iterator cend() const { return end(); }
    const CPoint& operator[](size_type i) const { return m_pData[i]; }
    const CPoint& front() const { return m_pData[0]; }
    const CPoint& back() const { return m_pData[m_nSize - 1]; }
    operator Vector() const { return Vector(begin(), end()); }

    // Room changes no point.
    void reserve(size_type n) {
        if (n > capacity())
            Reallocate(n);
    }
    void shrink_to_fit() {
        if (!m_pBlock && m_nCapacity > m_nSize)
            Reallocate(m_nSize);
    }

    // Anything that can change a point.
    CPoint* data() { return Touch(), m_pData; }
    iterator begin() { return data(); }
    iterator end() { return data() + m_nSize; }
    CPoint& operator[](size_type i) { return data()[i]; }
    CPoint& front() { return data()[0]; }
    CPoint& back() { return data()[m_nSize - 1]; }
    void push_back(CPoint pt) {
        Touch();
        MakeRoom(size_type{m_nSize} + 1);
        m_pData[m_nSize++] = pt;
    }
    template <class... Args> CPoint& emplace_back(Args&&... args) {
        // Made before any move, for the arguments may refer to a point of this list.
        push_back(CPoint(std::forward<Args>(args)...));
        return m_pData[m_nSize - 1];
    }
    void pop_back() {
        Touch();
        Own();
        --m_nSize;
    }
    void clear() {
        Touch();
        if (m_pBlock)
            Release();
        m_nSize = 0;
    }
    void resize(size_type n) {
        Touch();
        MakeRoom(n);
        std::fill(m_pData + std::min<size_type>(m_nSize, n), m_pData + n, CPoint());
        m_nSize = static_cast<std::uint32_t>(n);
    }
    template <class It> void assign(It first, It last) {
        Touch();
        const Vector points(first, last);
        Assign(points.data(), points.size());
    }
    template <class It> iterator insert(const_iterator at, It first, It last) {
        Touch();
        // Taken first, for the range may lie in this list.
        const Vector points(first, last);
        return Insert(at, points.data(), points.size());
    }
    iterator insert(const_iterator at, CPoint pt) {
        Touch();
        return Insert(at, &pt, 1);
    }
    iterator erase(const_iterator first, const_iterator last) {
        Touch();
        const size_type i = static_cast<size_type>(first - m_pData);
        const size_type j = static_cast<size_type>(last - m_pData);
        if (i == j)
            return m_pData + i;
        Own();
        std::memmove(m_pData + i, m_pData + j, (m_nSize - j) * sizeof(CPoint));
        m_nSize -= static_cast<std::uint32_t>(j - i);
        return m_pData + i;
    }
    iterator erase(const_iterator at) { return erase(at, at + 1); }
    void swap(Vector& other) {
        Touch();
        Vector mine(begin(), end());
        Assign(other.data(), other.size());
        other.swap(mine);
    }

    friend bool operator==(const PointList& a, const PointList& b) {
        return std::equal(a.begin(), a.end(), b.begin(), b.end());
    }
    friend bool operator==(const PointList& a, const Vector& b) {
        return std::equal(a.begin(), a.end(), b.begin(), b.end());
    }

    // Makes the list count points long with its points in a slice of the block, and returns
    // where they go for the caller to write them. Null, and the list unchanged, when the block
    // has no room left.
    CPoint* PlaceIn(PointBlock& block, std::uint32_t count) {
        PointBlock::Slice* slice = block.Take(*this, count);
        if (!slice)
            return nullptr;
        Touch();
        Release();
        m_pBlock = &block;
        m_pData = slice->Points();
        m_nSize = count;
        return m_pData;
    }

    // Whether the points may have changed since the last Settle.
    bool Touched() const { return m_bTouched; }
    // What was worked out from the points is up to date again.
    void Settle() const { m_bTouched = false; }

private:
    friend class PointBlock;

    void Touch() { m_bTouched = true; }

    static void CheckLength(size_type n) {
        if (n > std::numeric_limits<std::uint32_t>::max())
            throw std::length_error("PointList");
    }
    // Room for n points of the list's own, kept after the points it has; grows as a vector does.
    void MakeRoom(size_type n) {
        if (!m_pBlock && n <= m_nCapacity)
            return;
        CheckLength(n);
        const size_type grown = std::min<size_type>(size_type{m_nCapacity} * 2,
                                                    std::numeric_limits<std::uint32_t>::max());
        Reallocate(std::max({n, grown, size_type{m_nSize}}));
    }
    // Memory of the list's own for n points, at least as many as it has; no point changes.
    void Reallocate(size_type n) {
        CheckLength(n);
        CPoint* points = n > 0 ? std::allocator<CPoint>().allocate(n) : nullptr;
        if (m_nSize > 0)
            std::memcpy(static_cast<void*>(points), m_pData, m_nSize * sizeof(CPoint));
        const std::uint32_t size = m_nSize;
        Release();
        m_pData = points;
        m_nSize = size;
        m_nCapacity = static_cast<std::uint32_t>(n);
    }
    // Moves the points out of the block into memory of the list's own; no point changes.
    void Own() {
        if (m_pBlock)
            Reallocate(m_nSize);
    }
    // Lets go of the points and the memory that holds them; the list is empty afterwards.
    void Release() noexcept {
        CPoint* points = std::exchange(m_pData, nullptr);
        const std::uint32_t capacity = std::exchange(m_nCapacity, 0);
        m_nSize = 0;
        if (PointBlock* block = std::exchange(m_pBlock, nullptr))
            block->Release(*PointBlock::SliceOf(points));
        else if (points)
            std::allocator<CPoint>().deallocate(points, capacity);
    }
    void Assign(const CPoint* points, size_type n) {
        if (!m_pBlock && n <= m_nCapacity) {
            if (n > 0)
                std::memmove(static_cast<void*>(m_pData), points, n * sizeof(CPoint));
            m_nSize = static_cast<std::uint32_t>(n);
            return;
        }
        CheckLength(n);
        // Copied before letting go, for the points may lie in what this list lets go of.
        CPoint* copy = n > 0 ? std::allocator<CPoint>().allocate(n) : nullptr;
        if (n > 0)
            std::memcpy(static_cast<void*>(copy), points, n * sizeof(CPoint));
        Release();
        m_pData = copy;
        m_nSize = m_nCapacity = static_cast<std::uint32_t>(n);
    }
    iterator Insert(const_iterator at, const CPoint* points, size_type n) {
        const size_type i = static_cast<size_type>(at - m_pData);
        if (n == 0)
            return m_pData + i;
        MakeRoom(size_type{m_nSize} + n);
        std::memmove(static_cast<void*>(m_pData + i + n), m_pData + i,
                     (m_nSize - i) * sizeof(CPoint));
        std::memcpy(static_cast<void*>(m_pData + i), points, n * sizeof(CPoint));
        m_nSize += static_cast<std::uint32_t>(n);
        return m_pData + i;
    }
    void Take(PointList& other) noexcept {
        m_pData = std::exchange(other.m_pData, nullptr);
        m_pBlock = std::exchange(other.m_pBlock, nullptr);
        m_nSize = std::exchange(other.m_nSize, 0);
        m_nCapacity = std::exchange(other.m_nCapacity, 0);
        if (m_pBlock)
            PointBlock::SliceOf(m_pData)->owner = this;
    }

    // The points: memory of the list's own, or a slice of the block when there is one.
    CPoint* m_pData = nullptr;
    PointBlock* m_pBlock = nullptr;
    std::uint32_t m_nSize = 0;
    // Of the list's own memory; 0 while the points lie in a block.
    std::uint32_t m_nCapacity = 0;
    mutable bool m_bTouched = true;
};
