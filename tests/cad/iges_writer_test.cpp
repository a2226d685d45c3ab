#include <gtest/gtest.h>

#include <map>
#include <sstream>
#include <string>
#include <vector>

#include "core/cad/iges_writer.h"
#include "tests/support/scripted.h"

namespace zam1 {
namespace {

struct Record {
    std::string data;   // columns 1-72
    char section;       // column 73
    int sequence;       // columns 74-80
};

// Splits the file into its records, checking the fixed layout of every one.
std::vector<Record> records(const std::string& iges) {
    std::vector<Record> out;
    std::istringstream in(iges);
    std::map<char, int> counters;
    for (std::string line; std::getline(in, line);) {
        EXPECT_EQ(line.back(), '\r');
        line.pop_back();
        EXPECT_EQ(line.size(), 80u) << line;
        if (line.size() != 80) continue;
        Record r{line.substr(0, 72), line[72], std::stoi(line.substr(73))};
        EXPECT_EQ(line.substr(73).find_first_not_of("0123456789"), std::string::npos) << line;
        if (r.section != 'T') {
            EXPECT_EQ(r.sequence, ++counters[r.section]) << line;
        }
        out.push_back(r);
    }
    return out;
}

std::vector<Record> section(const std::vector<Record>& all, char s) {
    std::vector<Record> out;
    for (const Record& r : all) {
        if (r.section == s) out.push_back(r);
    }
    return out;
}

std::string field(const Record& r, int n) {
    std::string f = r.data.substr(static_cast<std::size_t>(8 * (n - 1)), 8);
    f.erase(0, f.find_first_not_of(' '));
    return f;
}

struct IgesFixture : ::testing::Test {
    DrawingSettings settings;
    test::TestPrompter prompter;
    std::string fileName = "probe";
    std::string write(void (*draw)(IgesWriter&)) {
        std::ostringstream out;
        IgesWriter w(out, settings, fileName, {2024, 3, 9, 14, 5, 30}, &prompter);
        w.openSheet({0, 0, 160, 120});
        draw(w);
        w.finish();
        return out.str();
    }
};

TEST_F(IgesFixture, StartGlobalAndTerminateSections) {
    const auto all = records(write([](IgesWriter& w) { w.line({0, 0}, {1, 1}); }));
    const auto s = section(all, 'S');
    const auto g = section(all, 'G');
    ASSERT_EQ(s.size(), 3u);
    EXPECT_EQ(s[0].data.substr(0, 29), "IGES-Datei generiert von ZAM1");
    ASSERT_EQ(g.size(), 5u);
    EXPECT_EQ(g[0].data.substr(0, 24), ",,4HFILE,5Hprobe,10HZAM1");
    EXPECT_EQ(g[1].data.substr(0, 14), "16,38,6,99,15,");
    EXPECT_EQ(g[2].data.substr(0, 34), "5Hprobe,1.0,2,2HMM,32767,3.2767D1,");
    EXPECT_EQ(g[3].data.substr(0, 28), "13H240309.081107,1.0D-8,160,");
    EXPECT_EQ(all.back().data.substr(0, 32), "S0000003G0000005D0000002P0000001");
    EXPECT_EQ(all.back().section, 'T');
    EXPECT_EQ(all.back().sequence, 1);
}

TEST_F(IgesFixture, DirectoryEntriesCountInTwosAndPointAtTheirParameters) {
    const auto all = records(write([](IgesWriter& w) {
        w.setLayer(1);
        w.line({0, 0}, {1, 1});
        w.setLayer(17);
        w.arc({0, 0}, 0, 90, 2);
    }));
    const auto d = section(all, 'D');
    const auto p = section(all, 'P');
    ASSERT_EQ(d.size(), 4u);
    EXPECT_EQ(d[0].data, "     110       1       1       4       5                        00000000");
    EXPECT_EQ(d[1].data.substr(0, 32), "     110               5       1");
    EXPECT_EQ(field(d[2], 1), "100");
    EXPECT_EQ(field(d[2], 2), "2");        // parameter pointer
    EXPECT_EQ(field(d[2], 4), "1");        // line font: solid
    EXPECT_EQ(field(d[2], 5), "5");        // "Color Layer 17" 2 (yellow)
    EXPECT_EQ(field(d[2], 7), "0");        // matrix field
    EXPECT_EQ(p[0].data, "110,0.000,0.000,0.0,1.000,1.000,0.0;                                   1");
    EXPECT_EQ(p[1].data.substr(0, 44), "100,0.0,0.000,0.000,2.000,0.000,0.000,2.000;");
    EXPECT_EQ(p[1].data.substr(64), "       3");
}

TEST_F(IgesFixture, TextsAreGeneralNotesWithTheirBox) {
    const auto all = records(write([](IgesWriter& w) {
        w.setTextStyle({0, 1.75L, 2.5L, 90, 0.7L});
        w.text("Hallo", {10, 20});
    }));
    const auto p = section(all, 'P');
    ASSERT_EQ(p.size(), 2u);
    EXPECT_EQ(p[0].data.substr(0, 64),
              "212,1,5,8.750,2.500,1,,1.570796,0,0,10.000,20.000,0.0,          ");
    EXPECT_EQ(p[1].data.substr(0, 8), "5HHallo;");
}

TEST_F(IgesFixture, LongParametersBreakAfterACommaAndKeepTheirEntry) {
    settings.numbers = {9, true};  // nine decimals, and the comma that IGES never uses
    const auto all = records(write([](IgesWriter& w) { w.solid({Point{1, 2}, Point{3, 4}, Point{5, 6}, Point{7, 8}}); }));
    const auto p = section(all, 'P');
    ASSERT_GE(p.size(), 2u);
    for (const Record& r : p) {
        const std::string data = r.data.substr(0, 64);
        const std::string used = data.substr(0, data.find_last_not_of(' ') + 1);
        EXPECT_TRUE(used.back() == ',' || used.back() == ';') << used;
        EXPECT_EQ(r.data.substr(64), "       1");
        EXPECT_EQ(data.find(";"), data.find_last_of(";"));
    }
    EXPECT_EQ(p[0].data.substr(0, 23), "106,1,5,0.0,1.000000000");
    // The outline of the solid 1, 2, 4, 3 is written as 1, 3, 4, 2, 1.
    std::string joined;
    for (const Record& r : p) joined += r.data.substr(0, r.data.find_last_not_of(' ', 63) + 1);
    EXPECT_NE(joined.find("1.000000000,2.000000000,5.000000000,6.000000000,7.000000000,8.000000000,"
                          "3.000000000,4.000000000,1.000000000,2.000000000;"),
              std::string::npos);
    EXPECT_EQ(field(section(all, 'D')[1], 5), "11");
}

// The parameters of one entity as a reader takes them: columns 1-64 of its
// records joined, split at the delimiters, Hollerith strings taken by their count.
std::vector<std::string> readParameters(const std::vector<Record>& p, int entry) {
    std::string data;
    for (const Record& r : p) {
        if (std::stoi(r.data.substr(64)) == entry) data += r.data.substr(0, 64);
    }
    std::vector<std::string> out;
    std::size_t at = 0;
    while (true) {
        at = data.find_first_not_of(' ', at);  // blanks outside strings are padding
        if (at == std::string::npos) {
            ADD_FAILURE() << "no \";\" in: " << data;
            break;
        }
        std::size_t end = data.find_first_not_of("0123456789", at);
        if (end != std::string::npos && end > at && data[end] == 'H') {
            const std::size_t count = std::stoul(data.substr(at, end - at));
            out.push_back(data.substr(end + 1, count));
            end += 1 + count;
        } else {
            end = data.find_first_of(",;", at);
            out.push_back(data.substr(at, end - at));
        }
        if (end >= data.size() || (data[end] != ',' && data[end] != ';')) {
            ADD_FAILURE() << "no delimiter after parameter " << out.size() << " in: " << data;
            break;
        }
        if (data[end] == ';') break;
        at = end + 1;
    }
    return out;
}

TEST_F(IgesFixture, LongTextsWithCommasReadBackWhole) {
    const std::string remark = "Masse in mm, Toleranzen nach ISO 2768-m, alle Kanten gebrochen 0,5";
    const std::string texts[] = {
        remark.substr(0, 65),                                     // one character past the first record
        remark,
        std::string(61, 'x'),                                     // "61H" and the text fill the record
        "a,b;c 12Hd,e " + remark + ", " + remark + ", " + remark,  // a count-like word inside
        "kurz, mit Komma",
    };
    for (const std::string& text : texts) {
        std::ostringstream out;
        IgesWriter w(out, settings, fileName, {}, &prompter);
        w.openSheet({0, 0, 160, 120});
        w.text(text, {10, 20});
        w.finish();
        const auto p = section(records(out.str()), 'P');
        const std::vector<std::string> read = readParameters(p, 1);
        ASSERT_EQ(read.size(), 14u) << text;
        EXPECT_EQ(read[2], std::to_string(text.size()));
        EXPECT_EQ(read[13], text);
    }
}

TEST_F(IgesFixture, BlocksBecomeSubfiguresAndTheirInstances) {
    const auto all = records(write([](IgesWriter& w) {
        w.beginBlock("FRAME_1_LONG");
        for (int i = 0; i < 13; ++i) w.line({0, 0}, {1, 1});
        w.endBlock();
        w.insertBlock("FRAME_1_LONG", {5, 6}, 0, 1, 1);
        w.insertBlock("FRAME_1_LONG", {5, 6}, 90, 1, 1);
        w.insertBlock("OTHER", {5, 6}, 0, 1, 1);
    }));
    const auto d = section(all, 'D');
    const auto p = section(all, 'P');
    EXPECT_EQ(d[0].data.substr(64), "00010000");                 // members depend on the block
    const Record& def = d[26];                                  // entity 27: the 308
    EXPECT_EQ(field(def, 1), "308");
    EXPECT_EQ(field(d[27], 4), "2");                             // two parameter records
    EXPECT_EQ(d[27].data.substr(56, 8), "FRAME_1_");
    EXPECT_EQ(p[13].data.substr(0, 64).find("308,0,8HFRAME_1_,13,1,3,5,7,9,11,13,15,17,19,21,23,"), 0u);
    EXPECT_EQ(p[14].data.substr(0, 3), "25;");
    EXPECT_EQ(p[15].data.substr(0, 33), "408,27,5.000,6.000,0.0,1.0;      ");
    // Turned: a matrix first, then the instance that points at it.
    EXPECT_EQ(field(d[30], 1), "124");
    EXPECT_EQ(d[30].data.substr(64), "00010000");
    EXPECT_EQ(p[16].data.substr(0, 36), "124,0.000000,-1.000000,0.0,5.000,1.0");
    EXPECT_EQ(field(d[32], 7), "31");
    EXPECT_EQ(p[18].data.substr(0, 27), "408,27,0.0,0.0,0.0,1.0;    ");
    EXPECT_EQ(prompter.errors(), std::vector<std::string>{"Blockname OTHER not found !"});
}

TEST_F(IgesFixture, AScaledInsertDrawsTheBlockInPlace) {
    const auto all = records(write([](IgesWriter& w) {
        w.beginBlock("B");
        w.setLayer(2);
        w.line({0, 0}, {10, 0});
        w.endBlock();
        w.setLayer(5);
        w.insertBlock("B", {100, 50}, 90, 0.5L, 0.5L);
        w.line({0, 0}, {1, 0});
    }));
    const auto d = section(all, 'D');
    const auto p = section(all, 'P');
    ASSERT_EQ(p.size(), 4u);  // the member, the 308, the placed copy, the last line
    EXPECT_EQ(p[2].data.substr(0, 42), "110,100.000,50.000,0.0,100.000,55.000,0.0;");
    EXPECT_EQ(d[4].data.substr(64), "00000000");
    EXPECT_EQ(field(d[4], 4), "2");   // the block's own layer: dashed
    EXPECT_EQ(field(d[6], 4), "1");   // and back to layer 5 afterwards
    EXPECT_EQ(field(d[6], 5), "2");
}

TEST_F(IgesFixture, LayersChooseColourAndLineFont) {
    const std::pair<int, int> map[] = {{0, 0}, {1, 2}, {2, 5}, {3, 3}, {4, 7}, {5, 4}, {6, 6}, {7, 0},
                                       {8, 8}, {9, 10}, {14, 15}, {15, 1}, {16, 2}, {-1, 0}};
    for (auto [cad, iges] : map) EXPECT_EQ(igesColour(cad), iges) << cad;

    struct LayerCase { int layer; int mode; int colour; int font; };
    const LayerCase layers[] = {
        {1, 0, 5, 4}, {2, 0, 5, 2}, {0, 0, 0, 1}, {4, 0, 3, 1}, {5, 0, 2, 1},
        {16, 0, 2, 1}, {31, 0, 2, 1}, {7, 0, 8, 1}, {3, 2, 7, 1},
    };
    for (const LayerCase& c : layers) {
        settings.layerColourMode = c.mode;
        std::ostringstream out;
        IgesWriter w(out, settings, "x", {}, nullptr);
        w.setLayer(c.layer);
        EXPECT_EQ(w.colour(), c.colour) << "layer " << c.layer;
        EXPECT_EQ(w.lineFont(), c.font) << "layer " << c.layer;
    }
}

// The file name and block names end up in fixed-column records: a control
// character in them would break the record, so it becomes a blank.
TEST_F(IgesFixture, ControlCharactersInNamesBecomeBlanks) {
    fileName = "pro\rbe\n";
    const std::string iges = write([](IgesWriter& w) {
        w.beginBlock("B\r");
        w.line({0, 0}, {1, 1});
        w.endBlock();
        w.beginPage();
        w.insertBlock("B\r", {0, 0}, 0, 1, 1);
        w.endPage();
    });
    const std::vector<Record> all = records(iges);  // checks every record's layout
    std::string global;
    for (const Record& r : section(all, 'G')) global += r.data;
    EXPECT_NE(global.find("7Hpro be ,"), std::string::npos) << global;
    EXPECT_EQ(iges.find("B\r"), std::string::npos);
}

TEST_F(IgesFixture, ALongFileNameContinuesOnTheNextGlobalRecord) {
    fileName = std::string(60, 'n');
    const auto all = records(write([](IgesWriter& w) { w.line({0, 0}, {1, 1}); }));
    EXPECT_GT(section(all, 'G').size(), 5u);
}

} // namespace
} // namespace zam1
