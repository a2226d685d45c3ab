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
#include "tests/support/scripted.h"

namespace zam1 {
namespace {

namespace fs = std::filesystem;

const fs::path kGolden = fs::path(ZAM1_SOURCE_DIR) / "tests" / "golden" / "cad";

void compareWithGolden(const std::string& actual, const std::string& name) {
    const fs::path expectedPath = kGolden / name;
    const fs::path actualPath = kGolden / (name + ".actual");
    const char* update = std::getenv("ZAM1_UPDATE_GOLDEN");
    if (update && std::string(update) == "1") {
        ASSERT_EQ(writeFileSafely(expectedPath.string(), actual), kIoOk);
        fs::remove(actualPath);
        return;
    }
    std::string expected;
    ASSERT_EQ(readWholeFile(expectedPath.string(), expected), kIoOk) << "missing " << expectedPath;
    if (expected == actual) {
        fs::remove(actualPath);
        return;
    }
    writeFileSafely(actualPath.string(), actual);
    ADD_FAILURE() << name << " differs from its golden file; see " << actualPath;
}

class GermanLocale {
public:
    GermanLocale() : m_old(std::setlocale(LC_ALL, nullptr)) { std::setlocale(LC_ALL, "de_DE.UTF-8"); }
    ~GermanLocale() { std::setlocale(LC_ALL, m_old.c_str()); }

private:
    std::string m_old;
};

struct GoldenFixture : ::testing::Test {
    fs::path dir = fs::temp_directory_path() / ("zam1-golden-" + std::to_string(::getpid()));
    GermanLocale german;
    GoldenFixture() { fs::create_directories(dir); }
    ~GoldenFixture() override { fs::remove_all(dir); }
};

TEST_F(GoldenFixture, EveryFileDevice) {
    struct Case { int device; const char* extension; };
    const Case cases[] = {{kDeviceDxf, "dxf"}, {kDeviceIges, "igs"}, {kDeviceTxt, "txt"}};
    for (const Case& c : cases) {
        DrawingSettings settings;
        settings.cadDecimals = 3;
        settings.cadTextMode = 2;
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
