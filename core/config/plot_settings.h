#pragma once
// The parameters of the plot device: paper, orientation, scale, a pen width per
// colour and the plot program. "0" at the plot command confirmation stands for
// the command line built from them; without a plot program the program prints
// the drawing itself through the print dialog.

#include <array>
#include <string>
#include <string_view>

namespace zam1 {

struct PaperSize {
    std::string_view name;
    int widthMm;   // portrait
    int heightMm;
};

inline constexpr std::array<PaperSize, 6> kPaperSizes{{
    {"A4", 210, 297}, {"A3", 297, 420}, {"A2", 420, 594}, {"A1", 594, 841}, {"A0", 841, 1189}, {"Letter", 216, 279},
}};

inline constexpr int kPlotPens = 16;  // one per palette colour

struct PlotSettings {
    int paper = 0;            // index into kPaperSizes
    bool landscape = true;
    long double scale = 0;    // sheet millimetres to paper millimetres; 0 fits the sheet to the paper
    std::array<long double, kPlotPens> penWidthsMm{0.5L, 0.35L, 0.35L, 0.35L, 0.35L, 0.35L, 0.35L, 0.35L,
                                                   0.25L, 0.35L, 0.35L, 0.35L, 0.35L, 0.35L, 0.35L, 0.35L};
    std::string program;      // the plot program (file-system text); empty: printed by this program
};

// The paper size in millimetres with the orientation applied; an unknown paper counts as A4.
PaperSize plotPaper(const PlotSettings& plot);

// The command line the parameters stand for: the program and the DXF file, the
// file quoted when it holds a blank. Empty without a program.
std::string plotCommandLine(const PlotSettings& plot, const std::string& dxfFile);

// A command line that this system cannot run, whatever is installed: empty, or
// the built-in line naming the DOS plot program. The plot device then prints the
// drawing itself.
bool plotLineMeansPrintItself(std::string_view line);

} // namespace zam1
