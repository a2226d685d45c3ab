#include <gtest/gtest.h>

#include <clocale>
#include <filesystem>

#include "core/session/program_state.h"
#include "core/files/project_file.h"
#include "core/platform/file_io.h"
#include "tests/files/sample_project.h"
#include "tests/support/scripted.h"

namespace zam1 {
namespace {

std::string dashes(int n) { return std::string(static_cast<std::size_t>(n), '-'); }

std::string lines(std::initializer_list<std::string> list) {
    std::string out;
    for (const std::string& l : list) out += l + "\r\n";
    return out;
}

ProjectFileOptions options(NumberFormat format = {}) { return {format, "tester"}; }

TEST(ProjectWriter, EmptyProjectLayout) {
    Chain chain;
    const std::string slot = lines({"", "", dashes(14)});
    const std::string expected =
        lines({dashes(65), "ZAM1 - Toleranzrechnung   #Projektdatei", "Version 11.1    ZAM1 Projekt",
               "Benutzer: tester", dashes(65), "", "", "", "0", "Elements", dashes(8), "Closing Dimensions", "0",
               dashes(18), "3.0000000", "\x8ENDERUNGEN", "0", dashes(20), "||||||0||", "", "", "", "", "Dokumente",
               "5", dashes(20)}) +
        slot + slot + slot + slot + slot + lines({"", "", "", "3"});
    EXPECT_EQ(projectFileText(chain, ProjectTexts{}, Documentation{}, options()), expected);
}

TEST(ProjectWriter, ElementAndClosingLines) {
    Chain chain;
    chain.setElementCount(1);
    Element& e = chain.element(1);
    e.predecessor = 0;
    e.positive = 0;
    e.distance = 40;
    e.upperDev = 0;
    e.lowerDev = -0.05L;
    e.isoLetters = "H";
    e.isoGrade = 7;
    e.text = "Bohrung";
    e.remark = "Info 1";
    chain.setClosingCount(1);
    chain.closing(1) = {0, 1, "Spalt", "wichtig"};
    chain.productionSigma = 3;
    Documentation docs;
    docs.changeCount = 1;
    docs.changes[0] = {"A1", "01.02.2026", "MK", "eins\r\nzwei\rdrei\nvier"};
    docs.drawing.textRowCount = 1;
    docs.drawing.textRows[0] = {12.3456L, 0.05L, 2500, -3, "x|y"};
    docs.drawing.approvalName = "a|b";

    const std::string text = projectFileText(chain, ProjectTexts{}, docs, options());
    const std::string elementBlock =
        lines({"1", "Elements", dashes(8), "0", "-", "40.0000000", "0", "-0.0500000", "H", "7", "Bohrung", dashes(11)});
    EXPECT_NE(text.find(elementBlock), std::string::npos);
    EXPECT_NE(text.find(lines({"Closing Dimensions", "1", dashes(18), "0", "1", "Spalt", "wichtig", "----------- "})),
              std::string::npos)
        << "a closing-dimension separator ends in a blank";
    EXPECT_NE(text.find(lines({"A1", "01.02.2026", "MK", "eins|zwei|drei|vier", dashes(14)})), std::string::npos)
        << "every line break of a description becomes one bar";
    EXPECT_NE(text.find("\r\n|||||a b|1||\r\n"), std::string::npos) << "a bar inside a field would shift the fields";
    EXPECT_NE(text.find("\r\n12.35|0.05|2500|-3|x y||\r\n"), std::string::npos);
    EXPECT_NE(text.find("\r\nInfo 1\r\n3\r\n"), std::string::npos) << "remarks, then the decimals";
}

TEST(ProjectWriter, CommaSettingAndGermanLocale) {
    test::SampleProject p = test::sampleProject(3, 2, 1, 1);
    const std::string point = projectFileText(*p.chain, p.texts, p.docs, options({3, false}));
    const std::string comma = projectFileText(*p.chain, p.texts, p.docs, options({3, true}));
    EXPECT_NE(comma.find("\r\n12,6250000\r\n"), std::string::npos);
    EXPECT_EQ(comma.find("12.6250000"), std::string::npos);
    if (std::setlocale(LC_ALL, "de_DE.UTF-8") != nullptr) {
        EXPECT_EQ(projectFileText(*p.chain, p.texts, p.docs, options({3, false})), point);
        std::setlocale(LC_ALL, "C");
    }
}

TEST(ProjectWriter, FailedSaveShowsTheErrorAndLeavesNoFile) {
    namespace fs = std::filesystem;
    const fs::path dir = fs::temp_directory_path() / ("zam1-writer-" + std::to_string(::getpid()));
    fs::create_directories(dir);
    const std::string blocker = (dir / "not-a-folder").string();
    ASSERT_EQ(writeFileSafely(blocker, std::string_view("x")), kIoOk);
    test::TestPrompter prompter;
    ErrorFlag error;
    Chain chain;
    EXPECT_FALSE(writeProjectFile(blocker + "/p.zm1", chain, {}, {}, options(), prompter, error));
    EXPECT_TRUE(error.isSet());
    ASSERT_EQ(prompter.errors().size(), 1u);
    EXPECT_NE(prompter.errors()[0].find("p.zm1"), std::string::npos);

    const std::string good = (dir / "p.zm1").string();
    error.clear();
    EXPECT_TRUE(writeProjectFile(good, chain, {}, {}, options(), prompter, error));
    EXPECT_FALSE(error.isSet());
    EXPECT_EQ(prompter.log().back(), "status: " + good + " gespeichert");
    fs::remove_all(dir);
}

} // namespace
} // namespace zam1
