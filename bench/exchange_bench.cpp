// The spreadsheet exchange at the element limit: 2,500 elements and 250 closing
// dimensions written as .xlsx and as CSV, and the CSV read back and compared
// with the chain, as the import's preview does it.
#include <benchmark/benchmark.h>

#include <filesystem>
#include <sstream>
#include <unistd.h>

#include "core/exchange/csv.h"
#include "core/exchange/element_import.h"
#include "core/exchange/exchange_texts.h"
#include "core/exchange/sheet.h"
#include "core/exchange/xlsx_writer.h"
#include "core/lang/language.h"
#include "core/model/closing_solution.h"
#include "core/model/resolution.h"
#include "tests/files/sample_project.h"

namespace {

using namespace zam1;

struct LargestProject {
    test::SampleProject project = test::sampleProject(kMaxElements, kMaxClosing, 0, 0);
    LanguageTexts texts;
    std::vector<Worksheet> sheets;
    LargestProject() {
        deriveElementValues(*project.chain);
        const ExchangeTexts& words = exchangeTexts(kGerman);
        sheets = {elementSheet(*project.chain, texts, words),
                  closingSheet(*project.chain, solveAllClosings(*project.chain), texts, words)};
    }
};

const LargestProject& largest() {
    static const LargestProject p;
    return p;
}

void BM_XlsxOfTheLargestProject(benchmark::State& state) {
    const std::string path =
        (std::filesystem::temp_directory_path() / ("zam1-bench-" + std::to_string(::getpid()) + ".xlsx")).string();
    for (auto _ : state) benchmark::DoNotOptimize(writeXlsx(path, largest().sheets));
    std::filesystem::remove(path);
}
BENCHMARK(BM_XlsxOfTheLargestProject)->Unit(benchmark::kMillisecond)->UseRealTime();

void BM_CsvOfTheLargestProject(benchmark::State& state) {
    for (auto _ : state) {
        std::ostringstream out;
        for (const Worksheet& sheet : largest().sheets) writeCsv(out, sheet);
        benchmark::DoNotOptimize(out.str().size());
    }
}
BENCHMARK(BM_CsvOfTheLargestProject)->Unit(benchmark::kMillisecond);

void BM_CsvImportPreviewOfTheLargestTable(benchmark::State& state) {
    std::ostringstream out;
    writeCsv(out, largest().sheets.front());
    const std::string csv = out.str();
    for (auto _ : state) {
        const ElementImport in = readElementCsv(csv, exchangeTexts(kGerman));
        benchmark::DoNotOptimize(compareElements(*largest().project.chain, in.elements).changes.size());
    }
}
BENCHMARK(BM_CsvImportPreviewOfTheLargestTable)->Unit(benchmark::kMillisecond);

} // namespace
