// The compiled-in ISO 286 tables against the reference CSV files, cell by cell, so
// the two cannot drift apart.

#include <gtest/gtest.h>

#include <functional>
#include <string>

#include "core/standards/iso286.h"
#include "core/standards/iso286_tables.h"
#include "tests/standards/csv_reader.h"

namespace zam1 {
namespace {

using iso286::Letter;
using iso286::RangeSet;

// Compares every cell of the named columns: `table(row, column)` is the compiled
// value of range row + 1, nothing where the compiled table has no row.
using Lookup = std::function<std::optional<long double>(int range, std::size_t column)>;

void expectTable(const char* file, std::size_t rangeCount, const std::vector<std::string>& columns, const Lookup& table) {
    const test::CsvTable csv = test::readCsv(std::string("iso286/") + file);
    ASSERT_EQ(csv.rows.size(), rangeCount) << file;
    for (std::size_t row = 0; row < csv.rows.size(); ++row) {
        for (std::size_t c = 0; c < columns.size(); ++c) {
            const auto expected = csv.number(row, columns[c]);
            const auto actual = table(static_cast<int>(row) + 1, c);
            // ISO has no value there: the table has no row, or holds 0 below t, v, y.
            if (!expected) {
                EXPECT_TRUE(!actual || *actual == 0) << file << " " << columns[c] << " row " << row + 1;
            } else {
                EXPECT_EQ(actual, expected) << file << " " << columns[c] << " row " << row + 1;
            }
        }
    }
}

void expectLetters(const char* file, RangeSet set, const std::vector<std::string>& names,
                   const std::vector<Letter>& letters) {
    for (int range = 1; range <= iso286::rangeCount(set); ++range) {  // rows are the ranges of the set
        EXPECT_EQ(iso286::rangeOf(set, iso286::rangeLimit(set, range) - 1), range);
    }
    expectTable(file, static_cast<std::size_t>(iso286::rangeCount(set)), names, [&](int range, std::size_t c) {
        EXPECT_EQ(iso286::rangeSetOf(letters[c]), set) << names[c];
        const auto value = iso286::fundamental(letters[c], range);
        return value ? std::optional<long double>(*value) : std::nullopt;
    });
}

TEST(Iso286Tables, MatchTheReferenceCellByCell) {
    std::vector<std::string> it;
    for (int grade = 1; grade <= 18; ++grade) it.push_back("IT" + std::to_string(grade));
    expectTable("it_grades.csv", 21, it, [](int range, std::size_t c) {
        return std::optional<long double>(iso286::standardTolerance(static_cast<int>(c) + 1, range));
    });
    expectTable("delta.csv", 13, {"delta3", "delta4", "delta5", "delta6", "delta7", "delta8"},
                [](int range, std::size_t c) {
                    return std::optional<long double>(iso286::delta(static_cast<int>(c) + 3, range));
                });
    expectLetters("shaft_main_ranges.csv", RangeSet::Main, {"d", "e", "f", "g", "k4_7", "m", "n", "p", "cd", "ef", "fg"},
                  {Letter::d, Letter::e, Letter::f, Letter::g, Letter::k, Letter::m, Letter::n, Letter::p,
                   Letter::cd, Letter::ef, Letter::fg});
    expectLetters("shaft_intermediate_I.csv", RangeSet::IntermediateI, {"a", "b", "c", "r", "s"},
                  {Letter::a, Letter::b, Letter::c, Letter::r, Letter::s});
    expectLetters("shaft_intermediate_II.csv", RangeSet::IntermediateII,
                  {"t", "u", "v", "x", "y", "z", "za", "zb", "zc"},
                  {Letter::t, Letter::u, Letter::v, Letter::x, Letter::y, Letter::z, Letter::za, Letter::zb, Letter::zc});
}

// j and J have no formula: their limit pairs are compared whole, through the
// evaluation, at the middle of every range. j8 is printed only up to 3 mm.
TEST(Iso286Tables, ShaftJAndHoleJMatchTheReference) {
    const test::CsvTable csv = test::readCsv("iso286/j_shaft_J_hole.csv");
    ASSERT_EQ(csv.rows.size(), 13u);
    const char* const codes[] = {"j5", "j6", "j7", "j8", "J6", "J7", "J8"};
    for (std::size_t row = 0; row < csv.rows.size(); ++row) {
        const long double nominal = (*csv.number(row, "over_mm") + *csv.number(row, "up_to_mm")) / 2;
        for (const std::string code : codes) {
            const bool hole = code[0] == 'J';
            const auto upper = csv.number(row, code + (hole ? "_ES" : "_es"));
            if (!upper) continue;
            IsoStepPositions positions;
            std::string letters = code.substr(0, 1);
            const auto r = IsoDeviations(letters, code[1] - '0', nominal, positions);
            ASSERT_TRUE(r.has_value());
            EXPECT_EQ(r->message, "") << code << " row " << row + 1;
            EXPECT_EQ(r->upperUm, *upper) << code << " row " << row + 1;
            EXPECT_EQ(r->lowerUm, csv.number(row, code + (hole ? "_EI" : "_ei"))) << code << " row " << row + 1;
        }
    }
}

} // namespace
} // namespace zam1
