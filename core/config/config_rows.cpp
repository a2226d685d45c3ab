// The rows of "zam1.cfg" (see config_rows.h for the columns).
#include "core/config/config_rows.h"

#include <array>

// The rows name only the columns they set (designated initializers); the rest
// keep their defaults on purpose, which g++ 12 would otherwise warn about.
#pragma GCC diagnostic ignored "-Wmissing-field-initializers"

namespace zam1 {
namespace {

using K = RowKind;
using F = Fallback;
using G = SettingsGroup;
using E = SettingsEditor;

// Where a value lives, as a function pointer the table can hold.
#define AT(member) +[](Configuration& c) -> auto& { return c.member; }

constexpr ValidRange kNonZero{.nonZero = true};

constexpr SettingsChoice kOneTwo[] = {{1, "1"}, {2, "2"}};
constexpr SettingsChoice kHelpLevels[] = {{0, "0"}, {1, "1"}, {2, "2"}};
constexpr SettingsChoice kSeparators[] = {{1, "1  ***"}, {2, "2  ---"}, {3, "3"}, {4, "4"}};
constexpr SettingsChoice kDateCodes[] = {
    {1, "DD.MM.YYYY"}, {2, "MM/DD/YYYY"}, {3, "YYYY/MM/DD"}, {4, "DD/MM/YYY"}};
constexpr SettingsChoice kSeparatorSigns[] = {{1, "1  ."}, {2, "2  ,"}};
constexpr SettingsChoice kUnits[] = {{0, "0  mm"}, {1, "1  inch"}};
constexpr SettingsChoice kSpecialCharacters[] = {{0, "²  µ  °"}, {1, "2 u  deg"}};
constexpr SettingsChoice kAngleOutputs[] = {{1, "15.1234°"}, {2, "15° 7' 24\""}};
constexpr SettingsChoice kSpreadsheetFormats[] = {{1, "English x.xx"}, {2, "German x,xx"}};
// Which reader takes which coding of umlauts and signs: the entries say it, as the manual does.
constexpr SettingsChoice kCadTextModes[] = {
    {1, "1  DOS 850 (ältere DOS-CAD-Programme)"},
    {2, "2  Windows 1252 (ezdxf; ältere Windows-CAD-Programme)"},
    {3, "3  ae oe ue ss (jeder Leser, ohne Umlaute)"},
    {4, "4  \\U+XXXX (ezdxf, LibreCAD, aktuelle CAD-Programme)"}};
constexpr SettingsChoice kIndexStyles[] = {{0, "a,b,c..."}, {1, "1,2,3..."}, {2, "A,B,C..."}, {3, "......"}};
constexpr SettingsChoice kResultGraphics[] = {{0, "egal"},    {1, "Quick 1"},  {2, "Quick 2"},
                                              {3, "Fertigungszeichnung"}, {4, "Diagramm"}, {5, "Zeichnung"}};
constexpr SettingsChoice kLanguages[] = {{0, "eingebaut"}, {1, "Deutsch"},   {2, "English"}, {3, "Français"},
                                         {4, "Italiano"},  {5, "Svenska"},   {6, "Português"}, {7, "Română"},
                                         {8, "한국어"},     {9, "Español"}};

constexpr ConfigRow kRows[] = {
    // CAD layers, CAD text and the printer.
    {.row = 1, .label = "Layer", .kind = K::Text, .at = AT(layers[0].name), .initial = "1",
     .dialog = {.group = G::Layers, .editor = E::Line, .label = "Layer 1", .key = "layerName1"}},
    {.row = 1, .label = "Farbe", .at = AT(layers[0].colour), .initial = 2,
     .dialog = {.group = G::Layers, .editor = E::CadColour, .label = "Farbe Layer 1", .key = "layerColour1"}},
    {.row = 2, .label = "Layer", .kind = K::Text, .at = AT(layers[1].name), .initial = "2",
     .dialog = {.group = G::Layers, .editor = E::Line, .label = "Layer 2", .key = "layerName2"}},
    {.row = 2, .label = "Farbe", .at = AT(layers[1].colour), .initial = 2,
     .dialog = {.group = G::Layers, .editor = E::CadColour, .label = "Farbe Layer 2", .key = "layerColour2"}},
    {.row = 3, .label = "Layer", .kind = K::Text, .at = AT(layers[2].name), .initial = "3",
     .dialog = {.group = G::Layers, .editor = E::Line, .label = "Layer 3", .key = "layerName3"}},
    {.row = 3, .label = "Farbe", .at = AT(layers[2].colour), .initial = 2,
     .dialog = {.group = G::Layers, .editor = E::CadColour, .label = "Farbe Layer 3", .key = "layerColour3"}},
    {.row = 4, .label = "Layer", .kind = K::Text, .at = AT(layers[3].name), .initial = "4",
     .dialog = {.group = G::Layers, .editor = E::Line, .label = "Layer 4", .key = "layerName4"}},
    {.row = 4, .label = "Farbe", .at = AT(layers[3].colour), .initial = 3,
     .dialog = {.group = G::Layers, .editor = E::CadColour, .label = "Farbe Layer 4", .key = "layerColour4"}},
    {.row = 5, .label = "Layer", .kind = K::Text, .at = AT(layers[4].name), .initial = "5",
     .dialog = {.group = G::Layers, .editor = E::Line, .label = "Layer 5", .key = "layerName5"}},
    {.row = 5, .label = "Farbe", .at = AT(layers[4].colour), .initial = 1,
     .dialog = {.group = G::Layers, .editor = E::CadColour, .label = "Farbe Layer 5", .key = "layerColour5"}},
    {.row = 6, .label = "Textstil CAD", .kind = K::Text, .at = AT(cadTextStyle), .initial = "TXT8",
     .dialog = {.group = G::Cad, .editor = E::Line, .label = "Textstil CAD", .key = "cadTextStyle"}},
    {.row = 7, .label = "Textbreitenfaktor CAD", .kind = K::ShortReal, .at = AT(cadTextWidthFactor), .initial = 1.0L,
     .valid = kNonZero, .fallback = F::Replace, .replacement = 1.0L,
     .dialog = {.group = G::Cad, .editor = E::Line, .label = "Textbreitenfaktor CAD", .key = "cadTextWidthFactor"}},
    {.row = 8, .label = "Textwinkel", .kind = K::ShortReal, .at = AT(cadTextAngle), .initial = 0.0L,
     .dialog = {.group = G::Cad, .editor = E::Line, .label = "Textwinkel", .key = "cadTextAngle"}},
    {.row = 9, .label = "CAD Ordner", .kind = K::FileName, .at = AT(cadDirectory), .initial = "",
     .dialog = {.group = G::Folders, .editor = E::Folder, .label = "CAD Ordner", .key = "cadDirectory"}},
    {.row = 10, .label = "DBF Ordner", .kind = K::FileName, .at = AT(dbfDirectory), .initial = "",
     .dialog = {.group = G::Folders, .editor = E::Folder, .label = "DBF Ordner", .key = "dbfDirectory"}},
    {.row = 11, .label = "Hilfegrad", .at = AT(helpLevel), .initial = 1,
     .dialog = {.group = G::Help, .editor = E::Combo, .label = "Hilfegrad", .key = "helpLevel",
                .choices = kHelpLevels}},
    {.row = 12, .label = "Druckerschnittstelle", .at = AT(printerPort), .initial = 1,
     .valid = kNonZero, .fallback = F::Replace, .replacement = 1, .mayEndAfter = true,
     .dialog = {.group = G::Printer, .editor = E::Spin, .label = "Druckerschnittstelle", .key = "printerPort",
                .lo = 1, .hi = 4}},
    {.row = 13, .label = "Druckertyp", .at = AT(printerType), .initial = 3, .mayEndAfter = true,
     .dialog = {.group = G::Printer, .editor = E::Spin, .label = "Druckertyp", .key = "printerType"}},
    {.row = 14, .label = "Druckdichte", .at = AT(printDensity), .initial = 1,
     .dialog = {.group = G::Printer, .editor = E::Spin, .label = "Druckdichte", .key = "printDensity"}},
    {.row = 15, .label = "Hardcopy um 90° gedreht ?", .kind = K::Letter, .at = AT(hardcopyRotated), .initial = 'J',
     .dialog = {.group = G::Printer, .editor = E::Check, .label = "Hardcopy um 90° gedreht ?",
                .key = "hardcopyRotated"}},
    {.row = 16, .label = "Dezimalstellen", .at = AT(decimals), .initial = 3,
     .valid = {.lo = 1, .hi = 9}, .fallback = F::Replace, .replacement = 3,
     .dialog = {.group = G::Numbers, .editor = E::Spin, .label = "Dezimalstellen", .key = "decimals",
                .lo = 1, .hi = 9}},
    {.row = 17, .label = "Druckdicke vertikal", .at = AT(printThicknessVertical), .initial = 1,
     .valid = {.hi = 4, .nonZero = true}, .fallback = F::Replace, .replacement = 1, .mayEndAfter = true,
     .dialog = {.group = G::Printer, .editor = E::Spin, .label = "Druckdicke vertikal",
                .key = "printThicknessVertical", .lo = 1, .hi = 4}},

    // Screen graphics and folders.
    {.row = 18, .label = "Farbgrafik", .kind = K::Boolean, .at = AT(colourGraphics), .initial = true,
     .dialog = {.group = G::ScreenColours, .editor = E::Check, .label = "Farbgrafik", .key = "colourGraphics"}},
    {.row = 19, .label = "GrafikKorrekturFaktor horizontal", .kind = K::ShortReal, .at = AT(graphicsAspectCorrection),
     .initial = 1.0L, .valid = kNonZero, .fallback = F::Replace, .replacement = 1.0L,
     .dialog = {.group = G::Screen, .editor = E::Line, .label = "GrafikKorrekturFaktor horizontal",
                .key = "graphicsAspectCorrection"}},
    {.row = 20, .label = "Grafik-Mode", .at = AT(graphicsMode), .initial = 0,
     .dialog = {.group = G::Screen, .editor = E::Spin, .label = "Grafik-Mode", .key = "graphicsMode"}},
    {.row = 21, .label = "Grafik-Treiber", .at = AT(graphicsDriver), .initial = 0,
     .dialog = {.group = G::Screen, .editor = E::Spin, .label = "Grafik-Treiber", .key = "graphicsDriver"}},
    {.row = 22, .label = "Auflösung horizontal", .at = AT(graphicsWidth), .initial = 0,
     .fallback = F::ScreenWidth, .replacement = 9,
     .dialog = {.group = G::Screen, .editor = E::Spin, .label = "Auflösung horizontal", .key = "graphicsWidth"}},
    {.row = 23, .label = "Auflösung vertikal", .at = AT(graphicsHeight), .initial = 0,
     .fallback = F::ScreenHeight, .replacement = 91,
     .dialog = {.group = G::Screen, .editor = E::Spin, .label = "Auflösung vertikal", .key = "graphicsHeight"}},
    {.row = 24, .label = "Ordner für temporäre Dateien", .kind = K::FileName, .at = AT(tempDirectory), .initial = "",
     .dialog = {.group = G::Folders, .editor = E::Folder, .label = "Ordner für temporäre Dateien",
                .key = "tempDirectory"}},
    {.row = 25, .label = "Druckerschnittstelle Hardcopy", .at = AT(hardcopyPrinterPort), .initial = 1,
     .valid = kNonZero, .fallback = F::Replace, .replacement = 1, .mayEndAfter = true,
     .dialog = {.group = G::Printer, .editor = E::Spin, .label = "Druckerschnittstelle Hardcopy",
                .key = "hardcopyPrinterPort", .lo = 1, .hi = 4}},

    // Reports, zoom and the plot command.
    {.row = 26, .label = "EDI Ordner", .kind = K::FileName, .at = AT(ediDirectory), .initial = "",
     .dialog = {.group = G::Folders, .editor = E::Folder, .label = "EDI Ordner", .key = "ediDirectory"}},
    {.row = 27, .label = "PLT Ordner", .kind = K::FileName, .at = AT(pltDirectory), .initial = "",
     .dialog = {.group = G::Folders, .editor = E::Folder, .label = "PLT Ordner", .key = "pltDirectory"}},
    {.row = 28, .label = "Mode für Textausdruck 1:* 2:-", .at = AT(separatorStyle), .initial = 2,
     .valid = kNonZero, .fallback = F::Replace, .replacement = 1,
     .dialog = {.group = G::Reports, .editor = E::Combo, .label = "Mode für Textausdruck 1:* 2:-",
                .key = "separatorStyle", .choices = kSeparators}},
    {.row = 29, .label = "Zeilen pro Seite für Drucker", .at = AT(linesPerPage), .initial = 66,
     .valid = {.lo = 5}, .fallback = F::Replace, .replacement = 66,
     .dialog = {.group = G::Reports, .editor = E::Spin, .label = "Zeilen pro Seite für Drucker",
                .key = "linesPerPage", .lo = 5, .hi = 1000}},
    {.row = 30, .label = "Zoomfaktor", .kind = K::Real, .at = AT(zoomFactor), .initial = 1.02L,
     .valid = kNonZero, .fallback = F::Replace, .replacement = 1.02L,
     .dialog = {.group = G::Screen, .editor = E::Line, .label = "Zoomfaktor", .key = "zoomFactor"}},
    {.row = 31, .label = "Pan-Faktor", .kind = K::Real, .at = AT(panFactor), .initial = 0.01L,
     .valid = kNonZero, .fallback = F::Replace, .replacement = 0.01L,
     .dialog = {.group = G::Screen, .editor = E::Line, .label = "Pan-Faktor", .key = "panFactor"}},
    {.row = 32, .label = "KORVANT-Programmverzeichnis", .kind = K::FileName, .at = AT(korvantDirectory),
     .initial = "", .mayEndAfter = true,
     .dialog = {.group = G::Folders, .editor = E::Folder, .label = "KORVANT-Programmverzeichnis",
                .key = "korvantDirectory"}},
    {.row = 33, .label = "PENDRAW-Kommandozeile", .kind = K::FileName, .at = AT(plotCommands[0]),
     .initial = kDefaultPlotCommand, .fallback = F::KeepWhenEmpty, .mayEndAfter = true,
     .dialog = {.group = G::Plotter, .editor = E::Line, .label = "PENDRAW-Kommandozeile 1", .key = "plotCommand1"}},
    {.row = 34, .label = "Hintergrundfarbe", .at = AT(backgroundColour), .initial = 1, .mayEndAfter = true,
     .dialog = {.group = G::ScreenColours, .editor = E::PaletteColour, .label = "Hintergrundfarbe",
                .key = "backgroundColour"}},
    {.row = 35, .label = "Windows-Druckmodus (1=mono 2=color)", .at = AT(windowsPrintMode), .initial = 1,
     .valid = kNonZero, .fallback = F::Replace, .replacement = 1, .mayEndAfter = true,
     .dialog = {.group = G::Printer, .editor = E::Combo, .label = "Windows-Druckmodus (1=mono 2=color)",
                .key = "windowsPrintMode", .choices = kOneTwo}},
    {.row = 36, .label = "Layer Monochrom", .kind = K::Boolean, .at = AT(layerMonochrome), .initial = false,
     .mayEndAfter = true,
     .dialog = {.group = G::ScreenColours, .editor = E::Check, .label = "Layer Monochrom", .key = "layerMonochrome"}},

    // Screen text, layers 16 to 31, programs and the screendump.
    {.row = 37, .label = "Textbreitenfaktor Grafik", .kind = K::Real, .at = AT(graphicsTextWidthFactor),
     .initial = 0.8L, .valid = kNonZero, .fallback = F::Replace, .replacement = 0.8L,
     .whenMissing = WhenMissing::CadTextWidthFactor,
     .dialog = {.group = G::Screen, .editor = E::Line, .label = "Textbreitenfaktor Grafik",
                .key = "graphicsTextWidthFactor"}},
    {.row = 38, .label = "Textstil Grafik", .kind = K::Text, .at = AT(graphicsTextStyle), .initial = "Arial",
     .mayEndAfter = true, .whenMissing = WhenMissing::Initial,
     .dialog = {.group = G::Screen, .editor = E::Line, .label = "Textstil Grafik", .key = "graphicsTextStyle"}},
    {.row = 39, .label = "Color Layer 16", .at = AT(layerColours16to31[0]), .initial = 1,
     .valid = kNonZero, .fallback = F::Replace, .replacement = 1,
     .dialog = {.group = G::LayerColours, .editor = E::CadColour, .label = "Color Layer 16", .key = "layerColour16"}},
    {.row = 40, .label = "Color Layer 17", .at = AT(layerColours16to31[1]), .initial = 2,
     .valid = kNonZero, .fallback = F::Replace, .replacement = 1,
     .dialog = {.group = G::LayerColours, .editor = E::CadColour, .label = "Color Layer 17", .key = "layerColour17"}},
    {.row = 41, .label = "Color Layer 18", .at = AT(layerColours16to31[2]), .initial = 3,
     .valid = kNonZero, .fallback = F::Replace, .replacement = 1,
     .dialog = {.group = G::LayerColours, .editor = E::CadColour, .label = "Color Layer 18", .key = "layerColour18"}},
    {.row = 42, .label = "Color Layer 19", .at = AT(layerColours16to31[3]), .initial = 4,
     .valid = kNonZero, .fallback = F::Replace, .replacement = 1,
     .dialog = {.group = G::LayerColours, .editor = E::CadColour, .label = "Color Layer 19", .key = "layerColour19"}},
    {.row = 43, .label = "Color Layer 20", .at = AT(layerColours16to31[4]), .initial = 5,
     .valid = kNonZero, .fallback = F::Replace, .replacement = 1,
     .dialog = {.group = G::LayerColours, .editor = E::CadColour, .label = "Color Layer 20", .key = "layerColour20"}},
    {.row = 44, .label = "Color Layer 21", .at = AT(layerColours16to31[5]), .initial = 6,
     .valid = kNonZero, .fallback = F::Replace, .replacement = 1,
     .dialog = {.group = G::LayerColours, .editor = E::CadColour, .label = "Color Layer 21", .key = "layerColour21"}},
    {.row = 45, .label = "Color Layer 22", .at = AT(layerColours16to31[6]), .initial = 7,
     .valid = kNonZero, .fallback = F::Replace, .replacement = 1,
     .dialog = {.group = G::LayerColours, .editor = E::CadColour, .label = "Color Layer 22", .key = "layerColour22"}},
    {.row = 46, .label = "Color Layer 23", .at = AT(layerColours16to31[7]), .initial = 8,
     .valid = kNonZero, .fallback = F::Replace, .replacement = 1,
     .dialog = {.group = G::LayerColours, .editor = E::CadColour, .label = "Color Layer 23", .key = "layerColour23"}},
    {.row = 47, .label = "Color Layer 24", .at = AT(layerColours16to31[8]), .initial = 9,
     .valid = kNonZero, .fallback = F::Replace, .replacement = 1,
     .dialog = {.group = G::LayerColours, .editor = E::CadColour, .label = "Color Layer 24", .key = "layerColour24"}},
    {.row = 48, .label = "Color Layer 25", .at = AT(layerColours16to31[9]), .initial = 10,
     .valid = kNonZero, .fallback = F::Replace, .replacement = 1,
     .dialog = {.group = G::LayerColours, .editor = E::CadColour, .label = "Color Layer 25", .key = "layerColour25"}},
    {.row = 49, .label = "Color Layer 26", .at = AT(layerColours16to31[10]), .initial = 11,
     .valid = kNonZero, .fallback = F::Replace, .replacement = 1,
     .dialog = {.group = G::LayerColours, .editor = E::CadColour, .label = "Color Layer 26", .key = "layerColour26"}},
    {.row = 50, .label = "Color Layer 27", .at = AT(layerColours16to31[11]), .initial = 12,
     .valid = kNonZero, .fallback = F::Replace, .replacement = 1,
     .dialog = {.group = G::LayerColours, .editor = E::CadColour, .label = "Color Layer 27", .key = "layerColour27"}},
    {.row = 51, .label = "Color Layer 28", .at = AT(layerColours16to31[12]), .initial = 13,
     .valid = kNonZero, .fallback = F::Replace, .replacement = 1,
     .dialog = {.group = G::LayerColours, .editor = E::CadColour, .label = "Color Layer 28", .key = "layerColour28"}},
    {.row = 52, .label = "Color Layer 29", .at = AT(layerColours16to31[13]), .initial = 14,
     .valid = kNonZero, .fallback = F::Replace, .replacement = 1,
     .dialog = {.group = G::LayerColours, .editor = E::CadColour, .label = "Color Layer 29", .key = "layerColour29"}},
    {.row = 53, .label = "Color Layer 30", .at = AT(layerColours16to31[14]), .initial = 15,
     .valid = kNonZero, .fallback = F::Replace, .replacement = 1,
     .dialog = {.group = G::LayerColours, .editor = E::CadColour, .label = "Color Layer 30", .key = "layerColour30"}},
    {.row = 54, .label = "Color Layer 31", .at = AT(layerColours16to31[15]), .initial = 16,
     .valid = kNonZero, .fallback = F::Replace, .replacement = 1, .mayEndAfter = true,
     .dialog = {.group = G::LayerColours, .editor = E::CadColour, .label = "Color Layer 31", .key = "layerColour31"}},
    {.row = 55, .label = "Textprogramm", .kind = K::FileName, .at = AT(textProgram), .initial = kDefaultViewerProgram,
     .dialog = {.group = G::Programs, .editor = E::File, .label = "Textprogramm", .key = "textProgram"}},
    {.row = 56, .label = "Datenbank mode", .at = AT(databaseMode), .initial = 1,
     .dialog = {.group = G::Programs, .editor = E::Spin, .label = "Datenbank mode", .key = "databaseMode"}},
    {.row = 57, .label = "externe Datenbank", .kind = K::FileName, .at = AT(externalDatabase),
     .initial = kDefaultViewerProgram, .mayEndAfter = true,
     .dialog = {.group = G::Programs, .editor = E::File, .label = "externe Datenbank", .key = "externalDatabase"}},
    {.row = 58, .label = "Windows Screendump Origin X", .at = AT(screendumpOriginX), .initial = 0,
     .dialog = {.group = G::Screendump, .editor = E::Spin, .label = "Windows Screendump Origin X",
                .key = "screendumpOriginX"}},
    {.row = 59, .label = "Windows Screendump Origin Y", .at = AT(screendumpOriginY), .initial = 0,
     .dialog = {.group = G::Screendump, .editor = E::Spin, .label = "Windows Screendump Origin Y",
                .key = "screendumpOriginY"}},
    {.row = 60, .label = "Windows Screendump Scale", .kind = K::Real, .at = AT(screendumpScale), .initial = 1.0L,
     .valid = kNonZero, .fallback = F::ReplaceWithPrintScale, .replacement = 1.0L,
     .dialog = {.group = G::Screendump, .editor = E::Line, .label = "Windows Screendump Scale",
                .key = "screendumpScale"}},
    {.row = 61, .label = "Windows Screendump Border ?", .kind = K::Boolean, .at = AT(screendumpBorder),
     .initial = false, .mayEndAfter = true,
     .dialog = {.group = G::Screendump, .editor = E::Check, .label = "Windows Screendump Border ?",
                .key = "screendumpBorder"}},

    // Plot command lines, dates and reports.
    {.row = 62, .label = "Reserve 1 ?", .kind = K::Reserve},
    {.row = 63, .label = "Reserve 2 ?", .kind = K::Reserve, .mayEndAfter = true},
    {.row = 64, .label = "PENDRAW Command lines (n, line 2 .. line n)", .kind = K::PlotCount,
     .at = AT(plotCommandCount), .initial = 1, .valid = {.lo = 1, .hi = 5}, .fallback = F::Clamp,
     .dialog = {.group = G::Plotter, .editor = E::Spin, .label = "PENDRAW Command lines (n)",
                .key = "plotCommandCount", .lo = 1, .hi = 5}},
    {.row = 64, .kind = K::PlotLine, .at = AT(plotCommands[1]), .part = 2, .initial = kDefaultPlotCommand,
     .dialog = {.group = G::Plotter, .editor = E::Line, .label = "PENDRAW-Kommandozeile 2", .key = "plotCommand2"}},
    {.row = 64, .kind = K::PlotLine, .at = AT(plotCommands[2]), .part = 3, .initial = kDefaultPlotCommand,
     .dialog = {.group = G::Plotter, .editor = E::Line, .label = "PENDRAW-Kommandozeile 3", .key = "plotCommand3"}},
    {.row = 64, .kind = K::PlotLine, .at = AT(plotCommands[3]), .part = 4, .initial = kDefaultPlotCommand,
     .dialog = {.group = G::Plotter, .editor = E::Line, .label = "PENDRAW-Kommandozeile 4", .key = "plotCommand4"}},
    {.row = 64, .kind = K::PlotLine, .at = AT(plotCommands[4]), .part = 5, .initial = kDefaultPlotCommand,
     .dialog = {.group = G::Plotter, .editor = E::Line, .label = "PENDRAW-Kommandozeile 5", .key = "plotCommand5"}},
    {.row = 65, .label = "Archive Flag ?", .kind = K::Boolean, .at = AT(archiveMode), .initial = false,
     .mayEndAfter = true,
     .dialog = {.group = G::Programs, .editor = E::Check, .label = "Archive Flag ?", .key = "archiveMode"}},
    {.row = 66, .label = "Reserve 3 ?", .kind = K::Reserve, .mayEndAfter = true},
    {.row = 67, .label = "Date Code", .at = AT(dateCode), .initial = 1,
     .valid = {.hi = 4, .nonZero = true}, .fallback = F::Replace, .replacement = 1, .mayEndAfter = true,
     .dialog = {.group = G::Numbers, .editor = E::Combo, .label = "Date Code", .key = "dateCode",
                .choices = kDateCodes}},
    {.row = 68, .label = "Header Space Lines", .at = AT(headerSpaceLines), .initial = 0,
     .valid = {.lo = 0, .hi = 30}, .fallback = F::Replace, .replacement = 0, .mayEndAfter = true,
     .dialog = {.group = G::Reports, .editor = E::Spin, .label = "Header Space Lines", .key = "headerSpaceLines",
                .lo = 0, .hi = 30}},

    // Devices, windows and units.
    {.row = 69, .label = "Text Device", .at = AT(textDevice), .initial = 1,
     .valid = {.hi = 9, .nonZero = true}, .fallback = F::Replace, .replacement = 1,
     .dialog = {.group = G::Reports, .editor = E::Spin, .label = "Text Device", .key = "textDevice",
                .lo = 1, .hi = 9}},
    {.row = 70, .label = "Text Device Window ?", .kind = K::Boolean, .at = AT(askTextDevice), .initial = false,
     .mayEndAfter = true,
     .dialog = {.group = G::Reports, .editor = E::Check, .label = "Text Device Window ?", .key = "askTextDevice"}},
    {.row = 71, .label = "Small Online Window ?", .kind = K::Boolean, .at = AT(smallOnlineWindow), .initial = false,
     .mayEndAfter = true,
     .dialog = {.group = G::Windows, .editor = E::Check, .label = "Small Online Window ?",
                .key = "smallOnlineWindow"}},
    {.row = 72, .label = "Enter Diagram Limits ?", .kind = K::Boolean, .at = AT(enterDiagramLimits), .initial = false,
     .dialog = {.group = G::Results, .editor = E::Check, .label = "Enter Diagram Limits ?",
                .key = "enterDiagramLimits"}},
    {.row = 73, .label = "Dot=1 Komma=2", .at = AT(decimalSeparator), .initial = 1,
     .valid = {.hi = 2, .nonZero = true}, .fallback = F::Replace, .replacement = 1,
     .dialog = {.group = G::Numbers, .editor = E::Combo, .label = "Dot=1 Komma=2", .key = "decimalSeparator",
                .choices = kSeparatorSigns}},
    {.row = 74, .label = "Default Data Directory", .kind = K::FileName, .at = AT(dataDirectory), .initial = "",
     .fallback = F::StartDirectory, .mayEndAfter = true,
     .dialog = {.group = G::DataFolder, .editor = E::Folder, .label = "Default Data Directory",
                .key = "dataDirectory"}},
    {.row = 75, .label = "Text Height Factor", .kind = K::Real, .at = AT(textHeightFactor), .initial = 1.0L,
     .valid = {.lo = 0.1L}, .fallback = F::Replace, .replacement = 1.0L, .mayEndAfter = true,
     .dialog = {.group = G::Screen, .editor = E::Line, .label = "Text Height Factor", .key = "textHeightFactor"}},
    {.row = 76, .label = "Input Window Scale %", .at = AT(inputWindowScale), .initial = 102,
     .valid = {.lo = 10, .hi = 1000}, .fallback = F::Replace, .replacement = 100,
     .dialog = {.group = G::Windows, .editor = E::Spin, .label = "Input Window Scale %", .key = "inputWindowScale",
                .lo = 10, .hi = 1000}},
    {.row = 77, .label = "HTML Browser", .kind = K::FileName, .at = AT(htmlBrowser), .initial = kDefaultViewerProgram,
     .mayEndAfter = true,
     .dialog = {.group = G::Programs, .editor = E::File, .label = "HTML Browser", .key = "htmlBrowser"}},

    // Printing; from here on the file always goes to its end.
    {.row = 78, .label = "Print Scale Vertical", .kind = K::Real, .at = AT(printScaleVertical), .initial = 1.0L,
     .valid = {.lo = 0.0001L}, .fallback = F::ScreendumpScale,
     .dialog = {.group = G::Printer, .editor = E::Line, .label = "Print Scale Vertical", .key = "printScaleVertical"}},
    {.row = 79, .label = "Line thickness Layer 0..5", .at = AT(lineThickness0to5[0]), .initial = 3,
     .valid = {.lo = 1, .hi = 255}, .fallback = F::Replace, .replacement = 1,
     .dialog = {.group = G::Thickness, .editor = E::Spin, .label = "Line thickness Layer 0", .key = "lineThickness0",
                .lo = 1, .hi = 255}},
    {.row = 79, .at = AT(lineThickness0to5[1]), .initial = 1,
     .valid = {.lo = 1, .hi = 255}, .fallback = F::Replace, .replacement = 1,
     .dialog = {.group = G::Thickness, .editor = E::Spin, .label = "Line thickness Layer 1", .key = "lineThickness1",
                .lo = 1, .hi = 255}},
    {.row = 79, .at = AT(lineThickness0to5[2]), .initial = 1,
     .valid = {.lo = 1, .hi = 255}, .fallback = F::Replace, .replacement = 1,
     .dialog = {.group = G::Thickness, .editor = E::Spin, .label = "Line thickness Layer 2", .key = "lineThickness2",
                .lo = 1, .hi = 255}},
    {.row = 79, .at = AT(lineThickness0to5[3]), .initial = 1,
     .valid = {.lo = 1, .hi = 255}, .fallback = F::Replace, .replacement = 1,
     .dialog = {.group = G::Thickness, .editor = E::Spin, .label = "Line thickness Layer 3", .key = "lineThickness3",
                .lo = 1, .hi = 255}},
    {.row = 79, .at = AT(lineThickness0to5[4]), .initial = 2,
     .valid = {.lo = 1, .hi = 255}, .fallback = F::Replace, .replacement = 1,
     .dialog = {.group = G::Thickness, .editor = E::Spin, .label = "Line thickness Layer 4", .key = "lineThickness4",
                .lo = 1, .hi = 255}},
    {.row = 79, .at = AT(lineThickness0to5[5]), .initial = 3,
     .valid = {.lo = 1, .hi = 255}, .fallback = F::Replace, .replacement = 1,
     .dialog = {.group = G::Thickness, .editor = E::Spin, .label = "Line thickness Layer 5", .key = "lineThickness5",
                .lo = 1, .hi = 255}},
    {.row = 80, .label = "Graphic Printout Dialog Box ?", .kind = K::Boolean, .at = AT(graphicPrintoutDialog),
     .initial = true,
     .dialog = {.group = G::Printer, .editor = E::Check, .label = "Graphic Printout Dialog Box ?",
                .key = "graphicPrintoutDialog"}},
    {.row = 81, .label = "Text window left/top/width/height", .kind = K::WindowPart, .at = AT(textWindow[0]),
     .part = 0, .initial = 10,
     .dialog = {.group = G::Windows, .editor = E::Spin, .label = "Text window left", .key = "textWindow0"}},
    {.row = 81, .kind = K::WindowPart, .at = AT(textWindow[1]), .part = 1, .initial = 40,
     .dialog = {.group = G::Windows, .editor = E::Spin, .label = "Text window top", .key = "textWindow1"}},
    {.row = 81, .kind = K::WindowPart, .at = AT(textWindow[2]), .part = 2, .initial = 700,
     .dialog = {.group = G::Windows, .editor = E::Spin, .label = "Text window width", .key = "textWindow2"}},
    {.row = 81, .kind = K::WindowPart, .at = AT(textWindow[3]), .part = 3, .initial = 440,
     .dialog = {.group = G::Windows, .editor = E::Spin, .label = "Text window height", .key = "textWindow3"}},
    {.row = 82, .label = "Metric Units=0,  English units=1", .at = AT(englishUnits), .initial = 0,
     .dialog = {.group = G::Numbers, .editor = E::Combo, .label = "Metric Units=0,  English units=1",
                .key = "englishUnits", .choices = kUnits}},
    {.row = 83, .label = "printout with header=1, header page 1 only=2", .at = AT(printHeaderMode), .initial = 1,
     .valid = {.hi = 2, .nonZero = true}, .fallback = F::Replace, .replacement = 1,
     .dialog = {.group = G::Reports, .editor = E::Combo, .label = "printout with header=1, header page 1 only=2",
                .key = "printHeaderMode", .choices = kOneTwo}},
    {.row = 84, .label = "Text Font Printout", .kind = K::Text, .at = AT(printFont), .initial = "Courier New",
     .fallback = F::Replace, .replacement = "Courier New",
     .dialog = {.group = G::Reports, .editor = E::Line, .label = "Text Font Printout", .key = "printFont"}},
    {.row = 85, .label = "Text Size Printout", .at = AT(printFontSize), .initial = 10,
     .valid = kNonZero, .fallback = F::Replace, .replacement = 10,
     .dialog = {.group = G::Reports, .editor = E::Spin, .label = "Text Size Printout", .key = "printFontSize",
                .lo = 1, .hi = 200}},
    {.row = 86, .label = "Text Style Printout", .at = AT(printFontStyle), .initial = 0,
     .dialog = {.group = G::Reports, .editor = E::Spin, .label = "Text Style Printout", .key = "printFontStyle"}},
    {.row = 87, .label = "Text Style Graphics", .at = AT(graphicsFontStyle), .initial = 0,
     .dialog = {.group = G::Screen, .editor = E::Spin, .label = "Text Style Graphics", .key = "graphicsFontStyle"}},
    {.row = 88, .label = "Printer: Portrait=1, Landscape=2", .at = AT(paperOrientation), .initial = 2,
     .dialog = {.group = G::Reports, .editor = E::Combo, .label = "Printer: Portrait=1, Landscape=2",
                .key = "paperOrientation", .choices = kOneTwo}},
    {.row = 89, .label = "Edit 3D x,y,z ?", .kind = K::BooleanUnlessFalse, .at = AT(edit3d), .initial = true,
     .dialog = {.group = G::ThreeD, .editor = E::Check, .label = "Edit 3D x,y,z ?", .key = "edit3d"}},
    {.row = 90, .label = "3D - Default x,y,z", .kind = K::Real, .at = AT(default3d[0]), .initial = 0.0L,
     .dialog = {.group = G::ThreeD, .editor = E::Line, .label = "3D - Default x", .key = "default3d0"}},
    {.row = 90, .kind = K::Real, .at = AT(default3d[1]), .initial = 0.0L,
     .dialog = {.group = G::ThreeD, .editor = E::Line, .label = "3D - Default y", .key = "default3d1"}},
    {.row = 90, .kind = K::Real, .at = AT(default3d[2]), .initial = 0.0L,
     .dialog = {.group = G::ThreeD, .editor = E::Line, .label = "3D - Default z", .key = "default3d2"}},

    // Drawings; most of these rows have no label line.
    {.row = 91, .at = AT(indexStyle), .initial = 0,
     .dialog = {.group = G::Results, .editor = E::Combo, .label = "Index", .key = "indexStyle",
                .choices = kIndexStyles}},
    {.row = 92, .at = AT(spreadsheetNumberFormat), .initial = 2,
     .valid = kNonZero, .fallback = F::Replace, .replacement = 2,
     .dialog = {.group = G::Numbers, .editor = E::Combo, .label = "Zahlenformat Tabellenkalkulation",
                .key = "spreadsheetNumberFormat", .choices = kSpreadsheetFormats}},
    {.row = 93, .kind = K::Text, .at = AT(approvalText), .initial = "",
     .dialog = {.group = G::Results, .editor = E::Line, .label = "Freigabe (Schriftfeld)", .key = "approvalText"}},
    {.row = 94, .label = "Decimals DXF,TXT", .at = AT(cadDecimals), .initial = 6,
     .valid = {.lo = 1, .hi = 32}, .fallback = F::Replace, .replacement = 6,
     .dialog = {.group = G::Numbers, .editor = E::Spin, .label = "Decimals DXF,TXT", .key = "cadDecimals",
                .lo = 1, .hi = 32}},
    {.row = 95, .label = "CAD Text Mode", .at = AT(cadTextMode), .initial = 1,
     .valid = kNonZero, .fallback = F::Replace, .replacement = 1,
     .dialog = {.group = G::Cad, .editor = E::Combo, .label = "CAD Text Mode", .key = "cadTextMode",
                .choices = kCadTextModes}},
    {.row = 96, .label = "Strichstärke Layer 16..31", .at = AT(lineThickness16to31[0]), .initial = 1,
     .dialog = {.group = G::LayerThickness, .editor = E::Spin, .label = "Strichstärke Layer 16",
                .key = "lineThickness16"}},
    {.row = 96, .at = AT(lineThickness16to31[1]), .initial = 1,
     .dialog = {.group = G::LayerThickness, .editor = E::Spin, .label = "Strichstärke Layer 17",
                .key = "lineThickness17"}},
    {.row = 96, .at = AT(lineThickness16to31[2]), .initial = 1,
     .dialog = {.group = G::LayerThickness, .editor = E::Spin, .label = "Strichstärke Layer 18",
                .key = "lineThickness18"}},
    {.row = 96, .at = AT(lineThickness16to31[3]), .initial = 1,
     .dialog = {.group = G::LayerThickness, .editor = E::Spin, .label = "Strichstärke Layer 19",
                .key = "lineThickness19"}},
    {.row = 96, .at = AT(lineThickness16to31[4]), .initial = 1,
     .dialog = {.group = G::LayerThickness, .editor = E::Spin, .label = "Strichstärke Layer 20",
                .key = "lineThickness20"}},
    {.row = 96, .at = AT(lineThickness16to31[5]), .initial = 1,
     .dialog = {.group = G::LayerThickness, .editor = E::Spin, .label = "Strichstärke Layer 21",
                .key = "lineThickness21"}},
    {.row = 96, .at = AT(lineThickness16to31[6]), .initial = 1,
     .dialog = {.group = G::LayerThickness, .editor = E::Spin, .label = "Strichstärke Layer 22",
                .key = "lineThickness22"}},
    {.row = 96, .at = AT(lineThickness16to31[7]), .initial = 1,
     .dialog = {.group = G::LayerThickness, .editor = E::Spin, .label = "Strichstärke Layer 23",
                .key = "lineThickness23"}},
    {.row = 96, .at = AT(lineThickness16to31[8]), .initial = 1,
     .dialog = {.group = G::LayerThickness, .editor = E::Spin, .label = "Strichstärke Layer 24",
                .key = "lineThickness24"}},
    {.row = 96, .at = AT(lineThickness16to31[9]), .initial = 1,
     .dialog = {.group = G::LayerThickness, .editor = E::Spin, .label = "Strichstärke Layer 25",
                .key = "lineThickness25"}},
    {.row = 96, .at = AT(lineThickness16to31[10]), .initial = 1,
     .dialog = {.group = G::LayerThickness, .editor = E::Spin, .label = "Strichstärke Layer 26",
                .key = "lineThickness26"}},
    {.row = 96, .at = AT(lineThickness16to31[11]), .initial = 1,
     .dialog = {.group = G::LayerThickness, .editor = E::Spin, .label = "Strichstärke Layer 27",
                .key = "lineThickness27"}},
    {.row = 96, .at = AT(lineThickness16to31[12]), .initial = 1,
     .dialog = {.group = G::LayerThickness, .editor = E::Spin, .label = "Strichstärke Layer 28",
                .key = "lineThickness28"}},
    {.row = 96, .at = AT(lineThickness16to31[13]), .initial = 1,
     .dialog = {.group = G::LayerThickness, .editor = E::Spin, .label = "Strichstärke Layer 29",
                .key = "lineThickness29"}},
    {.row = 96, .at = AT(lineThickness16to31[14]), .initial = 1,
     .dialog = {.group = G::LayerThickness, .editor = E::Spin, .label = "Strichstärke Layer 30",
                .key = "lineThickness30"}},
    {.row = 96, .at = AT(lineThickness16to31[15]), .initial = 1,
     .dialog = {.group = G::LayerThickness, .editor = E::Spin, .label = "Strichstärke Layer 31",
                .key = "lineThickness31"}},
    {.row = 97, .at = AT(specialCharacters), .initial = 0,
     .dialog = {.group = G::Numbers, .editor = E::Combo, .label = "Sonderzeichen", .key = "specialCharacters",
                .choices = kSpecialCharacters}},
    {.row = 98, .at = AT(helpWindowScale), .initial = 100,
     .valid = {.lo = 10, .hi = 1000}, .fallback = F::Replace, .replacement = 100,
     .dialog = {.group = G::Windows, .editor = E::Spin, .label = "Hilfe- und Textfenster %", .key = "helpWindowScale",
                .lo = 10, .hi = 1000}},
    {.row = 99, .at = AT(angleOutput), .initial = 2,
     .valid = {.hi = 2, .nonZero = true}, .fallback = F::Replace, .replacement = 2,
     .dialog = {.group = G::Numbers, .editor = E::Combo, .label = "Winkelausgabe", .key = "angleOutput",
                .choices = kAngleOutputs}},
    {.row = 100, .kind = K::Real, .at = AT(dimensionFactor), .initial = 1.0L,
     .valid = kNonZero, .fallback = F::Replace, .replacement = 1.0L,
     .dialog = {.group = G::Cad, .editor = E::Line, .label = "Bemaßungsfaktor", .key = "dimensionFactor"}},
    {.row = 101, .at = AT(reserved), .initial = 0},
    {.row = 102, .at = AT(language), .initial = 0,
     .dialog = {.group = G::Language, .editor = E::Combo, .label = "Sprache", .key = "language",
                .choices = kLanguages}},
    {.row = 103, .at = AT(resultGraphic), .initial = 0,
     .dialog = {.group = G::Results, .editor = E::Combo, .label = "Ergebnisgrafik", .key = "resultGraphic",
                .choices = kResultGraphics}},
    {.row = 104, .kind = K::Boolean, .at = AT(hideProgramTitle), .initial = false,
     .dialog = {.group = G::Results, .editor = E::CheckOpposite, .label = "Programmtitel zeigen",
                .key = "hideProgramTitle"}},
    {.row = 105, .kind = K::Boolean, .at = AT(hideFileName), .initial = false,
     .dialog = {.group = G::Results, .editor = E::CheckOpposite, .label = "Dateiname zeigen", .key = "hideFileName"}},
    {.row = 106, .kind = K::Boolean, .at = AT(hideDate), .initial = false,
     .dialog = {.group = G::Results, .editor = E::CheckOpposite, .label = "Datum zeigen", .key = "hideDate"}},
    {.row = 107, .kind = K::Boolean, .at = AT(hideLogo), .initial = false,
     .dialog = {.group = G::Results, .editor = E::CheckOpposite, .label = "Logo zeigen", .key = "hideLogo"}},
};

#undef AT

// The table's own rules: rows in order, a stop only after the last value of its
// row, parts where their kinds need them, a value for every entry but a reserve.
constexpr bool wellFormed() {
    int previous = 0;
    for (std::size_t i = 0; i < std::size(kRows); ++i) {
        const ConfigRow& r = kRows[i];
        if (r.row < previous || r.row > previous + 1) return false;
        previous = r.row;
        if (r.mayEndAfter && i + 1 < std::size(kRows) && kRows[i + 1].row == r.row) return false;
        if ((r.kind == RowKind::Reserve) == r.at.any()) return false;
        if (r.kind == RowKind::PlotLine && (r.part < 2 || r.part > 5 || r.label)) return false;
        if (r.kind == RowKind::WindowPart && (r.part < 0 || r.part >= kTextWindowParts || (r.part == 0) != (r.label != nullptr))) return false;
        if ((r.dialog.editor == SettingsEditor::None) != (r.dialog.key == nullptr)) return false;
    }
    return previous == 107;
}
static_assert(wellFormed());

struct GroupInfo {
    SettingsTab tab;
    const char* title;
};

constexpr GroupInfo kGroups[kSettingsGroups] = {
    {SettingsTab::Folders, "Daten"},
    {SettingsTab::Folders, "Ordner"},
    {SettingsTab::Folders, "Programme"},
    {SettingsTab::Devices, "Textausgabe"},
    {SettingsTab::Devices, "Drucker"},
    {SettingsTab::Devices, "Screendump"},
    {SettingsTab::Devices, "Fenster"},
    {SettingsTab::Devices, "Plotter"},
    {SettingsTab::Numbers, "Zahlen und Einheiten"},
    {SettingsTab::Numbers, "3D"},
    {SettingsTab::Drawing, "CAD"},
    {SettingsTab::Drawing, "Bildschirmgrafik"},
    {SettingsTab::Drawing, "Ergebnisse und Zeichnungen"},
    {SettingsTab::Colours, "Grafik"},
    {SettingsTab::Colours, "Layer 1 bis 5"},
    {SettingsTab::Colours, "Strichstärke Layer 0 bis 5"},
    {SettingsTab::Colours, "Farben Layer 16 bis 31"},
    {SettingsTab::Colours, "Strichstärke Layer 16 bis 31"},
    {SettingsTab::Languages, "Sprache"},
    {SettingsTab::Languages, "Hilfe"},
};

constexpr bool groupsInTabOrder() {
    for (int g = 1; g < kSettingsGroups; ++g) {
        if (kGroups[g].tab < kGroups[g - 1].tab) return false;
    }
    return static_cast<int>(SettingsGroup::Help) + 1 == kSettingsGroups;
}
static_assert(groupsInTabOrder());

constexpr const char* kTabTitles[kSettingsTabs] = {"Ordner und Programme", "Ausgabe und Geräte", "Zahlen",
                                                   "Zeichnung und CAD",    "Farben und Layer",   "Sprachen"};

} // namespace

std::span<const ConfigRow> configRows() { return kRows; }

Configuration::Configuration() {
    for (const ConfigRow& row : kRows) row.at.set(*this, row.initial);
}

const char* settingsTabTitle(SettingsTab tab) { return kTabTitles[static_cast<int>(tab)]; }
SettingsTab settingsGroupTab(SettingsGroup group) { return kGroups[static_cast<int>(group)].tab; }
const char* settingsGroupTitle(SettingsGroup group) { return kGroups[static_cast<int>(group)].title; }

std::string_view RowMember::text(const Configuration& c) const {
    Configuration& m = const_cast<Configuration&>(c); // the accessors only name the member
    if (string) return string(m);
    if (text32) return text32(m).view();
    if (text60) return text60(m).view();
    return {};
}

void RowMember::setText(Configuration& c, std::string_view value) const {
    if (string) string(c) = std::string(value);
    if (text32) text32(c) = value;
    if (text60) text60(c) = value;
}

std::size_t RowMember::capacity() const {
    if (text32) return ShortString<32>::capacity;
    if (text60) return ShortString<60>::capacity;
    return 0;
}

long double RowMember::number(const Configuration& c) const {
    Configuration& m = const_cast<Configuration&>(c); // the accessors only name the member
    if (integer) return integer(m);
    if (real) return real(m);
    if (flag) return flag(m) ? 1 : 0;
    if (letter) return static_cast<unsigned char>(letter(m));
    return 0;
}

void RowMember::setNumber(Configuration& c, long double value) const {
    if (integer) integer(c) = static_cast<int>(value);
    if (real) real(c) = value;
    if (flag) flag(c) = value != 0;
    if (letter) letter(c) = static_cast<char>(static_cast<unsigned char>(value));
}

void RowMember::set(Configuration& c, const RowValue& value) const {
    if (isText()) {
        setText(c, value.text != nullptr ? value.text : "");
    } else {
        setNumber(c, value.number);
    }
}

} // namespace zam1
