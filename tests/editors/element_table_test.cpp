// The element table's rules without a window: cells, selection, Berechnen, the
// count question, results and the invalid-input message.

#include <gtest/gtest.h>

#include <memory>

#include "core/editors/element_table.h"
#include "core/session/program_state.h"
#include "core/text/codepage.h"
#include "tests/support/scripted.h"

namespace zam1 {
namespace {

using test::TestPrompter;

struct Editor {
    std::unique_ptr<ProgramState> state = std::make_unique<ProgramState>();
    TestPrompter prompter;
    std::unique_ptr<ElementTable> table;

    // Elements: 1 at 25 from 0 (+0.1/-0.1), 2 at 10 from 1 (+0.2/-0.2); closing 0 -> 2.
    explicit Editor(int elements = 2) {
        state->prompter = &prompter;
        Chain& chain = state->chain;
        chain.clear();
        for (int n = 1; n <= elements; ++n) {
            Element& e = chain.element(n);
            e.predecessor = n - 1;
            e.distance = n == 1 ? 25 : 10;
            e.upperDev = 0.1L * n;
            e.lowerDev = -0.1L * n;
        }
        chain.setElementCount(elements);
        chain.setClosingCount(1);
        chain.closing(1).fromElement = 0;
        chain.closing(1).toElement = elements;
        chain.closing(1).text = "Spiel";
        table = std::make_unique<ElementTable>(*state);
    }
};

TEST(ElementTable, RowsShowTheElementsAndTheRowsBelowAreEmpty) {
    Editor ed;
    ed.state->chain.element(1).isoLetters = "H";
    ed.state->chain.element(1).isoGrade = 7;
    ed.state->chain.element(2).positive = 0;
    ed.table->fill();
    const char* row1[] = {"1", "0", "+", "25.000", "0.100", "-0.100", "H 7", "..........", ""};
    for (int c = 0; c < kElementColumns; ++c) EXPECT_EQ(ed.table->cell(1, c), row1[c]) << "column " << c;
    EXPECT_EQ(ed.table->cell(2, kColDirection), "-");
    EXPECT_EQ(ed.table->cell(3, kColNumber), "3");
    EXPECT_EQ(ed.table->cell(3, kColNominal), "");
    EXPECT_EQ(ed.table->cell(kMaxElements, kColNumber), "2500");
}

TEST(ElementTable, LeavingTheIsoCellEvaluatesOnlyWithZeroTolerances) {
    struct Row {
        const char* name;
        const char* upper;
        const char* lower;
        const char* wantUpper;
        const char* wantLower;
        const char* wantIso;
    };
    const Row rows[] = {
        {"zero tolerances", "0", "0.000", "0.021", "0.000", "H 7"},
        {"empty tolerances", "", "", "0.021", "0.000", "H 7"},
        {"tolerances already filled", "0.1", "-0.1", "0.1", "-0.1", "H7"},
    };
    for (const Row& r : rows) {
        SCOPED_TRACE(r.name);
        Editor ed;
        ASSERT_TRUE(ed.table->setCell(1, kColUpper, r.upper));
        ASSERT_TRUE(ed.table->setCell(1, kColLower, r.lower));
        ed.table->selectCell(kColIso, 1);
        ASSERT_TRUE(ed.table->setCell(1, kColIso, "H7"));
        ed.table->selectCell(kColText, 1);
        EXPECT_EQ(ed.table->cell(1, kColUpper), r.wantUpper);
        EXPECT_EQ(ed.table->cell(1, kColLower), r.wantLower);
        EXPECT_EQ(ed.table->cell(1, kColIso), r.wantIso);
    }
}

TEST(ElementTable, BerechnenOnTheIsoCellOverwritesTheTolerancesAndTakesTheGridOver) {
    Editor ed;
    ed.table->selectCell(kColIso, 1);
    ASSERT_TRUE(ed.table->setCell(1, kColIso, "h6"));
    ASSERT_TRUE(ed.table->calculate());
    EXPECT_EQ(ed.table->cell(1, kColUpper), "0.000");
    EXPECT_EQ(ed.table->cell(1, kColLower), "-0.013");
    const Element& e = ed.state->chain.element(1);
    EXPECT_EQ(e.isoLetters.view(), "h");
    EXPECT_EQ(e.isoGrade, 6);
    EXPECT_NEAR(static_cast<double>(e.lowerDev), -0.013, 1e-12);
    EXPECT_TRUE(ed.table->chainChanged());
}

TEST(ElementTable, BerechnenOnTheNominalAppliesTheGeneralToleranceAfterAsking) {
    struct Row {
        const char* name;
        bool tolerancesEmpty;
        int answer;  // -1: not asked
        bool applied;
    };
    const Row rows[] = {
        {"empty tolerances, no question", true, -1, true},
        {"question answered Yes", false, static_cast<int>(Answer::Yes), true},
        {"question answered No", false, static_cast<int>(Answer::No), false},
        {"question cancelled", false, static_cast<int>(Answer::Cancel), false},
    };
    for (const Row& r : rows) {
        SCOPED_TRACE(r.name);
        Editor ed;
        ed.state->generalTolerance.standardCode = kIso2768Medium;
        ASSERT_TRUE(ed.table->setCell(1, kColIso, "H7"));
        if (r.tolerancesEmpty) {
            ASSERT_TRUE(ed.table->setCell(1, kColUpper, ""));
            ASSERT_TRUE(ed.table->setCell(1, kColLower, ""));
        }
        if (r.answer >= 0) ed.prompter.answer(static_cast<Answer>(r.answer));
        ed.table->selectCell(kColNominal, 1);
        ASSERT_TRUE(ed.table->calculate());
        if (r.answer >= 0) {
            EXPECT_EQ(ed.prompter.log().front(), "question: Freimasstoleranz 25.000 ?");
        }
        const Element& e = ed.state->chain.element(1);
        if (r.applied) {
            EXPECT_EQ(ed.table->cell(1, kColUpper), "0.200");
            EXPECT_EQ(ed.table->cell(1, kColLower), "-0.200");
            EXPECT_EQ(ed.table->cell(1, kColIso), "");
            EXPECT_FALSE(e.hasIsoCode());
        } else {
            EXPECT_EQ(ed.table->cell(1, kColUpper), "0.100");
            EXPECT_EQ(e.upperDev, 0.1L);
        }
    }
}

TEST(ElementTable, SelectingARowBelowTheCountRaisesItWithClearedRows) {
    Editor ed(10);
    Chain& chain = ed.state->chain;
    chain.element(11).distance = 99;  // a record left behind by a larger chain
    ed.table->selectCell(kColNominal, 12);
    EXPECT_EQ(chain.elementCount(), 12);
    for (int row : {11, 12}) {
        SCOPED_TRACE(row);
        EXPECT_EQ(ed.table->cell(row, kColDirection), "+");
        EXPECT_EQ(ed.table->cell(row, kColPredecessor), "0");
        EXPECT_EQ(chain.element(row).distance, 0);
    }
    ASSERT_TRUE(ed.table->takeOver());
    EXPECT_EQ(chain.element(12).positive, 1) << "a new row must not read as negative";
    EXPECT_EQ(ed.table->currentRow(), 12);
    EXPECT_EQ(ed.table->currentColumn(), kColNominal);
}

// A typo stays in its cell as typed, is refused with a message naming the
// element, the column and the text, and keeps the grid from being taken over:
// it never becomes another number.
TEST(ElementTable, ATypoIsKeptAndRefusedWithTheFieldNamed) {
    const std::string range = " - Gültiger Wertebereich: -1000000000 .. 1000000000 !";
    struct Row {
        int column;
        const char* text;
        const char* message;  // empty: taken
    };
    const Row rows[] = {{kColNominal, "12,5", ""},
                        {kColNominal, " 12.5 ", ""},
                        {kColNominal, "12.5x", "Element Nr. 1, Nennmaß: Ungültige Eingabe \"12.5x\" !"},
                        {kColNominal, "1O.5", "Element Nr. 1, Nennmaß: Ungültige Eingabe \"1O.5\" !"},
                        {kColUpper, "o.1", "Element Nr. 1, ob.Tol.: Ungültige Eingabe \"o.1\" !"},
                        {kColNominal, "1e400", "Element Nr. 1, Nennmaß: \"1e400\""},
                        {kColNominal, "1e26", "Element Nr. 1, Nennmaß: \"1e26\""},
                        {kColLower, "-1e155", "Element Nr. 1, unt.Tol.: \"-1e155\""},
                        {kColNominal, "1000000000", ""},
                        {kColLower, "", ""},
                        {kColPredecessor, "3", ""},
                        {kColPredecessor, "2a", "Element Nr. 1, Vorg.el.: Ungültige Eingabe \"2a\" !"},
                        {kColPredecessor, "-1", "Element Nr. 1, Vorg.el.: Ungültige Eingabe \"-1\" !"},
                        {kColText, "abc", ""}};
    for (const Row& r : rows) {
        SCOPED_TRACE(std::string("column ") + std::to_string(r.column) + " text '" + r.text + "'");
        Editor ed;
        const bool valid = *r.message == '\0';
        EXPECT_EQ(ed.table->setCell(1, r.column, r.text), valid);
        if (valid) continue;
        std::string expected = r.message;
        if (expected.back() == '"') expected += range;
        ASSERT_EQ(ed.prompter.errors().size(), 1u);
        EXPECT_EQ(ed.prompter.errors()[0], expected);
        EXPECT_EQ(ed.table->cell(1, r.column), r.text) << "what was typed stays";
        EXPECT_EQ(oemToUtf8(ed.table->cellProblem(1, r.column)), expected) << "and the cell is marked";
        EXPECT_FALSE(ed.table->takeOver());
        EXPECT_EQ(ed.prompter.errors().back(), expected);
        EXPECT_EQ(ed.state->chain.element(1).distance, 25) << "nothing was taken over";
    }
}

// An ISO code that cannot be evaluated leaves zero deviations, but the user is
// told the lookup's message, the cell stays marked, and OK lists it.
TEST(ElementTable, AnIsoCodeThatCannotBeEvaluatedIsSaidAndMarked) {
    struct Row {
        const char* nominal;
        const char* code;
        const char* message;  // empty: evaluates
    };
    const Row rows[] = {{"30", "Q7", "Element Nr. 1, ISO-Tol. \"Q 7\": unbekannte Toleranzlage"},
                        {"5000", "H7", "Element Nr. 1, ISO-Tol. \"H 7\": "},
                        {"30", "H7", ""}};
    for (const Row& r : rows) {
        SCOPED_TRACE(std::string(r.code) + " at " + r.nominal);
        Editor ed;
        ASSERT_TRUE(ed.table->setCell(1, kColNominal, r.nominal));
        ASSERT_TRUE(ed.table->setCell(1, kColUpper, "0"));
        ASSERT_TRUE(ed.table->setCell(1, kColLower, "0"));
        ed.table->selectCell(kColIso, 1);
        ASSERT_TRUE(ed.table->setCell(1, kColIso, r.code));
        ed.table->selectCell(kColText, 1);  // leaving the cell evaluates it
        if (*r.message == '\0') {
            EXPECT_TRUE(ed.prompter.errors().empty());
            EXPECT_EQ(ed.table->cellProblem(1, kColIso), "");
            continue;
        }
        ASSERT_EQ(ed.prompter.errors().size(), 1u);
        EXPECT_EQ(ed.prompter.errors()[0].rfind(r.message, 0), 0u) << ed.prompter.errors()[0];
        EXPECT_NE(ed.prompter.errors()[0].back(), ' ') << "the lookup's message follows";
        EXPECT_EQ(oemToUtf8(ed.table->cellProblem(1, kColIso)), ed.prompter.errors()[0]);
        EXPECT_EQ(ed.table->cell(1, kColUpper), "0.000");
        ed.prompter.type("2");
        ASSERT_TRUE(ed.table->accept());
        EXPECT_EQ(ed.prompter.log().back(), "note: " + ed.prompter.errors()[0]);
    }
}

// An upper tolerance below the lower one is accepted, as the chain allows it, but
// both cells are marked and OK says so.
TEST(ElementTable, UpperBelowLowerIsTakenWithAWarning) {
    Editor ed;
    ASSERT_TRUE(ed.table->setCell(2, kColUpper, "-0.3"));
    const std::string warning = "Element Nr. 2: ob.Tol. < unt.Tol. !";
    EXPECT_EQ(oemToUtf8(ed.table->cellProblem(2, kColUpper)), warning);
    EXPECT_EQ(oemToUtf8(ed.table->cellProblem(2, kColLower)), warning);
    EXPECT_EQ(ed.table->cellProblem(1, kColUpper), "");
    ed.prompter.type("2");
    ASSERT_TRUE(ed.table->accept());
    EXPECT_EQ(ed.prompter.log().back(), "note: " + warning);
    EXPECT_EQ(ed.state->chain.element(2).upperDev, -0.3L);
}

TEST(ElementTable, NumbersTakeACommaAndTextsAreCutToTheirCapacity) {
    Editor ed;
    ASSERT_TRUE(ed.table->setCell(1, kColNominal, "12,5"));
    ASSERT_TRUE(ed.table->setCell(1, kColText, std::string(30, 'x')));
    ASSERT_TRUE(ed.table->setCell(1, kColDirection, "-"));
    ASSERT_TRUE(ed.table->takeOver());
    const Element& e = ed.state->chain.element(1);
    EXPECT_EQ(e.distance, 12.5L);
    EXPECT_EQ(e.text.view(), std::string(18, 'x'));
    EXPECT_EQ(e.positive, 0);
}

// The grids show lengths with the configured decimal separator ("Dot=1 Komma=2"),
// as the reports do; what the user types is read with either.
TEST(ElementTable, LengthsShowTheConfiguredDecimalSeparator) {
    struct Case { int separator; const char* nominal; const char* lower; const char* maximum; const char* typed; };
    const Case cases[] = {
        {1, "25.000", "-0.100", "35.300", "0,4"},
        {2, "25,000", "-0,100", "35,300", "0.4"},
        {2, "25,000", "-0,100", "35,300", "0,4"},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(testing::Message() << "separator " << c.separator << " typed " << c.typed);
        Editor ed;
        ed.state->config.decimalSeparator = c.separator;
        ed.table->fill();
        EXPECT_EQ(ed.table->cell(1, kColNominal), c.nominal);
        EXPECT_EQ(ed.table->cell(1, kColLower), c.lower);
        EXPECT_EQ(ed.table->cell(1, kColNumber), "1");
        EXPECT_EQ(ed.table->resultText(0, 0), c.maximum);
        ASSERT_TRUE(ed.table->setCell(2, kColUpper, c.typed));
        ASSERT_TRUE(ed.table->takeOver());
        EXPECT_EQ(ed.state->chain.element(2).upperDev, 0.4L);
        EXPECT_EQ(ed.state->chain.element(1).distance, 25);
    }
}

TEST(ElementTable, OkAsksForTheCountAndDropsLaterRows) {
    Editor ed(3);
    ed.prompter.type("2");
    ASSERT_TRUE(ed.table->accept());
    EXPECT_EQ(ed.prompter.log().front(), "text: Anzahl der Maßelemente [3]");
    EXPECT_EQ(ed.state->chain.elementCount(), 2);

    Editor cancelled(3);
    cancelled.prompter.cancel(ScriptedPrompter::Kind::Text);
    EXPECT_FALSE(cancelled.table->accept());
    EXPECT_EQ(cancelled.state->chain.elementCount(), 3);
    EXPECT_FALSE(cancelled.table->chainChanged());
}

TEST(ElementTable, ResultsOfTheChosenClosingDimension) {
    Editor ed;
    ASSERT_EQ(ed.table->chosenClosing(), 1);
    ASSERT_TRUE(ed.table->results().valid);
    // 35 with +0.3/-0.3 worst case, statistical sqrt(0.01 + 0.04).
    EXPECT_EQ(ed.table->resultText(0, 0), "35.300");
    EXPECT_EQ(ed.table->resultText(1, 0), "34.700");
    EXPECT_EQ(ed.table->resultText(2, 0), "0.600");
    EXPECT_EQ(ed.table->resultText(2, 1), "0.447");
    EXPECT_EQ(ed.table->closingItems().at(0), "1.:   0 ==>   2     Spiel");

    // One edit updates the results from the grid without touching the chain.
    ASSERT_TRUE(ed.table->setCell(2, kColUpper, "0.4"));
    ed.table->previewResults();
    EXPECT_EQ(ed.table->resultText(0, 0), "35.500");
    EXPECT_EQ(ed.state->chain.element(2).upperDev, 0.2L);
    EXPECT_FALSE(ed.table->chainChanged());
}

TEST(ElementTable, AFailedClosingDimensionClearsTheResultsAndSaysWhy) {
    struct Row {
        const char* name;
        int predecessorOf2;
        bool zeroTolerances;
        const char* message;
        bool prompted;
    };
    const Row rows[] = {
        {"zero tolerance", 1, true, "Toleranz = 0 ? !", false},
        {"structure error", 2, false, "Fehler im Massaufbau zwischen Element 0 und 2 !", true},
    };
    for (const Row& r : rows) {
        SCOPED_TRACE(r.name);
        Editor ed;
        ASSERT_TRUE(ed.table->results().valid);
        ASSERT_TRUE(ed.table->setCell(2, kColPredecessor, std::to_string(r.predecessorOf2)));
        if (r.zeroTolerances) {
            for (int row : {1, 2})
                for (int col : {kColUpper, kColLower}) ASSERT_TRUE(ed.table->setCell(row, col, "0"));
        }
        ed.table->selectCell(kColText, 1);
        ASSERT_TRUE(ed.table->calculate());
        EXPECT_FALSE(ed.table->results().valid);
        EXPECT_EQ(ed.table->resultText(0, 0), "");
        EXPECT_EQ(ed.table->results().message, r.message);
        EXPECT_EQ(ed.prompter.errors().size(), r.prompted ? 1u : 0u);
        if (r.zeroTolerances) {
            EXPECT_EQ(ed.state->chain.messages.at(0), "Toleranz = 0 ? !");
        }
    }
}

TEST(ElementTable, ClosingDimensionsFollowTheirElementsThroughInsertAndDelete) {
    Editor ed(3);  // 1 <- 2 <- 3 in a row; closing 1 is 0 -> 3
    Chain& chain = ed.state->chain;
    chain.setClosingCount(2);
    chain.closing(2).fromElement = 1;
    chain.closing(2).toElement = 2;
    ASSERT_TRUE(ed.table->insertRow(1));
    ed.table->previewResults();
    EXPECT_EQ(ed.table->resultText(0, 0), "45.600") << "the preview already follows the moved elements";
    EXPECT_EQ(chain.closing(1).toElement, 3) << "the chain changes only on take-over";
    ASSERT_TRUE(ed.table->takeOver());
    EXPECT_EQ(chain.closing(1).toElement, 4);
    EXPECT_EQ(chain.closing(2).fromElement, 2);
    EXPECT_EQ(chain.closing(2).toElement, 3);

    ASSERT_TRUE(ed.table->deleteRow(3));  // the old element 2, predecessor row 2
    ASSERT_TRUE(ed.table->takeOver());
    EXPECT_EQ(chain.closing(1).toElement, 3);
    EXPECT_EQ(chain.closing(2).toElement, 2) << "an end on a deleted element moves to its predecessor";
    EXPECT_EQ(chain.closing(1).fromElement, 0);
}

TEST(ElementTable, AnInclinedDistanceKeepsTheChainsDecimals) {
    struct Row {
        int decimals;
        const char* nominal;
        const char* upper;
    };
    const Row rows[] = {{3, "123.456", "0.123"}, {4, "123.4560", "0.1235"}, {2, "123.46", "0.12"}};
    for (const Row& r : rows) {
        SCOPED_TRACE(r.decimals);
        Editor ed;
        ed.state->chain.decimals = r.decimals;
        ed.table->selectCell(kColNominal, 2);
        ed.table->setInclinedDistance(123.456L, 0.12346L, -0.05L);
        EXPECT_EQ(ed.table->cell(2, kColNominal), r.nominal) << "not the 3-digit automatic format";
        EXPECT_EQ(ed.table->cell(2, kColUpper), r.upper);
        EXPECT_EQ(ed.table->cell(1, kColNominal).substr(0, 2), "25") << "only the current row";
    }
}

TEST(ElementTable, AnInsertedRowReachesTheChainOnTakeOver) {
    Editor ed;
    ASSERT_TRUE(ed.table->setCell(1, kColNominal, "30"));
    ASSERT_TRUE(ed.table->insertRow(2));
    ASSERT_TRUE(ed.table->setCell(2, kColNominal, "7"));
    ASSERT_TRUE(ed.table->takeOver());
    EXPECT_EQ(ed.state->chain.elementCount(), 3);
    EXPECT_EQ(ed.state->chain.element(1).distance, 30);
}

TEST(ElementTable, InsertAndDeleteRowsKeepThePredecessors) {
    Editor ed(3);
    ASSERT_TRUE(ed.table->insertRow(2));
    EXPECT_EQ(ed.table->cell(2, kColPredecessor), "1");
    EXPECT_EQ(ed.table->cell(3, kColNominal), "10.000");
    EXPECT_EQ(ed.table->cell(3, kColPredecessor), "1") << "the old element 2 still hangs on 1";
    EXPECT_EQ(ed.table->cell(4, kColPredecessor), "3") << "the old element 3 hung on 2, now 3";
    EXPECT_EQ(ed.state->chain.elementCount(), 3) << "nothing reaches the chain before take-over";

    ASSERT_TRUE(ed.table->deleteRow(3));
    EXPECT_EQ(ed.table->cell(3, kColPredecessor), "1") << "successors of a deleted element move to its predecessor";
    ASSERT_TRUE(ed.table->takeOver());
    EXPECT_EQ(ed.state->chain.elementCount(), 3);
    EXPECT_FALSE(ed.table->deleteRow(4));

    Editor full(kMaxElements);
    EXPECT_FALSE(full.table->insertRow(1));
    EXPECT_EQ(full.prompter.errors().at(0), "Zu viele Daten !");
    EXPECT_EQ(full.table->cell(1, kColNominal), "25.000");
}

} // namespace
} // namespace zam1
