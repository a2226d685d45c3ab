#include <gtest/gtest.h>

#include <vector>

#include "core/platform/batch_prompter.h"
#include "core/platform/scripted_prompter.h"
#include "tests/support/scripted.h"

namespace zam1 {
namespace {

using test::TestPrompter;

TEST(AskInteger, RangeErrorAsksAgainWithTheValueTyped) {
    TestPrompter p;
    p.type("9").type("4");
    long long value = 3;
    ASSERT_TRUE(askInteger(p, "Anzahl", value, 2, 6));
    EXPECT_EQ(value, 4);
    const std::vector<std::string> expected = {"text: Anzahl [3]", "beep", "error: Gültiger Wertebereich: 2 .. 6 !",
                                               "text: Anzahl [9]"};
    EXPECT_EQ(p.log(), expected);
}

// A typo is refused, never read as another number, and stays in the field to be
// mended; the value is the previous one until a valid text is given.
TEST(AskInteger, InvalidInputAsksAgainWithTheTextTyped) {
    TestPrompter p;
    p.type("abc").type("5");
    long long value = 3;
    ASSERT_TRUE(askInteger(p, "Anzahl", value, 8, 0));  // limits the wrong way round
    EXPECT_EQ(value, 5);
    EXPECT_EQ(p.errors(), std::vector<std::string>{"Ungültige Eingabe \"abc\" !"});
    EXPECT_EQ(p.log().back(), "text: Anzahl [abc]");
}

TEST(AskNumber, TyposAreRefusedAndShownAgainAsTyped) {
    for (const char* typo : {"1O.5", "1.2.3", "4x5", "0,5,1", "nan", "inf"}) {
        SCOPED_TRACE(typo);
        TestPrompter p;
        p.type(typo).cancel(ScriptedPrompter::Kind::Text);
        long double value = 2.5L;
        EXPECT_FALSE(askNumber(p, "Sigma", value, 0, 10));
        EXPECT_EQ(value, 2.5L);
        EXPECT_EQ(p.errors(), std::vector<std::string>{std::string("Ungültige Eingabe \"") + typo + "\" !"});
        EXPECT_EQ(p.log().back(), std::string("text: Sigma [") + typo + "]");
    }
}

TEST(AskInteger, CancelLeavesTheValue) {
    TestPrompter p;
    p.type("-1").cancel(ScriptedPrompter::Kind::Text);
    long long value = 3;
    EXPECT_FALSE(askInteger(p, "Anzahl", value, 0, 8));
    EXPECT_EQ(value, 3);
    EXPECT_EQ(p.errors(), std::vector<std::string>{"Gültiger Wertebereich: 0 .. 8 !"});
}

TEST(AskNumber, UnchangedTextKeepsTheExactValueAndCommaIsAccepted) {
    TestPrompter p;
    const long double exact = 2.123456789L;
    long double value = exact;
    p.type("2.12");  // what the prompt showed: three significant digits
    ASSERT_TRUE(askNumber(p, "Sigma", value, 0, 10));
    EXPECT_EQ(value, exact);
    p.type("11").type("x").type("4,5");
    ASSERT_TRUE(askNumber(p, "Sigma", value, 0, 10));
    EXPECT_EQ(value, 4.5L);
    EXPECT_EQ(p.errors(),
              (std::vector<std::string>{"Gültiger Wertebereich: 0 .. 10 !", "Ungültige Eingabe \"x\" !"}));
}

TEST(ScriptedPrompter, SurprisesAreFailures) {
    std::vector<std::string> failures;
    {
        ScriptedPrompter p([&](const std::string& why) { failures.push_back(why); });
        p.yesNo(true).choose(2);
        int choice = 0;
        EXPECT_FALSE(p.askChoice("Welche?", {"a", "b"}, choice)) << "a yes/no answer does not fit a choice";
        bool yes = false;
        EXPECT_TRUE(p.askYesNo("Sicher?", yes)) << "the mismatched answer is still there";
        EXPECT_TRUE(yes);
        EXPECT_FALSE(p.askYesNo("Sicher?", yes)) << "a choice is next";
        EXPECT_EQ(failures.size(), 2u);
    }  // the choice is left unused
    EXPECT_EQ(failures.size(), 3u);
    EXPECT_NE(failures.back().find("never asked for"), std::string::npos);
}

TEST(ScriptedPrompter, TypedTextIsStoredInTheOemCodePageAndCut) {
    TestPrompter p;
    p.type("Maßkette über alles");
    std::string text = "alt";
    ASSERT_TRUE(p.askText("Text", 10, text));
    EXPECT_EQ(text, "Ma\xE1kette \x81");
}

TEST(BatchPrompter, NeverBlocksAndWritesErrors) {
    std::ostringstream err;
    BatchPrompter p(err);
    int choice = 1;
    std::string text;
    bool yes = true;
    EXPECT_FALSE(p.askChoice("x", {"a"}, choice));
    EXPECT_FALSE(p.askText("x", 5, text));
    EXPECT_FALSE(p.askYesNo("x", yes));
    EXPECT_EQ(p.askYesNoCancel("x"), Answer::Cancel);
    p.showError("Datei nicht gefunden: \x84");
    EXPECT_EQ(err.str(), "Datei nicht gefunden: ä\n");
    EXPECT_EQ(p.errorCount(), 1);
}

} // namespace
} // namespace zam1
