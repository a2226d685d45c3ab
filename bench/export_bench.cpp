// The command line's exports as the user runs them: the real program started on
// a saved project, from exec to its end. The scheme of the largest chain (2500
// elements in a row, the deepest tree) as a PDF drawing, and the largest project
// (2500 elements, 250 closing dimensions) as an .xlsx workbook; the sign-off
// report of the example project (analysis with 100,000 samples included) as an
// A4 PDF and as HTML.

#include <benchmark/benchmark.h>

#include <algorithm>
#include <cstdlib>
#include <filesystem>
#include <sstream>
#include <string>
#include <sys/resource.h>
#include <sys/wait.h>
#include <unistd.h>
#include <vector>

#include "bench/bench_drawings.h"
#include "core/files/project_file.h"
#include "core/platform/batch_prompter.h"
#include "core/platform/error_flag.h"
#include "tests/files/sample_project.h"

namespace {

namespace fs = std::filesystem;
using namespace zam1;

class ExportFolder {
public:
    ExportFolder() : m_path(fs::temp_directory_path() / ("zam1-export-bench-" + std::to_string(::getpid()))) {
        fs::create_directories(m_path);
        std::ostringstream messages;
        BatchPrompter prompter(messages);
        ErrorFlag error;
        test::SampleProject largest = test::sampleProject(kMaxElements, kMaxClosing, 0, 0);
        writeProjectFile((m_path / "largest.zm1").string(), *largest.chain, largest.texts, largest.docs, {}, prompter,
                         error);
        test::SampleProject row;
        bench::fillLargestLinearChain(*row.chain);
        writeProjectFile((m_path / "row.zm1").string(), *row.chain, row.texts, row.docs, {}, prompter, error);
        for (const char* ext : {".zm1", ".zm1.json"}) {
            fs::copy_file(std::string(ZAM1_SOURCE_DIR "/examples/getriebewelle") + ext, m_path / ("getriebewelle" + std::string(ext)),
                          fs::copy_options::overwrite_existing);
        }
        m_ready = !error.isSet();
    }
    ~ExportFolder() { fs::remove_all(m_path); }
    const fs::path& path() const { return m_path; }
    bool ready() const { return m_ready; }

private:
    fs::path m_path;
    bool m_ready = false;
};

const ExportFolder& folder() {
    static const ExportFolder f;
    return f;
}

int runProgram(const std::vector<std::string>& arguments) {
    const pid_t pid = ::fork();
    if (pid == 0) {
        if (::chdir(folder().path().c_str()) != 0) ::_exit(126);
        ::setenv("XDG_CONFIG_HOME", folder().path().c_str(), 1);
        ::unsetenv("DISPLAY");
        ::unsetenv("WAYLAND_DISPLAY");
        ::unsetenv("QT_QPA_PLATFORM");
        std::vector<char*> argv{const_cast<char*>("wzam1")};
        for (const std::string& a : arguments) argv.push_back(const_cast<char*>(a.c_str()));
        argv.push_back(nullptr);
        ::execv(ZAM1_PROGRAM, argv.data());
        ::_exit(127);
    }
    int status = 0;
    ::waitpid(pid, &status, 0);
    return WIFEXITED(status) ? WEXITSTATUS(status) : -1;
}

// User and system time of the programs run so far, in seconds: on a busy
// machine the wall time mostly waits for a core.
double childrenCpuSeconds() {
    rusage usage{};
    ::getrusage(RUSAGE_CHILDREN, &usage);
    const auto seconds = [](const timeval& t) { return static_cast<double>(t.tv_sec) + t.tv_usec / 1e6; };
    return seconds(usage.ru_utime) + seconds(usage.ru_stime);
}

// `accepted`: the exit codes of a run that wrote its file.
void runExport(benchmark::State& state, const std::vector<std::string>& arguments, const char* output,
               std::vector<int> accepted = {0, 2}) {
    if (!folder().ready()) {
        state.SkipWithError("the projects could not be written");
        return;
    }
    const double cpuBefore = childrenCpuSeconds();
    for (auto _ : state) {
        // 2: written, but some closing dimensions of the sample cannot be calculated.
        const int code = runProgram(arguments);
        if (std::find(accepted.begin(), accepted.end(), code) == accepted.end()) {
            state.SkipWithError("wzam1 failed");
            break;
        }
    }
    state.counters["program_cpu_ms"] =
        1000 * (childrenCpuSeconds() - cpuBefore) / static_cast<double>(std::max<benchmark::IterationCount>(state.iterations(), 1));
    std::error_code none;
    const auto bytes = fs::file_size(folder().path() / output, none);
    state.counters["bytes"] = none ? 0.0 : static_cast<double>(bytes);
}

void BM_ExportSchemeOfTheLargestChainAsPdf(benchmark::State& state) {
    runExport(state, {"row.zm1", "--export", "scheme.pdf", "--diagram", "scheme"}, "scheme.pdf");
}
BENCHMARK(BM_ExportSchemeOfTheLargestChainAsPdf)->Unit(benchmark::kMillisecond)->UseRealTime()->Iterations(10);

void BM_ExportLargestProjectAsXlsx(benchmark::State& state) {
    runExport(state, {"largest.zm1", "--export", "project.xlsx"}, "project.xlsx");
}
BENCHMARK(BM_ExportLargestProjectAsXlsx)->Unit(benchmark::kMillisecond)->UseRealTime()->Iterations(10);

// Exit 0, 3 or 4 is the verdict; the report is written in each case.
void BM_SignoffReportOfTheExampleAsPdf(benchmark::State& state) {
    runExport(state, {"getriebewelle.zm1", "--analyse", "--report", "signoff.pdf"}, "signoff.pdf", {0, 3, 4});
}
BENCHMARK(BM_SignoffReportOfTheExampleAsPdf)->Unit(benchmark::kMillisecond)->UseRealTime()->Iterations(10);

void BM_SignoffReportOfTheExampleAsHtml(benchmark::State& state) {
    runExport(state, {"getriebewelle.zm1", "--analyse", "--report", "signoff.html"}, "signoff.html", {0, 3, 4});
}
BENCHMARK(BM_SignoffReportOfTheExampleAsHtml)->Unit(benchmark::kMillisecond)->UseRealTime()->Iterations(10);

} // namespace

BENCHMARK_MAIN();
