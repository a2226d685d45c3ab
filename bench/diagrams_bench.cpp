// The scheme of the largest chain (2500 elements): calculated and drawn into the
// display list of the graphics window, and written as DXF into memory.

#include <benchmark/benchmark.h>

#include <memory>
#include <sstream>

#include "core/session/program_state.h"
#include "core/cad/dxf_writer.h"
#include "core/graphics/diagram_run.h"
#include "core/graphics/drawing_layer.h"
#include "core/graphics/graphics_window.h"
#include "core/platform/batch_prompter.h"
#include "bench/bench_drawings.h"

namespace {

using namespace zam1;

struct SchemeRun {
    std::unique_ptr<ProgramState> state = std::make_unique<ProgramState>();
    std::ostringstream errors;
    BatchPrompter prompter{errors};
    DrawingSettings settings;

    SchemeRun() {
        bench::fillLargestLinearChain(state->chain);
        state->prompter = &prompter;
        settings.tempFolder = "/tmp";
    }
    DiagramInput input() {
        return DiagramInput{.chain = state->chain,
                            .project = state->projectTexts,
                            .texts = state->texts,
                            .prompter = prompter,
                            .error = state->error};
    }
    DrawingContext context(GraphicsWindow* window) {
        DrawingContext c;
        c.prompter = &prompter;
        c.error = &state->error;
        c.window = window;
        return c;
    }
};

void BM_SchemeToDisplayList(benchmark::State& bench) {
    SchemeRun run;
    std::size_t records = 0;
    for (auto _ : bench) {
        GraphicsWindow window(run.settings.window, run.state->error);
        DrawingLayer layer(run.settings, run.context(&window));
        if (runDiagram(layer, run.input(), kDiagramScheme, 0, kDeviceScreen) != DiagramOutcome::Drawn) {
            bench.SkipWithError("the scheme was not drawn");
            break;
        }
        records = window.displayList().size();
        benchmark::DoNotOptimize(records);
    }
    bench.counters["records"] = static_cast<double>(records);
}

void BM_SchemeToDxf(benchmark::State& bench) {
    SchemeRun run;
    std::size_t bytes = 0;
    for (auto _ : bench) {
        std::ostringstream out;
        DrawingLayer layer(run.settings, run.context(nullptr));
        const DiagramInput in = run.input();
        const PreparedDiagram scheme = prepareDiagram(in, kDiagramScheme, 0);
        if (scheme.outcome != DiagramOutcome::Drawn ||
            !layer.startRun(std::make_unique<DxfWriter>(out, run.settings))) {
            bench.SkipWithError("the scheme was not drawn");
            break;
        }
        drawDiagram(layer, in, scheme);
        bytes = out.view().size();
        benchmark::DoNotOptimize(bytes);
    }
    bench.counters["MB"] = static_cast<double>(bytes) / 1e6;
}

BENCHMARK(BM_SchemeToDisplayList)->Unit(benchmark::kMillisecond);
BENCHMARK(BM_SchemeToDxf)->Unit(benchmark::kMillisecond);

} // namespace
