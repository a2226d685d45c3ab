// The message file: the 14-character key rule, cause and remedy look-ups, and the
// rewriting of an explanation.
#include <gtest/gtest.h>

#include "core/session/program_state.h"
#include "core/lang/language.h"
#include "core/messages/message_file.h"
#include "core/model/calculation.h"
#include "core/model/chain.h"
#include "core/model/resolution.h"
#include "tests/model/chain_builder.h"
#include "tests/report/report_harness.h"

namespace zam1::test {
namespace {

constexpr std::string_view kNoDescription = "keine Beschreibung dieser Fehlermeldung vorhanden.";

TEST(MessageFile, KeysMatchOnTheirFirstFourteenCharacters) {
    struct Case {
        const char* line;
        const char* message;
        bool matches;
    };
    const Case cases[] = {
        {"Fehler : Massaufbau !  (a -> b)", "Fehler : Massaufbau !  (3 -> 7)", true},
        {"Fehler : Massa", "Fehler : Massaufbau !  (3 -> 7)", true},
        {"Fehler : Mass", "Fehler : Massaufbau !", false},   // shorter texts compare whole
        {"Toleranz", "Toleranz", true},
        {"toleranz = 0 ? !", "Toleranz = 0 ? !", false},      // case counts
        {"", "Undefinierter Abstand !", false},
        {"", "", true},
    };
    for (const Case& c : cases) {
        EXPECT_EQ(messageKeyMatches(c.line, c.message), c.matches) << c.line << " / " << c.message;
    }
}

TEST(MessageFile, CauseAndRemedyComeFromTheLinesAfterTheFirstMatchingKey) {
    TempFolder folder;
    writeBytes(folder.file("zam1.err"),
               "Undefinierter Abstand !\r\nU1\r\nA1\r\n"
               "Fehler : Massaufbau !  (1 -> 2)\nU2\nA2\n"   // LF alone is read as well
               "Fehler : Massaufbau !  (3 -> 4)\r\nU3\r\nA3\r\n"
               "Toleranz = 0 ? !\r\nU4");                     // the remedy line is missing
    const MessageFile file(messageFilePath(folder.path()));
    ASSERT_TRUE(file.exists());
    struct Case {
        const char* message;
        const char* cause;
        const char* remedy;
    };
    const Case cases[] = {
        {"Undefinierter Abstand !", "U1", "A1"},
        {"Fehler : Massaufbau !  (3 -> 4)", "U2", "A2"},   // the first of two alike entries wins
        {"Toleranz = 0 ? !", "U4", ""},
        {"Ob.Tol. < Unt.Tol. (5)", "keine Beschreibung dieser Fehlermeldung vorhanden.", ""},
        {"U1", "A1", "Fehler : Massaufbau !  (1 -> 2)"},  // any line can be a key
    };
    for (const Case& c : cases) {
        const MessageExplanation e = file.explain(c.message, kNoDescription);
        EXPECT_EQ(e.cause, c.cause) << c.message;
        EXPECT_EQ(e.remedy, c.remedy) << c.message;
    }

    MessageList list;
    list.add("Schrott");
    list.add("Undefinierter Abstand !");
    const std::string path = messageFilePath(folder.path());
    EXPECT_EQ(messageCause(list, 0, path, kNoDescription), kNoDescription);
    EXPECT_EQ(messageRemedy(list, 0, path), "");
    EXPECT_EQ(messageCause(list, 1, path, kNoDescription), "U1");
    EXPECT_EQ(messageRemedy(list, 1, path), "A1");
    // Without a file there is nothing to say at all.
    EXPECT_EQ(messageCause(list, 1, folder.file("fehlt/zam1.err"), kNoDescription), "");
    EXPECT_EQ(messageRemedy(list, 1, folder.file("fehlt/zam1.err")), "");
}

struct SaveFixture : ::testing::Test {
    TempFolder plt;
    TempFolder temp;
    TestPrompter prompter;
    ErrorFlag error;

