#include "tests/cad/sample_drawing.h"

#include "core/session/program_state.h"
#include "core/graphics/drawing_layer.h"
#include "core/graphics/drawing_settings.h"
#include "core/platform/batch_prompter.h"
#include "core/platform/clock.h"
#include "core/platform/desktop.h"

#include <sstream>

namespace zam1::test {

namespace {

void drawFrame(DrawingLayer& layer) {
    layer.beginBlock("FRAME_1");
    layer.setLayer(5);
    layer.rectangle(2, 2, 158, 118);
    layer.setLayer(3);
    layer.line(2, 12, 60, 12);
    layer.textStyle(0, 1.5L, 1.8L, 0);
    layer.text("Zust.", 3, 4);
    layer.endBlock();
}

void drawGeometry(DrawingLayer& layer) {
    for (int n = 0; n <= 31; ++n) {
        layer.setLayer(n);
        layer.line(10 + 4 * n, 20, 12 + 4 * n, 30);
    }
    layer.setLayer(2);
    layer.circle(40, 60, 10);
    layer.arc(80, 60, 30, 120, 8);
    layer.arc(80, 60, 0, 360, 5);    // a whole circle
    layer.arc(80, 60, 360, 0, 3);    // also a whole circle
    layer.arc(80, 60, 10, 10, 1);    // also a whole circle
    layer.arc(80, 60, 0, 90, 0);     // radius 0: nothing
    layer.setLayer(17);
    layer.solid(100, 40, 110, 40, 100, 50, 110, 50);
    layer.solid(120, 40, 130, 40, 125, 48, 125, 48);  // a triangle
    layer.setSymbolScale(2);
    layer.arrowhead(140, 60, 180);
    layer.setSymbolScale(1);
}

void drawTexts(DrawingLayer& layer) {
    layer.setLayer(19);
    layer.textStyle(0, 2.5L, 3.5L, 0);
    layer.text(kUmlautText, 20, 100);
    layer.setTextAlignment(1, 1);
    layer.text("Mitte; mit Komma, Semikolon", 80, 90);
    layer.setTextAlignment(0, 0);
    layer.textStyle(0, 1.8L, 2.5L, 90);
    layer.text("gedreht", 150, 70);
    layer.textStyle(0, 0, 2.0L, 0);
    layer.moveTo(20, 80);
    layer.textLine("Zeile 1");
    layer.textLine("Zeile 2");
    layer.textStyle(0, 1.4L, 2.0L, 0);
    layer.text(kRemarkText, 5, 112);
}

} // namespace

void drawSample(DrawingLayer& layer) {
    layer.setLayer(5);
    layer.openSheet(0, 0, 160, 120);
    layer.writeTables();
    drawFrame(layer);
    layer.beginPage();
    layer.setLayer(0);
    layer.insertBlock("FRAME_1", 0, 0);
    layer.insertBlock("FRAME_1", 150, 5, 90, 0.25L, 0.25L);
    layer.setOrigin(1, 1);
    drawGeometry(layer);
    drawTexts(layer);
    layer.setOrigin(0, 0);
    layer.endPage();
}

bool writeSample(OutputDevice device, const std::string& base, DrawingSettings& settings) {
    std::ostringstream errors;
    BatchPrompter prompter(errors);
    HeadlessDesktop desktop;
    FixedClock clock({2024, 3, 9, 14, 5, 30});
    ErrorFlag error;
    DrawingContext ctx;
    ctx.prompter = &prompter;
    ctx.desktop = &desktop;
    ctx.clock = &clock;
    ctx.error = &error;
    ctx.batchCad = true;
    ctx.projectName = base;
    DrawingLayer layer(settings, ctx);
    if (!layer.startRun(device)) return true;
    drawSample(layer);
    layer.finishRun();
    return error.isSet() || prompter.errorCount() != 0;
}

} // namespace zam1::test
