// Tolerance codes: splitting, the letter rules, the fixed messages, the step
// commands, and every worked pair of the reference check list.

#include <gtest/gtest.h>

#include <limits>
#include <string>

#include "core/standards/iso286.h"
#include "tests/standards/csv_reader.h"

namespace zam1 {
namespace {

TEST(SplitIsoCode, ReadsEveryWrittenForm) {
    const struct {
        const char* code;
        const char* letters;
        int grade;
    } cases[] = {
        {"", "", 0},        {"h7", "h", 7},    {"h 7", "h", 7},   {"h07", "h", 7},    {"js12", "js", 12},
        {"js 7", "js", 7},  {"hx7", "hx", 7},  {"h", "  ", 0},    {"7h", "  ", 0},    {"h7x", "h", 0},
        {"h -7", "h", -7},  {"<w7", "<w", 7},  {"  7", " ", 7},   {"h99999999999", "h", 0},
    };
    for (const auto& c : cases) {
        const IsoCodeParts parts = SplitIsoCode(c.code);
        EXPECT_EQ(parts.letters, c.letters) << '"' << c.code << '"';
        EXPECT_EQ(parts.grade, c.grade) << '"' << c.code << '"';
    }
}

constexpr long double kNaN = std::numeric_limits<long double>::quiet_NaN();
constexpr const char* kGrade19h = "Toleranzgrad 19 nicht definiert f\x81r Lage h";
constexpr const char* kInvalid = "ung\x81ltige ISO-Toleranz";
constexpr const char* kSize = "Undefinierter Nennmassbereich";

struct CodeCase {
    const char* code;
    long double nominalMm;
    const char* normalForm;
    long double upperUm;
    long double lowerUm;
    const char* message = "";
};

void expectEvaluations(std::initializer_list<CodeCase> cases) {
    for (const CodeCase& c : cases) {
        std::string code = c.code;
        IsoStepPositions positions;
        const auto r = EvaluateIsoCode(code, c.nominalMm, positions);
        const std::string where = std::string(c.code) + " at " + std::to_string(static_cast<double>(c.nominalMm));
        ASSERT_TRUE(r.has_value()) << where;
        EXPECT_EQ(code, c.normalForm) << where;
        EXPECT_EQ(r->upperUm, c.upperUm) << where;
        EXPECT_EQ(r->lowerUm, c.lowerUm) << where;
        EXPECT_EQ(r->message, c.message) << where;
        // Only a hint comes with deviations; every other message leaves 0 / 0.
        EXPECT_EQ(r->isError(), *c.message != '\0' && c.upperUm == 0 && c.lowerUm == 0) << where;
    }
}

TEST(EvaluateIsoCode, WorkedExamplesAndCodeForms) {
    expectEvaluations({
        {"h7", 25, "h 7", 0, -21},            {"H7", 25, "H 7", 21, 0},
        {"js6", 40, "js 6", 8, -8},           {"k6", 40, "k 6", 18, 2},
        {"K7", 40, "K 7", 7, -18},            {"P7", 40, "P 7", -17, -42},
        {"f7", 5, "f 7", -10, -22},           {"a7", 5, "a 7", -270, -282, "a9..a13"},
        {"h 7", 25, "h 7", 0, -21},           {"h07", 25, "h 7", 0, -21},
        {"hx7", 25, "hx 7", 0, -21},          {"i7", 40, "i 7", 15, -10},
        {"IS8", 40, "IS 8", 19.5L, -19.5L},   {"h", 25, "", 0, 0, kInvalid},
        {"7h", 25, "", 0, 0, kInvalid},       {"hx19", 25, "hx 19", 0, 0, kGrade19h},
    });
    for (const char* nothing : {"", " "}) {
        std::string code = nothing;
        IsoStepPositions positions;
        EXPECT_FALSE(EvaluateIsoCode(code, 25, positions).has_value()) << '"' << nothing << '"';
    }
}

TEST(EvaluateIsoCode, SizesAtTheRangeLimits) {
    expectEvaluations({
        {"H7", 3, "H 7", 10, 0},       {"H7", 3.0005L, "H 7", 10, 0},  {"H7", 3.002L, "H 7", 12, 0},
        {"H7", 0, "H 7", 10, 0},       {"u6", 0, "u 6", 24, 18},       {"s6", 40, "s 6", 59, 43},
        {"u6", 14, "u 6", 44, 33},     {"h7", 3150, "h 7", 0, -210},   {"h7", 3151, "h 7", 0, 0, kSize},
        {"h7", kNaN, "h 7", 0, 0, kSize},  {"h7", 1e30L, "h 7", 0, 0, kSize},  {"h7", -25, "h 7", 0, -21},
        // Within 0.001 mm above a limit the range below holds; ISO has no t there.
        {"t6", 24.0005L, "t 6", 0, 0, "t ist nur im Bereich > 24 mm definiert"},
        {"t6", 24.002L, "t 6", 54, 41},
        {"Y7", 18.0005L, "Y 7", 0, 0, "Y 7 ist nur im Bereich > 18 mm definiert"},
        {"K7", 500.0005L, "K 7", 18, -45},   {"K7", 500.002L, "K 7", 0, -70},
        // Negative sizes never run past a table.
        {"a9", -500, "a 9", 0, 0, "d>500 nicht definiert f\x81r Lage a"},
        {"cd7", -10, "cd 7", 0, 0, "cd ist nur im Bereich 1 bis 10 mm definiert"},
    });
}

TEST(EvaluateIsoCode, LetterRulesAndTheirMessages) {
    expectEvaluations({
        {"k3", 40, "k 3", 4, 0},             {"t6", 30, "t 6", 54, 41},
        {"K7", 600, "K 7", 0, -70},          {"K9", 40, "K 9", 0, -62},
        {"N9", 50, "N 9", 0, -62},           {"N9", 2, "N 9", -4, -29},
        {"N7", 600, "N 7", -44, -114},       {"P8", 25, "P 8", -22, -55},
        {"P2", 600, "P 2", -78, -89},        {"M6", 300, "M 6", -9, -41},  // ISO 286-2's value, not -11
        {"M6", 250, "M 6", -8, -37},         {"cd4", 5, "cd 4", -46, -50, "cd 5 .. cd 10"},
        {"h19", 25, "h 19", 0, 0, kGrade19h},
        {"N12", 50, "N 12", 0, 0, "Toleranzgrad 12 nicht definiert f\x81r Lage N"},
        {"K2", 40, "K 2", 0, 0, "Toleranzgrad 2 nicht definiert f\x81r Lage K"},
        {"za12", 40, "za 12", 0, 0, "Toleranzgrad 12 nicht definiert f\x81r Lage za"},
        {"ZA9", 600, "ZA 9", 0, 0, "d>500 nicht definiert f\x81r Lage ZA"},
        {"a19", 600, "a 19", 0, 0, "d>500 nicht definiert f\x81r Lage a"},
        {"cd19", 20, "cd 19", 0, 0, "Toleranzgrad 19 nicht definiert f\x81r Lage cd"},
        {"CD7", 20, "CD 7", 0, 0, "CD ist nur im Bereich 1 bis 10 mm definiert"},
        {"EF5", 20, "EF 5", 0, 0, "EF 5 ist nur im Bereich 1 bis 10 mm definiert"},
        {"t6", 20, "t 6", 0, 0, "t ist nur im Bereich > 24 mm definiert"},
        {"t19", 20, "t 19", 0, 0, "Toleranzgrad 19 nicht definiert f\x81r Lage t"},
        {"T19", 20, "T 19", 0, 0, "T ist nur im Bereich > 24 mm definiert"},
        {"v6", 10, "v 6", 0, 0, "v ist nur im Bereich > 14 bis 500 mm definiert"},
        {"y6", 18, "y 6", 0, 0, "y ist nur im Bereich > 18 bis 500 mm definiert"},
        {"V6", 14, "V 6", 0, 0, "V 6 ist nur im Bereich > 14 mm definiert"},
        {"l7", 25, "l 7", 0, 0, "unbekannte Toleranzlage"},
        {"l7", 4000, "l 7", 0, 0, kSize},
        {"<x7", 25, "<x 7", 0, 0, "unknown command character !"},
    });
}

TEST(IsoDeviations, StepCommandsWalkTheLetterLists) {
    IsoStepPositions positions;
    const auto step = [&](const char* code, const char* letters, long double upper) {
        std::string text = code;
        const auto r = EvaluateIsoCode(text, 5, positions);
        ASSERT_TRUE(r.has_value());
        EXPECT_EQ(r->letters, letters) << code;
        EXPECT_EQ(r->upperUm, upper) << code;
    };
    step("<w7", "a", -270);   // before any shaft: the first letter
    step("g6", "g", -4);
    step("<w7", "fg", -6);    // fg7 at 5 mm: -6 / -18
    step("H7", "H", 12);      // the hole list keeps its own position
    step(">B7", "J", 6);
    step("zc7", "zc", 92);
    step(">w7", "zc", 92);    // clamped at the end
    step("hx7", "h", 0);      // "hx" is no list entry: positions stay
    step("<w7", "zb", 62);
    EXPECT_EQ(positions.shaft, 27);
    EXPECT_EQ(positions.hole, 12);
}

// Every letter, grades around 1..18, sizes on and beside the limits: nothing may
// read past a table, and a refusal always leaves 0 / 0.
TEST(IsoDeviations, NoCombinationFailsOrKeepsValuesOnARefusal) {
    const long double sizes[] = {0, 1, 3.0005L, 10.0005L, 14.0005L, 18.0005L, 24.0005L, 40, 500, 500.0005L,
                                 3150, 3150.0009L, -10, -500, -3149};
    for (const auto* list : {&kShaftLetters, &kHoleLetters}) {
        for (const std::string_view letter : *list) {
            for (int grade = -1; grade <= 20; ++grade) {
                for (const long double size : sizes) {
                    IsoStepPositions positions;
                    std::string letters(letter);
                    std::optional<IsoDeviationResult> r;
                    ASSERT_NO_THROW(r = IsoDeviations(letters, grade, size, positions)) << letter << grade;
                    ASSERT_TRUE(r.has_value());
                    if (r->isError()) {
                        EXPECT_TRUE(r->upperUm == 0 && r->lowerUm == 0) << letter << grade;
                    } else {
                        EXPECT_GT(r->upperUm, r->lowerUm) << letter << grade;
                    }
                }
            }
        }
    }
}

TEST(EvaluateIsoCode, EveryReferencePairAgrees) {
    const test::CsvTable csv = test::readCsv("iso286/checks.csv");
    ASSERT_EQ(csv.rows.size(), 104u);
    for (std::size_t row = 0; row < csv.rows.size(); ++row) {
        std::string code = csv.rows[row][0];
        IsoStepPositions positions;
        const auto r = EvaluateIsoCode(code, *csv.number(row, "nominal_mm"), positions);
        const std::string where = csv.rows[row][0] + " at " + csv.rows[row][1];
        ASSERT_TRUE(r.has_value()) << where;
        EXPECT_FALSE(r->isError()) << where << ": " << r->message;
        EXPECT_EQ(r->upperUm, csv.number(row, "upper_um")) << where;
        EXPECT_EQ(r->lowerUm, csv.number(row, "lower_um")) << where;
    }
}

} // namespace
} // namespace zam1
