// The loop over a calculation's messages: the note when there are none, the
// starting choice by help level, stepping on after each explanation, stopping,
// and saving an edited explanation however the dialog was closed.
#include <gtest/gtest.h>

#include <deque>

#include "core/lang/language.h"
#include "core/messages/message_display.h"
#include "core/messages/message_file.h"
#include "core/model/records.h"
#include "core/platform/error_flag.h"
#include "tests/report/report_harness.h"

namespace zam1::test {
namespace {

// Records what it was shown and answers with the queued edits (unchanged when none).
class FakeView final : public ExplanationView {
public:
    ExplanationEdit show(std::string_view message, std::string_view cause, std::string_view remedy) override {
        shown.push_back(std::string(message) + " | " + std::string(cause) + " | " + std::string(remedy));
        if (answers.empty()) return {std::string(cause), std::string(remedy), false, false};
        ExplanationEdit e = answers.front();
        answers.pop_front();
        return e;
    }
    std::vector<std::string> shown;
    std::deque<ExplanationEdit> answers;
};

struct Loop {
    TempFolder folder;
    LanguageTexts texts;
    TestPrompter prompter;
    FakeView view;
    ErrorFlag error;
    MessageList messages;
    Loop() {
        std::filesystem::create_directory(folder.file("tmp"));
        writeBytes(folder.file("zam1.err"), "Erste Meldung\r\nU1\r\nA1\r\nZweite Meldung\r\nU2\r\nA2\r\nDritte Meldung\r\nU3\r\nA3\r\n");
        for (const char* m : {"Erste Meldung", "Zweite Meldung", "Dritte Meldung"}) messages.add(m);
    }
    MessageDisplay display(int helpLevel = 1, bool noGui = false) {
        return {texts.main, prompter, view, error, folder.path(), folder.path() + "/tmp", helpLevel, noGui};
    }
};

TEST(MessageDisplay, NoMessagesGiveTheNoteAndNoGuiGivesNothing) {
    Loop l;
    showCalculationMessages(MessageList{}, l.display());
    EXPECT_EQ(l.prompter.log(), std::vector<std::string>{"note: Berechnung erfolgreich ohne Fehlermeldungen"});
    Loop quiet;
    showCalculationMessages(quiet.messages, quiet.display(1, true));
    showCalculationMessages(MessageList{}, quiet.display(1, true));
    EXPECT_TRUE(quiet.prompter.log().empty());
}

TEST(MessageDisplay, EachExplanationIsFollowedByTheNextMessage) {
    struct Row {
        const char* name;
        int helpLevel;
        std::vector<int> choices;       // the answers to the choice prompts; 0 cancels
        std::vector<int> preselected;   // what each prompt offered first
        std::vector<std::string> shown; // the messages explained
    };
    const Row rows[] = {
        {"help level 1 starts on Weiter/zurück, 2 then 3", 1, {2, 3}, {4, 3}, {"Zweite Meldung", "Dritte Meldung"}},
        {"help level 2 starts on the first", 2, {1, 4}, {1, 2}, {"Erste Meldung"}},
        {"cancel ends the loop", 2, {0}, {1}, {}},
        {"Weiter/zurück ends the loop", 1, {4}, {4}, {}},
    };
    for (const Row& row : rows) {
        SCOPED_TRACE(row.name);
        Loop l;
        for (const int c : row.choices) {
            if (c == 0) {
                l.prompter.cancel(ScriptedPrompter::Kind::Choice);
            } else {
                l.prompter.choose(c);
            }
        }
        showCalculationMessages(l.messages, l.display(row.helpLevel));
        for (const std::string& entry : l.prompter.log()) {
            EXPECT_EQ(entry.rfind("choice: Berechnungsmodul meldet Warnungen oder Fehler", 0), 0u) << entry;
            EXPECT_NE(entry.find("| Erste Meldung | Zweite Meldung | Dritte Meldung | Weiter/zurück..."), std::string::npos);
        }
        EXPECT_EQ(l.prompter.offeredChoices(), row.preselected);
        std::vector<std::string> shown;
        for (const std::string& s : l.view.shown) shown.push_back(s.substr(0, s.find(" | ")));
        EXPECT_EQ(shown, row.shown);
    }
}

TEST(MessageDisplay, EditedExplanationsAreSavedAfterTheQuestionHoweverTheDialogCloses) {
    struct Row {
        const char* name;
        bool cancelled;
        bool save;
        const char* causeAfter;
    };
    for (const Row& row : {Row{"OK, save", false, true, "neu"}, Row{"closed, save", true, true, "neu"},
                           Row{"OK, do not save", false, false, "U2"}}) {
        SCOPED_TRACE(row.name);
        Loop l;
        l.view.answers.push_back({"neu", "besser", true, row.cancelled});
        l.prompter.yesNo(row.save);
        EXPECT_EQ(explainMessage(l.messages, 1, l.display()), !row.cancelled);
        EXPECT_EQ(l.view.shown, std::vector<std::string>{"Zweite Meldung | U2 | A2"});
        EXPECT_EQ(MessageFile(messageFilePath(l.folder.path())).explain("Zweite Meldung", "").cause, row.causeAfter);
    }
    // Unchanged texts ask nothing; an unknown message gets the note instead of the dialog.
    Loop l;
    EXPECT_TRUE(explainMessage(l.messages, 0, l.display()));
    MessageList unknown;
    unknown.add("Unbekannt");
    EXPECT_TRUE(explainMessage(unknown, 0, l.display()));
    EXPECT_EQ(l.prompter.log(), std::vector<std::string>{"note: keine Beschreibung dieser Fehlermeldung vorhanden."});
}

} // namespace
} // namespace zam1::test
