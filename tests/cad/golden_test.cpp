// The sample drawing on every device, compared byte for byte with the files
// under tests/golden/cad. ZAM1_UPDATE_GOLDEN=1 rewrites them; a mismatch leaves
// the new output as <file>.actual beside the expected one. The writers run with
// a German locale active, which must change nothing.

#include <gtest/gtest.h>

#include <clocale>
#include <cstdlib>
#include <filesystem>
#include <string>
#include <unistd.h>

#include "core/session/program_state.h"
#include "core/graphics/drawing_layer.h"
#include "core/graphics/graphics_window.h"
#include "core/platform/clock.h"
#include "core/platform/file_io.h"
#include "tests/cad/sample_drawing.h"
#include "tests/support/golden.h"
#include "tests/support/scripted.h"

namespace zam1 {
namespace {

namespace fs = std::filesystem;

void compareWithGolden(const std::string& actual, const std::string& name) { test::expectGoldenFile("cad", name, actual); }

using test::GermanLocale;

struct GoldenFixture : ::testing::Test {
    fs::path dir = fs::temp_directory_path() / ("zam1-golden-" + std::to_string(::getpid()));
    GermanLocale german;
    GoldenFixture() { fs::create_directories(dir); }
    ~GoldenFixture() override { fs::remove_all(dir); }
};

TEST_F(GoldenFixture, EveryFileDevice) {
    struct Case { OutputDevice device; const char* extension; };
    const Case cases[] = {{kDeviceDxf, "dxf"}, {kDeviceIges, "igs"}, {kDeviceTxt, "txt"}};
    for (const Case& c : cases) {
        DrawingSettings settings;
        settings.cadDecimals = 3;
        settings.cadTextMode = CadTextMode::Windows;
        ASSERT_FALSE(test::writeSample(c.device, (dir / "sample").string(), settings)) << c.extension;
        std::string bytes;
        ASSERT_EQ(readWholeFile((dir / ("sample." + std::string(c.extension))).string(), bytes), kIoOk);
        compareWithGolden(bytes, std::string("sample.") + c.extension);
    }
}

TEST_F(GoldenFixture, TheScreensDisplayList) {
    DrawingSettings settings;
    settings.tempFolder = dir.string();
    settings.window.width = 800;
    settings.window.height = 600;
    test::TestPrompter prompter;
    FixedClock clock({2024, 3, 9, 14, 5, 30});
    ErrorFlag error;
    GraphicsWindow window(settings.window, error);
    DrawingContext ctx;
    ctx.prompter = &prompter;
    ctx.clock = &clock;
    ctx.error = &error;
    ctx.window = &window;
    ctx.projectFile = "probe.zm1";
    DrawingLayer layer(settings, ctx);
    ASSERT_TRUE(layer.startRun(kDeviceScreen));
    test::drawSample(layer);
    layer.finishRun();
    EXPECT_FALSE(error.isSet());
    std::string list;
    for (const std::string& record : window.displayList()) list += record + "\r\n";
    compareWithGolden(list, "sample.screen");
}

} // namespace
} // namespace zam1
