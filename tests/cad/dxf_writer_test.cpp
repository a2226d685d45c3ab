#include <gtest/gtest.h>

#include <algorithm>
#include <sstream>
#include <string>
#include <vector>

#include "core/cad/dxf_writer.h"
#include "core/text/codepage.h"
#include "tests/cad/sample_drawing.h"
#include "tests/support/scripted.h"

namespace zam1 {
namespace {

// The file as (group code, value) pairs, codes without their padding.
std::vector<std::pair<std::string, std::string>> pairs(const std::string& dxf) {
    std::vector<std::string> lines;
    std::istringstream in(dxf);
    for (std::string line; std::getline(in, line);) {
        EXPECT_EQ(line.back(), '\r');
        line.pop_back();
        lines.push_back(line);
    }
    std::vector<std::pair<std::string, std::string>> out;
    for (std::size_t i = 0; i + 1 < lines.size(); i += 2) {
        std::string code = lines[i];
        code.erase(0, code.find_first_not_of(' '));
        out.emplace_back(code, lines[i + 1]);
    }
    return out;
}

// Every value of one group code, in file order.
std::vector<std::string> values(const std::string& dxf, const std::string& code) {
    std::vector<std::string> out;
    for (const auto& [c, v] : pairs(dxf)) {
        if (c == code) out.push_back(v);
    }
    return out;
}

struct DxfFixture : ::testing::Test {
    DrawingSettings settings;
    std::ostringstream out;
    test::TestPrompter prompter;
    std::string write(void (*draw)(DxfWriter&)) {
        DxfWriter w(out, settings, &prompter);
        draw(w);
        w.finish();
        return out.str();
    }
};

TEST_F(DxfFixture, HeaderCarriesTheSheetWithTheConfiguredDecimals) {
    settings.cadDecimals = 3;
    const std::string dxf = write([](DxfWriter& w) { w.openSheet({0, 0, 160, 120}); });
    EXPECT_EQ(dxf,
              "  0\r\nSECTION\r\n  2\r\nHEADER\r\n"
              "  9\r\n$DWGCODEPAGE\r\n  3\r\nDOS850\r\n"
              "  9\r\n$EXTMIN\r\n 10\r\n0.000\r\n 20\r\n0.000\r\n"
              "  9\r\n$EXTMAX\r\n 10\r\n160.000\r\n 20\r\n120.000\r\n"
              "  9\r\n$LIMMIN\r\n 10\r\n0.000\r\n 20\r\n0.000\r\n"
              "  9\r\n$LIMMAX\r\n 10\r\n160.000\r\n 20\r\n120.000\r\n"
              "  9\r\n$LTSCALE\r\n 40\r\n15\r\n  0\r\nENDSEC\r\n  0\r\nEOF\r\n");
}

TEST_F(DxfFixture, SectionsComeInOrderAndEveryOneIsClosed) {
    const std::string dxf = write([](DxfWriter& w) {
        w.openSheet({});
        w.beginBlock("B");
        w.line({0, 0}, {1, 1});
        w.endBlock();
        w.beginPage();
        w.insertBlock("B", {5, 5}, 0, 1, 1);
        w.endPage();
    });
    std::vector<std::string> structure;
    const auto isOneOf = [](const std::string& v, std::initializer_list<const char*> set) {
        return std::find(set.begin(), set.end(), v) != set.end();
    };
    for (const auto& [c, v] : pairs(dxf)) {
        if ((c == "0" && isOneOf(v, {"SECTION", "ENDSEC", "BLOCK", "ENDBLK", "LINE", "INSERT", "EOF"})) ||
            (c == "2" && isOneOf(v, {"HEADER", "TABLES", "BLOCKS", "ENTITIES"}))) {
            structure.push_back(v);
        }
    }
    EXPECT_EQ(structure, (std::vector<std::string>{"SECTION", "HEADER", "ENDSEC", "SECTION", "TABLES", "ENDSEC",
                                                   "SECTION", "BLOCKS", "BLOCK", "LINE", "ENDBLK", "ENDSEC",
                                                   "SECTION", "ENTITIES", "INSERT", "ENDSEC", "EOF"}));
}

TEST_F(DxfFixture, LayerTableVariantsAndMonochrome) {
    struct Case { int variant; bool mono; std::size_t layers; std::string colours; std::string types; };
    const Case cases[] = {
        {0, false, 6, "1 2 2 2 3 1", "CONTINUOUS DASHDOT DASHED CONTINUOUS CONTINUOUS CONTINUOUS"},
        {1, false, 16, "1 2 3 4 5 6 7 8 9 10 11 12 13 14 15 16", ""},
        {2, false, 22, "1 2 2 2 3 1 1 2 3 4 5 6 7 8 9 10 11 12 13 14 15 16", ""},
        {2, true, 22, "1 1 1 1 1 1 1 1 1 1 1 1 1 1 1 1 1 1 1 1 1 1", ""},
    };
    for (const Case& c : cases) {
        settings.layerMonochrome = c.mono;
        std::ostringstream o;
        DxfWriter w(o, settings);
        w.openSheet({});
        w.tables(c.variant);
        w.finish();
        std::string colours, types;
        for (const std::string& v : values(o.str(), "62")) colours += (colours.empty() ? "" : " ") + v;
        const auto lineTypes = values(o.str(), "6");
        EXPECT_EQ(lineTypes.size(), c.layers) << c.variant;
        EXPECT_EQ(colours, c.colours) << c.variant;
        if (!c.types.empty()) {
            for (const std::string& v : lineTypes) types += (types.empty() ? "" : " ") + v;
            EXPECT_EQ(types, c.types);
        }
    }
}

TEST_F(DxfFixture, EntitiesCarryTheLayerNameOnly) {
    settings.layerNames[0] = "MITTE";
    settings.layerNames[3] = "";
    const std::string dxf = write([](DxfWriter& w) {
        for (int layer : {1, 2, 4, 17, 0}) {
            w.setLayer(layer);
            w.line({0, 0}, {1, 1});
        }
    });
    EXPECT_EQ(values(dxf, "8"), (std::vector<std::string>{"MITTE", "2", "4", "17", "0"}));
    EXPECT_TRUE(values(dxf, "62").empty());
}

// Layer names come from zam1.cfg as typed; a CR or another control character in
// one would cut the file's pairs. Every value stays one line.
TEST_F(DxfFixture, ControlCharactersInNamesBecomeBlanks) {
    settings.layerNames[0] = "MI\rTTE";
    settings.layerNames[1] = "a\nb\tc\x7F";
    const std::string dxf = write([](DxfWriter& w) {
        w.openSheet({});
        w.tables(0);
        w.beginBlock("B\r1");
        w.line({0, 0}, {1, 1});
        w.endBlock();
        w.beginPage();
        for (int layer : {1, 2}) {
            w.setLayer(layer);
            w.line({0, 0}, {1, 1});
        }
        w.insertBlock("B\r1", {0, 0}, 0, 1, 1);
        w.endPage();
    });
    std::size_t at = 0;
    while ((at = dxf.find_first_of("\r\n", at)) != std::string::npos) {
        ASSERT_EQ(dxf.compare(at, 2, "\r\n"), 0) << "a bare line break at " << at;
        at += 2;
    }
    const auto layers = values(dxf, "8");
    EXPECT_NE(std::find(layers.begin(), layers.end(), "MI TTE"), layers.end());
    EXPECT_NE(std::find(layers.begin(), layers.end(), "a b c "), layers.end());
    const auto names = values(dxf, "2");
    EXPECT_NE(std::find(names.begin(), names.end(), "MI TTE"), names.end());
    EXPECT_NE(std::find(names.begin(), names.end(), "B 1"), names.end());
}

TEST_F(DxfFixture, WholeArcsAreCircles) {
    const std::string dxf = write([](DxfWriter& w) {
        w.arc({5, 6}, 0, 360, 2);
        w.arc({5, 6}, 360, 0, 2);
        w.arc({5, 6}, 45, 45, 2);
        w.arc({5, 6}, 0, 359.99L, 2);
    });
    std::vector<std::string> types;
    for (const auto& [c, v] : pairs(dxf)) {
        if (c == "0") types.push_back(v);
    }
    EXPECT_EQ(types, (std::vector<std::string>{"CIRCLE", "CIRCLE", "CIRCLE", "ARC", "EOF"}));
    EXPECT_EQ(values(dxf, "10").front(), "5.000000");
    EXPECT_EQ(values(dxf, "40").front(), "2.000000");
    EXPECT_EQ(values(dxf, "51"), std::vector<std::string>{"359.990000"});
}

TEST_F(DxfFixture, TextGroupsUseTheShortNumberForm) {
    settings.cadTextAngle = 15;
    settings.numbers = {3, true};  // the comma never reaches a DXF file
    const std::string dxf = write([](DxfWriter& w) {
        w.setTextStyle({0, 1.5L, 2, 0, 0.75L});
        w.text("A", {1, 2});
        w.setTextStyle({0, 0, 3.5L, 90, 0.7L});
        w.text("B", {1, 2});
    });
    EXPECT_EQ(values(dxf, "41"), (std::vector<std::string>{"0.75", "0.7"}));
    EXPECT_EQ(values(dxf, "50"), (std::vector<std::string>{"0", "90"}));
    EXPECT_EQ(values(dxf, "51"), (std::vector<std::string>{"15", "15"}));
    EXPECT_EQ(values(dxf, "40"), (std::vector<std::string>{"2.000000", "3.500000"}));
    EXPECT_EQ(values(dxf, "7"), (std::vector<std::string>{"STANDARD", "STANDARD"}));
}

TEST_F(DxfFixture, TextModesAndLineBreaksInTexts) {
    struct Case { int mode; std::string text; std::string written; };
    const Case cases[] = {
        {1, test::kUmlautText, test::kUmlautText},
        {2, test::kUmlautText, "Gr\xF6\xDFtma\xDF \xDC" "berg\xE4nge"},
        {3, test::kUmlautText, "Groesstmass Uebergaenge"},
        {4, test::kUmlautText, "Gr\\U+00F6\\U+00DFtma\\U+00DF \\U+00DCberg\\U+00E4nge"},
        {4, "\xE6 \xF1 \x9D \xF8", "\\U+00B5 \\U+00B1 \\U+00D8 \\U+00B0"},  // µ ± Ø °
        {4, "C:\\U+0041 x\\y\r", "C:\\U+005CU+0041 x\\y "},  // a backslash that would begin an escape
        {7, test::kUmlautText, test::kUmlautText},
        {1, "zwei\r\nZeilen\t!", "zwei  Zeilen !"},
        {2, std::string(300, 'x'), std::string(300, 'x')},  // a long text is kept whole
    };
    for (const Case& c : cases) {
        settings.cadTextMode = cadTextModeOf(c.mode);
        std::ostringstream o;
        DxfWriter w(o, settings);
        w.text(c.text, {0, 0});
        w.finish();
        EXPECT_EQ(values(o.str(), "1"), std::vector<std::string>{c.written}) << "mode " << c.mode;
    }
}

// A text as a reader sees it: decoded by the code page the header names, and
// by Windows-1252 when it names none.
std::string readBack(const std::string& dxf) {
    const auto all = pairs(dxf);
    std::string codePage;
    std::string text;
    for (std::size_t i = 0; i < all.size(); ++i) {
        if (all[i] == std::pair<std::string, std::string>{"9", "$DWGCODEPAGE"} && i + 1 < all.size()) {
            codePage = all[i + 1].second;
        }
        if (all[i].first == "1") text = all[i].second;
    }
    std::string read = codePage == "DOS850" ? oemToUtf8(text) : ansiToUtf8(text);
    // "\U+XXXX" as every current reader decodes it, whatever the code page.
    for (std::size_t at; (at = read.find("\\U+")) != std::string::npos;) {
        std::string character;
        appendUtf8(character, static_cast<char32_t>(std::stoul(read.substr(at + 3, 4), nullptr, 16)));
        read.replace(at, 7, character);
    }
    return read;
}

TEST_F(DxfFixture, TextsReadBackWithTheirUmlautsInEveryTextMode) {
    const std::string typed = "Ma\u00DFelemente \u00B10,175 Geh\u00E4use \u00D8 5 \u00B5m";
    struct Case { int mode; std::string read; };
    const Case cases[] = {
        {1, typed},
        {2, typed},
        {3, "Masselemente \u00B10,175 Gehaeuse \u00D8 5 \u00B5m"},  // "±" has no two-letter spelling
        {4, typed},
        {7, typed},
    };
    for (const Case& c : cases) {
        settings.cadTextMode = cadTextModeOf(c.mode);
        std::ostringstream o;
        DxfWriter w(o, settings);
        w.openSheet({});
        w.beginPage();
        w.text(utf8ToOem(typed), {0, 0});
        w.finish();
        EXPECT_EQ(readBack(o.str()), c.read) << "mode " << c.mode;
    }
}

TEST_F(DxfFixture, SolidsAndInsertsOfUnknownBlocks) {
    const std::string dxf = write([](DxfWriter& w) {
        w.openSheet({});
        w.beginPage();
        w.solid({Point{0, 0}, Point{1, 0}, Point{0, 1}, Point{1, 1}});
        w.insertBlock("logo_1", {1, 1}, 0, 1, 1);
        w.endPage();
    });
    EXPECT_EQ(values(dxf, "13"), std::vector<std::string>{"1.000000"});
    EXPECT_EQ(values(dxf, "23"), std::vector<std::string>{"1.000000"});
    EXPECT_EQ(dxf.find("INSERT"), std::string::npos);
    EXPECT_EQ(prompter.errors(), std::vector<std::string>{"Blockname logo_1 not found !"});
}

} // namespace
} // namespace zam1
