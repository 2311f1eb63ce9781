#include "document/CurveIndex.h"

#include "curve/CCurve.h"

#include <algorithm>
#include <utility>

CRect CurveIndex::Reach(const CCurve& curve) {
    const CRect extent = curve.GetExtent();
    if (extent.IsRectEmpty())
        return CRect();
    // The bounds a press tests start from fixed values that become part of them for a curve
    // lying wholly beyond them; within them, the bounds lie inside the extent.
    return CRect(std::min(extent.left, 9999999), std::min(extent.top, 99999999),
                 std::max(extent.right, -999999999), std::max(extent.bottom, -99999999));
}

std::uint64_t CurveIndex::CellId(std::int64_t cx, std::int64_t cy) {
    // Cells of the 32-bit range number 2^24 each way.
    return (std::uint64_t(cx) & 0xFFFFFFu) << 24 | (std::uint64_t(cy) & 0xFFFFFFu);
}

void CurveIndex::CellsOf(const CRect& reach, std::int64_t cells[4]) {
    cells[0] = Cell(reach.left);
    cells[1] = Cell(reach.top);
    cells[2] = Cell(reach.right - 1);
    cells[3] = Cell(reach.bottom - 1);
}

void CurveIndex::Clear() {
    m_entries.clear();
    m_cells.clear();
    m_wide.clear();
    m_pLoose = nullptr;
    m_topKey = 0;
}

void CurveIndex::Rebuild(const std::vector<std::unique_ptr<CCurve>>& curves, const CCurve* loose) {
    Clear();
    m_entries.reserve(curves.size());
    for (const auto& curve : curves) {
        m_topKey += kKeyGap;
        Entry& entry = m_entries[curve.get()];
        entry.key = m_topKey;
        if (curve.get() == loose)
            m_pLoose = loose;
        else
            File(curve.get(), entry);
    }
}

void CurveIndex::File(const CCurve* curve, Entry& entry) {
    entry.filed = Reach(*curve);
    if (entry.filed.IsRectEmpty())
        return;
    std::int64_t cells[4];
    CellsOf(entry.filed, cells);
    entry.wide = (cells[2] - cells[0] + 1) * (cells[3] - cells[1] + 1) > kMostCells;
    if (entry.wide) {
        m_wide.push_back(curve);
        return;
    }
    for (std::int64_t cy = cells[1]; cy <= cells[3]; ++cy)
        for (std::int64_t cx = cells[0]; cx <= cells[2]; ++cx)
            m_cells[CellId(cx, cy)].push_back(curve);
}

void CurveIndex::Unfile(const CCurve* curve, Entry& entry) {
    const auto drop = [curve](std::vector<const CCurve*>& list) {
        // Edits mostly touch the curves filed last.
        const auto it = std::find(list.rbegin(), list.rend(), curve);
        if (it != list.rend())
            list.erase(std::next(it).base());
    };
    if (entry.filed.IsRectEmpty())
        return;
    if (entry.wide) {
        drop(m_wide);
    } else {
        std::int64_t cells[4];
        CellsOf(entry.filed, cells);
        for (std::int64_t cy = cells[1]; cy <= cells[3]; ++cy) {
            for (std::int64_t cx = cells[0]; cx <= cells[2]; ++cx) {
                const auto cell = m_cells.find(CellId(cx, cy));
                if (cell == m_cells.end())
                    continue;
                drop(cell->second);
                if (cell->second.empty())
                    m_cells.erase(cell);
            }
        }
    }
    entry.filed = CRect();
    entry.wide = false;
}

void CurveIndex::Renumber() {
    std::vector<std::pair<std::uint64_t, Entry*>> order;
    order.reserve(m_entries.size());
    for (auto& [curve, entry] : m_entries)
        order.emplace_back(entry.key, &entry);
    std::sort(order.begin(), order.end(),
              [](const auto& a, const auto& b) { return a.first < b.first; });
    m_topKey = 0;
    for (auto& [key, entry] : order) {
        m_topKey += kKeyGap;
        entry->key = m_topKey;
    }
}

void CurveIndex::Insert(const CCurve* curve, const CCurve* below, const CCurve* above) {
    if (curve == nullptr || Holds(curve))
        return;
    const auto keyOf = [this](const CCurve* c, std::uint64_t none) {
        const auto it = c != nullptr ? m_entries.find(c) : m_entries.end();
        return it != m_entries.end() ? it->second.key : none;
    };
    std::uint64_t low = keyOf(below, 0);
    std::uint64_t high = keyOf(above, m_topKey + 2 * kKeyGap);
    if (high - low < 2) {
        // Curves put back again and again between the same two used up the room: the keys
        // spread out once more, keeping their order.
        Renumber();
        low = keyOf(below, 0);
        high = keyOf(above, m_topKey + 2 * kKeyGap);
    }
    Entry& entry = m_entries[curve];
    entry.key = low + (high - low) / 2;
    m_topKey = std::max(m_topKey, entry.key);
    if (curve != m_pLoose)
        File(curve, entry);
}

