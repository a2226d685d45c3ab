// "zam1.cfg" entry by entry, through the settings table: where every value is
// written, what reading takes for values outside their range, and what a file
// that ends early gives.
#include <gtest/gtest.h>

#include <algorithm>
#include <cmath>
#include <cstdio>
#include <set>

#include "core/config/config_file.h"
#include "core/config/config_rows.h"
#include "core/config/settings_texts.h"
#include "core/platform/file_io.h"
#include "core/text/ascii_case.h"
#include "core/text/codepage.h"
#include "core/text/number_format.h"
#include "tests/support/number_lines.h"
#include "tests/config/config_rows_support.h"
#include "tests/support/lines.h"

namespace zam1 {
namespace {

using test::joinLines;
using test::splitLines;

using test::defaults;
using test::kScreen;
using test::kStart;
using test::parsed;
constexpr std::size_t kNone = SIZE_MAX;

// Where the entries stand in a file written from a configuration: the line of
// every entry's value (kNone for a plot command line not in use) and the first
// line of every row. The labels are checked on the way.
struct Layout {
    std::vector<std::size_t> value;     // per entry
    std::vector<std::size_t> rowStart;  // per row 1 .. 107, and 108 for the end
};

Layout layoutOf(const std::vector<std::string>& lines, const Configuration& c) {
    Layout out;
    out.rowStart.assign(109, kNone);
    std::size_t pos = 2;
    int count = 1;
    for (const ConfigRow& row : configRows()) {
        if (out.rowStart[static_cast<std::size_t>(row.row)] == kNone) out.rowStart[static_cast<std::size_t>(row.row)] = pos;
        if (row.label != nullptr) {
            EXPECT_EQ(lines.at(pos), utf8ToOem(row.label)) << "line " << pos;
            ++pos;
        }
        if (row.kind == RowKind::PlotCount) count = static_cast<int>(row.at.number(c));
        if (row.kind == RowKind::WindowPart && row.part > 0) {
            out.value.push_back(out.value.back());
        } else if (row.kind == RowKind::PlotLine && row.part > count) {
            out.value.push_back(kNone);
        } else {
            out.value.push_back(pos++);
        }
    }
    out.rowStart[108] = pos;
    EXPECT_EQ(pos, lines.size());
    return out;
}

std::string numberText(long double v) {
    char text[64];
    std::snprintf(text, sizeof text, "%.21Lg", v);
    return text;
}

bool isRealKind(RowKind kind) { return kind == RowKind::Real || kind == RowKind::ShortReal; }

TEST(ConfigRows, EveryValueStandsInItsLineAndReadsBack) {
    Configuration base = defaults();
    base.plotCommandCount = 5;
    const std::string baseText = configurationText(base);
    const auto baseLines = splitLines(baseText);
    const Layout layout = layoutOf(baseLines, base);
    EXPECT_EQ(test::differences(parsed(baseText), base), std::vector<std::string>{});

    std::set<std::size_t> realLines;
    const auto rows = configRows();
    for (std::size_t i = 0; i < rows.size(); ++i) {
        if (isRealKind(rows[i].kind)) realLines.insert(layout.value[i]);
    }
    for (std::size_t i = 0; i < rows.size(); ++i) {
        const ConfigRow& row = rows[i];
        if (!row.at.any()) continue;
        SCOPED_TRACE(test::rowName(row));
        Configuration c = base;
        test::setDistinct(row, c, static_cast<int>(i));
        ASSERT_NE(test::differences(base, c), std::vector<std::string>{});
        const std::string text = configurationText(c);
        const auto lines = splitLines(text);
        if (row.kind != RowKind::PlotCount) {
            // The decimals setting also sets the places of every real.
            const bool decimals = row.at.integer != nullptr && &row.at.integer(c) == &c.decimals;
            ASSERT_EQ(lines.size(), baseLines.size());
            std::set<std::size_t> changed;
            for (std::size_t l = 0; l < lines.size(); ++l) {
                if (lines[l] != baseLines[l] && !(decimals && realLines.count(l) != 0)) changed.insert(l);
            }
            EXPECT_EQ(changed, std::set<std::size_t>{layout.value[i]});
        }
        EXPECT_EQ(test::differences(parsed(text), c), std::vector<std::string>{});
    }
}

// The probes of a value line and what reading each of them gives.
struct Probe {
    std::string line;
    long double number = 0;  // for numbers, flags and letters
    std::string text;        // for texts
};

std::vector<Probe> probes(const ConfigRow& row, const Configuration& before) {
    std::vector<Probe> out;
    const Configuration initial = defaults();
    const auto value = [&](long double p) {
        const ValidRange& v = row.valid;
        switch (row.fallback) {
        case Fallback::Replace:
        case Fallback::ReplaceWithPrintScale: return v.holds(p) ? p : row.replacement.number;
        case Fallback::ScreendumpScale: return v.holds(p) ? p : before.screendumpScale;
        case Fallback::Clamp: return std::clamp(p, v.lo, v.hi);
        case Fallback::ScreenWidth: return p == 0 || p == -1 ? kScreen.width - row.replacement.number : p;
        case Fallback::ScreenHeight: return p == 0 || p == -1 ? kScreen.height - row.replacement.number : p;
        default: return p;
        }
    };
    switch (row.kind) {
    case RowKind::Integer:
    case RowKind::PlotCount: {
        std::vector<long double> numbers{0, -1, 1, 2, 100000};
        for (const long double bound : {row.valid.lo, row.valid.hi}) {
            if (std::isfinite(bound)) numbers.insert(numbers.end(), {bound - 1, bound, bound + 1});
        }
        for (const long double p : numbers) out.push_back({intText(static_cast<long long>(p)), value(p), {}});
        out.push_back({"", value(0), {}});
        out.push_back({"x", value(0), {}});
        out.push_back({"99999999999", value(0), {}});  // beyond an int
        break;
    }
    case RowKind::Real:
    case RowKind::ShortReal: {
        std::vector<std::string> lines{"0", "-1", "2.5", "1,5", "x", "", "1e3"};
        if (std::isfinite(row.valid.lo)) {
            lines.push_back(numberText(row.valid.lo));
            lines.push_back(numberText(row.valid.lo * 0.5L));
        }
        for (const std::string& l : lines) out.push_back({l, value(numberOrZero(l)), {}});
        break;
    }
    case RowKind::Boolean:
    case RowKind::BooleanUnlessFalse:
        for (const char* l : {"TRUE", "true", "yes", "FALSE", "false", "", "1"}) {
            const std::string upper = asciiUpper(l);
            const bool flag = row.kind == RowKind::Boolean ? upper == "TRUE" : upper != "FALSE";
            out.push_back({l, flag ? 1.0L : 0.0L, {}});
        }
        break;
    case RowKind::Letter:
        for (const char* l : {"", "J", "Nein", "x"}) out.push_back({l, static_cast<long double>(*l != 0 ? *l : 'N'), {}});
        break;
    case RowKind::Text:
    case RowKind::FileName:
    case RowKind::PlotLine:
        for (const char* l : {"", "abc"}) {
            std::string text = row.kind == RowKind::Text ? std::string(l) : oemToUtf8(l);
            if (text.empty()) {
                if (row.fallback == Fallback::Replace) text = row.replacement.text;
                if (row.fallback == Fallback::KeepWhenEmpty) text = row.at.text(initial);
                if (row.fallback == Fallback::StartDirectory) text = kStart;
            }
            out.push_back({l, 0, text});
        }
        break;
    default: break;
    }
    return out;
}

// Each row of a file of distinct settings in turn: `check(row, settings,
// readWith)`, where readWith(line) reads the file with that line in the row's
// value's place.
template <class Check>
void forEachRowValue(Check check) {
    const Configuration d = test::distinctConfiguration(defaults());
    const auto lines = splitLines(configurationText(d));
    const Layout layout = layoutOf(lines, d);
    const auto rows = configRows();
    for (std::size_t i = 0; i < rows.size(); ++i) {
        const auto readWith = [&](const std::string& value) {
            auto changed = lines;
            changed[layout.value[i]] = value;
            return parsed(joinLines(changed));
        };
        check(rows[i], d, readWith);
    }
}

TEST(ConfigRows, ValuesOutsideTheirRangeReadAsTheirFallbacks) {
    forEachRowValue([](const ConfigRow& row, const Configuration& d, const auto& readWith) {
        for (const Probe& p : probes(row, d)) {
            const Configuration c = readWith(p.line);
            if (row.at.isText()) {
                EXPECT_EQ(row.at.text(c), p.text) << test::rowName(row) << " \"" << p.line << '"';
            } else {
                EXPECT_EQ(row.at.number(c), p.number) << test::rowName(row) << " \"" << p.line << '"';
            }
        }
    });
}

// A number too fine for its row's form in the file (a width factor of 0.000001
// is written "0", which the row refuses) must not make the file written from
// the settings read back as other settings. The form keeps about three digits,
// so 0.99999999 is written "1.0000" and then "1.0": the same setting.
TEST(ConfigRows, WhatIsReadWritesAFileThatReadsBackTheSame) {
    forEachRowValue([](const ConfigRow& row, const Configuration&, const auto& readWith) {
        if (row.kind != RowKind::Real && row.kind != RowKind::ShortReal) return;
        for (const char* fine : {"0.000001", "-0.000001", "0.00000001", "1e-300", "0.99999999", "1.00000004"}) {
            const std::string written = configurationText(readWith(fine));
            const std::string again = configurationText(parsed(written));
            EXPECT_TRUE(test::sameLineByLine(again, written)) << test::rowName(row) << " \"" << fine << '"';
        }
    });
}

// With fewer report decimals than three, a short setting such as the CAD text
// width factor keeps what was typed through any number of saves.
TEST(ConfigRows, ShortSettingsKeepTheirDigitsThroughSavesWithFewDecimals) {
    for (const ConfigRow& row : configRows()) {
        if (row.kind != RowKind::ShortReal) continue;
        for (const int decimals : {1, 2}) {
            for (const long double typed : {0.85L, 2.5L, 12.5L, 1.25L}) {
                Configuration c = defaults();
                c.decimals = decimals;
                row.at.setNumber(c, typed);
                Configuration saved = c;
                for (int save = 1; save <= 3; ++save) saved = parsed(configurationText(saved));
                EXPECT_NEAR(static_cast<double>(row.at.number(saved)), static_cast<double>(typed), 1e-12)
                    << test::rowName(row) << ", decimals " << decimals;
            }
        }
    }
}

TEST(ConfigRows, TextWindowTakesItsFourNumbersOnlyWithWidthAndHeight) {
    const Configuration d = test::distinctConfiguration(defaults());
    auto lines = splitLines(configurationText(d));
    const std::size_t line = layoutOf(lines, d).rowStart[81] + 1;
    const std::array<int, 4> kept = defaults().textWindow;
    struct Case {
        const char* line;
        std::array<int, 4> window;
    };
    const Case cases[] = {
        {"1|2|3|4|", {1, 2, 3, 4}}, {"1|2|3|4", {1, 2, 3, 4}}, {"1|2|0|4|", kept},
        {"1|2|3|", kept},           {"", kept},                {"-1|x|3|4|9|", {-1, 0, 3, 4}},
    };
    for (const Case& c : cases) {
        lines[line] = c.line;
        EXPECT_EQ(parsed(joinLines(lines)).textWindow, c.window) << c.line;
    }
}

TEST(ConfigRows, ScreendumpScaleOutOfRangeResetsThePrintScale) {
    const Configuration d = test::distinctConfiguration(defaults());
    auto lines = splitLines(configurationText(d));
    const Layout layout = layoutOf(lines, d);
    lines.resize(layout.rowStart[62]);
    const std::size_t scale = layout.rowStart[60] + 1;
    for (const auto& [line, printScale] : {std::pair{"0", 1.0L}, std::pair{"2", 7.0L}}) {
        lines[scale] = line;
        Configuration c = defaults();
        c.printScaleVertical = 7;
        parseConfiguration(joinLines(lines), c, kScreen, kStart);
        EXPECT_EQ(c.printScaleVertical, printScale) << line;
    }
}

// A file cut after any row: the rows it has read as written, those up to the next
// row after which a file may end read as empty lines, and the rest keep their
// defaults (the screen text of files that end at row 36 or before follows CAD's).
TEST(ConfigRows, FileEndingAfterAnyRow) {
    const Configuration d = test::distinctConfiguration(defaults());
    const auto lines = splitLines(configurationText(d));
    const Layout layout = layoutOf(lines, d);
    const auto rows = configRows();
    std::set<int> stops;
    for (const ConfigRow& row : rows) {
        if (row.mayEndAfter) stops.insert(row.row);
    }
    EXPECT_EQ(stops, (std::set<int>{12, 13, 17, 25, 32, 33, 34, 35, 36, 38, 54, 57, 61, 63, 65, 66, 67, 68, 70, 71, 74, 75, 77}));
    const Configuration initial = defaults();
    for (int cutAfter = 0; cutAfter <= 107; ++cutAfter) {
        SCOPED_TRACE("cut after row " + std::to_string(cutAfter));
        const auto stop = stops.lower_bound(cutAfter);
        const int readTo = stop == stops.end() ? 107 : *stop;
        const std::size_t end = layout.rowStart[static_cast<std::size_t>(cutAfter) + 1];
        const Configuration cut = parsed(joinLines(lines, end));
        auto blanked = lines;
        for (std::size_t l = end; l < layout.rowStart[static_cast<std::size_t>(readTo) + 1]; ++l) blanked[l].clear();
        const Configuration empty = parsed(joinLines(blanked));
        Configuration expected = empty;
        for (const ConfigRow& row : rows) {
            if (row.row <= readTo || !row.at.any()) continue;
            switch (row.whenMissing) {
            case WhenMissing::Keep:
                if (row.at.isText()) {
                    row.at.setText(expected, row.at.text(initial));
                } else {
                    row.at.setNumber(expected, row.at.number(initial));
                }
                break;
            case WhenMissing::Initial: row.at.set(expected, row.initial); break;
            case WhenMissing::CadTextWidthFactor: row.at.setNumber(expected, expected.cadTextWidthFactor); break;
            }
        }
        EXPECT_EQ(test::differences(expected, cut), std::vector<std::string>{});
        if (cutAfter == 36) {
            EXPECT_EQ(cut.graphicsTextWidthFactor, d.cadTextWidthFactor);
        }
    }
}

// The file of a program without configuration, with all five plot command lines
// in use, as it always was.
TEST(ConfigRows, DefaultFile) {
    Configuration c = defaults();
    c.plotCommandCount = 5;
    std::string expected;
    ASSERT_EQ(readWholeFile(std::string(ZAM1_SOURCE_DIR) + "/tests/config/default_zam1.cfg", expected), kIoOk);
    auto lines = splitLines(configurationText(c));
    ASSERT_GT(lines.size(), 2u);
    EXPECT_EQ(lines[1], std::string("Version ") + ZAM1_VERSION);
    lines[1] = "Version";
    EXPECT_EQ(joinLines(lines), expected);
}

// Every text the settings dialog shows of the table has its English and French
// words: a row added without them would show German on an English screen.
TEST(ConfigRows, EveryDialogTextHasItsWordsInEveryLanguage) {
    std::vector<std::string> texts;
    for (int t = 0; t < kSettingsTabs; ++t) texts.emplace_back(settingsTabTitle(static_cast<SettingsTab>(t)));
    for (int g = 0; g < kSettingsGroups; ++g) texts.emplace_back(settingsGroupTitle(static_cast<SettingsGroup>(g)));
    for (const ConfigRow& row : configRows()) {
        if (row.dialog.editor == SettingsEditor::None) continue;
        texts.emplace_back(row.dialog.label);
        for (const SettingsChoice& choice : row.dialog.choices) texts.emplace_back(choice.text);
    }
    // Names of languages (each in its own), of menu commands and signs read alike everywhere.
    const std::set<std::string> same = {"Deutsch", "English", "Español", "Français", "Italiano", "Português", "Română",
                                        "Svenska", "Quick 1", "Quick 2", "a,b,c...", "2 u  deg"};
    for (const std::string& german : texts) {
        if (same.count(german) != 0) continue;
        // Numbers and codes ("1", "DD.MM.YYYY") read alike in every language.
        const bool word = std::any_of(german.begin(), german.end(), [](char c) { return c >= 'a' && c <= 'z'; });
        if (!word || german.find("x.xx") != std::string::npos || german.find("x,xx") != std::string::npos ||
            german.find("inch") != std::string::npos || german.find(" mm") != std::string::npos) {
            continue;
        }
        SCOPED_TRACE(german);
        EXPECT_TRUE(settingsTextKnown(german));
        EXPECT_EQ(settingsText(german, 1), german);
    }
    // A numbered label keeps its number; an unknown text stays as it is.
    const struct {
        const char* german;
        int language;
        const char* shown;
    } rows[] = {
        {"Strichstärke Layer 17", 2, "Line width of layer 17"},
        {"Strichstärke Layer 17", 3, "Épaisseur de trait du calque 17"},
        {"Strichstärke Layer 17", 0, "Strichstärke Layer 17"},
        {"Zoomfaktor", 9, "Zoomfaktor"},
        {"unbekannt 3", 2, "unbekannt 3"},
    };
    for (const auto& row : rows) EXPECT_EQ(settingsText(row.german, row.language), row.shown) << row.german;
}

} // namespace
} // namespace zam1
