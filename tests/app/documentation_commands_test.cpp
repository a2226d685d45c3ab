// The Documentation menu without a window: the 25-record limit, a cancelled new
// change taking its record back, a deleted record's texts coming back with
// today's date, the drawing information's text rows, and starting documents.
#include <gtest/gtest.h>

#include <deque>
#include <memory>

#include "core/app/documentation_commands.h"
#include "core/platform/clock.h"
#include "core/platform/desktop.h"
#include "core/session/program_state.h"
#include "tests/report/report_harness.h"

namespace zam1::test {
namespace {

class FakeDialogs final : public DocumentationDialogs {
public:
    std::optional<ChangeForm> editChange(int number, const ChangeForm& form, std::string_view today) override {
        seen.push_back(std::to_string(number) + ": " + form.changeId + " " + form.changeDate + " (" + std::string(today) + ")");
        if (changes.empty()) return std::nullopt;
        auto answer = changes.front();
        changes.pop_front();
        return answer;
    }
    std::optional<DrawingInfoForm> editDrawingInfo(const DrawingInfoForm& form, std::string_view, std::string_view) override {
        shownInfo = form;
        return info;
    }
    std::optional<std::array<DocumentSlotForm, kDocumentSlots>> editDocumentSlots(
        const std::array<DocumentSlotForm, kDocumentSlots>&) override {
        return slots;
    }
    std::deque<std::optional<ChangeForm>> changes;
    std::vector<std::string> seen;
    std::optional<DrawingInfoForm> info;
    DrawingInfoForm shownInfo;
    std::optional<std::array<DocumentSlotForm, kDocumentSlots>> slots;
};

// Keeps the program and its arguments apart; `starts` says whether one starts.
class ProgramDesktop final : public Desktop {
public:
    explicit ProgramDesktop(bool starts) : m_starts(starts) {}
    bool showTextFile(const std::string&, std::string_view) override { return true; }
    bool printTextFile(const std::string&) override { return true; }
    bool startProgram(const std::string& p, const std::vector<std::string>& a) override {
        program = p;
        arguments = a;
        return m_starts;
    }
    bool openInBrowser(const std::string&) override { return true; }
    bool copyToClipboard(std::string_view) override { return true; }
    void showGraphicsWindow() override {}
    std::string program;
    std::vector<std::string> arguments;

private:
    bool m_starts;
};

struct Session {
    TempFolder folder;
    TestPrompter prompter;
    HeadlessDesktop desktop;
    FixedClock clock{testTime()};
    std::unique_ptr<ProgramState> state = std::make_unique<ProgramState>();
    FakeDialogs dialogs;
    Session() {
        state->prompter = &prompter;
        state->desktop = &desktop;
        state->clock = &clock;
        state->config.tempDirectory = folder.path();
        startDocumentation(state->documentation, "01.01.2024");
    }
    int listings() const {
        int n = 0;
        for (const std::string& entry : desktop.log()) n += entry.rfind("show ", 0) == 0 ? 1 : 0;
        return n;
    }
};

TEST(DocumentationCommands, ChangeRecordsKeepTheirLimitAndACancelLeavesNoRecord) {
    Session s;
    Documentation& docs = s.state->documentation;
    // OK stores the fields cut to their capacities and shows the listing.
    s.dialogs.changes.push_back(ChangeForm{std::string(30, 'A'), "15.03.2024", "abcdefgh", "neu"});
    EXPECT_TRUE(newChange(*s.state, s.dialogs));
    EXPECT_EQ(docs.changeCount, 1);
    EXPECT_EQ(docs.changes[0].changeId.str(), std::string(20, 'A'));
    EXPECT_EQ(docs.changes[0].changeEditor.str(), "abcde");
    EXPECT_EQ(s.listings(), 1);
    // Cancel takes the new record back.
    EXPECT_FALSE(newChange(*s.state, s.dialogs));
    EXPECT_EQ(docs.changeCount, 1);
    EXPECT_TRUE(s.state->error.isSet());
    // A deleted record's texts come back with today's date.
    EXPECT_TRUE(deleteChange(*s.state));
    EXPECT_FALSE(deleteChange(*s.state));
    EXPECT_EQ(docs.changeCount, 0);
    s.dialogs.seen.clear();
    s.dialogs.changes.push_back(ChangeForm{"wieder", "15.03.2024", "", ""});
    EXPECT_TRUE(newChange(*s.state, s.dialogs));
    EXPECT_EQ(s.dialogs.seen, std::vector<std::string>{"1: " + std::string(20, 'A') + " 15.03.2024 (15.03.2024)"});
    // The 26th is refused and changes nothing.
    docs.changeCount = kMaxChanges;
    EXPECT_FALSE(newChange(*s.state, s.dialogs));
    EXPECT_EQ(docs.changeCount, kMaxChanges);
    EXPECT_EQ(s.prompter.errors(), std::vector<std::string>{"Max. Änderungen = 25 !"});
    // Modify edits the last record only; without records it does nothing.
    s.dialogs.changes.push_back(ChangeForm{"letzte", "x", "y", "z"});
    EXPECT_TRUE(modifyChange(*s.state, s.dialogs));
    EXPECT_EQ(docs.changes[kMaxChanges - 1].changeId.str(), "letzte");
    docs.changeCount = 0;
    EXPECT_FALSE(modifyChange(*s.state, s.dialogs));
}

TEST(DocumentationCommands, TextRowsAreKeptUpToTheLastWithAText) {
    struct Row {
        const char* name;
        std::vector<const char*> texts;  // rows 1.. as typed
        int count;
    };
    for (const Row& row : {Row{"all empty keeps row 1", {}, 1}, Row{"three rows", {"a", "b", "c"}, 3},
                           Row{"a gap is kept, not the text after it lost", {"a", "b", "c", "", "e"}, 5},
                           Row{"blanks are empty", {"a", "   "}, 1}}) {
        SCOPED_TRACE(row.name);
        Session s;
        DrawingInfoForm form;
        form.replaces = "ZN-0815-ALT-1234567";
        for (std::size_t i = 0; i < row.texts.size(); ++i) form.rows[i] = {"10", "20,5", "3.5", "x", row.texts[i]};
        s.dialogs.info = form;
        EXPECT_TRUE(editDrawingInfo(*s.state, s.dialogs));
        const DrawingInfo& info = s.state->documentation.drawing;
        EXPECT_EQ(info.textRowCount, row.count);
        EXPECT_EQ(info.replaces.str(), "ZN-0815-ALT-123");
        if (!row.texts.empty()) {
            EXPECT_EQ(info.textRows[0].y, 20.5L);
            EXPECT_EQ(info.textRows[0].phi, 0);  // not a number
        }
    }
    Session cancelled;
    EXPECT_FALSE(editDrawingInfo(*cancelled.state, cancelled.dialogs));
    EXPECT_TRUE(cancelled.state->error.isSet());
    EXPECT_EQ(cancelled.state->documentation.drawing.drawnDate.str(), "01.01.2024");
}

TEST(DocumentationCommands, DocumentsStartWithoutAShellOrSayTheyCouldNot) {
    Session s;
    std::array<DocumentSlotForm, kDocumentSlots> slots{};
    slots[1] = {"/usr/bin/libreoffice", "/daten/Pr\x81" "fplan \"Welle\"; rm -rf x.ods"};  // as stored
    s.dialogs.slots = slots;
    EXPECT_TRUE(editDocumentSetup(*s.state, s.dialogs));
    ProgramDesktop starts(true);
    s.state->desktop = &starts;
    EXPECT_TRUE(openDocument(*s.state, 2));
    EXPECT_EQ(starts.program, "/usr/bin/libreoffice");
    EXPECT_EQ(starts.arguments, std::vector<std::string>{"/daten/Prüfplan \"Welle\"; rm -rf x.ods"});
    EXPECT_FALSE(openDocument(*s.state, 1));  // slot 1 has no program now
    EXPECT_FALSE(openDocument(*s.state, 9));
    ProgramDesktop none(false);
    s.state->desktop = &none;
    EXPECT_FALSE(openDocument(*s.state, 2));
    EXPECT_EQ(s.prompter.errors().size(), 3u);
    EXPECT_EQ(s.prompter.errors().back(), "Programm nicht gestartet: /usr/bin/libreoffice");
}

} // namespace
} // namespace zam1::test