void CurveIndex::Remove(const CCurve* curve) {
    const auto it = m_entries.find(curve);
    if (it == m_entries.end())
        return;
    Unfile(curve, it->second);
    m_entries.erase(it);
    if (m_pLoose == curve)
        m_pLoose = nullptr;
}

void CurveIndex::Loosen(const CCurve* curve) {
    if (curve == m_pLoose)
        return;
    if (const auto it = m_entries.find(m_pLoose); it != m_entries.end())
        File(m_pLoose, it->second);
    m_pLoose = nullptr;
    if (const auto it = m_entries.find(curve); it != m_entries.end()) {
        Unfile(curve, it->second);
        m_pLoose = curve;
    }
}

void CurveIndex::Refile(const CCurve* curve) {
    const auto it = m_entries.find(curve);
    if (it == m_entries.end() || curve == m_pLoose)
        return;
    Unfile(curve, it->second);
    File(curve, it->second);
}

bool CurveIndex::Reaches(const CCurve& curve, const CRect& rect) {
    if (rect.IsRectEmpty())
        return false;
    // Only a kept extent answers no, and then the reach costs nothing to take.
    if (curve.MayMeet(rect))
        return true;
    const CRect reach = Reach(curve);
    return reach.left < rect.right && rect.left < reach.right && reach.top < rect.bottom &&
           rect.top < reach.bottom;
}

bool CurveIndex::IsWide(const CRect& rect) const {
    if (rect.IsRectEmpty())
        return false;
    std::int64_t cells[4];
    CellsOf(rect, cells);
    // Each curve lies in a cell or two: reading a quarter of the cells reads about as many
    // curves as there are, through a lookup each.
    return (cells[2] - cells[0] + 1) * (cells[3] - cells[1] + 1) * 4 >=
           std::int64_t(m_cells.size());
}

void CurveIndex::Meeting(const CRect& rect, std::vector<const CCurve*>& out) const {
    out.clear();
    if (rect.IsRectEmpty())
        return;
    std::vector<std::pair<std::uint64_t, const CCurve*>> found;
    const auto meets = [&rect](const CRect& reach) {
        return reach.left < rect.right && rect.left < reach.right && reach.top < rect.bottom &&
               rect.top < reach.bottom;
    };
    std::int64_t cells[4];
    CellsOf(rect, cells);
    // A curve filed under several cells that the rectangle meets is taken from the first of
    // them only: the cell of the top-left corner of what the two have in common.
    const auto take = [&](std::int64_t cx, std::int64_t cy,
                          const std::vector<const CCurve*>& list) {
        for (const CCurve* curve : list) {
            const Entry& entry = m_entries.at(curve);
            if (!meets(entry.filed))
                continue;
            if (cx != std::max(cells[0], Cell(entry.filed.left)) ||
                cy != std::max(cells[1], Cell(entry.filed.top)))
                continue;
            found.emplace_back(entry.key, curve);
        }
    };
    const std::int64_t covered = (cells[2] - cells[0] + 1) * (cells[3] - cells[1] + 1);
    if (covered > std::int64_t(m_cells.size())) {
        // A rectangle wider than the drawing: the cells in use are fewer than those it covers.
        for (const auto& [id, list] : m_cells) {
            const std::int64_t cx = std::int64_t(id >> 24);
            const std::int64_t cy = std::int64_t(id & 0xFFFFFFu);
            // Cell numbers come back as 24-bit values: those of negative cells wrap.
            const std::int64_t x = cx >= (1 << 23) ? cx - (1 << 24) : cx;
            const std::int64_t y = cy >= (1 << 23) ? cy - (1 << 24) : cy;
            if (x < cells[0] || x > cells[2] || y < cells[1] || y > cells[3])
                continue;
            take(x, y, list);
        }
    } else {
        for (std::int64_t cy = cells[1]; cy <= cells[3]; ++cy) {
            for (std::int64_t cx = cells[0]; cx <= cells[2]; ++cx) {
                const auto cell = m_cells.find(CellId(cx, cy));
                if (cell != m_cells.end())
                    take(cx, cy, cell->second);
            }
        }
    }
    for (const CCurve* curve : m_wide) {
        const Entry& entry = m_entries.at(curve);
        if (meets(entry.filed))
            found.emplace_back(entry.key, curve);
    }
    if (m_pLoose != nullptr && Reaches(*m_pLoose, rect))
        found.emplace_back(m_entries.at(m_pLoose).key, m_pLoose);
    std::sort(found.begin(), found.end(),
              [](const auto& a, const auto& b) { return a.first < b.first; });
    out.reserve(found.size());
    for (const auto& [key, curve] : found)
        out.push_back(curve);
}
