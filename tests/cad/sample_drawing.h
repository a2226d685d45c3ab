#pragma once
// One small drawing that uses every operation of the drawing layer: a frame
// block and its inserts (plain and turned), lines on every layer 0..31, circles,
// arcs, whole-circle arcs, solids, arrowheads, and texts with umlauts, aligned,
// turned and long. The golden files and the real-reader checks are made from it.

#include <string>

#include "core/graphics/cad_formats.h"

namespace zam1 {
class DrawingLayer;
struct DrawingSettings;
}

namespace zam1::test {

void drawSample(DrawingLayer& layer);

// A run of the sample on one device (1 DXF, 2 IGES, 3 screen, 5 TXT) in batch
// mode: the file is `base` + "." + extension. Returns the error flag's state.
bool writeSample(OutputDevice device, const std::string& base, DrawingSettings& settings);

// The umlaut text of the sample, in the stored code page: "Größtmaß Übergänge".
inline constexpr const char* kUmlautText = "Gr\x94\xE1tma\xE1 \x9A" "berg\x84nge";

// A remark longer than one IGES parameter record, with commas, umlauts and "±":
// "Maßelemente, Gehäuse innen: ±0,175 mm, Kanten gebrochen 0,5 x 45°".
inline constexpr const char* kRemarkText =
    "Ma\xE1" "elemente, Geh\x84use innen: \xF1" "0,175 mm, Kanten gebrochen 0,5 x 45\xF8";

} // namespace zam1::test
