#include "core/graphics/drawing_table.h"

#include <algorithm>

#include "core/graphics/drawing_layer.h"

namespace zam1 {
namespace {

constexpr int kLineLayer = 3;
constexpr int kTextLayer = 4;

bool blank(const std::string& text) { return text.find_first_not_of(' ') == std::string::npos; }

} // namespace

DrawingTable::DrawingTable(DrawingLayer& layer, long double left, long double top, long double h,
                           std::initializer_list<DrawingColumn> columns)
    : m_layer(layer), m_h(h), m_lineY(top - 2 * h), m_textY(top - 1.5L * h) {
    std::vector<std::string> captions;
    m_edges.push_back(left);
    for (const DrawingColumn& c : columns) {
        if (c.width == 0 || captions.size() == kMaxColumns) break;
        m_edges.push_back(m_edges.back() + 0.9L * h * c.width);
        captions.push_back(c.caption);
    }
    layer.setLayer(kLineLayer);
    layer.rectangle(left, top, m_edges.back(), top - 2 * h);
    layer.textStyle(0, 0.75L * h, h, 0);
    writeRow(captions);
}

void DrawingTable::addRow(const std::vector<std::string>& cells) {
    frameRow(m_edges.size() - 1);
    writeRow(cells);
}

void DrawingTable::addSpanningRow(const std::vector<std::string>& cells) {
    const std::size_t given = std::min(cells.size(), m_edges.size() - 1);
    frameRow(given == 0 ? 0 : given - 1);
    writeRow(cells);
}

// The row's lower edge, the left edges of columns 0..lastColumn and the table's right edge.
void DrawingTable::frameRow(std::size_t lastColumn) {
    m_layer.setLayer(kLineLayer);
    m_layer.line(m_edges.front(), m_lineY, m_edges.back(), m_lineY);
    for (std::size_t k = 0; k < m_edges.size(); ++k) {
        if (k <= lastColumn || k + 1 == m_edges.size()) m_layer.line(m_edges[k], m_lineY, m_edges[k], m_lineY + 2 * m_h);
    }
}

void DrawingTable::writeRow(const std::vector<std::string>& cells) {
    m_layer.setLayer(kTextLayer);
    const std::size_t columns = m_edges.size() - 1;
    for (std::size_t k = 0; k < columns && k < cells.size(); ++k) {
        // A cell of blanks shows nothing on any device: it is not written.
        const std::string text = " " + cells[k].substr(0, kCellLength);
        if (!blank(text)) m_layer.text(text, m_edges[k], m_textY);
    }
    m_lineY -= 2 * m_h;
    m_textY -= 2 * m_h;
}

} // namespace zam1
