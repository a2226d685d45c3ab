// The working copy as the window's commands keep it: one per program and
// project, written after every change and every step of New and the guided
// input, a failure said once, the modified flag kept by Export ZAM, and what a
// restart finds after real programs were killed with SIGKILL.
#include <gtest/gtest.h>

#include <algorithm>
#include <chrono>
#include <csignal>
#include <cstdio>
#include <filesystem>
#include <functional>
#include <random>
#include <sys/wait.h>
#include <thread>
#include <unistd.h>

#include "core/app/file_commands.h"
#include "core/app/menu_table.h"
#include "core/app/window_start.h"
#include "core/files/project_file.h"
#include "core/files/save_project.h"
#include "core/files/working_copy.h"
#include "core/platform/clock.h"
#include "core/platform/desktop.h"
#include "core/platform/file_io.h"
#include "core/platform/scripted_prompter.h"
#include "tests/app/scripted_workbench.h"
#include "tests/report/report_harness.h"
#include "tests/support/scripted.h"

namespace zam1::test {
namespace {

namespace fs = std::filesystem;

const std::string kExample = std::string(ZAM1_SOURCE_DIR) + "/examples/getriebewelle.zm1";

// One running program: its state, its prompter and its editors.
struct Program {
    explicit Program(const std::string& folder, ScriptedPrompter::FailureHandler onFailure = failTest())
        : prompter(std::move(onFailure)) {
        state.prompter = &prompter;
        state.desktop = &desktop;
        state.clock = &clock;
        state.configDirectory = folder;
        state.config.tempDirectory = folder;
        state.config.dataDirectory = folder;
        state.config.pltDirectory = folder;
        state.file.dataDirectory = folder;
    }
    void run(std::string_view name) {
        const MenuItem* item = findMenuItem(name);
        ASSERT_NE(item, nullptr) << name;
        runMenuItem(context, *item);
    }
    void open(const std::string& path) {
        ASSERT_TRUE(openProjectFile(state, path)) << path;
    }
    void setSigma(const std::string& typed) {
        prompter.type(typed);
        run("mi_editsigma");
    }
    // The window's start with this project (empty: none), as far as the core does it.
    bool start(const std::string& project) {
        WindowStartPlan plan;
        if (!project.empty()) plan = windowStartPlan({project});
        bool projectRead = false;
        return startWindowSession(state, plan, projectRead);
    }
    bool asked(const std::string& question) const {
        return std::find(prompter.log().begin(), prompter.log().end(), "question: " + question) !=
               prompter.log().end();
    }

    ScriptedPrompter prompter;
    HeadlessDesktop desktop;
    FixedClock clock{{2026, 12, 8, 9, 0, 0}};
    ProgramState state;
    ScriptedWorkbench bench{state};
    MenuContext context{state, bench};
};

std::string restoreQuestion(const std::string& named) { return "Ungesicherte Eingaben wiederherstellen (" + named + ") ?"; }

// A project file as a fresh program reads it.
Chain chainOf(const std::string& path) {
    ProgramState reader;
    TestPrompter quiet;
    reader.prompter = &quiet;
    EXPECT_TRUE(readProjectFile(reader, path)) << path;
    return reader.chain;
}

std::vector<std::string> filesIn(const std::string& folder, const std::string& prefix) {
    std::vector<std::string> names;
    for (const auto& entry : fs::directory_iterator(folder)) {
        const std::string name = entry.path().filename().string();
        if (name.starts_with(prefix)) names.push_back(name);
    }
    std::sort(names.begin(), names.end());
    return names;
}

struct WorkingCopySession : ::testing::Test {
    TempFolder folder;
    std::string x, y;

