// Numbers a batch run must not trust: "--analyse" refuses a chain with a length
// beyond the limit, an upper deviation below the lower one, an ISO code that
// cannot be evaluated or an unusable sigma, naming the element; "/I" writes the
// report but says which ISO codes gave no deviations and ends with 2.
#include <gtest/gtest.h>

#include <filesystem>
#include <functional>
#include <sstream>

#include "core/app/command_line.h"
#include "core/app/menu_table.h"
#include "core/files/project_file.h"
#include "core/model/chain.h"
#include "core/platform/clock.h"
#include "core/records/documentation.h"
#include "core/session/program_state.h"
#include "tests/app/batch_run.h"
#include "tests/app/scripted_workbench.h"
#include "tests/model/chain_builder.h"
#include "tests/report/report_harness.h"
#include "tests/support/scripted.h"

namespace zam1::test {
namespace {

class BatchNumbers : public BatchRun {
protected:

    // A gap of two elements, changed by `change` before it is written; a sigma
    // line of its own, when given, replaces the one written (the writer's seven
    // decimals cannot hold 1e-300, a file written by hand can).
    void project(const std::function<void(Chain&)>& change, const std::string& sigmaLine = {}) {
        Chain chain;
        fill(chain, {{0, true, 30, 0.1L, -0.1L}, {0, true, 29.8L, 0.1L, -0.1L}});
        chain.setClosingCount(1);
        chain.closing(1) = {2, 1, "Spalt", ""};
        change(chain);
        std::string text = projectFileText(chain, ProjectTexts{}, Documentation{}, {});
        if (!sigmaLine.empty()) {
            const std::size_t at = text.find("\r\n3.0000000\r\n");
            ASSERT_NE(at, std::string::npos);
            text.replace(at + 2, 9, sigmaLine);
        }
        writeBytes(m_folder.file("p.zm1"), text);
    }
};

TEST_F(BatchNumbers, AnalyseRefusesNumbersItCannotTrustAndNamesTheElement) {
    struct Case {
        const char* name;
        std::function<void(Chain&)> change;
        const char* said;  // on standard error
        std::string sigmaLine = {};
    };
    const Case cases[] = {
        {"upper deviation 1e155", [](Chain& c) { c.element(2).upperDev = 1e155L; }, "Fehler bei Elementnummer 2"},
        {"nominal 10^26", [](Chain& c) { c.element(1).distance = 1e26L; }, "Fehler bei Elementnummer 1"},
        {"upper below lower", [](Chain& c) { c.element(2).upperDev = -0.2L; },
         "p.zm1: Element Nr. 2: ob.Tol. -0.2 < unt.Tol. -0.1 !"},
        {"sigma 1e-300", [](Chain&) {}, "p.zm1: Fertigungsvorschrift Sigma 1e-300 - Gültiger Wertebereich: 0, 0.01 .. 10 !",
         "1e-300"},
        {"sigma 11", [](Chain& c) { c.productionSigma = 11; },
         "p.zm1: Fertigungsvorschrift Sigma 11 - Gültiger Wertebereich: 0, 0.01 .. 10 !"},
        {"ISO code Q7", [](Chain& c) {
             c.element(1).isoLetters = "Q";
             c.element(1).isoGrade = 7;
         },
         "p.zm1: Element Nr. 1, ISO-Tol. \"Q 7\": unbekannte Toleranzlage"},
        {"H7 at 5000 mm", [](Chain& c) {
             c.element(1).distance = 5000;
             c.element(1).isoLetters = "H";
             c.element(1).isoGrade = 7;
         },
         "p.zm1: Element Nr. 1, ISO-Tol. \"H 7\": "},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.name);
        project(c.change, c.sigmaLine);
        for (const char* method : {"wc", "rss", "mc"}) {
            EXPECT_EQ(run({"p.zm1", "--analyse", "--method", method, "--samples", "1000"}), 1) << method;
            EXPECT_NE(m_err.str().find(c.said), std::string::npos) << m_err.str();
            EXPECT_EQ(m_out.str(), "");
        }
    }
    project([](Chain&) {});
    EXPECT_EQ(run({"p.zm1", "--analyse", "--samples", "1000"}), 0) << m_err.str();
}

TEST_F(BatchNumbers, BatchReportNamesAnIsoCodeWithoutDeviationsAndEndsWithTwo) {
    project([](Chain& c) {
        c.element(1).isoLetters = "Q";
        c.element(1).isoGrade = 7;
        c.element(1).upperDev = c.element(1).lowerDev = 0;
    });
    EXPECT_EQ(run({"p.zm1", "/I", "/NOGUI"}), 2);
    EXPECT_TRUE(std::filesystem::exists(m_folder.file("p.txt"))) << "the report is still written";
    EXPECT_EQ(m_err.str(), "Element 1, ISO-Tol. \"Q 7\" bei 30: unbekannte Toleranzlage "
                           "(ISO code cannot be evaluated at this nominal size)\n");
    project([](Chain& c) {
        c.element(1).isoLetters = "H";
        c.element(1).isoGrade = 7;
        c.element(1).upperDev = 0.021L;
    });
    EXPECT_EQ(run({"p.zm1", "/I", "/NOGUI"}), 0) << m_err.str();
}

// Edit > Sigma takes 0 to 10 as ever, but a sigma the reports would print as 0
// while it divides every standard deviation is refused and asked again.
TEST(SigmaCommand, ASigmaBetweenZeroAndAHundredthIsAskedAgain) {
    struct Case {
        std::vector<const char*> typed;
        long double stored;
        std::size_t refusals;
    };
    const Case cases[] = {{{"1e-300", "0,5"}, 0.5L, 1}, {{"0.009", "0"}, 0, 1}, {{"0.01"}, 0.01L, 0}, {{"nan", "3"}, 3, 1}};
    for (const Case& c : cases) {
        SCOPED_TRACE(c.typed.front());
        TempFolder folder;
        TestPrompter prompter;
        ProgramState state;
        state.prompter = &prompter;
        state.config.tempDirectory = folder.path();
        state.config.dataDirectory = folder.path();
        state.file.dataDirectory = folder.path();
        ScriptedWorkbench bench{state};
        MenuContext context{state, bench};
        state.chain.productionSigma = 3;
        for (const char* t : c.typed) prompter.type(t);
        runMenuItem(context, *findMenuItem("mi_editsigma"));
        EXPECT_EQ(state.chain.productionSigma, c.stored);
        EXPECT_EQ(prompter.errors().size(), c.refusals);
    }
}

} // namespace
} // namespace zam1::test
