// A drawing of 100,000 primitives (lines, texts and arcs in turn, on changing
// layers) through the drawing output layer: recorded into the display list of
// the graphics window, and written as DXF, IGES and TXT CAD code into memory.

#include <benchmark/benchmark.h>

#include <memory>
#include <sstream>
#include <streambuf>

#include "core/session/program_state.h"
#include "core/cad/dxf_writer.h"
#include "core/cad/iges_writer.h"
#include "core/cad/txt_cad_writer.h"
#include "core/graphics/drawing_layer.h"
#include "core/graphics/graphics_window.h"
#include "core/graphics/output_buffer.h"
#include "core/graphics/screen_backend.h"
#include "core/platform/batch_prompter.h"
#include "bench/bench_drawings.h"

namespace {

using namespace zam1;

using bench::kPrimitives;

void drawMany(DrawingLayer& layer) { bench::drawHundredThousandPrimitives(layer); }

struct Run {
    std::ostringstream errors;
    BatchPrompter prompter{errors};
    ErrorFlag error;
    DrawingSettings settings;
    DrawingContext context() {
        DrawingContext c;
        c.prompter = &prompter;
        c.error = &error;
        return c;
    }
};

void BM_ScreenDisplayList(benchmark::State& state) {
    Run run;
    for (auto _ : state) {
        GraphicsWindow window(run.settings.window, run.error);
        DrawingLayer layer(run.settings, run.context());
        layer.startRun(std::make_unique<ScreenBackend>(window, run.settings, &run.prompter, makeDxfBlockWriter));
        drawMany(layer);
        benchmark::DoNotOptimize(window.displayList().size());
    }
    state.SetItemsProcessed(state.iterations() * kPrimitives);
}

// Counts what it is given and keeps nothing: the writer's own work alone.
class CountingBuffer final : public std::streambuf {
public:
    std::size_t count = 0;

protected:
    std::streamsize xsputn(const char*, std::streamsize n) override {
        count += static_cast<std::size_t>(n);
        return n;
    }
    int_type overflow(int_type c) override {
        ++count;
        return traits_type::not_eof(c);
    }
};

// arg 0: into the memory that holds a file until the run commits it; 1: the writer alone.
template <typename Make>
void writeFile(benchmark::State& state, Make make) {
    Run run;
    std::size_t bytes = 0;
    for (auto _ : state) {
        OutputStream memory;
        CountingBuffer counting;
        std::ostream discard(&counting);
        std::ostream& out = state.range(0) == 0 ? static_cast<std::ostream&>(memory) : discard;
        DrawingLayer layer(run.settings, run.context());
        layer.startRun(make(out, run));
        drawMany(layer);
        bytes = state.range(0) == 0 ? memory.view().size() : counting.count;
        benchmark::DoNotOptimize(bytes);
    }
    state.SetItemsProcessed(state.iterations() * kPrimitives);
    state.counters["MB"] = static_cast<double>(bytes) / 1e6;
}

void BM_Dxf(benchmark::State& state) {
    writeFile(state, [](std::ostream& out, Run& run) { return std::make_unique<DxfWriter>(out, run.settings); });
}

void BM_Iges(benchmark::State& state) {
    writeFile(state, [](std::ostream& out, Run& run) {
        return std::make_unique<IgesWriter>(out, run.settings, "bench", DateTime{});
    });
}

void BM_Txt(benchmark::State& state) {
    writeFile(state, [](std::ostream& out, Run& run) { return std::make_unique<TxtCadWriter>(out, run.settings); });
}

BENCHMARK(BM_ScreenDisplayList)->Unit(benchmark::kMillisecond);
BENCHMARK(BM_Dxf)->Arg(0)->Arg(1)->Unit(benchmark::kMillisecond);
BENCHMARK(BM_Iges)->Arg(0)->Arg(1)->Unit(benchmark::kMillisecond);
BENCHMARK(BM_Txt)->Arg(0)->Arg(1)->Unit(benchmark::kMillisecond);

} // namespace
