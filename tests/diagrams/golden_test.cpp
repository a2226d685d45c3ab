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

namespace zam1::test {

namespace fs = std::filesystem;

std::string goldenPath(const std::string& fileName) {
    return (fs::path(ZAM1_SOURCE_DIR) / "tests" / "golden" / "diagrams" / fileName).string();
}

void compareWithGolden(const std::string& actual, const std::string& fileName) {
    const std::string expectedPath = goldenPath(fileName);
    const std::string actualPath = expectedPath + ".actual";
    const char* update = std::getenv("ZAM1_UPDATE_GOLDEN");
    if (update && std::string(update) == "1") {
        ASSERT_EQ(writeFileSafely(expectedPath, actual), kIoOk);
        fs::remove(actualPath);
        return;
    }
    std::string expected;
    ASSERT_EQ(readWholeFile(expectedPath, expected), kIoOk) << "missing " << expectedPath;
    if (expected == actual) {
        fs::remove(actualPath);
        return;
    }
    writeFileSafely(actualPath, actual);
    ADD_FAILURE() << fileName << " differs from its golden file; see " << actualPath;
}

namespace {

class GermanLocale {
public:
    GermanLocale() : m_old(std::setlocale(LC_ALL, nullptr)) { std::setlocale(LC_ALL, "de_DE.UTF-8"); }
    ~GermanLocale() { std::setlocale(LC_ALL, m_old.c_str()); }
    GermanLocale(const GermanLocale&) = delete;
    GermanLocale& operator=(const GermanLocale&) = delete;

private:
    std::string m_old;
};

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
            target.device = f.device;
            target.batch = true;
            target.projectName = (dir / g.name).string();
            target.projectFile = kExampleFileName;
            const bool drawn = g.kind == 0 ? drawProgramProjectDrawing(*example.state, settings, target)
                                           : drawProgramDiagram(*example.state, settings, target, g.kind, g.closing) ==
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
