#pragma once

#include "platform/geometry/CRect.h"

#include <cstddef>
#include <cstdint>
#include <memory>
#include <unordered_map>
#include <vector>

class CCurve;

// Where the curves of a drawing lie: each curve's reach (its extent, and the bounds a press
// tests) filed under the square cells of a grid it covers, so that the curves a part of the
// drawing can show, or a press can pick, are found without asking every curve. Each curve
// also carries a key that grows with its place in the stacking order, so that what a query
// finds comes back bottom to top.
//
// One curve may be held loose, out of the cells: the one the user edits in place, whose reach
// changes at every step. A query asks it directly, so that an edit costs the index nothing.
class CurveIndex {
public:
    // Forgets every curve.
    void Clear();
    // Files the curves in stacking order, bottom first, as the only ones.
    void Rebuild(const std::vector<std::unique_ptr<CCurve>>& curves, const CCurve* loose);
    // Files a curve between two neighbours in the stacking order (null: the bottom, the top).
    void Insert(const CCurve* curve, const CCurve* below, const CCurve* above);
    void Remove(const CCurve* curve);
    // Holds the curve loose, filing the one held before under the cells its reach now covers.
    void Loosen(const CCurve* curve);
    // Moves a curve whose points changed to the cells its reach now covers.
    void Refile(const CCurve* curve);

    bool Holds(const CCurve* curve) const { return m_entries.count(curve) != 0; }
    std::size_t Count() const { return m_entries.size(); }

    // Every curve whose reach meets the rectangle, bottom to top, into out (cleared first).
    void Meeting(const CRect& rect, std::vector<const CCurve*>& out) const;
    // Whether asking every curve in turn costs less than the cells: for a rectangle that covers
    // most of the cells in use.
    bool IsWide(const CRect& rect) const;
    // Whether the curve's reach meets the rectangle.
    static bool Reaches(const CCurve& curve, const CRect& rect);

private:
    // Cells are 256 units square; a curve that would fill more than kMostCells of them is kept
    // in one list that every query reads.
    static constexpr int kCellShift = 8;
    static constexpr std::int64_t kMostCells = 64;
    // Keys of curves put on top grow by this much, leaving room for curves put back between.
    static constexpr std::uint64_t kKeyGap = std::uint64_t(1) << 20;

    struct Entry {
        std::uint64_t key = 0;
        // The reach the curve is filed under; empty while it is loose or reaches nothing.
        CRect filed;
        bool wide = false;
    };

    static CRect Reach(const CCurve& curve);
    static std::uint64_t CellId(std::int64_t cx, std::int64_t cy);
    static std::int64_t Cell(std::int32_t v) { return std::int64_t(v) >> kCellShift; }
    // The cells a reach covers, right and bottom inclusive.
    static void CellsOf(const CRect& reach, std::int64_t cells[4]);
    void File(const CCurve* curve, Entry& entry);
    void Unfile(const CCurve* curve, Entry& entry);
    void Renumber();

    std::unordered_map<const CCurve*, Entry> m_entries;
    std::unordered_map<std::uint64_t, std::vector<const CCurve*>> m_cells;
    std::vector<const CCurve*> m_wide;
    const CCurve* m_pLoose = nullptr;
    std::uint64_t m_topKey = 0;
};
