#include "gui/graphics/text_placement.h"

#include <algorithm>
#include <cmath>

namespace zam1 {
namespace {

// Cohen-Sutherland outcodes.
int outcode(double x, double y, const QRectF& r) {
    int code = 0;
    if (x < r.left()) code |= 1;
    if (x > r.right()) code |= 2;
    if (y < r.top()) code |= 4;
    if (y > r.bottom()) code |= 8;
    return code;
}

} // namespace

bool segmentMeetsRect(QPoint a, QPoint b, const QRect& rect) {
    const QRectF r(QPointF(rect.left(), rect.top()), QPointF(rect.right(), rect.bottom()));
    double x0 = a.x(), y0 = a.y(), x1 = b.x(), y1 = b.y();
    int c0 = outcode(x0, y0, r);
    int c1 = outcode(x1, y1, r);
    for (int guard = 0; guard < 8; ++guard) {
        if ((c0 | c1) == 0) return true;
        if ((c0 & c1) != 0) return false;
        const int out = c0 != 0 ? c0 : c1;
        double x = 0, y = 0;
        if (out & 8) {
            x = x0 + (x1 - x0) * (r.bottom() - y0) / (y1 - y0);
            y = r.bottom();
        } else if (out & 4) {
            x = x0 + (x1 - x0) * (r.top() - y0) / (y1 - y0);
            y = r.top();
        } else if (out & 2) {
            y = y0 + (y1 - y0) * (r.right() - x0) / (x1 - x0);
            x = r.right();
        } else {
            y = y0 + (y1 - y0) * (r.left() - x0) / (x1 - x0);
            x = r.left();
        }
        if (out == c0) {
            x0 = x, y0 = y, c0 = outcode(x0, y0, r);
        } else {
            x1 = x, y1 = y, c1 = outcode(x1, y1, r);
        }
    }
    return false;
}

TextPlacer::TextPlacer(const QRect& area) : m_area(area) {
    m_columns = std::max(1, (area.width() + kCell - 1) / kCell);
    m_rows = std::max(1, (area.height() + kCell - 1) / kCell);
    m_texts.resize(static_cast<std::size_t>(m_columns) * m_rows);
    m_segments.resize(m_texts.size());
}

template <class Visit>
void TextPlacer::forCells(const QRect& r, Visit visit) {
    const QRect inside = r.intersected(m_area);
    if (inside.isEmpty()) return;
    const int c0 = (inside.left() - m_area.left()) / kCell;
    const int c1 = (inside.right() - m_area.left()) / kCell;
    const int r0 = (inside.top() - m_area.top()) / kCell;
    const int r1 = (inside.bottom() - m_area.top()) / kCell;
    for (int row = r0; row <= r1; ++row) {
        for (int column = c0; column <= c1; ++column) {
            if (visit(static_cast<std::size_t>(row) * m_columns + column)) return;
        }
    }
}

void TextPlacer::addSegment(QPoint a, QPoint b) {
    const QRect box = QRect(a, b).normalized();
    if (!inArea(box)) return;
    // Walked in half cells: a long line marks only the cells along it.
    const double length = std::hypot(b.x() - a.x(), b.y() - a.y());
    const int steps = std::max(1, static_cast<int>(length / (kCell / 2)));
    const int index = static_cast<int>(m_lines.size());
    m_lines.push_back({a, b});
    std::size_t last = static_cast<std::size_t>(-1);
    for (int s = 0; s <= steps; ++s) {
        const QPoint p(a.x() + (b.x() - a.x()) * s / steps, a.y() + (b.y() - a.y()) * s / steps);
        if (!m_area.contains(p)) continue;
        const std::size_t cell = static_cast<std::size_t>((p.y() - m_area.top()) / kCell) * m_columns +
                                 static_cast<std::size_t>((p.x() - m_area.left()) / kCell);
        if (cell != last) m_segments[cell].push_back(index);
        last = cell;
    }
}

bool TextPlacer::hitsText(const QRect& cell) {
    bool hit = false;
    forCells(cell, [&](std::size_t c) {
        for (const int i : m_texts[c]) {
            if (m_textBoxes[static_cast<std::size_t>(i)].intersects(cell)) return hit = true;
        }
        return false;
    });
    return hit;
}

bool TextPlacer::hitsLine(const QRect& ink) {
    bool hit = false;
    // A line may pass a cell next to the one its walk marked.
    forCells(ink.adjusted(-kCell / 2, -kCell / 2, kCell / 2, kCell / 2), [&](std::size_t c) {
        for (const int i : m_segments[c]) {
            const Segment& s = m_lines[static_cast<std::size_t>(i)];
            if (segmentMeetsRect(s.a, s.b, ink)) return hit = true;
        }
        return false;
    });
    return hit;
}

void TextPlacer::addText(const QRect& cell) {
    const int index = static_cast<int>(m_textBoxes.size());
    m_textBoxes.push_back(cell);
    forCells(cell, [&](std::size_t c) {
        m_texts[c].push_back(index);
        return false;
    });
}

int TextPlacer::place(QPoint anchor, const std::string& text, const QRect& cell, const QRect& ink) {
    const auto key = std::make_tuple(anchor.x(), anchor.y(), text);
    if (const auto known = m_shifts.find(key); known != m_shifts.end()) return known->second;
    if (m_placed >= kMostTexts || !inArea(cell) || ink.isEmpty()) return 0;
    ++m_placed;
    // Steps of a quarter of the text's height, up first, as far as two and a half heights.
    const int step = std::max(1, cell.height() / 4);
    constexpr int kSteps = 10;
    int clearOfTexts = 0;
    bool textsFound = false;
    int chosen = 0;
    bool found = false;
    for (int k = 0; k <= 2 * kSteps && !found; ++k) {
        const int dy = (k % 2 == 1 ? -1 : 1) * ((k + 1) / 2) * step;
        const QRect movedCell = cell.translated(0, dy);
        if (hitsText(movedCell)) continue;
        if (!textsFound) {
            textsFound = true;
            clearOfTexts = dy;
        }
        if (!hitsLine(ink.translated(0, dy))) {
            chosen = dy;
            found = true;
        }
    }
    if (!found) chosen = textsFound ? clearOfTexts : 0;
    addText(cell.translated(0, chosen));
    m_shifts.emplace(key, chosen);
    return chosen;
}

} // namespace zam1
