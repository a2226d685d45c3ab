// Writes every drawing of the example project that has a golden file as DXF in
// the CAD text mode given, for the real readers to check (check_unicode_dxf.py):
//
//   example_cad_files <folder> <CAD text mode>

#include <cstdio>
#include <cstdlib>
#include <string>

#include "core/graphics/drawing_settings.h"
#include "core/graphics/program_drawings.h"
#include "tests/diagrams/example_project.h"
#include "tests/diagrams/golden_files.h"

int main(int argc, char** argv) {
    using namespace zam1;
    if (argc != 3) {
        std::fprintf(stderr, "usage: example_cad_files <folder> <CAD text mode>\n");
        return 2;
    }
    const std::string folder = argv[1];
    for (const test::GoldenDrawing& g : test::kGoldenDrawings) {
        test::ExampleState example;
        if (!example.load()) {
            std::fprintf(stderr, "%s\n", example.messages.str().c_str());
            return 1;
        }
        example.state->config.cadTextMode = std::atoi(argv[2]);
        DrawingSettings settings = drawingSettingsFrom(example.state->config, folder);
        DrawingTarget target;
        target.device = static_cast<OutputDevice>(1);  // DXF
        target.batch = true;
        target.projectName = folder + "/" + g.name;
        target.projectFile = test::kExampleFileName;
        const bool drawn = g.kind == 0 ? drawProgramProjectDrawing(*example.state, settings, target)
                                       : drawProgramDiagram(*example.state, settings, target,
                                                            static_cast<DiagramKind>(g.kind), g.closing) == DiagramOutcome::Drawn;
        if (!drawn) {
            std::fprintf(stderr, "%s: %s\n", g.name, example.messages.str().c_str());
            return 1;
        }
    }
    return 0;
}