    bool save(const char* key, const char* cause, const char* remedy) {
        return saveExplanation(plt.path(), temp.path(), key, cause, remedy, prompter, error);
    }
    std::string file() const { return readBytes(plt.file("zam1.err")); }
};

TEST_F(SaveFixture, NewExplanationsGoFirstAndTheOldOnesStayBehind) {
    writeBytes(plt.file("zam1.err"), "Undefinierter Abstand !\r\nalt U\r\nalt A\r\nToleranz = 0 ? !\r\nT U\r\nT A\r\n");
    ASSERT_TRUE(save("Undefinierter Abstand !", "neu U", "neu A"));
    ASSERT_TRUE(save("Undefinierter Abstand !", "neuer U", "neuer A"));
    EXPECT_EQ(file(),
              "Undefinierter Abstand !\r\nneuer U\r\nneuer A\r\nneu U\r\nneu A\r\nalt U\r\nalt A\r\n"
              "Toleranz = 0 ? !\r\nT U\r\nT A\r\n");
    const MessageExplanation e = MessageFile(plt.file("zam1.err")).explain("Undefinierter Abstand !", kNoDescription);
    EXPECT_EQ(e.cause, "neuer U");
    EXPECT_FALSE(exists(temp.file("zam1.err")));
    EXPECT_FALSE(error.isSet());
}

TEST_F(SaveFixture, LineBreaksInAnExplanationCannotShiftTheEntries) {
    writeBytes(plt.file("zam1.err"), "Undefinierter Abstand !\r\nU\r\nA\r\nToleranz = 0 ? !\r\nT U\r\nT A\r\n");
    ASSERT_TRUE(save("Undefinierter Abstand !", "erste Zeile\r\nzweite Zeile", "Abhilfe\nmehrzeilig"));
    const MessageFile file(plt.file("zam1.err"));
    EXPECT_EQ(file.explain("Undefinierter Abstand !", kNoDescription).cause, "erste Zeile  zweite Zeile");
    EXPECT_EQ(file.explain("Undefinierter Abstand !", kNoDescription).remedy, "Abhilfe mehrzeilig");
    EXPECT_EQ(file.explain("Toleranz = 0 ? !", kNoDescription).cause, "T U");
}

TEST_F(SaveFixture, NothingIsSavedWithoutTheKeyOrTheFile) {
    writeBytes(plt.file("zam1.err"), "Undefinierter Abstand !\r\nU\r\nA\r\n");
    EXPECT_FALSE(save("Unbekannt", "x", "y"));
    EXPECT_EQ(prompter.errors(), std::vector<std::string>{"Unbekannt not found."});
    EXPECT_EQ(file(), "Undefinierter Abstand !\r\nU\r\nA\r\n");

    std::filesystem::remove(plt.file("zam1.err"));
    EXPECT_FALSE(save("Undefinierter Abstand !", "x", "y"));
    EXPECT_TRUE(error.isSet());
    EXPECT_EQ(prompter.errors().back(), "Datei " + plt.file("zam1.err") + " nicht gefunden oder kein Zugriffsrecht !");
    EXPECT_FALSE(exists(plt.file("zam1.err")));

    // Source and target the same file: nothing to do.
    writeBytes(plt.file("zam1.err"), "Undefinierter Abstand !\r\nU\r\nA\r\n");
    EXPECT_FALSE(saveExplanation(plt.path(), plt.path() + "/", "Undefinierter Abstand !", "x", "y", prompter, error));
    EXPECT_EQ(file(), "Undefinierter Abstand !\r\nU\r\nA\r\n");
}

// Every message the calculation can put into the list has its explanation in the
// message file that comes with the program, in every report language.
TEST(MessageFile, ExampleFileExplainsEveryCalculationMessage) {
    Chain chain;
    fill(chain, {{0, true, 10, -0.1L, 0.1L}, {2, true, 5, 0.1L, -0.1L}, {0, true, 5, 0, 0}});
    deriveElementValues(chain);                    // inverted tolerance, broken tree
    resolveDistance(chain, 1, 1);                  // no distance
    chain.productionSigma = 0;
    probabilityTables(chain, {});                  // no sigma
    resolveDistance(chain, 0, 3);                  // no tolerance
    for (const int language : {kGerman, kEnglish, kFrench}) {
        LanguageTexts t;
        loadLanguage(t, language);
        checkTolerance(chain, t.report.tolerance); // zero tolerance, in each language's word
    }
    const MessageFile file(std::string(ZAM1_SOURCE_DIR) + "/examples/zam1.err");
    ASSERT_TRUE(file.exists());
    ASSERT_EQ(chain.messages.count(), 7);
    for (int i = 0; i < chain.messages.count(); ++i) {
        const MessageExplanation e = file.explain(chain.messages.at(i), kNoDescription);
        EXPECT_NE(e.cause, kNoDescription) << chain.messages.at(i);
        EXPECT_FALSE(e.remedy.empty()) << chain.messages.at(i);
    }
}

} // namespace
} // namespace zam1::test
