// Reading and writing the largest project: 2500 elements, 250 closing
// dimensions, 25 change records and 8 drawing text rows, every text full.
#include <benchmark/benchmark.h>

#include <filesystem>
#include <unistd.h>

#include "core/session/program_state.h"
#include "core/files/project_file.h"
#include "core/platform/file_io.h"
#include "core/platform/scripted_prompter.h"
#include "tests/files/sample_project.h"

namespace {

using namespace zam1;

const ProjectFileOptions kOptions{{3, false}, "bench"};

const test::SampleProject& largest() {
    static const test::SampleProject p = test::sampleProject(kMaxElements, kMaxClosing, kMaxChanges, kMaxTextRows);
    return p;
}

std::string benchPath() {
    return (std::filesystem::temp_directory_path() / ("zam1-bench-" + std::to_string(::getpid()) + ".zm1")).string();
}

// The file text alone.
void BM_FormatLargestProject(benchmark::State& state) {
    const auto& p = largest();
    for (auto _ : state) benchmark::DoNotOptimize(projectFileText(*p.chain, p.texts, p.docs, kOptions));
}
BENCHMARK(BM_FormatLargestProject)->Unit(benchmark::kMillisecond);

// Parsing into fresh instances, as the reader does before it replaces the project.
void BM_ParseLargestProject(benchmark::State& state) {
    const auto& p = largest();
    const std::string bytes = projectFileText(*p.chain, p.texts, p.docs, kOptions);
    for (auto _ : state) {
        auto chain = std::make_unique<Chain>();
        ProjectTexts texts;
        Documentation docs;
        benchmark::DoNotOptimize(parseProjectFile(bytes, *chain, texts, docs));
    }
    state.SetBytesProcessed(static_cast<int64_t>(state.iterations() * bytes.size()));
}
BENCHMARK(BM_ParseLargestProject)->Unit(benchmark::kMillisecond);

// The whole save: format, write a temporary file, fsync, rename.
void BM_WriteLargestProjectFile(benchmark::State& state) {
    const auto& p = largest();
    const std::string path = benchPath();
    ScriptedPrompter prompter([](const std::string&) {});
    ErrorFlag error;
    for (auto _ : state) writeProjectFile(path, *p.chain, p.texts, p.docs, kOptions, prompter, error);
    std::filesystem::remove(path);
}
BENCHMARK(BM_WriteLargestProjectFile)->Unit(benchmark::kMillisecond);

// The whole open: read the file, parse, derive the element values, replace.
void BM_ReadLargestProjectFile(benchmark::State& state) {
    const auto& p = largest();
    const std::string path = benchPath();
    writeFileSafely(path, projectFileText(*p.chain, p.texts, p.docs, kOptions));
    auto chain = std::make_unique<Chain>();
    ProjectTexts texts;
    Documentation docs;
    ScriptedPrompter prompter([](const std::string&) {});
    ErrorFlag error;
    for (auto _ : state) readProjectFile(path, *chain, texts, docs, "07.12.2026", prompter, error);
    std::filesystem::remove(path);
}
BENCHMARK(BM_ReadLargestProjectFile)->Unit(benchmark::kMillisecond);

} // namespace
