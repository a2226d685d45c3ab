#pragma once
// The content of a named block kept in memory, so that a back-end that cannot
// scale an instance of it can draw the block's entities in place instead.

#include <string>
#include <string_view>
#include <vector>

#include "core/graphics/drawing_backend.h"

namespace zam1 {

// Where a point of a block lands when the block is inserted at `at`, turned by
// rotationDeg and scaled: scale first, then turn, then move.
struct BlockPlacement {
    Point at;
    long double rotationDeg = 0;
    long double xScale = 1;
    long double yScale = 1;
    Point place(Point p) const;
};

class BlockRecorder final : public DrawingBackend {
public:
    void openSheet(const Sheet&) override {}
    void beginPage() override {}
    void endPage() override {}
    void finish() override {}

    void setLayer(int layer) override;
    void setTextStyle(const TextStyle& style) override;
    void line(Point a, Point b) override;
    void circle(Point centre, long double radius) override;
    void arc(Point centre, long double startDeg, long double endDeg, long double radius) override;
    void solid(const Quad& quad) override;
    void text(std::string_view oem, Point at) override;
    bool beginBlock(std::string_view) override { return true; }
    void endBlock(bool) override {}
    void insertBlock(std::string_view name, Point at, long double rotationDeg, long double xScale,
                     long double yScale) override;

    // Draws what was recorded onto `target`, placed. Circles and arcs take the x
    // scale for their radius; texts the y scale for their height.
    void replay(DrawingBackend& target, const BlockPlacement& placement) const;

private:
    enum class Kind { Layer, Style, Line, Circle, Arc, Solid, Text, Insert };
    struct Op {
        Kind kind;
        int layer = 0;
        TextStyle style;
        Quad points{};
        long double a = 0;
        long double b = 0;
        long double r = 0;
        std::string text;   // the text, or the name of an inserted block
    };
    std::vector<Op> m_ops;
};

} // namespace zam1
