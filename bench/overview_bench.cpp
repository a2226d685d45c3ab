// The overview of a folder of 1,000 projects of mixed sizes (most small, some
// with hundreds of elements, a few with 2,500), a few of them broken: every file
// read into a project of its own and its first closing dimension calculated.
#include <benchmark/benchmark.h>

#include <filesystem>
#include <unistd.h>

#include "core/files/overview.h"
#include "core/files/project_file.h"
#include "core/platform/desktop.h"
#include "core/platform/file_io.h"
#include "tests/files/sample_project.h"

namespace {

using namespace zam1;
namespace fs = std::filesystem;

struct Folder {
    fs::path path = fs::temp_directory_path() / ("zam1-overview-bench-" + std::to_string(::getpid()));
    Folder() {
        fs::create_directories(path);
        for (int i = 0; i < 1000; ++i) {
            const int elements = i % 100 == 0 ? kMaxElements : (i % 10 == 0 ? 300 : 5 + i % 40);
            const test::SampleProject p = test::sampleProject(elements, std::min(elements, 1 + i % 20), i % 5, i % 8);
            std::string text = projectFileText(*p.chain, p.texts, p.docs, {});
            if (i % 97 == 0) text.resize(text.size() / 2);  // broken: cut in the middle
            writeFileSafely((path / ("p" + std::to_string(i) + ".zm1")).string(), text);
        }
    }
    ~Folder() {
        std::error_code ignored;
        fs::remove_all(path, ignored);
    }
};

void BM_OverviewOfAThousandProjects(benchmark::State& state) {
    static const Folder folder;
    HeadlessDesktop desktop;
    std::size_t rows = 0;
    for (auto _ : state) {
        const OverviewScan scan = scanOverview(folder.path.string(), {3, false}, desktop);
        rows = scan.rows.size();
        benchmark::DoNotOptimize(rows);
    }
    state.counters["rows"] = static_cast<double>(rows);
}

BENCHMARK(BM_OverviewOfAThousandProjects)->Unit(benchmark::kMillisecond)->UseRealTime();

} // namespace
