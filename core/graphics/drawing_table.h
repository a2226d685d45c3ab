#pragma once
// The small table writer of the project drawing: a heading box with captions and
// one framed row per call, text height h and rows 2h apart, going down the sheet.

#include <initializer_list>
#include <string>
#include <vector>

namespace zam1 {

class DrawingLayer;

struct DrawingColumn {
    int width = 0;        // characters; the columns end at the first width 0
    std::string caption;  // stored code page
};

class DrawingTable {
public:
    static constexpr std::size_t kMaxColumns = 9;
    static constexpr std::size_t kCellLength = 60;

    // Draws the heading box and writes the captions.
    DrawingTable(DrawingLayer& layer, long double left, long double top, long double h,
                 std::initializer_list<DrawingColumn> columns);

    // The row's lower edge and column boundaries, then its cells.
    void addRow(const std::vector<std::string>& cells);
    // The same, but the last cell given runs over all the columns after it, with
    // no boundaries drawn across it (a note in place of the numbers of a row).
    void addSpanningRow(const std::vector<std::string>& cells);

    // Column edges x1 .. x(count + 1): each column is 0.9 h per character wide.
    const std::vector<long double>& edges() const { return m_edges; }
    long double lineY() const { return m_lineY; }
    long double textY() const { return m_textY; }

private:
    void frameRow(std::size_t lastColumn);
    void writeRow(const std::vector<std::string>& cells);

    DrawingLayer& m_layer;
    long double m_h;
    std::vector<long double> m_edges;
    long double m_lineY;
    long double m_textY;
};

} // namespace zam1
