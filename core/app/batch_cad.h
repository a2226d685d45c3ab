#pragma once
// "wzam1 project.zm1 /CADi:j": a drawing of the project written as a CAD file,
// without a window and without a question.
//
//   i   a drawing device that writes a file: 1 DXF, 2 IGES, 5 TXT CAD code
//   j   1 (or nothing): the project drawing
//       3: the scheme of the whole chain
//       10 k + d: diagram d of closing dimension k: 1 to scale, 2 normal
//       distribution, 4 overall graphic (so 21 is closing dimension 2 to scale)
//
// The file is the project's base name with the format's extension ("dxf", "igs",
// "txt") in the working directory.

#include <iosfwd>
#include <string>

#include "core/graphics/cad_formats.h"

namespace zam1 {

enum DiagramKind : int;
struct ProgramState;

enum class CadDrawing { Project, Diagram };

struct CadRequest {
    OutputDevice format = kDeviceDxf;  // i
    CadDrawing drawing = CadDrawing::Project;
    DiagramKind kind{};      // of a diagram; none for the project drawing
    int closing = 0;         // closing dimension of the diagram
};

// Reads "/CADi:j" (the prefix in any case). False for an i that names no device
// writing a file of its own, or a j that names no drawing.
bool parseCadArgument(const std::string& argument, CadRequest& request);

// Reads the project and writes the drawing. Exit code 0 when the file was
// written; 1 when the project cannot be read or no file was written (the reasons
// go to `err`; nothing is left behind); 2 when the argument names nothing or the
// file would be the project or its settings file (nothing written), or when a
// drawing of the whole project was written but closing dimensions could not be
// calculated. The calculation's warnings go to `err` unless `quiet` ("/NOGUI").
int runBatchCad(ProgramState& state, const std::string& projectPath, const std::string& cadArgument, bool quiet,
                std::ostream& err);

} // namespace zam1
