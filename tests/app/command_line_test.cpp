// The command line, run in-process the way wzam1 runs it: help, the batch report
// "/I" end to end, and every way a start can fail.
#include <gtest/gtest.h>

#include <chrono>
#include <cstdlib>
#include <filesystem>
#include <memory>
#include <sstream>
#include <sys/stat.h>
#include <unistd.h>

#include "core/app/command_guard.h"
#include "core/app/command_line.h"
#include "core/session/program_state.h"
#include "core/app/report_setup.h"
#include "core/files/project_file.h"
#include "core/model/chain.h"
#include "core/platform/clock.h"
#include "core/records/documentation.h"
#include "tests/app/batch_run.h"
#include "tests/model/chain_builder.h"
#include "tests/support/scripted.h"
#include "tests/report/report_harness.h"

namespace zam1::test {
namespace {

// Runs in a folder of its own, without any configuration, at a fixed time.
class CommandLine : public BatchRun {
protected:
    void copyExample(const std::string& name) {
        std::filesystem::copy_file(std::string(ZAM1_SOURCE_DIR) + "/examples/getriebewelle.zm1", m_folder.file(name));
    }

    // Everything in the folder but the projects put there.
    std::vector<std::string> written() const {
        std::vector<std::string> names;
        for (const auto& e : std::filesystem::directory_iterator(m_folder.path())) {
            const std::string name = e.path().filename().string();
            if (e.path().extension() != ".zm1") names.push_back(name);
        }
        std::sort(names.begin(), names.end());
        return names;
    }
};

TEST_F(CommandLine, HelpShowsTheTwentyOneLinesAndEnds) {
    const std::string help =
        "ZAM1 Command Line Mode\n\nwzam1 Filename [/I] [/CADi:j] [/NOGUI]\n\n/I       -> TXT file\n\n"
        "/CADi:j  -> CAD File\n            i: 1=DXF, 2=IGS, 5=TXT\n            j: index (1,2,3, ..)\n\n"
        "/NOGOUI  -> No GUI, exit on fatal error\n\n\n\n/?       -> Help\n\n\n"
        "Example: wzam1 test.zm1             ->  GUI\n"
        "Example: wzam1 test.zm1 /I /NOGUI   ->  test.txt\n"
        "Example: wzam1 test.zm1 /CAD1:1     ->  test.dxf\n"
        "Example: wzam1 test.edi /E /NOGUI   ->  test.edi\n";
    for (const std::vector<std::string>& args : {std::vector<std::string>{"?"}, {"/?"}, {"/?", "test.zm1", "/I"}}) {
        EXPECT_EQ(run(args), 0);
        EXPECT_EQ(m_out.str(), help);
        EXPECT_EQ(m_err.str(), "");
    }
    EXPECT_TRUE(written().empty());

    // --help: the same screen first, then the switches this build adds.
    EXPECT_EQ(run({"--help"}), 0);
    EXPECT_EQ(m_out.str().substr(0, help.size()), help);
    EXPECT_NE(m_out.str().find("--iso CODE SIZE"), std::string::npos);
    EXPECT_NE(m_out.str().find("10*k+1"), std::string::npos);
}

TEST_F(CommandLine, BatchReportIsTheGoldenStandardReport) {
    copyExample("getriebewelle.zm1");
    EXPECT_EQ(run({"getriebewelle.zm1", "/I"}), 0);
    EXPECT_EQ(m_err.str(), "");
    EXPECT_EQ(m_out.str(), "");
    EXPECT_EQ(written(), std::vector<std::string>{"getriebewelle.txt"});
    expectGolden("batch_getriebewelle.txt", readBytes(m_folder.file("getriebewelle.txt")));
}

TEST_F(CommandLine, ReportSwitchAndNoGuiInAnyCaseAndPlace) {
    copyExample("welle.zm1");
    const std::vector<std::vector<std::string>> starts = {
        {"welle.zm1", "/i"},
        {"/NOGUI", "welle.zm1", "/I"},
        {"welle.zm1", "/I", "/nogui"},
        {"welle.zm1", "/NoGui", "/I"},
        {"./welle.zm1", "/I"},
    };
    for (const auto& args : starts) {
        std::filesystem::remove(m_folder.file("welle.txt"));
        EXPECT_EQ(run(args), 0) << args[0] << " " << args[1];
        EXPECT_EQ(written(), std::vector<std::string>{"welle.txt"});
    }
}

TEST_F(CommandLine, WarningsGoToStandardErrorUnlessNoGui) {
    Chain chain;
    fill(chain, {{0, true, 10, -0.1L, 0.1L}});
    chain.setClosingCount(1);
    chain.closing(1) = {0, 1, "Spalt", ""};
    writeBytes(m_folder.file("verdreht.zm1"), projectFileText(chain, ProjectTexts{}, Documentation{}, {}));
    EXPECT_EQ(run({"verdreht.zm1", "/I"}), 0);
    EXPECT_EQ(m_err.str(), "Berechnungsmodul meldet Warnungen oder Fehler, siehe Ursache und Abhilfe.\n"
                           "  Ob.Tol. < Unt.Tol. (1)\n");
    EXPECT_EQ(run({"verdreht.zm1", "/I", "/NOGUI"}), 0);
    EXPECT_EQ(m_err.str(), "");
}

TEST_F(CommandLine, FailedBatchRunsEndWithOneAndLeaveNothing) {
    writeBytes(m_folder.file("kaputt.zm1"), "das ist kein Projekt\r\n");
    copyExample("blockiert.zm1");
    std::filesystem::create_directory(m_folder.file("blockiert.txt"));   // the report cannot be put there
    struct Case {
        std::vector<std::string> args;
        std::string firstErrorWords;
    };
    const Case cases[] = {
        {{"fehlt.zm1", "/I"}, "fehlt.zm1"},
        {{"kaputt.zm1", "/I", "/NOGUI"}, "kaputt.zm1"},
        {{"blockiert.zm1", "/I"}, "blockiert.txt"},
        {{"fehlt.zm1", "/cad1:1"}, "fehlt.zm1"},
    };
    for (const Case& c : cases) {
        EXPECT_EQ(run(c.args), 1) << c.args[0] << " " << c.args[1];
        EXPECT_NE(m_err.str().find(c.firstErrorWords), std::string::npos) << m_err.str();
        EXPECT_EQ(written(), std::vector<std::string>{"blockiert.txt"}) << c.args[0];
        EXPECT_TRUE(std::filesystem::is_directory(m_folder.file("blockiert.txt")));
    }
}

// A closing dimension whose structure cannot be resolved: the report is written
// with the structure error in its rows and ends with the messages; the exit code
// tells a script that not every closing dimension was calculated.
TEST_F(CommandLine, UnresolvableClosingDimensionsEndWithTwo) {
    Chain chain;
    fill(chain, {{0, true, 10, 0.1L, -0.1L}, {2, true, 5, 0.2L, 0}, {0, true, 7, 0.05L, -0.05L}});
    chain.setClosingCount(3);
    chain.closing(1) = {0, 1, "gut", ""};
    chain.closing(2) = {0, 2, "Ring", ""}; // element 2 is its own predecessor
    chain.closing(3) = {3, 3, "selbst", ""};
    writeBytes(m_folder.file("ring.zm1"), projectFileText(chain, ProjectTexts{}, Documentation{}, {}));
    EXPECT_EQ(run({"ring.zm1", "/I", "/NOGUI"}), 2);
    EXPECT_NE(m_err.str().find("nicht berechenbar"), std::string::npos) << m_err.str();
    const std::string report = readBytes(m_folder.file("ring.txt"));
    EXPECT_NE(report.find("Fehler im Massaufbau zwischen Element 0 und 2 !"), std::string::npos);
    EXPECT_NE(report.find("Undefinierter Abstand !"), std::string::npos);
    EXPECT_NE(report.find("BEMERKUNGEN, WARNUNGEN, FEHLERMELDUNGEN"), std::string::npos);
    // Only the good closing dimension has probability tables.
    std::size_t tables = 0;
    for (std::size_t at = report.find("Wahrscheinlichkeitsbereich"); at != std::string::npos;
         at = report.find("Wahrscheinlichkeitsbereich", at + 1)) {
        ++tables;
    }
    EXPECT_EQ(tables, 1u);
}

// "proj.txt /I" would write the report over the project it reads.
TEST_F(CommandLine, TheOutputNeverReplacesTheProject) {
    copyExample("welle.txt");
    copyExample("welle.dxf");
    const std::string project = readBytes(m_folder.file("welle.txt"));
    for (const std::vector<std::string>& args : {std::vector<std::string>{"welle.txt", "/I"}, {"./welle.txt", "/i"},
                                                 {m_folder.file("welle.txt"), "/I"}, {"welle.dxf", "/CAD1:1"}}) {
        EXPECT_EQ(run(args), 2) << args[0];
        EXPECT_NE(m_err.str().find("Projektdatei selbst"), std::string::npos) << m_err.str();
        EXPECT_EQ(readBytes(m_folder.file("welle.txt")), project);
    }
    std::filesystem::create_symlink(m_folder.file("welle.txt"), m_folder.file("link.zm1"));
    std::filesystem::create_symlink(m_folder.file("link.zm1"), m_folder.file("link.txt"));
    EXPECT_EQ(run({"link.zm1", "/I"}), 2) << "link.txt leads to the project itself";
    EXPECT_EQ(readBytes(m_folder.file("welle.txt")), project);
}

// The settings file beside the project is an input as well: no output of any batch
// form may land on it, whatever the link or spelling that leads there.
TEST_F(CommandLine, NoOutputReplacesTheSettingsFile) {
    copyExample("welle.zm1");
    const std::string settings = R"({"closings": [{"closing": 1, "upper": 1}]})";
    writeBytes(m_folder.file("welle.zm1.json"), settings);
    const std::string project = readBytes(m_folder.file("welle.zm1"));
    struct Case {
        std::string link;  // made a link to the settings file
        std::vector<std::string> args;
    };
    const Case cases[] = {
        {"welle.txt", {"welle.zm1", "/I"}},
        {"welle.dxf", {"welle.zm1", "/CAD1:1"}},
        {"welle.igs", {"./welle.zm1", "/cad2:3"}},
        {"welle.txt", {m_folder.file("welle.zm1"), "/I", "/NOGUI"}},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.args[1]);
        std::filesystem::create_symlink("welle.zm1.json", m_folder.file(c.link));
        EXPECT_EQ(run(c.args), 2);
        EXPECT_NE(m_err.str().find("Einstellungsdatei"), std::string::npos) << m_err.str();
        EXPECT_EQ(readBytes(m_folder.file("welle.zm1.json")), settings);
        EXPECT_EQ(readBytes(m_folder.file("welle.zm1")), project);
        EXPECT_TRUE(std::filesystem::is_symlink(m_folder.file(c.link)));
        std::filesystem::remove(m_folder.file(c.link));
    }
}

// A FIFO or a folder named as the project is no project: the run ends at once
// with a message instead of waiting for a writer that never comes.
TEST_F(CommandLine, OnlyRegularFilesAreReadAsProjects) {
    ASSERT_EQ(::mkfifo(m_folder.file("fifo.zm1").c_str(), 0600), 0);
    std::filesystem::create_directory(m_folder.file("ordner.zm1"));
    for (const std::vector<std::string>& args : std::vector<std::vector<std::string>>{
             {"fifo.zm1", "/I"}, {"fifo.zm1", "/CAD1:1"}, {"fifo.zm1", "--analyse"}, {"ordner.zm1", "/I"}}) {
        EXPECT_EQ(run(args), 1) << args[0] << " " << args[1];
        EXPECT_NE(m_err.str().find(args[0]), std::string::npos) << m_err.str();
    }
}

// A batch run killed earlier (kill -9 in the middle of a report) leaves a
// half-written temporary file beside the project and its private folder in TEMP;
// the next batch run of any form takes both away and leaves other files alone.
TEST_F(CommandLine, EveryBatchFormTidiesWhatAKilledRunLeft) {
    copyExample("welle.zm1");
    const std::vector<std::string> forms[] = {
        {"welle.zm1", "/I", "/NOGUI"}, {"welle.zm1", "/CAD1:1", "/NOGUI"}, {"welle.zm1", "--analyse"}};
    for (const auto& args : forms) {
        SCOPED_TRACE(args[1]);
        const std::string torn = m_folder.file(".zam1-Ab12Cd");
        const std::string orphan = m_folder.file("zam1-OLD123");
        const std::string users = m_folder.file("zam1-notes.txt");
        writeBytes(torn, "halb geschrieben");
        writeBytes(users, "eigene Notizen");
        std::filesystem::create_directory(orphan);
        std::filesystem::last_write_time(orphan, std::filesystem::file_time_type::clock::now() - std::chrono::hours(1));
        EXPECT_EQ(run(args), 0) << m_err.str();
        EXPECT_FALSE(std::filesystem::exists(torn));
        EXPECT_FALSE(std::filesystem::exists(orphan));
        EXPECT_TRUE(std::filesystem::exists(users));
    }
}

// One rule for every batch form: 2 when closing dimensions could not be
// calculated although the file was written, and 2, with nothing written, for an
// argument the form does not take.
TEST_F(CommandLine, EveryBatchFormSaysTwoForUnresolvedClosingsAndExtraArguments) {
    Chain chain;
    fill(chain, {{0, true, 10, 0.1L, -0.1L}, {2, true, 5, 0.2L, 0}});
    chain.setClosingCount(2);
    chain.closing(1) = {0, 1, "gut", ""};
    chain.closing(2) = {0, 2, "Ring", ""};  // element 2 is its own predecessor
    writeBytes(m_folder.file("ring.zm1"), projectFileText(chain, ProjectTexts{}, Documentation{}, {}));
    const std::pair<std::vector<std::string>, const char*> unresolved[] = {
        {{"ring.zm1", "/I", "/NOGUI"}, "ring.txt"},
        {{"ring.zm1", "/CAD1:1", "/NOGUI"}, "ring.dxf"},
        {{"ring.zm1", "/CAD5", "/NOGUI"}, "ring.txt"},
        {{"ring.zm1", "--analyse"}, nullptr},
    };
    for (const auto& [args, file] : unresolved) {
        SCOPED_TRACE(args[1]);
        std::filesystem::remove(m_folder.file("ring.txt"));
        EXPECT_EQ(run(args), 2);
        EXPECT_NE(m_err.str().find("nicht berechenbar"), std::string::npos) << m_err.str();
        if (file != nullptr) {
            EXPECT_TRUE(exists(m_folder.file(file)));
        }
    }
    std::filesystem::remove(m_folder.file("ring.txt"));
    std::filesystem::remove(m_folder.file("ring.dxf"));

    copyExample("welle.zm1");
    const std::vector<std::string> extra[] = {
        {"welle.zm1", "/I", "/CAD1:1"},
        {"welle.zm1", "/CAD1:1", "/I"},
        {"welle.zm1", "/I", "/NOGUI", "welle.zm1"},
        {"welle.zm1", "/cad2:1", "x"},
        {"welle.zm1", "/CAD9:1"},   // names no format
        {"welle.zm1", "/CAD1:0"},   // names no drawing
    };
    for (const auto& args : extra) {
        SCOPED_TRACE(args.back());
        EXPECT_EQ(run(args), 2);
        EXPECT_NE(m_err.str().find(args.back()), std::string::npos) << m_err.str();
        EXPECT_TRUE(written().empty());
    }
    EXPECT_EQ(run({"welle.zm1", "/CAD1:1", "/NOGUI"}), 0) << m_err.str();
    EXPECT_EQ(written(), std::vector<std::string>{"welle.dxf"});
}

// Layer names and the text style come from zam1.cfg as they stand there; a bare
// CR in one must not cut a line of the drawing file.
TEST_F(CommandLine, ControlCharactersFromTheConfigurationStayOutOfTheDrawing) {
    copyExample("welle.zm1");
    std::string config = readBytes(std::string(ZAM1_SOURCE_DIR) + "/examples/zam1.cfg");
    const std::size_t kontur = config.find("Kontur\r\n");
    ASSERT_NE(kontur, std::string::npos);
    config.replace(kontur, 6, "Kon\rtur\x01");
    writeBytes(m_folder.file("zam1.cfg"), config);
    for (const char* cad : {"/CAD1:1", "/CAD2:1", "/CAD5:1"}) {
        SCOPED_TRACE(cad);
        ASSERT_EQ(run({"welle.zm1", cad, "/NOGUI"}), 0) << m_err.str();
    }
    const std::string dxf = readBytes(m_folder.file("welle.dxf"));
    EXPECT_NE(dxf.find("\r\nKon tur \r\n"), std::string::npos);
    for (const char* file : {"welle.dxf", "welle.igs", "welle.txt"}) {
        const std::string bytes = readBytes(m_folder.file(file));
        for (std::size_t i = 0; i < bytes.size(); ++i) {
            const auto c = static_cast<unsigned char>(bytes[i]);
            const bool lineEnd = (c == '\r' && i + 1 < bytes.size() && bytes[i + 1] == '\n') ||
                                 (c == '\n' && i > 0 && bytes[i - 1] == '\r');
            if ((c < 0x20 && c != '\t' && !lineEnd) || c == 0x7F) {
                ADD_FAILURE() << file << ": control character " << int(c) << " at " << i;
                break;
            }
        }
    }
}

// A stream that takes nothing, as standard output on a full disk.
class FullStream : public std::streambuf {
protected:
    int overflow(int) override { return traits_type::eof(); }
    std::streamsize xsputn(const char*, std::streamsize) override { return 0; }
};

// Whatever a batch form writes to standard output must arrive; when it cannot,
// the run fails (exit 1) with a message on standard error.
TEST_F(CommandLine, AFailedStandardOutputEndsWithOne) {
    copyExample("welle.zm1");
    const std::vector<std::string> cases[] = {
        {"welle.zm1", "--analyse"},
        {"welle.zm1", "--analyse", "--json", "-"},
        {"--iso", "H7", "30"},
        {"--help"},
        {"/?"},
    };
    for (const auto& args : cases) {
        SCOPED_TRACE(args.back());
        FullStream full;
        std::ostream out(&full);
        m_err.str({});
        EXPECT_EQ(runCommandLine(*m_state, args, out, m_err).exitCode, 1);
        EXPECT_NE(m_err.str().find("Standardausgabe"), std::string::npos) << m_err.str();
    }
}

TEST(CommandGuard, AnEscapingExceptionBecomesTheErrorMessageAndTheFlag) {
    ProgramState& state = program();
    test::TestPrompter prompter;
    Prompter* saved = state.prompter;
    state.prompter = &prompter;
    state.error.clear();
    EXPECT_TRUE(runGuarded(state, [] {}));
    EXPECT_FALSE(state.error.isSet());
    EXPECT_FALSE(runGuarded(state, [] { throw std::out_of_range("element number"); }));
    EXPECT_TRUE(state.error.isSet());
    ASSERT_EQ(prompter.errors().size(), 1u);
    EXPECT_NE(prompter.errors()[0].find("element number"), std::string::npos);
    state.prompter = saved;

    std::ostringstream err;
    state.error.clear();
    EXPECT_EQ(runGuardedBatch(state, err, [] { return 2; }), 2);
    EXPECT_EQ(runGuardedBatch(state, err, []() -> int { throw 42; }), 1);
    EXPECT_TRUE(state.error.isSet());
    EXPECT_NE(err.str().find("Interner Fehler"), std::string::npos);
    state.error.clear();
}

TEST_F(CommandLine, CadSwitchInAnyCaseWritesTheDrawing) {
    copyExample("welle.zm1");
    EXPECT_EQ(run({"welle.zm1", "/cad1:1", "/NOGUI"}), 0) << m_err.str();
    EXPECT_EQ(written(), std::vector<std::string>{"welle.dxf"});
}

TEST_F(CommandLine, InteractiveStartsWaitForTheWindow) {
    struct Case {
        std::vector<std::string> args;
        bool window;
        std::string project;  // the name the window starts with
        std::string err;
        int exitCode = 0;
    };
    const Case cases[] = {
        {{}, true, "", ""},
        {{"test"}, false, "", "Erweiterung .zm1 muß mit angegeben werden\n", 1},   // no extension: nothing opens, a failure
        {{"test.zm1"}, true, "test.zm1", ""},
        {{"test.zm1", "/g"}, true, "test.zm1", ""},   // "/g" is not "/G": an interactive load
        {{"test", "/E"}, true, "test", ""},           // "/E" and "/G" keep the name but read nothing
        {{"test", "/G"}, true, "test", ""},
        {{"/nogui", "test.zm1"}, true, "test.zm1", ""},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.args.empty() ? std::string("(none)") : c.args[0]);
        const CommandLineResult r = start(c.args);
        EXPECT_EQ(r.openWindow, c.window);
        EXPECT_EQ(r.start.name, c.project);
        EXPECT_EQ(r.exitCode, c.exitCode);
        EXPECT_EQ(m_err.str(), c.err);
        EXPECT_EQ(m_out.str(), "");
    }
    EXPECT_TRUE(written().empty());
}

TEST_F(CommandLine, IsoLookupIsReachable) {
    EXPECT_EQ(run({"--iso", "H7", "30"}), 0);
    EXPECT_FALSE(m_out.str().empty());
}

TEST(ProjectBaseName, IsTheNameWithoutFolderDriveAndExtension) {
    const std::pair<const char*, const char*> cases[] = {
        {"c:\\work\\test.zm1", "test"}, {"work/test.zm1", "test"}, {"test.zm1", "test"},   {"test", "test"},
        {"a.b.zm1", "a.b"},             {"dir.v2/test", "test"},   {"d:test.zm1", "test"},
        {"/tmp/v1.2/welle", "welle"},   {"/tmp/v1.2/welle.alt", "welle"},
    };
    for (const auto& [path, base] : cases) EXPECT_EQ(projectBaseName(path), base) << path;
}

} // namespace
} // namespace zam1::test
