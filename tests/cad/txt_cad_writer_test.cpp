#include <gtest/gtest.h>

#include <sstream>
#include <string>

#include "core/cad/txt_cad_writer.h"

namespace zam1 {
namespace {

std::string write(const DrawingSettings& settings, void (*draw)(TxtCadWriter&)) {
    std::ostringstream out;
    TxtCadWriter w(out, settings);
    draw(w);
    w.finish();
    return out.str();
}

TEST(TxtCadWriter, NumbersFollowTheCadDecimalsAndTheSeparatorSetting) {
    struct Case { int decimals; bool comma; std::string line; };
    const Case cases[] = {
        {2, true, "LINE\t0,00\t0,00\t160,00\t120,00\r\n"},
        {6, false, "LINE\t0.000000\t0.000000\t160.000000\t120.000000\r\n"},
        {1, false, "LINE\t0.0\t0.0\t160.0\t120.0\r\n"},
    };
    for (const Case& c : cases) {
        DrawingSettings s;
        s.cadDecimals = c.decimals;
        s.numbers.decimalComma = c.comma;
        EXPECT_EQ(write(s, [](TxtCadWriter& w) { w.line({0, 0}, {160, 120}); }), c.line + "EOF\r\n");
    }
}

TEST(TxtCadWriter, ControlCharactersInBlockNamesBecomeBlanks) {
    const std::string txt = write(DrawingSettings{}, [](TxtCadWriter& w) {
        w.beginBlock("B\r\n1");
        w.endBlock();
        w.beginPage();
        w.insertBlock("B\r\n1", {0, 0}, 0, 1, 1);
    });
    EXPECT_NE(txt.find("BLOCK\tB  1\r\n"), std::string::npos) << txt;
    EXPECT_NE(txt.find("INSERT\tB  1\t"), std::string::npos) << txt;
}

TEST(TxtCadWriter, ARunWritesGeometryAndTextButNoLayers) {
    DrawingSettings s;
    s.cadDecimals = 1;
    s.cadTextMode = CadTextMode::TwoLetter;
    const std::string txt = write(s, [](TxtCadWriter& w) {
        w.openSheet({0, 0, 160, 120});
        w.beginBlock("B");
        w.line({0, 0}, {1, 0});
        w.endBlock();
        w.beginBlock("C");
        w.endBlock();
        w.beginPage();
        w.setLayer(2);
        w.circle({1, 2}, 3);
        w.setLayer(17);
        w.arc({1, 2}, 360, 0, 3);
        w.arc({1, 2}, 10, 20, 3);
        w.solid({Point{0, 0}, Point{1, 0}, Point{0, 1}, Point{0, 0}});
        w.text("Gr\x94\xE1" "e\tx", {4, 5});
        w.insertBlock("B", {1, 1}, 90, 1, 2);
        w.endPage();
    });
    EXPECT_EQ(txt,
              "MINMAX\t0.0\t0.0\t160.0\t120.0\r\n"
              "SECTION BLOCKS\r\nBLOCK\tB\r\nLINE\t0.0\t0.0\t1.0\t0.0\r\nEND OF BLOCK\r\n"
              "BLOCK\tC\r\nEND OF BLOCK\r\n"
              "SECTION ENTITIES\r\n"
              "CIRCLE\t1.0\t2.0\t3.0\r\n"
              "CIRCLE\t1.0\t2.0\t3.0\r\n"
              "ARC\t1.0\t2.0\t3.0\t10.0\t20.0\r\n"
              "SOLID\t0.0\t0.0\t1.0\t0.0\t0.0\t1.0\t0.0\t0.0\r\n"
              "TEXT\t4.0\t5.0\tGroesse x\r\n"
              "INSERT\tB\t1.0\t1.0\t90.0\t1.0\t2.0\r\n"
              "EOF\r\n");
}

} // namespace
} // namespace zam1
