// "wzam1 project.zm1 --analyse": exit codes, the report and JSON, the sidecar
// beside the project, and arguments it refuses.
#include <gtest/gtest.h>

#include <filesystem>
#include <functional>
#include <sstream>
#include <sys/stat.h>

#include "core/app/command_line.h"
#include "core/session/program_state.h"
#include "core/files/project_file.h"
#include "core/platform/file_name_text.h"
#include "core/records/documentation.h"
#include "tests/model/chain_builder.h"
#include "tests/report/report_harness.h"

namespace zam1::test {
namespace {

// A gap: 20 +0.1/-0.1 minus 19.8 +0.1/-0.1, nominal 0.2, worst case 0 .. 0.4.
class BatchAnalysis : public ::testing::Test {
protected:
    void SetUp() override {
        Chain chain;
        fill(chain, {{0, true, 20, 0.1L, -0.1L}, {0, true, 19.8L, 0.1L, -0.1L}});
        chain.setClosingCount(1);
        chain.closing(1) = {2, 1, "Spalt", ""};
        m_project = m_folder.file("spalt.zm1");
        writeBytes(m_project, projectFileText(chain, ProjectTexts{}, Documentation{}, {}));
    }

    int run(std::vector<std::string> options) {
        options.insert(options.begin(), {m_project, "--analyse"});
        m_out.str({});
        m_err.str({});
        return runCommandLine(program(), options, m_out, m_err).exitCode;
    }
    void sidecar(const std::string& json) { writeBytes(m_project + ".json", json); }

