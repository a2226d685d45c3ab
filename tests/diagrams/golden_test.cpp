// Each diagram kind and the project drawing of the example project as DXF and as
// TXT CAD code, compared with the golden files. The writers run under a German
// locale, which must change nothing.

#include <gtest/gtest.h>

#include <clocale>
#include <cstdlib>
#include <filesystem>
#include <unistd.h>

#include "core/graphics/drawing_settings.h"
#include "core/graphics/program_drawings.h"
#include "core/platform/file_io.h"
#include "tests/diagrams/example_project.h"
#include "tests/diagrams/golden_files.h"
#include "tests/support/golden.h"

namespace zam1::test {

namespace fs = std::filesystem;

std::string goldenPath(const std::string& fileName) { return goldenPath("diagrams", fileName); }

void compareWithGolden(const std::string& actual, const std::string& fileName) {
    expectGoldenFile("diagrams", fileName, actual);
}

namespace {


TEST(DiagramGoldenFiles, EveryDrawingOfTheExampleAsDxfAndTxt) {
    const fs::path dir = fs::temp_directory_path() / ("zam1-diagrams-" + std::to_string(::getpid()));
    fs::create_directories(dir);
    GermanLocale german;
    struct Format {
        int device;
        const char* extension;
    };
    for (const Format f : {Format{1, "dxf"}, Format{5, "txt"}}) {
        for (const GoldenDrawing& g : kGoldenDrawings) {
            ExampleState example;
            ASSERT_TRUE(example.load()) << example.messages.str();
            DrawingSettings settings = drawingSettingsFrom(example.state->config, dir.string());
            DrawingTarget target;
            target.device = static_cast<OutputDevice>(f.device);
            target.batch = true;
            target.projectName = (dir / g.name).string();
            target.projectFile = kExampleFileName;
            const bool drawn = g.kind == 0 ? drawProgramProjectDrawing(*example.state, settings, target)
                                           : drawProgramDiagram(*example.state, settings, target, static_cast<DiagramKind>(g.kind), g.closing) ==
                                                 DiagramOutcome::Drawn;
            ASSERT_TRUE(drawn) << g.name << "." << f.extension << ": " << example.messages.str();
            const std::string file = std::string(g.name) + "." + f.extension;
            std::string bytes;
            ASSERT_EQ(readWholeFile((dir / file).string(), bytes), kIoOk) << file;
            compareWithGolden(bytes, file);
        }
    }
    fs::remove_all(dir);
}

} // namespace
} // namespace zam1::test
