// The compiled-in ISO 286 tables against the reference CSV files, cell by cell, so
// the two cannot drift apart.

#include <gtest/gtest.h>

#include <string>

#include "core/standards/iso286.h"
#include "core/standards/iso286_tables.h"
#include "tests/standards/csv_reader.h"

namespace zam1 {
namespace {

using iso286::Letter;
using iso286::RangeSet;
using test::CsvTable;
using test::readCsv;

// Each CSV row must be the range of the same number in the set the table uses.
void expectRowsAreRanges(const CsvTable& csv, RangeSet set, const char* file) {
    ASSERT_EQ(static_cast<int>(csv.rows.size()), iso286::rangeCount(set)) << file;
    for (std::size_t i = 0; i < csv.rows.size(); ++i) {
        EXPECT_EQ(std::to_string(iso286::rangeLimit(set, static_cast<int>(i) + 1)), csv.rows[i][1])
            << file << " row " << i + 1;
    }
}

TEST(Iso286Tables, StandardTolerancesMatchTheReference) {
    const CsvTable csv = readCsv("iso286/it_grades.csv");
    expectRowsAreRanges(csv, RangeSet::Main, "it_grades.csv");
    for (std::size_t row = 0; row < csv.rows.size(); ++row) {
        for (int grade = 1; grade <= 18; ++grade) {
            const auto expected = csv.number(row, "IT" + std::to_string(grade));
            ASSERT_TRUE(expected.has_value());
            EXPECT_EQ(iso286::standardTolerance(grade, static_cast<int>(row) + 1), *expected)
                << "IT" << grade << " range " << row + 1;
        }
    }
}

TEST(Iso286Tables, DeltaMatchesTheReference) {
    const CsvTable csv = readCsv("iso286/delta.csv");
    ASSERT_EQ(csv.rows.size(), std::size_t{iso286::kMainRangesTo500});
    for (std::size_t row = 0; row < csv.rows.size(); ++row) {
        for (int grade = 3; grade <= 8; ++grade) {
            const auto expected = csv.number(row, "delta" + std::to_string(grade));
            ASSERT_TRUE(expected.has_value());
            EXPECT_EQ(iso286::delta(grade, static_cast<int>(row) + 1), *expected)
                << "delta" << grade << " range " << row + 1;
        }
    }
}

struct LetterColumn {
    const char* name;
    Letter letter;
};

// Where the reference has a value the table holds it; where the reference has
// none the table has no row or holds 0 (t, v, y below their first range).
void expectLettersMatch(const char* file, RangeSet set, std::initializer_list<LetterColumn> columns) {
    const CsvTable csv = readCsv(std::string("iso286/") + file);
    expectRowsAreRanges(csv, set, file);
    for (const LetterColumn& column : columns) {
        EXPECT_EQ(iso286::rangeSetOf(column.letter), set) << column.name;
        for (std::size_t row = 0; row < csv.rows.size(); ++row) {
            const auto expected = csv.number(row, column.name);
            const auto actual = iso286::fundamental(column.letter, static_cast<int>(row) + 1);
            if (expected) {
                ASSERT_TRUE(actual.has_value()) << column.name << " range " << row + 1;
                EXPECT_EQ(*actual, *expected) << column.name << " range " << row + 1;
            } else {
                EXPECT_TRUE(!actual || *actual == 0) << column.name << " range " << row + 1;
            }
        }
    }
}

TEST(Iso286Tables, FundamentalDeviationsMatchTheReference) {
    expectLettersMatch("shaft_main_ranges.csv", RangeSet::Main,
                       {{"d", Letter::d}, {"e", Letter::e}, {"f", Letter::f}, {"g", Letter::g},
                        {"k4_7", Letter::k}, {"m", Letter::m}, {"n", Letter::n}, {"p", Letter::p},
                        {"cd", Letter::cd}, {"ef", Letter::ef}, {"fg", Letter::fg}});
    expectLettersMatch("shaft_intermediate_I.csv", RangeSet::IntermediateI,
                       {{"a", Letter::a}, {"b", Letter::b}, {"c", Letter::c}, {"r", Letter::r}, {"s", Letter::s}});
    expectLettersMatch("shaft_intermediate_II.csv", RangeSet::IntermediateII,
                       {{"t", Letter::t}, {"u", Letter::u}, {"v", Letter::v}, {"x", Letter::x}, {"y", Letter::y},
                        {"z", Letter::z}, {"za", Letter::za}, {"zb", Letter::zb}, {"zc", Letter::zc}});
}

// j and J have no formula: their limit pairs are compared whole, through the
// evaluation, at the middle of every range.
TEST(Iso286Tables, ShaftJAndHoleJMatchTheReference) {
    const CsvTable csv = readCsv("iso286/j_shaft_J_hole.csv");
    ASSERT_EQ(csv.rows.size(), std::size_t{iso286::kMainRangesTo500});
    const std::pair<const char*, int> codes[] = {{"j", 5}, {"j", 6}, {"j", 7}, {"j", 8},
                                                 {"J", 6}, {"J", 7}, {"J", 8}};
    for (std::size_t row = 0; row < csv.rows.size(); ++row) {
        const long double nominal = (std::stold(csv.rows[row][0]) + std::stold(csv.rows[row][1])) / 2;
        for (const auto& [letter, grade] : codes) {
            const std::string prefix = std::string(letter) + std::to_string(grade);
            const bool hole = letter[0] == 'J';
            const auto upper = csv.number(row, prefix + (hole ? "_ES" : "_es"));
            const auto lower = csv.number(row, prefix + (hole ? "_EI" : "_ei"));
            if (!upper) continue;  // j8 is printed only up to 3 mm
            ASSERT_TRUE(lower.has_value());
            IsoStepPositions positions;
            std::string letters = letter;
            const auto r = IsoDeviations(letters, grade, nominal, positions);
            ASSERT_TRUE(r.has_value());
            EXPECT_EQ(r->kind, IsoMessageKind::None) << prefix << " at " << static_cast<double>(nominal);
            EXPECT_EQ(r->upperUm, *upper) << prefix << " at " << static_cast<double>(nominal);
            EXPECT_EQ(r->lowerUm, *lower) << prefix << " at " << static_cast<double>(nominal);
        }
    }
}

} // namespace
} // namespace zam1