    TempFolder m_folder;
    std::string m_project;
    std::ostringstream m_out;
    std::ostringstream m_err;
};

TEST_F(BatchAnalysis, ExitCodeSaysWhetherTheLimitsHold) {
    struct Case {
        const char* limits;
        std::vector<std::string> options;
        int exit;
    };
    const Case cases[] = {
        {"", {}, 0},                                                 // no limits: nothing to violate
        {R"("lower": 0.05, "upper": 0.35)", {}, 0},                  // statistical ±0.1414 holds
        {R"("lower": 0.05, "upper": 0.35)", {"--method", "wc"}, 3},  // worst case 0 .. 0.4 does not
        {R"("lower": 0.05, "upper": 0.35)", {"--method", "mc", "--samples", "20000"}, 0},
        {R"("lower": 0.1, "upper": 0.3)", {"--method", "rss"}, 3},
    };
    for (const Case& c : cases) {
        sidecar(std::string(R"({"closings": [{"closing": 1, )") + (*c.limits ? c.limits : R"("upper": null)") + "}]}");
        EXPECT_EQ(run(c.options), c.exit) << c.limits << m_err.str();
        EXPECT_EQ(m_err.str(), "");
        EXPECT_EQ(m_out.str().rfind("Tolerance analysis  spalt", 0), 0u) << m_out.str();
        EXPECT_NE(m_out.str().find("Closing dimension 1  Spalt  (2 -> 1)"), std::string::npos);
    }
}

TEST_F(BatchAnalysis, JsonOnStandardOutputOrIntoAFileIsTheSameEveryRun) {
    // The uniform element widens the statistical spread to ±0.2 (s = 0.0667): limits beyond it.
    sidecar(R"({"elements": [{"element": 1, "distribution": "uniform"}],
                "closings": [{"closing": 1, "lower": -0.05, "upper": 0.45}]})");
    ASSERT_EQ(run({"--json", "-", "--samples", "3000", "--seed", "5"}), 0) << m_err.str();
    const std::string json = m_out.str();
    EXPECT_EQ(json.rfind("{\n  \"format\": 1,\n  \"project\": \"spalt\",", 0), 0u) << json;
    EXPECT_NE(json.find("\"samples\": 3000"), std::string::npos);
    EXPECT_NE(json.find("\"distribution\": \"uniform\""), std::string::npos);
    ASSERT_EQ(run({"--seed", "5", "--samples", "3000", "--json", m_folder.file("out.json")}), 0);
    EXPECT_EQ(readBytes(m_folder.file("out.json")), json);
    EXPECT_NE(m_out.str().find("Closing dimension 1"), std::string::npos);  // the text report still on standard output
    ASSERT_EQ(run({"--json", "-", "--samples", "3000", "--seed", "6"}), 0);
    EXPECT_NE(m_out.str(), json);
}

TEST_F(BatchAnalysis, UnusableArgumentsEndWithTwoAndAUsageLine) {
    const std::vector<std::string> cases[] = {
        {"--samples", "0"}, {"--samples", "100000001"}, {"--samples", "many"}, {"--seed", "-3"},
        {"--method", "taguchi"}, {"--json"}, {"--fast", "yes"}, {"--seed", "18446744073709551616"},
        {"--seed", " 5"},
    };
    for (const auto& options : cases) {
        EXPECT_EQ(run(options), 2) << options[0];
        EXPECT_NE(m_err.str().find("usage: wzam1 project.zm1 --analyse"), std::string::npos) << m_err.str();
        EXPECT_EQ(m_out.str(), "");
    }
}

// A true reject rate of 17 % below the lower limit (0.2 - 0.955 s, s = 0.0471):
// one or three samples must never let it pass, whatever the seed; with enough
// samples it fails.
TEST_F(BatchAnalysis, ASampleTooSmallNeverHolds) {
    sidecar(R"({"closings": [{"closing": 1, "lower": 0.155}]})");
    for (const char* n : {"1", "3"}) {
        for (int seed = 1; seed <= 20; ++seed) {
            const int exit = run({"--method", "mc", "--samples", n, "--seed", std::to_string(seed)});
            EXPECT_TRUE(exit == 3 || exit == 4) << n << " samples, seed " << seed << ": " << exit;
            EXPECT_EQ(m_out.str().find("All required limits hold."), std::string::npos);
        }
    }
    EXPECT_EQ(run({"--method", "mc", "--samples", "20000"}), 3);
}

// Limits at ±3.18 s hold, but 100 samples cannot show it: exit 4, the report and
// the JSON say undecided and how many samples would decide; enough samples hold.
TEST_F(BatchAnalysis, UndecidedEndsWithFourAndNamesTheSamplesNeeded) {
    sidecar(R"({"closings": [{"closing": 1, "lower": 0.05, "upper": 0.35}]})");
    EXPECT_EQ(run({"--method", "mc", "--samples", "100"}), 4) << m_err.str();
    EXPECT_NE(m_out.str().find("(2 -> 1)  UNDECIDED"), std::string::npos) << m_out.str();
    EXPECT_NE(m_out.str().find("samples would decide it"), std::string::npos);
    EXPECT_NE(m_out.str().find("\nUndecided: "), std::string::npos);
    EXPECT_EQ(run({"--method", "mc", "--samples", "100", "--json", "-"}), 4);
    const std::string json = m_out.str();
    EXPECT_NE(json.find("\"verdict\": \"undecided\""), std::string::npos);
    EXPECT_NE(json.find("\"allHold\": false"), std::string::npos);
    const std::size_t at = json.find("\"samplesToDecide\": ");
    ASSERT_NE(at, std::string::npos);
    EXPECT_GT(std::stoll(json.substr(at + 19)), 2000);
    EXPECT_EQ(run({"--method", "mc", "--samples", "200000"}), 0) << m_out.str();
    EXPECT_EQ(run({"--method", "rss", "--samples", "100"}), 0);  // the exact methods are never undecided
}

// "--report FILE": the extension picks the sign-off report's format; anything
// else, or a file that cannot be made, says why, and nothing is left behind.
TEST_F(BatchAnalysis, SignoffReportIsWrittenOrRefusedWithAReason) {
    sidecar(R"({"closings": [{"closing": 1, "lower": 0.05, "upper": 0.35}]})");
    writeBytes(m_folder.file("plain"), "a file, not a folder");
    struct Case {
        std::string report;
        int exit;
        std::string message;  // on standard error; "" for none
        bool written;
    };
    const Case cases[] = {
        {m_folder.file("signoff.html"), 0, "", true},
        {m_folder.file("SIGNOFF.HTML"), 0, "", true},
        {m_folder.file("signoff.htm"), 2, "--report " + m_folder.file("signoff.htm") + ": the sign-off report is FILE.pdf or FILE.html", false},
        {m_folder.file("signoff.txt"), 2, "usage: wzam1 project.zm1 --analyse", false},
        {m_folder.file(".html"), 2, "FILE.pdf or FILE.html", false},
        {m_folder.file("plain") + "/signoff.html", 1, m_folder.file("plain") + "/signoff.html", false},
        {m_folder.file("missing") + "/signoff.html", 1, "missing/signoff.html", false},
        // In-process there is no toolkit to lay out pages.
        {m_folder.file("signoff.pdf"), 1, "only the wzam1 program writes PDF", false},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.report);
        std::error_code none;
        std::filesystem::remove(c.report, none);
        EXPECT_EQ(run({"--report", c.report}), c.exit) << m_err.str();
        if (!c.message.empty()) {
            EXPECT_NE(m_err.str().find(c.message), std::string::npos) << m_err.str();
        } else {
            EXPECT_EQ(m_err.str(), "");
        }
        EXPECT_EQ(std::filesystem::exists(c.report), c.written);
        if (c.written) {
            const std::string html = readBytes(c.report);
            EXPECT_EQ(html.rfind("<!DOCTYPE html>\n", 0), 0u);
            EXPECT_NE(html.find("Sign-off report: spalt"), std::string::npos);
            EXPECT_NE(html.find("lower 0.0500, upper 0.3500"), std::string::npos);
        }
    }
    // Beside the report, the run is the same: its text on standard output, its exit code by the verdict.
    EXPECT_EQ(run({"--method", "wc", "--report", m_folder.file("signoff.html")}), 3);
    EXPECT_NE(m_out.str().find("Closing dimension 1  Spalt"), std::string::npos);
    EXPECT_NE(readBytes(m_folder.file("signoff.html")).find("<span class=\"verdict fails\">fails</span>"),
              std::string::npos);
}

