#pragma once
// Where the texts of a picture go on the screen and in a saved drawing. The
// display list keeps each text where the drawing put it (the CAD files need that
// geometry), but there a text may lie on another or on a line once it is drawn
// with the window's font, which is taller than the sheet's text height. Each
// text is measured with the canvas's font and, when its place is taken, moved
// up or down by the smallest step that frees it: first clear of texts and lines
// drawn before it, else clear of texts, else it stays.
//
// Everything here is in the pixels of the display list; what lies outside the
// area given is not looked at.

#include <QPoint>
#include <QRect>

#include <cstddef>
#include <map>
#include <string>
#include <tuple>
#include <vector>

namespace zam1 {

class TextPlacer {
public:
    // A crowded drawing (a test pattern of thousands of texts) is drawn as recorded.
    static constexpr std::size_t kMostTexts = 3000;

    explicit TextPlacer(const QRect& area);

    // A line drawn: later texts keep off it.
    void addSegment(QPoint a, QPoint b);

    // The vertical shift (pixels, down positive) of a text whose ink lies in
    // `ink` and whose character cell is `cell`; the moved cell is taken as drawn.
    // The same text at the same anchor again (an erase in the background colour)
    // gets the same shift.
    int place(QPoint anchor, const std::string& text, const QRect& cell, const QRect& ink);

private:
    static constexpr int kCell = 24;
    struct Segment {
        QPoint a;
        QPoint b;
    };
    bool inArea(const QRect& r) const { return m_area.intersects(r); }
    template <class Visit>
    void forCells(const QRect& r, Visit visit);
    bool hitsText(const QRect& cell);
    bool hitsLine(const QRect& ink);
    void addText(const QRect& cell);

    QRect m_area;
    int m_columns = 0;
    int m_rows = 0;
    std::vector<std::vector<int>> m_texts;     // per grid cell: indices into m_textBoxes
    std::vector<std::vector<int>> m_segments;  // per grid cell: indices into m_lines
    std::vector<QRect> m_textBoxes;
    std::vector<Segment> m_lines;
    std::map<std::tuple<int, int, std::string>, int> m_shifts;
    std::size_t m_placed = 0;
};

// True when the segment from a to b crosses or touches the rectangle.
bool segmentMeetsRect(QPoint a, QPoint b, const QRect& r);

} // namespace zam1