    void SetUp() override {
        x = folder.file("x.zm1");
        y = folder.file("y.zm1");
        fs::copy_file(kExample, x);
        fs::copy_file(kExample, y);
    }
};

// A program killed while it wrote leaves the safe writer's temporary file; the
// next start removes it from every folder the program writes to.
TEST_F(WorkingCopySession, TheStartRemovesWhatAKilledWriteLeftInEveryFolder) {
    ProgramState state;
    const std::string copies = folder.file("copies"), projects = folder.file("projects"), config = folder.file("config");
    state.config.dataDirectory = copies;
    state.file.dataDirectory = projects;
    state.file.currentFile = "x";
    state.configDirectory = config;
    const struct {
        const char* what;
        std::string folder;
    } rows[] = {{"working copies", copies}, {"project", projects}, {"configuration (zam1.cfg)", config}};
    for (const auto& row : rows) {
        fs::create_directories(row.folder);
        std::FILE* left = std::fopen((fs::path(row.folder) / ".zam1-k1ll3d").c_str(), "w");
        ASSERT_NE(left, nullptr);
        std::fclose(left);
    }
    tidyAfterEarlierRuns(state);
    for (const auto& row : rows) EXPECT_EQ(filesIn(row.folder, ".zam1-"), std::vector<std::string>{}) << row.what;
}

TEST_F(WorkingCopySession, NewAndEveryStepOfTheGuidedInputAreInTheCopyAtOnce) {
    Program p(folder.path());
    std::vector<std::string> seen;  // the copy as each editor finds it when it opens
    const auto copyNow = [&] {
        std::string bytes;
        readWholeFile(workingCopyPath(p.state), bytes);
        return bytes;
    };
    p.bench.projectText = [&](ProgramState& s) {
        seen.push_back(copyNow());
        s.projectTexts.drawingName = "Neue Welle";
        return true;
    };
    p.bench.elementTable = [&](ProgramState& s) {
        seen.push_back(copyNow());
        s.chain.setElementCount(1);
        s.chain.element(1).distance = 47;
        return true;
    };
    p.bench.closingDimensions = [&](ProgramState&) {
        seen.push_back(copyNow());
        return false;
    };
    p.prompter.type("3");
    p.run("mi_fileNew");
    ASSERT_EQ(seen.size(), 3u);
    EXPECT_FALSE(seen[0].empty()) << "the new project has its copy before the first editor opens";
    EXPECT_NE(seen[1].find("Neue Welle"), std::string::npos) << "the project text is kept before the element table";
    EXPECT_NE(seen[2].find("47.0"), std::string::npos) << "the elements are kept before the closing dimensions";
    EXPECT_EQ(p.state.chain.productionSigma, 3);
    EXPECT_EQ(chainOf(workingCopyPath(p.state)).productionSigma, 3);
    EXPECT_EQ(fs::path(workingCopyPath(p.state)).filename().string(), "aktuell-" + std::to_string(::getpid()) + ".zm1");
}

TEST_F(WorkingCopySession, ExportZamKeepsTheProjectModifiedUntilItIsSaved) {
    Program p(folder.path());
    p.open(x);
    p.setSigma("4");
    p.prompter.saveFile(folder.file("bericht.zam"));
    p.run("mi_fileExportZam");
    ASSERT_TRUE(fs::exists(folder.file("bericht.zam")));
    EXPECT_TRUE(p.state.file.modified);
    EXPECT_TRUE(fs::exists(workingCopyPath(p.state)));
    // The end of the program still asks, and Cancel keeps it and its copy.
    p.prompter.answer(Answer::Cancel);
    EXPECT_FALSE(fileExit(p.state));
    EXPECT_TRUE(p.asked("Datei speichern (" + x + ") ?"));
    EXPECT_TRUE(fs::exists(workingCopyPath(p.state)));
}

TEST_F(WorkingCopySession, AFailedWriteIsSaidOncePerStreakAndTriedAgainAfterEachCommand) {
    Program p(folder.path());
    p.open(x);
    p.setSigma("1");
    const std::string copy = workingCopyPath(p.state);
    ASSERT_TRUE(fs::exists(copy));
    // A folder where the copy should go cannot be replaced by a file: every write fails.
    const auto block = [&](bool blocked) {
        fs::remove(copy);
        if (blocked) fs::create_directory(copy);
    };
    struct Step {
        bool broken;
        int messagesAfter;  // error boxes shown so far
    };
    const Step steps[] = {{true, 1}, {true, 1}, {false, 1}, {true, 2}, {true, 2}};
    int n = 1;
    for (const Step& step : steps) {
        SCOPED_TRACE(n);
        block(step.broken);
        p.setSigma(std::to_string(++n));
        const auto errors = p.prompter.errors();
        EXPECT_EQ(static_cast<int>(errors.size()), step.messagesAfter);
        if (!errors.empty()) {
            EXPECT_TRUE(errors.back().starts_with("Die Eingaben konnten nicht zwischengespeichert werden (" + copy + "): "))
                << errors.back();
        }
        const auto statuses = std::count_if(p.prompter.log().begin(), p.prompter.log().end(), [](const std::string& e) {
            return e.starts_with("status: Die Eingaben konnten nicht zwischengespeichert werden");
        });
        EXPECT_EQ(statuses, step.messagesAfter);
        EXPECT_FALSE(p.state.error.isSet()) << "the command itself went through";
        EXPECT_EQ(p.state.chain.productionSigma, n);
        EXPECT_EQ(fs::is_regular_file(copy), !step.broken);
    }
    block(false);
}

TEST_F(WorkingCopySession, ACopyIsOfferedOnlyForItsProjectAndRestoresItUnderItsName) {
    {
        Program a(folder.path());
        a.open(x);
        a.setSigma("4");
        releaseWorkingCopy(a.state);  // as if killed: the copy stays, the lock goes
    }
    struct Row {
        const char* name;
        bool startWithX;  // else Y; "" for none below
        bool noProject;
        bool offered;
    };
    const Row rows[] = {
        {"another project: nothing offered", false, false, false},
        {"its project: offered", true, false, true},
        {"no project at start: offered, and it becomes the current project", false, true, true},
    };
    for (const Row& row : rows) {
        SCOPED_TRACE(row.name);
        Program b(folder.path());
        if (row.offered) b.prompter.answer(Answer::Yes);
        // A project this program has not read asks before Save writes over it.
        if (row.noProject) b.prompter.answer(Answer::Yes);
        ASSERT_TRUE(b.start(row.noProject ? std::string() : row.startWithX ? x : y));
        EXPECT_EQ(b.asked(restoreQuestion(x)), row.offered);
        EXPECT_EQ(b.state.chain.productionSigma == 4, row.offered);
        if (!row.offered) continue;
        EXPECT_EQ(currentProjectPath(b.state), x) << "Save writes the project the input belongs to";
        EXPECT_TRUE(b.state.file.modified);
        // Save: the project has the restored input, and the copy is gone.
        ASSERT_TRUE(fileSave(b.state));
        EXPECT_EQ(chainOf(x).productionSigma, 4);
        EXPECT_TRUE(filesIn(folder.path(), "aktuell").empty());
        // Again for the next row.
        fs::copy_file(kExample, x, fs::copy_options::overwrite_existing);
        Program a(folder.path());
        a.open(x);
        a.setSigma("4");
        releaseWorkingCopy(a.state);
    }
}

TEST_F(WorkingCopySession, TwoProgramsNeverShareOrRemoveEachOthersCopies) {
    Program a(folder.path());
    Program b(folder.path());
    Program c(folder.path());
    a.open(x);
    b.open(y);
    c.open(x);  // the same project in a third program
    a.setSigma("4");
    b.setSigma("5");
    c.setSigma("6");
    const std::string copyA = workingCopyPath(a.state), copyB = workingCopyPath(b.state),
                      copyC = workingCopyPath(c.state);
    EXPECT_EQ(fs::path(copyA).filename(), "aktuell-x.zm1");
    EXPECT_EQ(fs::path(copyB).filename(), "aktuell-y.zm1");
    EXPECT_EQ(fs::path(copyC).filename(), "aktuell-x-2.zm1");
    std::string before;
    readWholeFile(copyA, before);
    // B saves, C drops its changes: A's copy stays as it was.
    ASSERT_TRUE(fileSave(b.state));
    c.prompter.answer(Answer::No);
    ASSERT_TRUE(fileExit(c.state));
    EXPECT_FALSE(fs::exists(copyB));
    EXPECT_FALSE(fs::exists(copyC));
    std::string after;
    readWholeFile(copyA, after);
    EXPECT_EQ(after, before);
    // A program starting on X meanwhile is offered nothing: A is alive.
    Program d(folder.path());
    ASSERT_TRUE(d.start(x));
    EXPECT_TRUE(d.prompter.log().empty());
    EXPECT_TRUE(fs::exists(copyA));
}

// A child process: runs `body` (which reports through `report`), then waits
// to be killed. The parent reads what it reported and sends SIGKILL.
class Child {
public:
    explicit Child(const std::function<void(const std::function<void(const std::string&)>&)>& body) {
        int fds[2];
        if (::pipe(fds) != 0) return;
        m_pid = ::fork();
        if (m_pid == 0) {
            ::close(fds[0]);
            const auto report = [fd = fds[1]](const std::string& line) {
                const std::string text = line + "\n";
                [[maybe_unused]] const ssize_t n = ::write(fd, text.data(), text.size());
            };
            body(report);
            report("ready");
            for (;;) ::pause();
        }
        ::close(fds[1]);
        m_read = ::fdopen(fds[0], "r");
    }
    ~Child() {
        kill();
        if (m_read != nullptr) std::fclose(m_read);
    }
    // The next reported line; empty at the end.
    std::string line() {
        char buffer[4096];
        if (m_read == nullptr || std::fgets(buffer, sizeof buffer, m_read) == nullptr) return {};
        std::string text(buffer);
        if (!text.empty() && text.back() == '\n') text.pop_back();
        return text;
    }
    void kill() {
        if (m_pid <= 0) return;
        ::kill(m_pid, SIGKILL);
        int status = 0;
        ::waitpid(m_pid, &status, 0);
        m_pid = -1;
    }

private:
    pid_t m_pid = -1;
    FILE* m_read = nullptr;
};

// (a) A new project typed through New and the guided input, the program killed:
// the next start offers it and restores it.
TEST_F(WorkingCopySession, KilledAfterANewProjectTheRestartRestoresIt) {
    std::string copy;
    {
        Child child([&](const auto& report) {
            // Alive, with its lock, until the kill.
            Program& p = *new Program(folder.path(), {});
            p.bench.projectText = [](ProgramState& s) {
                s.projectTexts.drawingName = "Neue Welle";
                return true;
            };
            p.bench.elementTable = [](ProgramState& s) {
                s.chain.setElementCount(2);
                s.chain.element(1).distance = 47;
                s.chain.element(2).distance = 11;
                s.chain.element(2).predecessor = 1;
                return true;
            };
            p.bench.closingDimensions = [](ProgramState&) { return false; };
            p.prompter.type("2.5");
            p.run("mi_fileNew");
            report(workingCopyPath(p.state));
        });
        copy = child.line();
        ASSERT_EQ(child.line(), "ready");
    }
    ASSERT_TRUE(fs::exists(copy));
    Program restart(folder.path());
    restart.prompter.answer(Answer::Yes);
    ASSERT_TRUE(restart.start(""));
    EXPECT_TRUE(restart.asked(restoreQuestion(copy)));
    EXPECT_EQ(restart.state.chain.elementCount(), 2);
    EXPECT_EQ(restart.state.chain.element(1).distance, 47);
    EXPECT_EQ(restart.state.chain.productionSigma, 2.5L);
    EXPECT_EQ(restart.state.projectTexts.drawingName.view(), "Neue Welle");
    EXPECT_TRUE(restart.state.file.currentFile.empty());
    EXPECT_TRUE(restart.state.file.modified);
    EXPECT_EQ(workingCopyPath(restart.state), copy) << "the copy goes on as the new program's";
}

// (b) Two programs on two projects in one folder, one killed: its restart
// restores its own project; the other's copy is untouched.
TEST_F(WorkingCopySession, OfTwoProgramsTheKilledOnesRestartRestoresItsOwnProject) {
    const auto edit = [&](const std::string& project, const std::string& sigma) {
        return [&, project, sigma](const auto& report) {
            // Alive, with its lock, until the kill.
            Program& p = *new Program(folder.path(), {});
            p.open(project);
            p.setSigma(sigma);
            report(workingCopyPath(p.state));
        };
    };
    Child a(edit(x, "4"));
    Child b(edit(y, "5"));
    const std::string copyA = a.line(), copyB = b.line();
    ASSERT_EQ(a.line(), "ready");
    ASSERT_EQ(b.line(), "ready");
    ASSERT_NE(copyA, copyB);
    std::string before;
    ASSERT_EQ(readWholeFile(copyB, before), kIoOk);
    a.kill();

    Program restart(folder.path());
    restart.prompter.answer(Answer::Yes);
    ASSERT_TRUE(restart.start(x));
    EXPECT_TRUE(restart.asked(restoreQuestion(x)));
    EXPECT_EQ(restart.state.chain.productionSigma, 4);
    EXPECT_EQ(currentProjectPath(restart.state), x);
    std::string after;
    ASSERT_EQ(readWholeFile(copyB, after), kIoOk);
    EXPECT_EQ(after, before);
    // Even a start without a project leaves the living program's copy alone.
    Program other(folder.path());
    ASSERT_TRUE(other.start(""));
    EXPECT_TRUE(other.prompter.log().empty());
    EXPECT_TRUE(fs::exists(copyB));
}

// (c) Killed at random points of a session of many commands: every restart
// offers a copy that reads as the project after a completed command, and the
// start leaves no temporary file of the killed writes.
TEST_F(WorkingCopySession, KilledAtRandomPointsEveryRestartFindsACompletedState) {
    std::mt19937 random(20261208);
    int elements = 0;
    {
        Program p(folder.path());
        p.open(x);
        elements = p.state.chain.elementCount();
        ASSERT_GT(elements, 3);
    }
    for (int round = 0; round < 20; ++round) {
        SCOPED_TRACE(round);
        int last = -1;
        {
            Child child([&](const auto& report) {
                // Alive, with its lock, until the kill.
            Program& p = *new Program(folder.path(), {});
                p.open(x);
                for (int k = 1;; ++k) {
                    char typed[16];
                    std::snprintf(typed, sizeof typed, "%d.%02d", (k / 100) % 10, k % 100);
                    p.setSigma(typed);
                    report(std::to_string(k));
                }
            });
            last = std::stoi(child.line());
            std::this_thread::sleep_for(std::chrono::microseconds(random() % 30000));
            child.kill();
            for (std::string line = child.line(); !line.empty(); line = child.line()) last = std::stoi(line);
        }
        Program restart(folder.path());
        restart.prompter.answer(Answer::Yes);
        ASSERT_TRUE(restart.start(x));
        ASSERT_TRUE(restart.asked(restoreQuestion(x)));
        const long double sigma = restart.state.chain.productionSigma;
        const auto sigmaOf = [](int k) { return static_cast<long double>(k % 1000) / 100; };
        // The command after the last report may have written its copy too.
        EXPECT_TRUE(std::fabs(sigma - sigmaOf(last)) < 1e-9L || std::fabs(sigma - sigmaOf(last + 1)) < 1e-9L)
            << static_cast<double>(sigma) << " after " << last;
        EXPECT_EQ(restart.state.chain.elementCount(), elements) << "the project whole, not torn";
        EXPECT_TRUE(filesIn(folder.path(), ".zam1-").empty()) << "no temporary file after the start";
        // Dropped, so the next round starts clean.
        restart.prompter.answer(Answer::No);
        ASSERT_TRUE(fileExit(restart.state));
        EXPECT_TRUE(filesIn(folder.path(), "aktuell").empty());
    }
}

} // namespace
} // namespace zam1::test
