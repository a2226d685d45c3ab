#pragma once
// The project drawing: an upright A4 sheet with the drawing frame and title block
// (block "FRAME_1"), the change rows and text rows of the documentation, and the
// tables of the elements and of the closing dimensions with their classic and
// statistical limits. Drawn once through the output layer, so it goes to every
// device alike.

#include <string>

#include "core/graphics/cad_text_mode.h"

namespace zam1 {

class Chain;
class Clock;
class DrawingLayer;
enum OutputDevice : int;
struct Configuration;
struct Documentation;
struct LanguageTexts;
struct ProjectTexts;

struct ProjectDrawingInput {
    Chain& chain;
    const ProjectTexts& project;
    const Documentation& docs;
    const Configuration& config;   // approval label, index style, hide options, numbers, date form
    const LanguageTexts& texts;
    const Clock& clock;
    std::string projectFile{};     // with its folder, stored code page
    std::string tempFolder{};      // where a logo block file "$logo_1.dx$" may lie
    CadTextMode cadTextMode = CadTextMode::Oem;  // how the texts of that file are coded
};

inline constexpr const char* kFrameBlock = "FRAME_1";
inline constexpr const char* kLogoBlock = "logo_1";

// Starts the run on `device` (kDeviceAsk asks) and draws. False when the run could not start.
bool runProjectDrawing(DrawingLayer& layer, const ProjectDrawingInput& in, OutputDevice device);

// Sheet, frame block, page with the frame inserted and the tables, finish: on a started run.
void drawProjectDrawing(DrawingLayer& layer, const ProjectDrawingInput& in);

// The contents of the frame block, and the tables of the page.
void drawFrame(DrawingLayer& layer, const ProjectDrawingInput& in);
void drawDrawingTables(DrawingLayer& layer, const ProjectDrawingInput& in);

// Index of change record `record` (1-based) by index style: 0 "a", 1 "1", 2 "A", 3 none.
std::string changeIndex(int record, int indexStyle);

} // namespace zam1
