// The closing-dimension editor's loop driven through a scripted pair of dialogs.

#include <gtest/gtest.h>

#include <deque>
#include <optional>
#include <string>
#include <vector>

#include "core/editors/closing_editor.h"
#include "core/lang/language.h"
#include "core/model/chain.h"
#include "core/platform/error_flag.h"
#include "tests/support/scripted.h"

namespace zam1 {
namespace {

using Action = ClosingListAction;

// The dialogs as a user answers them: one entry per list dialog and per record
// dialog, in order; every dialog shown is logged.
class ScriptedView : public ClosingEditorView {
public:
    struct Shown {
        std::vector<std::string> lines;
        int chosenLine = 0;
    };
    struct Edited {
        int k = 0;
        ClosingRecordInput shown;
    };

    ScriptedView& list(Action action, int chosenLine = 0) {
        m_lists.push_back(ListAnswer{false, action, chosenLine});
        return *this;
    }
    ScriptedView& cancelList() {
        m_lists.push_back(ListAnswer{true, Action::Ok, 0});
        return *this;
    }
    // std::nullopt: Cancel in the record dialog.
    ScriptedView& record(std::optional<ClosingRecordInput> typed) {
        m_records.push_back(std::move(typed));
        return *this;
    }

    ListAnswer showList(const std::vector<std::string>& lines, int chosenLine) override {
        lists.push_back({lines, chosenLine});
        helpAtList.push_back(m_help);
        if (m_lists.empty()) {
            ADD_FAILURE() << "unexpected list dialog";
            return ListAnswer{true, Action::Ok, 0};
        }
        ListAnswer a = m_lists.front();
        m_lists.pop_front();
        return a;
    }
    bool editRecord(int k, ClosingRecordInput& input) override {
        edits.push_back({k, input});
        if (m_records.empty()) {
            ADD_FAILURE() << "unexpected record dialog for " << k;
            return false;
        }
        std::optional<ClosingRecordInput> typed = m_records.front();
        m_records.pop_front();
        if (!typed) return false;
        input = *typed;
        return true;
    }
    void setHelpContext(int helpContext) override { m_help = helpContext; helps.push_back(helpContext); }

    ~ScriptedView() override {
        EXPECT_TRUE(m_lists.empty()) << m_lists.size() << " list answers unused";
        EXPECT_TRUE(m_records.empty()) << m_records.size() << " record answers unused";
    }

    std::vector<Shown> lists;
    std::vector<Edited> edits;
    std::vector<int> helps;
    std::vector<int> helpAtList;

private:
    std::deque<ListAnswer> m_lists;
    std::deque<std::optional<ClosingRecordInput>> m_records;
    int m_help = 0;
};

ClosingRecordInput typed(std::string from, std::string to, std::string text, std::string remark = {}) {
    return {std::move(from), std::move(to), std::move(text), std::move(remark)};
}

class ClosingEditorTest : public ::testing::Test {
protected:
    ClosingEditorTest() {
        chain.setElementCount(5);
    }

    void withClosings(int count) {
        chain.setClosingCount(count);
        for (int k = 1; k <= count; ++k) {
            chain.closing(k).fromElement = k;
            chain.closing(k).toElement = k + 1;
            chain.closing(k).text = "S" + std::to_string(k);
        }
    }

    std::vector<std::string> texts() const {
        std::vector<std::string> out;
        for (int k = 1; k <= chain.closingCount(); ++k) out.push_back(chain.closing(k).text.str());
        return out;
    }

    ClosingEditorOutcome run() { return runClosingEditor(chain, language, prompter, error, view); }

