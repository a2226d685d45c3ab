// The standard report, with the probability tables of all 250 closing
// dimensions, of the largest chain the program admits, written to a file.

#include <benchmark/benchmark.h>

#include <cstdlib>
#include <filesystem>
#include <memory>
#include <string>

#include "core/session/program_state.h"
#include "core/lang/language.h"
#include "core/model/chain.h"
#include "core/platform/clock.h"
#include "core/platform/desktop.h"
#include "core/platform/scripted_prompter.h"
#include "core/report/main_report.h"
#include "core/report/output_channel.h"

namespace {

using namespace zam1;

// Linear chain, closing dimensions far apart: the deepest paths there are.
std::unique_ptr<Chain> largestChain() {
    auto chain = std::make_unique<Chain>();
    for (int n = 1; n <= kMaxElements; ++n) {
        Element& e = chain->element(n);
        e.predecessor = n - 1;
        e.positive = static_cast<std::uint8_t>(n % 3 != 0);
        e.distance = 1 + (n % 17) * 0.25L;
        e.upperDev = 0.01L * (n % 5);
        e.lowerDev = -0.01L * (n % 7);
        e.text = "Element " + std::to_string(n);
        e.remark = "Bemerkung zu Element " + std::to_string(n);
        if (n % 9 == 0) {
            e.isoLetters = "h";
            e.isoGrade = 7;
        }
    }
    chain->setElementCount(kMaxElements);
    for (int k = 1; k <= kMaxClosing; ++k) {
        ClosingDimension& c = chain->closing(k);
        c.fromElement = (k * 7) % 400;
        c.toElement = kMaxElements - (k * 13) % 600;
        c.text = "Abstand " + std::to_string(k);
        c.remark = "Bemerkung zum Abstand " + std::to_string(k);
    }
    chain->setClosingCount(kMaxClosing);
    return chain;
}

void standardReport(benchmark::State& state, ReportDevice device) {
    const std::string folder = (std::filesystem::temp_directory_path() / "zam1-report-bench").string();
    std::filesystem::create_directories(folder);
    auto chain = largestChain();
    OutputSettings settings;
    settings.workFolder = folder;
    settings.htmlBrowser.clear();
    LanguageTexts texts;
    ScriptedPrompter prompter([](const std::string&) {});
    prompter.saveFile(folder + "/report.htm");
    HeadlessDesktop desktop;
    FixedClock clock({2024, 3, 15, 14, 30, 0});
    ErrorFlag error;
    OutputChannel out(settings, texts, {prompter, desktop, clock, error});
    std::size_t bytes = 0;
    for (auto _ : state) {
        if (device == kReportHtml) prompter.saveFile(folder + "/report.htm");
        if (!writeStandardReport(*chain, out, device)) state.SkipWithError("report not written");
        bytes = out.contents().size();
    }
    state.counters["bytes"] = static_cast<double>(bytes);
    std::filesystem::remove_all(folder);
}

void BM_StandardReportTextFile(benchmark::State& state) { standardReport(state, kReportDosFile); }
void BM_StandardReportHtml(benchmark::State& state) { standardReport(state, kReportHtml); }

BENCHMARK(BM_StandardReportTextFile)->Unit(benchmark::kMillisecond);
BENCHMARK(BM_StandardReportHtml)->Unit(benchmark::kMillisecond);

} // namespace
