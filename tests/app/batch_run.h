#pragma once
// A batch run in-process, the way wzam1 runs it: in a folder of its own, without
// any configuration of the user, at a fixed time. The environment it changes is
// given back afterwards, so that later tests in the same process do not look for
// a folder that is gone.

#include <gtest/gtest.h>

#include <cstdlib>
#include <filesystem>
#include <memory>
#include <optional>
#include <sstream>
#include <string>
#include <vector>

#include "core/app/command_line.h"
#include "core/platform/clock.h"
#include "core/session/program_state.h"
#include "tests/report/report_harness.h"
#include "tests/support/scripted.h"

namespace zam1::test {

class BatchRun : public ::testing::Test {
protected:
    void SetUp() override {
        m_oldCwd = std::filesystem::current_path();
        std::filesystem::current_path(m_folder.path());
        for (const char* name : {"XDG_CONFIG_HOME", "TEMP"}) {
            const char* old = std::getenv(name);
            m_oldEnvironment.emplace_back(name, old ? std::optional<std::string>(old) : std::nullopt);
            setenv(name, m_folder.path().c_str(), 1);
        }
        m_state->clock = &m_clock;
    }
    void TearDown() override {
        std::filesystem::current_path(m_oldCwd);
        for (const auto& [name, value] : m_oldEnvironment) {
            if (value) {
                setenv(name.c_str(), value->c_str(), 1);
            } else {
                unsetenv(name.c_str());
            }
        }
    }

    CommandLineResult start(std::vector<std::string> args) {
        m_out.str({});
        m_err.str({});
        return runCommandLine(*m_state, args, m_out, m_err);
    }
    int run(std::vector<std::string> args) { return start(std::move(args)).exitCode; }

    TempFolder m_folder;
    std::ostringstream m_out;
    std::ostringstream m_err;
    std::unique_ptr<ProgramState> m_state = std::make_unique<ProgramState>();

private:
    std::filesystem::path m_oldCwd;
    std::vector<std::pair<std::string, std::optional<std::string>>> m_oldEnvironment;
    FixedClock m_clock{testTime()};
};

} // namespace zam1::test