// The largest seed of 64 bits counts on the command line as in the settings file.
TEST_F(BatchAnalysis, OneSeedRangeEverywhere) {
    sidecar(R"({"monteCarlo": {"samples": 500, "seed": 18446744073709551615}})");
    ASSERT_EQ(run({"--json", "-"}), 0) << m_err.str();
    const std::string fromFile = m_out.str();
    EXPECT_NE(fromFile.find("\"seed\": 18446744073709551615"), std::string::npos);
    sidecar("{}");
    EXPECT_EQ(run({"--json", "-", "--samples", "500", "--seed", "18446744073709551615"}), 0) << m_err.str();
    EXPECT_EQ(m_out.str(), fromFile);
}

// Every element uniform: the statistical method takes their variance, so it
// judges like Monte Carlo instead of passing what the declared parts fail.
TEST_F(BatchAnalysis, DeclaredDistributionsCountUnderRss) {
    sidecar(R"({"elements": [{"element": 1, "distribution": "uniform"}, {"element": 2, "distribution": "uniform"}],
                "closings": [{"closing": 1, "lower": 0.05, "upper": 0.35}]})");
    EXPECT_EQ(run({"--method", "mc", "--samples", "100000"}), 3);
    EXPECT_EQ(run({"--method", "rss"}), 3);
    EXPECT_NE(m_out.str().find("variance: declared distributions"), std::string::npos) << m_out.str();
}

// "--analyse" with no project before it is a usage fault, not a project name.
TEST_F(BatchAnalysis, NoProjectGivesTheUsageLine) {
    const std::vector<std::string> cases[] = {{"--analyse"}, {"--analyse", "--method", "mc"}, {"--analyse", "x.zm1"}};
    for (const auto& arguments : cases) {
        m_out.str({});
        m_err.str({});
        EXPECT_EQ(runCommandLine(program(), arguments, m_out, m_err).exitCode, 2) << arguments.size();
        EXPECT_NE(m_err.str().find("usage: wzam1 project.zm1 --analyse"), std::string::npos) << m_err.str();
        EXPECT_EQ(m_err.str().find("Erweiterung"), std::string::npos) << m_err.str();
        EXPECT_EQ(m_out.str(), "");
    }
}

TEST_F(BatchAnalysis, UnreadableInputEndsWithOneAndChangesNothing) {
    const std::string project = readBytes(m_project);
    sidecar(R"({"closings": [{"closing": 1, "lower": 0.5, "upper": 0.1}]})");
    EXPECT_EQ(run({}), 1);
    EXPECT_EQ(m_err.str(), m_project + ".json: closings[0].lower: is above upper\n");
    EXPECT_EQ(m_out.str(), "");
    EXPECT_EQ(readBytes(m_project), project);
    EXPECT_EQ(readBytes(m_project + ".json"), R"({"closings": [{"closing": 1, "lower": 0.5, "upper": 0.1}]})");

    sidecar(R"({"closings": [{"closing": 7, "upper": 1}]})");
    EXPECT_EQ(run({}), 0);
    EXPECT_EQ(m_err.str(), m_project + ".json: closings[0]: the project has no closing 7; ignored\n");

    writeBytes(m_project, "kein Projekt\r\n");
    EXPECT_EQ(run({}), 1);
    EXPECT_NE(m_err.str().find("spalt.zm1"), std::string::npos);
}

