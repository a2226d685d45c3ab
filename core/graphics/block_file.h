#pragma once
// The entities of a DXF block file, read back so that the screen can draw a block
// it recorded earlier (or one placed in the temporary folder, such as a logo).
// Only what the drawing layer writes is understood: LINE, CIRCLE, ARC, TEXT and
// SOLID with their layer; everything else is skipped.

#include <string>
#include <string_view>
#include <vector>

#include "core/graphics/drawing_backend.h"

namespace zam1 {

struct BlockEntity {
    enum class Kind { Line, Circle, Arc, Text, Solid };
    Kind kind = Kind::Line;
    std::string layer;
    Quad points{};              // line: 0 and 1; circle, arc, text: 0; solid: all four
    long double radius = 0;
    long double startDeg = 0;
    long double endDeg = 0;
    long double height = 0;
    long double widthFactor = 1;
    long double angleDeg = 0;
    std::string text;
};

std::vector<BlockEntity> readBlockEntities(std::string_view dxf);

} // namespace zam1
