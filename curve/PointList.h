#pragma once

#include "curve/PointBlock.h"
#include "platform/geometry/CPoint.h"

#include <algorithm>
#include <cstddef>
#include <initializer_list>
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
// that changes how many points there are first moves them into the list's own vector, which
// invalidates pointers and iterators as a vector's reallocation would. So may deleting or
// lengthening another curve of the same file, when the block then gives its points back.
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
    PointList(std::initializer_list<CPoint> points) : m_points(points) {}
    PointList(const Vector& points) : m_points(points) {}
    PointList(Vector&& points) noexcept : m_points(std::move(points)) {}
    template <class It> PointList(It first, It last) : m_points(first, last) {}
    // What was worked out from another list's points is not this list's to trust. A copy has
    // points of its own.
    PointList(const PointList& other) : m_points(other.begin(), other.end()) {}
    PointList(PointList&& other) noexcept
        : m_points(std::move(other.m_points)), m_pBlock(std::exchange(other.m_pBlock, nullptr)),
          m_pSlice(std::exchange(other.m_pSlice, nullptr)) {
        if (m_pSlice)
            m_pSlice->owner = this;
        other.Touch();
    }
    PointList& operator=(const PointList& other) {
        Touch();
        Replace(Vector(other.begin(), other.end()));
        return *this;
    }
    PointList& operator=(PointList&& other) noexcept {
        Touch();
        if (this != &other) {
            // Letting go may move the other list out of its block: it is read afterwards.
            Drop();
            m_points = std::move(other.m_points);
            m_pBlock = std::exchange(other.m_pBlock, nullptr);
            m_pSlice = std::exchange(other.m_pSlice, nullptr);
            if (m_pSlice)
                m_pSlice->owner = this;
        }
        other.Touch();
        return *this;
    }
    ~PointList() { Drop(); }

    PointList& operator=(std::initializer_list<CPoint> points) {
        Touch();
        Replace(Vector(points));
        return *this;
    }
    PointList& operator=(const Vector& points) {
        Touch();
        Replace(Vector(points));
        return *this;
    }
    PointList& operator=(Vector&& points) noexcept {
        Touch();
        Replace(std::move(points));
        return *this;
    }

    // Reading.
    size_type size() const { return m_pSlice ? m_pSlice->count : m_points.size(); }
    bool empty() const { return size() == 0; }
    size_type capacity() const { return m_pSlice ? m_pSlice->count : m_points.capacity(); }
    const CPoint* data() const { return m_pSlice ? m_pSlice->Points() : m_points.data(); }
    const_iterator begin() const { return data(); }
    const_iterator end() const { return data() + size(); }
    const_iterator cbegin() const { return begin(); }
    const_iterator cend() const { return end(); }
    const CPoint& operator[](size_type i) const { return data()[i]; }
    const CPoint& front() const { return data()[0]; }
    const CPoint& back() const { return data()[size() - 1]; }
    operator Vector() const { return Vector(begin(), end()); }

    // Room changes no point.
    void reserve(size_type n) {
        if (m_pSlice && n <= m_pSlice->count)
            return;
        Own();
        m_points.reserve(n);
    }
    void shrink_to_fit() {
        if (!m_pSlice)
            m_points.shrink_to_fit();
    }

    // Anything that can change a point.
    CPoint* data() { return Touch(), Data(); }
    iterator begin() { return data(); }
    iterator end() { return data() + size(); }
    CPoint& operator[](size_type i) { return data()[i]; }
    CPoint& front() { return data()[0]; }
    CPoint& back() { return data()[size() - 1]; }
    void push_back(CPoint pt) {
        Touch();
        Own();
        m_points.push_back(pt);
    }
    template <class... Args> CPoint& emplace_back(Args&&... args) {
        Touch();
        // Made before moving, for the arguments may refer to a point of this list.
        const CPoint pt(std::forward<Args>(args)...);
        Own();
        return m_points.emplace_back(pt);
    }
    void pop_back() {
        Touch();
        Own();
        m_points.pop_back();
    }
    void clear() {
        Touch();
        Drop();
        m_points.clear();
    }
    void resize(size_type n) {
        Touch();
        Own();
        m_points.resize(n);
    }
    template <class It> void assign(It first, It last) {
        Touch();
        Replace(Vector(first, last));
    }
    template <class It> iterator insert(const_iterator at, It first, It last) {
        Touch();
        const difference_type i = at - data();
        // Taken before moving, for the range may lie in this list.
        Vector points(first, last);
        Own();
        const auto k =
            m_points.insert(m_points.begin() + i, points.begin(), points.end()) - m_points.begin();
        return Data() + k;
    }
    iterator insert(const_iterator at, CPoint pt) {
        Touch();
        const difference_type i = at - data();
        Own();
        const auto k = m_points.insert(m_points.begin() + i, pt) - m_points.begin();
        return Data() + k;
    }
    iterator erase(const_iterator first, const_iterator last) {
        Touch();
        const difference_type i = first - data();
        const difference_type j = last - data();
        Own();
        const auto k =
            m_points.erase(m_points.begin() + i, m_points.begin() + j) - m_points.begin();
        return Data() + k;
    }
    iterator erase(const_iterator at) { return erase(at, at + 1); }
    void swap(Vector& other) {
        Touch();
        Own();
        m_points.swap(other);
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
        Drop();
        m_points = Vector();
        m_pBlock = &block;
        m_pSlice = slice;
        return slice->Points();
    }

    // Whether the points may have changed since the last Settle.
    bool Touched() const { return m_bTouched; }
    // What was worked out from the points is up to date again.
    void Settle() const { m_bTouched = false; }

private:
    friend class PointBlock;

    void Touch() { m_bTouched = true; }
    CPoint* Data() { return m_pSlice ? m_pSlice->Points() : m_points.data(); }
    // Moves the points out of the block into the list's own vector; no point changes.
    void Own() {
        if (!m_pSlice)
            return;
        const CPoint* points = m_pSlice->Points();
        m_points.assign(points, points + m_pSlice->count);
        Drop();
    }
    // Lets go of the block's slice without keeping its points.
    void Drop() {
        if (!m_pSlice)
            return;
        PointBlock* block = std::exchange(m_pBlock, nullptr);
        block->Release(*std::exchange(m_pSlice, nullptr));
    }
    void Replace(Vector&& points) {
        Drop();
        m_points = std::move(points);
    }

    // The list's own points; empty while they lie in a slice of a block.
    Vector m_points;
    PointBlock* m_pBlock = nullptr;
    PointBlock::Slice* m_pSlice = nullptr;
    mutable bool m_bTouched = true;
};
