// A test that opens a dialog nobody answers fails within half a minute and
// names the dialog, and a script whose answers are left over fails too. Each
// scenario runs in a child process of this test program (the DISABLED_ tests
// below, which fail on purpose) and the parent checks how the child ended.
#include <QCoreApplication>
#include <QDialog>
#include <QElapsedTimer>
#include <QProcess>

#include <gtest/gtest.h>

#include "gui/platform/qt_prompter.h"
#include "tests/gui/modal_script.h"

namespace zam1 {
namespace {

using test::ModalScript;

// --- The scenarios: each fails on purpose, run only as a child. ---

TEST(ModalWatchdogScenario, DISABLED_MessageWithoutScript) {
    QtPrompter prompter;
    prompter.showNote("Eine Meldung, die niemand erwartet");
}

TEST(ModalWatchdogScenario, DISABLED_DialogAfterTheScriptRanOut) {
    ModalScript script({[](QWidget& d) { static_cast<QDialog&>(d).accept(); }});
    QDialog first;
    first.setWindowTitle(QStringLiteral("Erster Dialog"));
    EXPECT_EQ(first.exec(), QDialog::Accepted);
    QDialog second;
    second.setObjectName(QStringLiteral("ZweiterDialog"));
    second.setWindowTitle(QStringLiteral("Zweiter Dialog"));
    second.exec();
}

// The script's action on the outer dialog opens a message nobody answers; once
// that is closed the outer dialog is left without an answer as well.
TEST(ModalWatchdogScenario, DISABLED_MessageInsideAnAnsweredDialog) {
    QtPrompter prompter;
    ModalScript script({[&](QWidget&) { prompter.showError("Verschachtelte Meldung"); }});
    QDialog outer;
    outer.setWindowTitle(QStringLiteral("Aeusserer Dialog"));
    outer.exec();
}

TEST(ModalWatchdogScenario, DISABLED_AnswersLeftOver) {
    ModalScript script({[](QWidget& d) { static_cast<QDialog&>(d).accept(); },
                        [](QWidget& d) { static_cast<QDialog&>(d).accept(); }});
    QDialog only;
    only.exec();
}

// --- The parent: runs a scenario and looks at how it ended. ---

struct Scenario {
    const char* test;
    std::vector<const char*> named;  // what the output must say
};

void PrintTo(const Scenario& s, std::ostream* os) { *os << s.test; }

class UnexpectedDialog : public ::testing::TestWithParam<Scenario> {};

TEST_P(UnexpectedDialog, FailsTheTestWithinHalfAMinuteAndNamesIt) {
    const Scenario& s = GetParam();
    QProcess child;
    child.setProcessChannelMode(QProcess::MergedChannels);
    QElapsedTimer clock;
    clock.start();
    child.start(QCoreApplication::applicationFilePath(),
                {QStringLiteral("--gtest_filter=ModalWatchdogScenario.") + QLatin1String(s.test),
                 QStringLiteral("--gtest_also_run_disabled_tests")});
    ASSERT_TRUE(child.waitForStarted(10000));
    const bool ended = child.waitForFinished(60000);
    const qint64 ms = clock.elapsed();
    const std::string output = child.readAll().toStdString();
    if (!ended) child.kill();
    ASSERT_TRUE(ended) << "still running after a minute:\n" << output;
    EXPECT_EQ(child.exitStatus(), QProcess::NormalExit) << output;
    EXPECT_NE(child.exitCode(), 0) << output;
    EXPECT_NE(output.find("[  FAILED  ] ModalWatchdogScenario." + std::string(s.test)), std::string::npos)
        << output;
    for (const char* text : s.named) EXPECT_NE(output.find(text), std::string::npos) << text << "\n" << output;
    EXPECT_LT(ms, 30000) << output;
    std::printf("%s ended after %.1f s\n", s.test, static_cast<double>(ms) / 1000.0);
}

INSTANTIATE_TEST_SUITE_P(
    ModalWatchdog, UnexpectedDialog,
    ::testing::Values(
        Scenario{"DISABLED_MessageWithoutScript",
                 {"a modal dialog nobody answers", "QMessageBox", "Eine Meldung, die niemand erwartet"}},
        Scenario{"DISABLED_DialogAfterTheScriptRanOut",
                 {"a modal dialog nobody answers", "\"ZweiterDialog\" titled \"Zweiter Dialog\""}},
        Scenario{"DISABLED_MessageInsideAnAnsweredDialog",
                 {"QMessageBox", "Verschachtelte Meldung", "titled \"Aeusserer Dialog\""}},
        Scenario{"DISABLED_AnswersLeftOver", {"1 scripted dialog answer(s) never used"}}),
    [](const ::testing::TestParamInfo<Scenario>& info) {
        return std::string(info.param.test).substr(std::string("DISABLED_").size());
    });

} // namespace
} // namespace zam1
