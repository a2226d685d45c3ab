// "wzam1 project.zm1 --allocate": exit codes, the report and its JSON, that the
// project stays as it was, and arguments it refuses.
#include <gtest/gtest.h>

#include <filesystem>
#include <sstream>

#include "core/app/command_line.h"
#include "core/files/project_file.h"
#include "core/records/documentation.h"
#include "core/session/program_state.h"
#include "tests/model/chain_builder.h"
#include "tests/report/report_harness.h"

namespace zam1::test {
namespace {

// A gap: 20 ±0.1 minus 19.8 ±0.1, nominal 0.2, s = 0.0471 (Cpk 1.06 against 0.05 .. 0.35).
class BatchAllocation : public ::testing::Test {
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
        options.insert(options.begin(), {m_project, "--allocate"});
        m_out.str({});
        m_err.str({});
        return runCommandLine(program(), options, m_out, m_err).exitCode;
    }
    void sidecar(const std::string& json) { writeBytes(m_project + ".json", json); }
    bool says(const std::string& text) const { return m_out.str().find(text) != std::string::npos; }

    TempFolder m_folder;
    std::string m_project;
    std::ostringstream m_out;
    std::ostringstream m_err;
};

TEST_F(BatchAllocation, ExitCodeSaysWhetherTheTargetIsReached) {
    struct Case {
        const char* elements;
        const char* target;
        const char* method;
        int exit;
        const char* line;
    };
    const Case cases[] = {
        {"", R"("targetCpk": 1.33)", "cost", 0, "(2 -> 1)  method cost  target Cpk >= 1.33  reached"},
        {"", R"("targetCpk": 1.33)", "proportional", 0, "Every target is reached."},
        {"", R"("targetPpm": 100)", "cost", 0, "target ppm <= 100  reached"},
        // Loosening is allowed as well: a target already met gets cheaper tolerances.
        {"", R"("targetCpk": 0.5)", "cost", 0, "reached"},
        {R"({"element": 1, "minTolerance": 0.2}, {"element": 2, "minTolerance": 0.2})", R"("targetCpk": 1.33)", "cost", 3,
         "elements at their limit: 1, 2"},
        {R"({"element": 1, "fixed": true}, {"element": 2, "fixed": true})", R"("targetCpk": 1.33)", "proportional", 3,
         "elements at their limit: none"},
        // ±0.1 at 20 is ISO 2768 fine, the finest class: nothing tighter to choose.
        {"", R"("targetCpk": 1.33)", "iso", 3, "2768-f"},
        {"", R"("targetCpk": 1.0)", "iso", 0, "reached"},
    };
    for (const Case& c : cases) {
        sidecar(std::string(R"({"elements": [)") + c.elements +
                R"(], "closings": [{"closing": 1, "lower": 0.05, "upper": 0.35, )" + c.target + "}]}");
        EXPECT_EQ(run({"--method", c.method}), c.exit) << c.target << " " << c.method << m_err.str();
        EXPECT_EQ(m_out.str().rfind("Tolerance allocation  spalt", 0), 0u) << m_out.str();
        EXPECT_TRUE(says(c.line)) << c.target << " " << c.method << "\n" << m_out.str();
        EXPECT_EQ(m_err.str(), "");
    }
}

TEST_F(BatchAllocation, WritesNothingButTheJsonAskedFor) {
    sidecar(R"({"closings": [{"closing": 1, "lower": 0.05, "upper": 0.35, "targetCpk": 1.33}]})");
    const std::string project = readBytes(m_project);
    const std::string settings = readBytes(m_project + ".json");
    ASSERT_EQ(run({"--json", "-"}), 0) << m_err.str();
    const std::string json = m_out.str();
    EXPECT_EQ(json.rfind("{\n  \"format\": 1,\n  \"project\": \"spalt\",\n  \"allocations\": [", 0), 0u) << json;
    EXPECT_NE(json.find("\"target\": {\n        \"cpk\": 1.33\n      }"), std::string::npos) << json;
    ASSERT_EQ(run({"--closing", "1", "--json", m_folder.file("out.json")}), 0);
    EXPECT_EQ(readBytes(m_folder.file("out.json")), json);
    EXPECT_TRUE(says("Closing dimension 1  Spalt"));
    EXPECT_EQ(readBytes(m_project), project);
    EXPECT_EQ(readBytes(m_project + ".json"), settings);
    std::size_t files = 0;
    for ([[maybe_unused]] const auto& entry : std::filesystem::directory_iterator(m_folder.path())) ++files;
    EXPECT_EQ(files, 3u);  // the project, its settings, out.json
}

TEST_F(BatchAllocation, RefusesWhatItCannotUse) {
    struct Case {
        const char* settings;
        std::vector<std::string> options;
        int exit;
        const char* message;
    };
    const char* target = R"({"closings": [{"closing": 1, "upper": 0.35, "targetCpk": 1}]})";
    const Case cases[] = {
        {target, {"--method", "taguchi"}, 2, "--method taguchi: proportional, cost or iso"},
        {target, {"--closing", "0"}, 2, "--closing 0: a closing dimension number from 1 to 250"},
        {target, {"--closing", "2"}, 2, "--closing 2: the project has 1 closing dimension(s)"},
        {target, {"--json"}, 2, "--json needs a value"},
        {R"({"closings": [{"closing": 1, "upper": 0.35}]})", {}, 2, "no closing dimension has a target"},
        {R"({"closings": [{"closing": 1, "upper": 0.35}]})", {"--closing", "1"}, 2, "closing dimension 1 has no target"},
        {target, {"--json", "spalt.zm1.json"}, 2, ""},
        {R"({"closings": [{"closing": 1, "targetCpk": 1}]})", {}, 1,
         "closings[0].targetCpk: needs a lower or an upper limit"},
    };
    const std::filesystem::path old = std::filesystem::current_path();
    std::filesystem::current_path(m_folder.path());
    for (const Case& c : cases) {
        sidecar(c.settings);
        EXPECT_EQ(run(c.options), c.exit) << c.message;
        EXPECT_NE(m_err.str().find(c.message), std::string::npos) << m_err.str();
        EXPECT_EQ(m_out.str(), "");
        if (c.exit == 2 && c.options.size() > 0 && c.options[0] == "--method") {
            EXPECT_NE(m_err.str().find("usage: wzam1 project.zm1 --allocate"), std::string::npos);
        }
    }
    std::filesystem::current_path(old);
    m_out.str({});
    m_err.str({});
    EXPECT_EQ(runCommandLine(program(), {"--allocate", "--method", "iso"}, m_out, m_err).exitCode, 2);
    EXPECT_NE(m_err.str().find("--allocate needs the project before it"), std::string::npos) << m_err.str();
}

} // namespace
} // namespace zam1::test