// "--json FILE" naming the project or its settings file, however spelled or
// linked: refused with 2 before anything is read, both files as they were.
TEST_F(BatchAnalysis, TheJsonNeverReplacesTheProjectOrItsSettings) {
    const std::string project = readBytes(m_project);
    const std::string settings = R"({"closings": [{"closing": 1, "upper": 1}]})";
    std::filesystem::create_symlink(m_project, m_folder.file("link.zm1"));
    std::filesystem::create_hard_link(m_project, m_folder.file("hart.json"));
    std::filesystem::create_symlink(m_project + ".json", m_folder.file("zu-den-einstellungen.json"));
    const std::string outputs[] = {
        m_project, m_folder.path() + "/./spalt.zm1", m_folder.file("link.zm1"), m_folder.file("hart.json"),
        m_project + ".json", m_folder.path() + "//spalt.zm1.json", m_folder.file("zu-den-einstellungen.json"),
    };
    for (const bool withSettings : {true, false}) {
        std::filesystem::remove(m_project + ".json");
        if (withSettings) sidecar(settings);
        for (const std::string& output : outputs) {
            SCOPED_TRACE(output);
            EXPECT_EQ(run({"--json", output}), 2);
            EXPECT_NE(m_err.str().find("nichts geschrieben"), std::string::npos) << m_err.str();
            EXPECT_EQ(m_out.str(), "");
            EXPECT_EQ(readBytes(m_project), project);
            EXPECT_EQ(exists(m_project + ".json"), withSettings);
            if (withSettings) {
                EXPECT_EQ(readBytes(m_project + ".json"), settings);
            }
        }
    }
}

// Anything under the settings file's name that cannot be read as one fails the
// run: limits that were not read must not count as none.
TEST_F(BatchAnalysis, AnUnreadableSettingsFileIsNoSettingsFile) {
    const std::string settings = m_project + ".json";
    const std::function<void()> makes[] = {
        [&] { std::filesystem::create_symlink(m_folder.file("fehlt.json"), settings); },
        [&] { std::filesystem::create_directory(settings); },
        [&] { ASSERT_EQ(::mkfifo(settings.c_str(), 0600), 0); },
        [&] { writeBytes(settings, std::string((16u << 20) + 1, ' ')); },
        [&] { writeBytes(settings, std::string(60000, '[')); },
        [&] { writeBytes(settings, "{\"closings\": " + std::string(40, '[') + std::string(40, ']') + "}"); },
    };
    const char* says[] = {"cannot be read", "not a regular file", "not a regular file", "larger than 16 MiB",
                          "nested deeper than 32", "nested deeper than 32"};
    for (std::size_t i = 0; i < std::size(makes); ++i) {
        SCOPED_TRACE(says[i]);
        std::filesystem::remove_all(settings);
        makes[i]();
        EXPECT_EQ(run({}), 1);
        EXPECT_EQ(m_err.str().rfind(settings + ": ", 0), 0u) << m_err.str();
        EXPECT_NE(m_err.str().find(says[i]), std::string::npos) << m_err.str();
        EXPECT_EQ(m_out.str(), "");
    }
}

// A project whose name is not UTF-8 (Latin-1 "Maßkette"): the JSON carries the
// name converted or with a replacement character, never an abort.
TEST_F(BatchAnalysis, AProjectNameThatIsNotUtf8GivesValidJson) {
    const std::string latin = m_folder.file("Ma\xDFkette.zm1");
    std::filesystem::copy_file(m_project, latin);
    m_project = latin;
    ASSERT_EQ(run({"--json", "-"}), 0) << m_err.str();
    const std::string json = m_out.str();
    EXPECT_TRUE(json.find("\"project\": \"Ma\xEF\xBF\xBDkette\"") != std::string::npos ||
                json.find("\"project\": \"Ma\xC3\x9Fkette\"") != std::string::npos)
        << json.substr(0, 60);
    ASSERT_EQ(run({"--json", m_folder.file("out.json")}), 0) << m_err.str();
    EXPECT_EQ(readBytes(m_folder.file("out.json")), json);
}

TEST(FileNameText, BytesOfTheFileSystemBecomeUtf8) {
    struct Case {
        const char* name;
        bool latin;
        const char* utf8;
    };
    const Case cases[] = {
        {"Ma\xDFkette", false, "Ma\xEF\xBF\xBDkette"}, {"Ma\xDFkette", true, "Ma\xC3\x9Fkette"},
        {"Ma\xC3\x9Fkette", false, "Ma\xC3\x9Fkette"}, {"a\xC3", false, "a\xEF\xBF\xBD"},
        {"\xE2\x82", false, "\xEF\xBF\xBD\xEF\xBF\xBD"}, {"plain", true, "plain"},
    };
    for (const Case& c : cases) EXPECT_EQ(fileNameToUtf8(c.name, c.latin), c.utf8) << c.name;
}

} // namespace
} // namespace zam1::test

namespace zam1::test {
namespace {

TEST(BatchAnalysisHelp, LongHelpNamesTheSwitch) {
    std::ostringstream out;
    std::ostringstream err;
    EXPECT_EQ(runCommandLine(program(), {"--help"}, out, err).exitCode, 0);
    EXPECT_NE(out.str().find("wzam1 project.zm1 --analyse [--method wc|rss|mc] [--samples N] [--seed S] [--json FILE|-]"),
              std::string::npos);
}

} // namespace
} // namespace zam1::test
