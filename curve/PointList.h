#pragma once

#include "platform/geometry/CPoint.h"

#include <cstddef>
#include <initializer_list>
#include <utility>
#include <vector>

// The control points of a curve: a growable array that callers read and write as they would a
// vector, and that notes every access able to change its points. The curve keeps what it works
// out from its points (the part of a surface its drawing can touch) and takes it again after
// such an access, whoever made the change. A pointer or reference taken from the list stays
// watched only until the curve next uses what it keeps.
class PointList {
    using Vector = std::vector<CPoint>;

public:
    using value_type = CPoint;
    using size_type = Vector::size_type;
    using difference_type = Vector::difference_type;
    using reference = CPoint&;
    using const_reference = const CPoint&;
    using iterator = Vector::iterator;
    using const_iterator = Vector::const_iterator;

    PointList() = default;
    PointList(std::initializer_list<CPoint> points) : m_points(points) {}
    PointList(const Vector& points) : m_points(points) {}
    PointList(Vector&& points) noexcept : m_points(std::move(points)) {}
    template <class It> PointList(It first, It last) : m_points(first, last) {}
    // What was worked out from another list's points is not this list's to trust.
    PointList(const PointList& other) : m_points(other.m_points) {}
    PointList(PointList&& other) noexcept : m_points(std::move(other.m_points)) { other.Touch(); }
    PointList& operator=(const PointList& other) {
        Touch();
        m_points = other.m_points;
        return *this;
    }
    PointList& operator=(PointList&& other) noexcept {
        Touch();
        m_points = std::move(other.m_points);
        other.Touch();
        return *this;
    }
    ~PointList() = default;

    PointList& operator=(std::initializer_list<CPoint> points) {
        Touch();
        m_points = points;
        return *this;
    }
    PointList& operator=(const Vector& points) {
        Touch();
        m_points = points;
        return *this;
    }
    PointList& operator=(Vector&& points) noexcept {
        Touch();
        m_points = std::move(points);
        return *this;
    }

    // Reading.
    size_type size() const { return m_points.size(); }
    bool empty() const { return m_points.empty(); }
    size_type capacity() const { return m_points.capacity(); }
    const_iterator begin() const { return m_points.begin(); }
    const_iterator end() const { return m_points.end(); }
    const_iterator cbegin() const { return m_points.cbegin(); }
    const_iterator cend() const { return m_points.cend(); }
    const CPoint& operator[](size_type i) const { return m_points[i]; }
    const CPoint& front() const { return m_points.front(); }
    const CPoint& back() const { return m_points.back(); }
    const CPoint* data() const { return m_points.data(); }
    const Vector& Points() const { return m_points; }
    operator const Vector&() const { return m_points; }

    // Room changes no point.
    void reserve(size_type n) { m_points.reserve(n); }
    void shrink_to_fit() { m_points.shrink_to_fit(); }

    // Anything that can change a point.
    iterator begin() { return Touch(), m_points.begin(); }
    iterator end() { return Touch(), m_points.end(); }
    CPoint& operator[](size_type i) { return Touch(), m_points[i]; }
    CPoint& front() { return Touch(), m_points.front(); }
    CPoint& back() { return Touch(), m_points.back(); }
    CPoint* data() { return Touch(), m_points.data(); }
    void push_back(CPoint pt) {
        Touch();
        m_points.push_back(pt);
    }
    template <class... Args> CPoint& emplace_back(Args&&... args) {
        Touch();
        return m_points.emplace_back(std::forward<Args>(args)...);
    }
    void pop_back() {
        Touch();
        m_points.pop_back();
    }
    void clear() {
        Touch();
        m_points.clear();
    }
    void resize(size_type n) {
        Touch();
        m_points.resize(n);
    }
    template <class It> void assign(It first, It last) {
        Touch();
        m_points.assign(first, last);
    }
    template <class It> iterator insert(const_iterator at, It first, It last) {
        Touch();
        return m_points.insert(at, first, last);
    }
    iterator insert(const_iterator at, CPoint pt) {
        Touch();
        return m_points.insert(at, pt);
    }
    iterator erase(const_iterator first, const_iterator last) {
        Touch();
        return m_points.erase(first, last);
    }
    iterator erase(const_iterator at) {
        Touch();
        return m_points.erase(at);
    }
    void swap(Vector& other) {
        Touch();
        m_points.swap(other);
    }

    friend bool operator==(const PointList& a, const PointList& b) {
        return a.m_points == b.m_points;
    }
    friend bool operator==(const PointList& a, const Vector& b) { return a.m_points == b; }

    // Whether the points may have changed since the last Settle.
    bool Touched() const { return m_bTouched; }
    // What was worked out from the points is up to date again.
    void Settle() const { m_bTouched = false; }

private:
    void Touch() { m_bTouched = true; }

    Vector m_points;
    mutable bool m_bTouched = true;
};
