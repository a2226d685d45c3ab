// The element table editor on the largest project (2500 elements, 250 closing
// dimensions, the chosen one spanning the whole chain): opening it to its first
// picture, Berechnen, and one cell edit up to the refreshed result grid.

#include <benchmark/benchmark.h>

#include <QApplication>
#include <QTableView>

#include <memory>
#include <sstream>

#include "core/editors/element_table.h"
#include "core/platform/batch_prompter.h"
#include "core/session/program_state.h"
#include "gui/editors/element_table_dialog.h"
#include "tests/files/sample_project.h"

namespace {

using namespace zam1;

struct LargestProject {
    std::ostringstream errors;
    BatchPrompter prompter{errors};
    std::unique_ptr<ProgramState> state = std::make_unique<ProgramState>();
    LargestProject() {
        test::SampleProject project = test::sampleProject(kMaxElements, kMaxClosing, 0, 0);
        state->chain = *project.chain;
        state->chain.closing(1).fromElement = 0;
        state->chain.closing(1).toElement = kMaxElements;
        state->projectTexts = project.texts;
        state->prompter = &prompter;
    }
};

void BM_ElementTableOpen(benchmark::State& bench) {
    LargestProject p;
    for (auto _ : bench) {
        TForm_zam1elemente dialog(*p.state, nullptr);
        dialog.FormShow();
        dialog.show();
        benchmark::DoNotOptimize(dialog.grab());  // the first full picture
    }
}

void BM_ElementTableBerechnen(benchmark::State& bench) {
    LargestProject p;
    TForm_zam1elemente dialog(*p.state, nullptr);
    dialog.FormShow();
    dialog.show();
    QCoreApplication::processEvents();
    for (auto _ : bench) {
        dialog.Button_berechnenClick();
        QCoreApplication::processEvents();
    }
    if (!dialog.table().results().valid) bench.SkipWithError("no results");
}

void BM_ElementTableCellEdit(benchmark::State& bench) {
    LargestProject p;
    TForm_zam1elemente dialog(*p.state, nullptr);
    dialog.FormShow();
    dialog.show();
    QCoreApplication::processEvents();
    QAbstractItemModel* model = dialog.grid().model();
    const QModelIndex upper = model->index(0, kColUpper);  // element 1: every position depends on it
    int i = 0;
    for (auto _ : bench) {
        model->setData(upper, ++i % 2 ? QStringLiteral("0.07") : QStringLiteral("0.05"), Qt::EditRole);
        QCoreApplication::processEvents();  // the grid and the result grid repaint
    }
    if (!dialog.table().results().valid) bench.SkipWithError("no results");
}

BENCHMARK(BM_ElementTableOpen)->Unit(benchmark::kMillisecond)->UseRealTime();
BENCHMARK(BM_ElementTableBerechnen)->Unit(benchmark::kMillisecond)->UseRealTime();
BENCHMARK(BM_ElementTableCellEdit)->Unit(benchmark::kMillisecond)->UseRealTime();

} // namespace
