#pragma once
// The example project of the repository, read the way the program reads it, for
// golden reports.

#include <gtest/gtest.h>

#include <memory>
#include <string>

#include "core/app/report_setup.h"
#include "core/files/project_file.h"
#include "core/model/chain.h"
#include "core/records/documentation.h"
#include "tests/report/report_harness.h"

namespace zam1::test {

inline const std::string kExamplePath = "examples/getriebewelle.zm1";

struct ExampleProject {
    std::unique_ptr<Chain> chain = std::make_unique<Chain>();
    ProjectTexts texts;
    Documentation docs;
};

// Reads the example into a fresh project and sets the harness's heading to it.
inline ExampleProject loadExample(ReportHarness& h) {
    ExampleProject p;
    const std::string path = std::string(ZAM1_SOURCE_DIR) + "/" + kExamplePath;
    if (!readProjectFile(path, *p.chain, p.texts, p.docs, "15.03.2024", h.prompter, h.error)) {
        ADD_FAILURE() << "example project not readable";
    }
    h.heading = projectHeading(p.texts, kExamplePath, true);
    return p;
}

} // namespace zam1::test
