#pragma once
// Every configured value the drawing output needs, in one plain struct with the
// defaults of a program started without a configuration file. The configuration
// fills it; tests build their own.

#include <array>
#include <string>
#include <vector>

#include "core/graphics/cad_text_mode.h"
#include "core/text/number_format.h"

namespace zam1 {

// The graphics window (screen device).
struct WindowSettings {
    int width = 1015;                 // "Auflösung horizontal": client width W in pixels
    int height = 677;                 // "Auflösung vertikal": client height H in pixels
    long double zoomFactor = 1.02L;   // "Zoomfaktor"
    long double panFactor = 0.01L;    // "Pan-Faktor"
    int backgroundColour = 1;         // "Hintergrundfarbe", palette number
    bool colourGraphics = true;       // "Farbgrafik"
    long double textHeightFactor = 1.0L;  // "Text Height Factor"
    long double textWidthFactor = 0.8L;   // "Textbreitenfaktor Grafik"
    int textStyle = 0;                // "Text Style Graphics": bit 0 bold, 1 italic, 2 underline, 3 strike-out
    std::string fontName = "Arial";   // "Textstil Grafik"
};

struct DrawingSettings {
    // CAD layers 1 to 5: names (at most 32 characters) and colours; layer 0 is "0".
    std::array<std::string, 5> layerNames{"1", "2", "3", "4", "5"};
    std::array<int, 5> layerColours{2, 2, 2, 3, 1};          // "Farbe"
    int layer0Colour = 1;
    std::array<int, 16> layerColours16to31{1, 2, 3, 4, 5, 6, 7, 8, 9, 10, 11, 12, 13, 14, 15, 16};  // "Color Layer 16..31"
    std::array<int, 6> lineWidths0to5{3, 1, 1, 1, 2, 3};      // "Line thickness Layer 0..5"
    std::array<int, 16> lineWidths16to31{1, 1, 1, 1, 1, 1, 1, 1, 1, 1, 1, 1, 1, 1, 1, 1};  // "Strichstärke Layer 16..31"
    int layerColourMode = 0;          // 0: layers 0..5 by their configured pens; 2: layer 0 erases
    bool layerMonochrome = false;     // "Layer Monochrom"

    std::string cadTextStyle = "TXT8";       // "Textstil CAD"
    long double cadTextWidthFactor = 1.0L;   // "Textbreitenfaktor CAD"
    long double cadTextAngle = 0.0L;         // "Textwinkel": oblique angle of CAD texts
    CadTextMode cadTextMode = CadTextMode::Oem;  // "CAD Text Mode"
    int cadDecimals = 6;                     // "Decimals DXF,TXT"
    NumberFormat numbers;                    // "Dezimalstellen" and "Dot=1 Komma=2"
    long double dimensionFactor = 1.0L;      // scales arrowheads and labels
    bool printFrame = false;                 // draw the sheet outline on screen and plot

    std::string cadFolder;                   // "CAD Ordner"
    std::string tempFolder = "/tmp";         // "Ordner für temporäre Dateien", after the directory checks
    // "PENDRAW-Kommandozeile" and the further plot command lines (at most five).
    std::vector<std::string> plotCommandLines{"C:\\PENDRAW\\WPENDRAW PENDRAW.DXF /M1.0"};
    int dateCode = 1;                        // "Date Code" of the screen footer

    WindowSettings window;
};

} // namespace zam1
