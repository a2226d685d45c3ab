#pragma once
// A scripted prompter whose surprises fail the running test.

#include <gtest/gtest.h>

#include "core/platform/scripted_prompter.h"

namespace zam1::test {

inline ScriptedPrompter::FailureHandler failTest() {
    return [](const std::string& why) { ADD_FAILURE() << "prompter: " << why; };
}

// A ScriptedPrompter that reports an unexpected prompt and unused answers as test failures.
class TestPrompter : public ScriptedPrompter {
public:
    TestPrompter() : ScriptedPrompter(failTest()) {}
};

} // namespace zam1::test
