// The start of the real program under a virtual X server: from exec to the main
// window shown with the example project read and its overall graphic drawn
// (ZAM1_QUIT_WHEN_SHOWN ends the program there). Needs Xvfb; skipped without it.

#include <benchmark/benchmark.h>

#include <csignal>
#include <cstdlib>
#include <filesystem>
#include <string>
#include <sys/wait.h>
#include <thread>
#include <unistd.h>

namespace {

namespace fs = std::filesystem;

constexpr const char* kDisplay = ":93";

class VirtualDisplay {
public:
    VirtualDisplay() {
        if (!fs::exists("/usr/bin/Xvfb")) return;
        m_pid = ::fork();
        if (m_pid == 0) {
            ::execl("/usr/bin/Xvfb", "Xvfb", kDisplay, "-screen", "0", "1280x1024x24", "-nolisten", "tcp",
                    static_cast<char*>(nullptr));
            ::_exit(127);
        }
        for (int i = 0; i < 100 && !fs::exists("/tmp/.X11-unix/X93"); ++i) {
            std::this_thread::sleep_for(std::chrono::milliseconds(50));
        }
    }
    ~VirtualDisplay() {
        if (m_pid <= 0) return;
        ::kill(m_pid, SIGTERM);
        ::waitpid(m_pid, nullptr, 0);
    }
    bool running() const { return m_pid > 0 && fs::exists("/tmp/.X11-unix/X93"); }

private:
    pid_t m_pid = -1;
};

int runProgram(const fs::path& folder) {
    const pid_t pid = ::fork();
    if (pid == 0) {
        if (::chdir(folder.c_str()) != 0) ::_exit(126);
        ::setenv("DISPLAY", kDisplay, 1);
        ::setenv("ZAM1_QUIT_WHEN_SHOWN", "1", 1);
        ::setenv("XDG_CONFIG_HOME", folder.c_str(), 1);
        ::unsetenv("QT_QPA_PLATFORM");
        ::execl(ZAM1_PROGRAM, "wzam1", "getriebewelle.zm1", static_cast<char*>(nullptr));
        ::_exit(127);
    }
    int status = 0;
    ::waitpid(pid, &status, 0);
    return WIFEXITED(status) ? WEXITSTATUS(status) : -1;
}

void BM_StartToWindowShown(benchmark::State& state) {
    static VirtualDisplay display;
    if (!display.running()) {
        state.SkipWithError("Xvfb is not available");
        return;
    }
    const fs::path folder = fs::temp_directory_path() / ("zam1-start-" + std::to_string(::getpid()));
    fs::create_directories(folder);
    fs::copy_file(ZAM1_SOURCE_DIR "/examples/getriebewelle.zm1", folder / "getriebewelle.zm1",
                  fs::copy_options::overwrite_existing);
    for (auto _ : state) {
        if (runProgram(folder) != 0) {
            state.SkipWithError("wzam1 did not end cleanly");
            break;
        }
    }
    fs::remove_all(folder);
}
BENCHMARK(BM_StartToWindowShown)->Unit(benchmark::kMillisecond)->UseRealTime()->Iterations(10);

} // namespace

BENCHMARK_MAIN();
