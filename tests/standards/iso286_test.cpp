// Tolerance codes: splitting, the rules of the letters, the fixed messages, the
// step commands, and every worked pair of the reference check list.

#include <gtest/gtest.h>

#include <cmath>
#include <limits>
#include <string>

#include "core/standards/iso286.h"
#include "tests/standards/csv_reader.h"

namespace zam1 {
namespace {

constexpr long double kNaN = std::numeric_limits<long double>::quiet_NaN();
constexpr long double kInf = std::numeric_limits<long double>::infinity();

TEST(SplitIsoCode, ReadsEveryWrittenForm) {
    const struct {
        const char* code;
        const char* letters;
        int grade;
    } cases[] = {
        {"", "", 0},         {"h7", "h", 7},       {"h 7", "h", 7},     {"h07", "h", 7},
        {"js12", "js", 12},  {"js 7", "js", 7},    {"ZC9", "ZC", 9},    {"H 7", "H", 7},
        {"hx7", "hx", 7},    {"h", "  ", 0},       {"7h", "  ", 0},     {"js", "  ", 0},
        {"h7x", "h", 0},     {"h 7x", "h", 0},     {"h -7", "h", -7},   {"<w7", "<w", 7},
        {"<w 7", "<w", 7},   {"h99999999999", "h", 0},  // beyond any integer: no grade
        {"  7", " ", 7},     {"h ", "  ", 0},
    };
    for (const auto& c : cases) {
        const IsoCodeParts parts = SplitIsoCode(c.code);
        EXPECT_EQ(parts.letters, c.letters) << '"' << c.code << '"';
        EXPECT_EQ(parts.grade, c.grade) << '"' << c.code << '"';
    }
}

struct CodeCase {
    const char* code;
    long double nominalMm;
    const char* normalForm;
    long double upperUm;
    long double lowerUm;
    const char* message;
    IsoMessageKind kind;
};

void expectEvaluation(const CodeCase& c, IsoStepPositions& positions) {
    std::string code = c.code;
    const auto r = EvaluateIsoCode(code, c.nominalMm, positions);
    const std::string where = std::string(c.code) + " at " + std::to_string(static_cast<double>(c.nominalMm));
    ASSERT_TRUE(r.has_value()) << where;
    EXPECT_EQ(code, c.normalForm) << where;
    EXPECT_EQ(r->upperUm, c.upperUm) << where;
    EXPECT_EQ(r->lowerUm, c.lowerUm) << where;
    EXPECT_EQ(r->message, c.message) << where;
    EXPECT_EQ(r->kind, c.kind) << where;
}

void expectEvaluations(std::initializer_list<CodeCase> cases) {
    for (const CodeCase& c : cases) {
        IsoStepPositions positions;
        expectEvaluation(c, positions);
    }
}

constexpr auto kNone = IsoMessageKind::None;
constexpr auto kHint = IsoMessageKind::Hint;
constexpr auto kError = IsoMessageKind::Error;

TEST(EvaluateIsoCode, WorkedExamples) {
    expectEvaluations({
        {"h7", 25, "h 7", 0, -21, "", kNone},
        {"H7", 25, "H 7", 21, 0, "", kNone},
        {"js6", 40, "js 6", 8, -8, "", kNone},
        {"k6", 40, "k 6", 18, 2, "", kNone},
        {"K7", 40, "K 7", 7, -18, "", kNone},
        {"P7", 40, "P 7", -17, -42, "", kNone},
        {"f7", 5, "f 7", -10, -22, "", kNone},
        {"a7", 5, "a 7", -270, -282, "a9..a13", kHint},
    });
}

TEST(EvaluateIsoCode, SizeClassificationAtRangeLimits) {
    expectEvaluations({
        {"H7", 3, "H 7", 10, 0, "", kNone},         // on the limit: the lower range
        {"H7", 3.0005L, "H 7", 10, 0, "", kNone},   // within 0.001 above it: still there
        {"H7", 3.002L, "H 7", 12, 0, "", kNone},
        {"H7", 0, "H 7", 10, 0, "", kNone},         // 0 is in the first range of every set
        {"u6", 0, "u 6", 24, 18, "", kNone},
        {"a9", 0, "a 9", -270, -295, "", kNone},
        {"s6", 40, "s 6", 59, 43, "", kNone},       // intermediate I splits 30..50 at 40
        {"u6", 14, "u 6", 44, 33, "", kNone},       // intermediate II splits 10..18 at 14
        {"h7", 3150, "h 7", 0, -210, "", kNone},
        {"h7", 3151, "h 7", 0, 0, "Undefinierter Nennmassbereich", kError},
        {"h7", -25, "h 7", 0, -21, "", kNone},      // the magnitude is classified
    });
}

TEST(EvaluateIsoCode, CodeTextForms) {
    expectEvaluations({
        {"h 7", 25, "h 7", 0, -21, "", kNone},
        {"h07", 25, "h 7", 0, -21, "", kNone},
        {"js12", 25, "js 12", 105, -105, "", kNone},
        {"hx7", 25, "hx 7", 0, -21, "", kNone},     // cut to its first letter
        {"i7", 40, "i 7", 15, -10, "", kNone},      // i is read as j
        {"IS8", 40, "IS 8", 19.5L, -19.5L, "", kNone},
        {"h", 25, "", 0, 0, "ung\x81ltige ISO-Toleranz", kError},
        {"7h", 25, "", 0, 0, "ung\x81ltige ISO-Toleranz", kError},
        {"h0", 25, "", 0, 0, "ung\x81ltige ISO-Toleranz", kError},
    });
    for (const char* nothing : {"", " "}) {
        std::string code = nothing;
        IsoStepPositions positions;
        EXPECT_FALSE(EvaluateIsoCode(code, 25, positions).has_value()) << '"' << nothing << '"';
        EXPECT_EQ(code, nothing);
    }
}

TEST(EvaluateIsoCode, HandsBackLettersAndGrade) {
    IsoStepPositions positions;
    std::string code = "hx 7";
    const auto r = EvaluateIsoCode(code, 25, positions);
    ASSERT_TRUE(r.has_value());
    EXPECT_EQ(r->letters, "h");
    EXPECT_EQ(r->grade, 7);
}

TEST(EvaluateIsoCode, LetterRules) {
    expectEvaluations({
        {"k3", 40, "k 3", 4, 0, "", kNone},         // k outside grades 4..7 starts at 0
        {"k8", 45, "k 8", 39, 0, "", kNone},
        {"t6", 30, "t 6", 54, 41, "", kNone},
        {"K7", 600, "K 7", 0, -70, "", kNone},
        {"K9", 40, "K 9", 0, -62, "", kNone},
        {"M9", 40, "M 9", -9, -71, "", kNone},
        {"N9", 50, "N 9", 0, -62, "", kNone},
        {"N9", 2, "N 9", -4, -29, "", kNone},
        {"N7", 600, "N 7", -44, -114, "", kNone},   // no Δ above 500 mm
        {"P8", 25, "P 8", -22, -55, "", kNone},     // no Δ from grade 8 on
        {"T7", 600, "T 7", -450, -520, "", kNone},
        {"M6", 300, "M 6", -9, -41, "", kNone},     // ISO 286-2's own value, not -11
        {"M6", 250, "M 6", -8, -37, "", kNone},     // the ranges beside it keep the rule
        {"M6", 320, "M 6", -10, -46, "", kNone},
        {"CD7", 5, "CD 7", 58, 46, "", kNone},
        {"za6", 45, "za 6", 196, 180, "", kNone},
        {"d3", 25, "d 3", -65, -69, "d5..d13", kHint},
        {"cd4", 5, "cd 4", -46, -50, "cd 5 .. cd 10", kHint},
        {"t4", 30, "t 4", 47, 41, "t5..t9", kHint},
    });
}

TEST(EvaluateIsoCode, RefusalsLeaveZeroAndSayWhy) {
    const char* const gradeN12 = "Toleranzgrad 12 nicht definiert f\x81r Lage N";
    expectEvaluations({
        {"h19", 25, "h 19", 0, 0, "Toleranzgrad 19 nicht definiert f\x81r Lage h", kError},
        {"hx19", 25, "hx 19", 0, 0, "Toleranzgrad 19 nicht definiert f\x81r Lage h", kError},
        {"N12", 50, "N 12", 0, 0, gradeN12, kError},
        {"K2", 40, "K 2", 0, 0, "Toleranzgrad 2 nicht definiert f\x81r Lage K", kError},
        {"P2", 600, "P 2", -78, -89, "", kNone},    // above 500 mm every grade has a value
        {"A8", 40, "A 8", 0, 0, "Toleranzgrad 8 nicht definiert f\x81r Lage A", kError},
        {"j4", 40, "j 4", 0, 0, "Toleranzgrad 4 nicht definiert f\x81r Lage j", kError},
        {"za12", 40, "za 12", 0, 0, "Toleranzgrad 12 nicht definiert f\x81r Lage za", kError},
        {"ZA9", 600, "ZA 9", 0, 0, "d>500 nicht definiert f\x81r Lage ZA", kError},
        {"a19", 600, "a 19", 0, 0, "d>500 nicht definiert f\x81r Lage a", kError},  // size first
        {"i7", 600, "i 7", 0, 0, "d>500 nicht definiert f\x81r Lage i", kError},
        {"cd7", 20, "cd 7", 0, 0, "cd ist nur im Bereich 1 bis 10 mm definiert", kError},
        {"cd19", 20, "cd 19", 0, 0, "Toleranzgrad 19 nicht definiert f\x81r Lage cd", kError},
        {"CD7", 20, "CD 7", 0, 0, "CD ist nur im Bereich 1 bis 10 mm definiert", kError},
        {"EF5", 20, "EF 5", 0, 0, "EF 5 ist nur im Bereich 1 bis 10 mm definiert", kError},
        {"FG5", 20, "FG 5", 0, 0, "FG 5 ist nur im Bereich 1 bis 10 mm definiert", kError},
        {"t6", 20, "t 6", 0, 0, "t ist nur im Bereich > 24 mm definiert", kError},
        {"t19", 20, "t 19", 0, 0, "Toleranzgrad 19 nicht definiert f\x81r Lage t", kError},
        {"T19", 20, "T 19", 0, 0, "T ist nur im Bereich > 24 mm definiert", kError},
        {"v6", 10, "v 6", 0, 0, "v ist nur im Bereich > 14 bis 500 mm definiert", kError},
        {"y6", 18, "y 6", 0, 0, "y ist nur im Bereich > 18 bis 500 mm definiert", kError},
        {"V6", 14, "V 6", 0, 0, "V 6 ist nur im Bereich > 14 mm definiert", kError},
        {"Y19", 10, "Y 19", 0, 0, "Y 19 ist nur im Bereich > 18 mm definiert", kError},
        {"l7", 25, "l 7", 0, 0, "unbekannte Toleranzlage", kError},
        {"W7", 25, "W 7", 0, 0, "unbekannte Toleranzlage", kError},
        {"97", 25, "9 7", 0, 0, "unbekannte Toleranzlage", kError},
        {"l7", 4000, "l 7", 0, 0, "Undefinierter Nennmassbereich", kError},  // size before letter
        {"<x7", 25, "<x 7", 0, 0, "unknown command character !", kError},
        {"<7", 25, "< 7", 0, 0, "unknown command character !", kError},
    });
}

// Sizes just above a limit belong to the range below it; a limit test on the
// magnitude alone would then take a table cell that ISO leaves empty.
TEST(EvaluateIsoCode, JustAboveALimitStaysWithTheRangeBelow) {
    expectEvaluations({
        {"t6", 24.0005L, "t 6", 0, 0, "t ist nur im Bereich > 24 mm definiert", kError},
        {"T7", 24.0005L, "T 7", 0, 0, "T ist nur im Bereich > 24 mm definiert", kError},
        {"v6", 14.0005L, "v 6", 0, 0, "v ist nur im Bereich > 14 bis 500 mm definiert", kError},
        {"Y7", 18.0005L, "Y 7", 0, 0, "Y 7 ist nur im Bereich > 18 mm definiert", kError},
        {"t6", 24.002L, "t 6", 54, 41, "", kNone},
        {"K7", 500.0005L, "K 7", 18, -45, "", kNone},   // the 400..500 rule with its IT
        {"K7", 500.002L, "K 7", 0, -70, "", kNone},
    });
}

TEST(EvaluateIsoCode, UnusableSizesGiveTheSizeMessage) {
    for (const long double nominal : {kNaN, kInf, -kInf, 1e30L, -3151.0L}) {
        expectEvaluations({
            {"h7", nominal, "h 7", 0, 0, "Undefinierter Nennmassbereich", kError},
            {"K7", nominal, "K 7", 0, 0, "Undefinierter Nennmassbereich", kError},
            {"a9", nominal, "a 9", 0, 0, "Undefinierter Nennmassbereich", kError},
        });
    }
}

TEST(EvaluateIsoCode, NegativeSizesNeverRunPastATable) {
    expectEvaluations({
        {"a9", -500, "a 9", 0, 0, "d>500 nicht definiert f\x81r Lage a", kError},
        {"cd7", -10, "cd 7", 0, 0, "cd ist nur im Bereich 1 bis 10 mm definiert", kError},
        {"K7", -500, "K 7", 0, -70, "", kNone},
    });
}

TEST(IsoDeviations, StepCommandsWalkTheLetterLists) {
    IsoStepPositions positions;
    const auto step = [&](const char* code, long double nominal, const char* letters, long double upper,
                          long double lower) {
        std::string text = code;
        const auto r = EvaluateIsoCode(text, nominal, positions);
        ASSERT_TRUE(r.has_value());
        EXPECT_EQ(r->letters, letters) << code;
        EXPECT_EQ(r->upperUm, upper) << code;
        EXPECT_EQ(r->lowerUm, lower) << code;
    };
    step("<w7", 5, "a", -270, -282);     // before any shaft: lands on the first letter
    step("<w7", 5, "a", -270, -282);     // and stays there
    step("g6", 5, "g", -4, -12);
    step("<w7", 5, "fg", -6, -18);
    step(">w7", 5, "g", -4, -16);
    step("H7", 5, "H", 12, 0);           // the hole list keeps its own position
    step(">B7", 5, "J", 6, -6);
    step("zc7", 5, "zc", 92, 80);
    step(">w7", 5, "zc", 92, 80);        // clamped at the end
    step("<B7", 5, "H", 12, 0);
    step("hx7", 5, "h", 0, -12);         // no list entry "hx": positions stay
    step("<w7", 5, "zb", 62, 50);
    EXPECT_EQ(positions.shaft, 27);
    EXPECT_EQ(positions.hole, 11);
}

TEST(IsoDeviations, EmptyLettersEvaluateNothing) {
    IsoStepPositions positions;
    std::string letters;
    EXPECT_FALSE(IsoDeviations(letters, 7, 25, positions).has_value());
}

// Every code the lists know, every grade around 1..18, sizes on and beside the
// limits: nothing may read past a table, and a refusal always leaves 0 / 0.
TEST(IsoDeviations, NoCombinationFailsOrLeavesValuesOnARefusal) {
    const long double sizes[] = {0, 0.5L, 1, 3, 3.0005L, 10, 10.0005L, 14, 14.0005L, 18, 18.0005L, 24,
                                 24.0005L, 24.002L, 40, 315, 500, 500.0005L, 500.002L, 3149.9L, 3150,
                                 3150.0009L, -3, -10, -500, -3149};
    for (const auto* list : {&kShaftLetters, &kHoleLetters}) {
        for (const std::string_view letter : *list) {
            for (int grade = -1; grade <= 20; ++grade) {
                for (const long double size : sizes) {
                    IsoStepPositions positions;
                    std::string letters(letter);
                    std::optional<IsoDeviationResult> r;
                    ASSERT_NO_THROW(r = IsoDeviations(letters, grade, size, positions))
                        << letter << grade << " at " << static_cast<double>(size);
                    ASSERT_TRUE(r.has_value());
                    if (r->isError()) {
                        EXPECT_EQ(r->upperUm, 0) << letter << grade << " at " << static_cast<double>(size);
                        EXPECT_EQ(r->lowerUm, 0) << letter << grade << " at " << static_cast<double>(size);
                    } else {
                        EXPECT_GT(r->upperUm, r->lowerUm) << letter << grade << " at " << static_cast<double>(size);
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
        const long double nominal = *csv.number(row, "nominal_mm");
        IsoStepPositions positions;
        const auto r = EvaluateIsoCode(code, nominal, positions);
        const std::string where = csv.rows[row][0] + " at " + csv.rows[row][1];
        ASSERT_TRUE(r.has_value()) << where;
        EXPECT_FALSE(r->isError()) << where << ": " << r->message;
        EXPECT_EQ(r->upperUm, *csv.number(row, "upper_um")) << where;
        EXPECT_EQ(r->lowerUm, *csv.number(row, "lower_um")) << where;
    }
}

} // namespace
} // namespace zam1
