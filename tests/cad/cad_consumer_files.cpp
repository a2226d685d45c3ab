// Writes the sample drawing in every form the real readers check: DXF in each
// CAD text mode and with the decimal comma, IGES, and the list of calls the
// drawing layer made (what the files must contain).
//
//   cad_consumer_files <folder>

#include <cstdio>
#include <string>
#include <vector>

#include "core/session/program_state.h"
#include "core/graphics/drawing_layer.h"
#include "core/graphics/drawing_settings.h"
#include "core/platform/file_io.h"
#include "core/platform/scripted_prompter.h"
#include "tests/cad/sample_drawing.h"
#include "tests/graphics/recording_backend.h"

namespace {

using namespace zam1;

bool writeCalls(const std::string& path) {
    std::vector<std::string> log;
    DrawingSettings settings;
    ScriptedPrompter prompter;
    ErrorFlag error;
    DrawingContext ctx;
    ctx.prompter = &prompter;
    ctx.error = &error;
    DrawingLayer layer(settings, ctx);
    layer.startRun(std::make_unique<test::RecordingBackend>(log));
    test::drawSample(layer);
    layer.finishRun();
    std::string text;
    for (const std::string& line : log) text += line + "\n";
    return writeFileSafely(path, text) == kIoOk;
}

} // namespace

int main(int argc, char** argv) {
    if (argc != 2) {
        std::fprintf(stderr, "usage: cad_consumer_files <folder>\n");
        return 2;
    }
    const std::string folder = std::string(argv[1]) + "/";
    bool failed = !writeCalls(folder + "calls.txt");
    for (int mode = 1; mode <= 4; ++mode) {
        DrawingSettings settings;
        settings.cadTextMode = cadTextModeOf(mode);
        failed |= test::writeSample(kDeviceDxf, folder + "mode" + std::to_string(mode), settings);
    }
    DrawingSettings comma;
    comma.numbers = {2, true};
    comma.cadDecimals = 3;
    comma.layerMonochrome = true;
    failed |= test::writeSample(kDeviceDxf, folder + "comma", comma);
    failed |= test::writeSample(kDeviceIges, folder + "comma", comma);
    DrawingSettings plain;
    failed |= test::writeSample(kDeviceIges, folder + "sample", plain);
    if (failed) std::fprintf(stderr, "cad_consumer_files: a sample could not be written\n");
    return failed ? 1 : 0;
}