    Chain chain;
    LanguageTexts language;
    test::TestPrompter prompter;
    ErrorFlag error;
    ScriptedView view;
};

TEST(ClosingListText, FormatsNumbersWithoutBlanksAndCutsTo65) {
    Chain chain;
    chain.setClosingCount(12);
    chain.closing(12).fromElement = 3;
    chain.closing(12).toElement = 117;
    chain.closing(12).text = "Spalt";
    chain.closing(12).remark = "Lager";
    EXPECT_EQ(closingListText(chain, 12), "12: 3 -> 117 : Spalt  Lager");
    chain.closing(12).text = std::string(17, 'T');
    chain.closing(12).remark = std::string(50, 'R');
    const std::string line = closingListText(chain, 12);
    EXPECT_EQ(line.size(), 65u);
    EXPECT_EQ(line.substr(0, 21), "12: 3 -> 117 : TTTTTT");
}

TEST(ClosingRecordInputTest, NonIntegersBecomeZeroAndTextsAreCut) {
    struct Row {
        const char* name;
        const char* typed;
        int expected;
    };
    const Row rows[] = {
        {"plain", "17", 17}, {"blanks", " 4 ", 4}, {"letters", "4a", 0}, {"empty", "", 0},
        {"decimal", "2.5", 0}, {"negative", "-1", -1}, {"beyond 32 bits", "99999999999", 0},
    };
    for (const Row& row : rows) {
        SCOPED_TRACE(row.name);
        ClosingDimension c = Chain::clearedClosing(1);
        applyClosingRecordInput(c, typed(row.typed, row.typed, std::string(20, 'x'), std::string(60, 'y')));
        EXPECT_EQ(c.fromElement, row.expected);
        EXPECT_EQ(c.toElement, row.expected);
        EXPECT_EQ(c.text.size(), 17u);
        EXPECT_EQ(c.remark.size(), 50u);
    }
}

TEST_F(ClosingEditorTest, NoElementsShowsTheMessageAndNoDialog) {
    chain.setElementCount(0);
    run();
    EXPECT_TRUE(error.isSet());
    EXPECT_EQ(prompter.errors(), std::vector<std::string>{"Es wurden noch keine Elemente eingegeben ! !"});
    EXPECT_TRUE(view.lists.empty());
}

TEST_F(ClosingEditorTest, NewAppendsAndOkEndsWithTheFlagClear) {
    withClosings(1);
    error.set();  // left over from an earlier command
    view.list(Action::New).record(typed("2", "4", "Spalt", "Welle")).list(Action::Ok);
    const ClosingEditorOutcome outcome = run();
    EXPECT_FALSE(error.isSet());
    EXPECT_TRUE(outcome.changed);
    ASSERT_EQ(chain.closingCount(), 2);
    EXPECT_EQ(chain.closing(2).fromElement, 2);
    EXPECT_EQ(chain.closing(2).toElement, 4);
    EXPECT_EQ(chain.closing(2).text, "Spalt");
    EXPECT_EQ(chain.closing(2).remark, "Welle");
    // The new record showed the cleared values; the list then shows two lines, none chosen.
    ASSERT_EQ(view.edits.size(), 1u);
    EXPECT_EQ(view.edits[0].k, 2);
    EXPECT_EQ(view.edits[0].shown.fromElement, "2");
    EXPECT_EQ(view.edits[0].shown.text, "................");
    ASSERT_EQ(view.lists.size(), 2u);
    EXPECT_EQ(view.lists[1].lines.back(), "2: 2 -> 4 : Spalt  Welle");
    EXPECT_EQ(view.lists[1].chosenLine, 0);
    EXPECT_EQ(view.helpAtList, (std::vector<int>{kHelpClosingList, kHelpClosingList}));
}

TEST_F(ClosingEditorTest, InsertShowsTheOldValuesOfThatPlace) {
    withClosings(3);
    view.list(Action::Insert, 2).record(typed("1", "5", "Neu")).list(Action::Ok);
    run();
    EXPECT_EQ(texts(), (std::vector<std::string>{"S1", "Neu", "S2", "S3"}));
    ASSERT_EQ(view.edits.size(), 1u);
    EXPECT_EQ(view.edits[0].k, 2);
    EXPECT_EQ(view.edits[0].shown.fromElement, "2");
    EXPECT_EQ(view.edits[0].shown.toElement, "3");
    EXPECT_EQ(view.edits[0].shown.text, "S2");
    EXPECT_EQ(view.lists[1].chosenLine, 2);
}

TEST_F(ClosingEditorTest, CancelAfterInsertKeepsTheCopyOfTheOldRecord) {
    withClosings(3);
    view.list(Action::Insert, 2).record(std::nullopt);
    const ClosingEditorOutcome outcome = run();
    EXPECT_TRUE(error.isSet());
    EXPECT_TRUE(outcome.changed);
    EXPECT_EQ(texts(), (std::vector<std::string>{"S1", "S2", "S2", "S3"}));
    EXPECT_EQ(chain.closing(2).toElement, 3);  // not the cleared record's 0
}

TEST_F(ClosingEditorTest, InsertWithoutChosenLineAsksBeforeWhich) {
    withClosings(3);
    prompter.choose(3);
    view.list(Action::Insert).record(typed("1", "2", "X")).list(Action::Ok);
    run();
    EXPECT_EQ(texts(), (std::vector<std::string>{"S1", "S2", "X", "S3"}));
    ASSERT_EQ(prompter.log().size(), 1u);
    EXPECT_EQ(prompter.log()[0].rfind("choice: Vor welches Schließmaß soll eingefügt werden ?", 0), 0u)
        << prompter.log()[0];
    EXPECT_NE(std::find(view.helps.begin(), view.helps.end(), kHelpClosingInsert), view.helps.end());
}

TEST_F(ClosingEditorTest, CancelledQuestionsEndTheEditorUnchanged) {
    struct Row {
        const char* name;
        Action action;
    };
    for (const Row row : {Row{"insert", Action::Insert}, Row{"delete", Action::Delete}}) {
        SCOPED_TRACE(row.name);
        Chain local;
        local.setElementCount(3);
        local.setClosingCount(2);
        local.closing(1).text = "A";
        local.closing(2).text = "B";
        test::TestPrompter questions;
        questions.cancel(ScriptedPrompter::Kind::Choice);
        ScriptedView dialogs;
        dialogs.list(row.action);
        ErrorFlag flag;
        const ClosingEditorOutcome outcome = runClosingEditor(local, language, questions, flag, dialogs);
        EXPECT_TRUE(flag.isSet());
        EXPECT_FALSE(outcome.changed);
        EXPECT_EQ(local.closingCount(), 2);
        EXPECT_EQ(local.closing(1).text, "A");
    }
}

TEST_F(ClosingEditorTest, DeleteKeepsTheChosenLineOnTheList) {
    struct Row {
        const char* name;
        int chosen;
        std::vector<std::string> left;
        int chosenAfter;
    };
    const Row rows[] = {
        {"first of three", 1, {"S2", "S3"}, 1},
        {"middle", 2, {"S1", "S3"}, 2},
        {"last moves up to the new last", 3, {"S1", "S2"}, 2},
    };
    for (const Row& row : rows) {
        SCOPED_TRACE(row.name);
        Chain local;
        local.setElementCount(3);
        local.setClosingCount(3);
        for (int k = 1; k <= 3; ++k) local.closing(k).text = "S" + std::to_string(k);
        ScriptedView dialogs;
        dialogs.list(Action::Delete, row.chosen).list(Action::Ok);
        ErrorFlag flag;
        EXPECT_TRUE(runClosingEditor(local, language, prompter, flag, dialogs).changed);
        ASSERT_EQ(local.closingCount(), 2);
        EXPECT_EQ(local.closing(1).text.str() + "," + local.closing(2).text.str(), row.left[0] + "," + row.left[1]);
        ASSERT_EQ(dialogs.lists.size(), 2u);
        EXPECT_EQ(dialogs.lists[1].lines.size(), 2u);
        EXPECT_EQ(dialogs.lists[1].chosenLine, row.chosenAfter);
    }
}

TEST_F(ClosingEditorTest, DeletingTheOnlyOneLeavesNoLineChosen) {
    withClosings(1);
    view.list(Action::Delete, 1).list(Action::Delete).list(Action::Ok);
    run();
    EXPECT_EQ(chain.closingCount(), 0);
    ASSERT_EQ(view.lists.size(), 3u);
    EXPECT_EQ(view.lists[1].chosenLine, 0);
    EXPECT_TRUE(view.lists[2].lines.empty());  // delete on the empty list did nothing
    EXPECT_FALSE(error.isSet());
}

TEST_F(ClosingEditorTest, DeleteWithoutChosenLineAsksWhich) {
    withClosings(3);
    prompter.choose(2);
    view.list(Action::Delete).list(Action::Ok);
    run();
    EXPECT_EQ(texts(), (std::vector<std::string>{"S1", "S3"}));
    ASSERT_EQ(prompter.log().size(), 1u);
    EXPECT_EQ(prompter.log()[0].rfind("choice: zu löschendes Schließmaß wählen ...", 0), 0u) << prompter.log()[0];
    EXPECT_EQ(view.lists[1].chosenLine, 2);
}

TEST_F(ClosingEditorTest, ChangeEditsTheChosenLineOrTheFirst) {
    struct Row {
        const char* name;
        Action action;
        int chosen;
        int edited;
    };
    const Row rows[] = {
        {"change, none chosen", Action::Change, 0, 1},
        {"change, line 3", Action::Change, 3, 3},
        {"double click on line 2", Action::DoubleClick, 2, 2},
    };
    for (const Row& row : rows) {
        SCOPED_TRACE(row.name);
        Chain local;
        local.setElementCount(3);
        local.setClosingCount(3);
        ScriptedView dialogs;
        dialogs.list(row.action, row.chosen).record(typed("0", "3", "neu", "geändert")).list(Action::Ok);
        ErrorFlag flag;
        EXPECT_TRUE(runClosingEditor(local, language, prompter, flag, dialogs).changed);
        ASSERT_EQ(dialogs.edits.size(), 1u);
        EXPECT_EQ(dialogs.edits[0].k, row.edited);
        EXPECT_EQ(local.closingCount(), 3);
        EXPECT_EQ(local.closing(row.edited).text, "neu");
        EXPECT_EQ(local.closing(row.edited).fromElement, 0);
        EXPECT_EQ(dialogs.lists[1].chosenLine, row.edited);
    }
}

TEST_F(ClosingEditorTest, ChangeOrInsertOnAnEmptyListActsAsNew) {
    for (const Action action : {Action::Change, Action::DoubleClick, Action::Insert}) {
        SCOPED_TRACE(static_cast<int>(action));
        Chain local;
        local.setElementCount(2);
        ScriptedView dialogs;
        dialogs.list(action).record(typed("1", "2", "erstes")).list(Action::Ok);
        ErrorFlag flag;
        EXPECT_TRUE(runClosingEditor(local, language, prompter, flag, dialogs).changed);
        ASSERT_EQ(local.closingCount(), 1);
        EXPECT_EQ(local.closing(1).text, "erstes");
        EXPECT_EQ(local.closing(1).toElement, 2);
        EXPECT_FALSE(flag.isSet());
    }
}

TEST_F(ClosingEditorTest, ChangeThatKeepsEverythingIsNoChange) {
    withClosings(2);
    view.list(Action::Change, 1).record(closingRecordInput(chain.closing(1))).list(Action::Ok);
    EXPECT_FALSE(run().changed);
}

TEST_F(ClosingEditorTest, CancelInANewRecordLeavesItInTheTable) {
    withClosings(1);
    view.list(Action::New).record(std::nullopt);
    run();
    EXPECT_TRUE(error.isSet());
    ASSERT_EQ(chain.closingCount(), 2);
    EXPECT_EQ(chain.closing(2).fromElement, 2);
    EXPECT_EQ(chain.closing(2).text, "................");
}

TEST_F(ClosingEditorTest, CancelInTheListEndsWithTheFlagSetAndKeepsEarlierChanges) {
    withClosings(1);
    view.list(Action::Change, 1).record(typed("3", "4", "X")).cancelList();
    EXPECT_TRUE(run().changed);
    EXPECT_TRUE(error.isSet());
    EXPECT_EQ(chain.closing(1).text, "X");
}

TEST_F(ClosingEditorTest, TheLimitOf250IsRefusedWithItsMessage) {
    struct Row {
        const char* name;
        Action action;
        int chosen;
        const char* message;
    };
    const Row rows[] = {
        {"new", Action::New, 0, "Zu viele Schließmaße !"},
        {"insert", Action::Insert, 5, "Zu viele Daten !"},
    };
    for (const Row& row : rows) {
        SCOPED_TRACE(row.name);
        Chain local;
        local.setElementCount(2);
        local.setClosingCount(kMaxClosing);
        local.closing(kMaxClosing).text = "last";
        test::TestPrompter messages;
        ScriptedView dialogs;
        dialogs.list(row.action, row.chosen);
        ErrorFlag flag;
        EXPECT_FALSE(runClosingEditor(local, language, messages, flag, dialogs).changed);
        EXPECT_TRUE(flag.isSet());
        EXPECT_EQ(local.closingCount(), kMaxClosing);
        EXPECT_EQ(local.closing(kMaxClosing).text, "last");
        EXPECT_EQ(local.closing(5).fromElement, 5);
        EXPECT_EQ(messages.errors(), std::vector<std::string>{row.message});
    }
}

} // namespace
} // namespace zam1
