// The change listing of the documentation records.
#include <gtest/gtest.h>

#include "core/report/change_listing.h"
#include "core/records/documentation.h"
#include "core/text/number_format.h"
#include "tests/report/report_harness.h"

namespace zam1::test {
namespace {

Documentation threeChanges() {
    Documentation docs;
    docs.drawing.drawnDate = "01.02.2024";
    docs.drawing.drawnName = "KV";
    const char* ids[] = {"Erstausgabe", "Passung", "Nut"};
    const char* descriptions[] = {"neu", "H7 statt H8\rwegen Lager", "Nutbreite 1,85"};
    for (int i = 0; i < 3; ++i) {
        ChangeRecord& c = docs.changes[static_cast<std::size_t>(i)];
        c.changeId = ids[i];
        c.changeDate = "0" + std::to_string(i + 1) + ".03.2024";
        c.changeEditor = "LM";
        c.changeDescription = descriptions[i];
    }
    docs.changeCount = 3;
    return docs;
}

std::vector<std::string> reportLines(const std::string& text) {
    std::vector<std::string> out;
    std::size_t from = 0;
    for (std::size_t end; (end = text.find("\r\n", from)) != std::string::npos; from = end + 2) {
        out.push_back(text.substr(from + 7, end - from - 7));
    }
    return out;
}

TEST(ChangeListing, IndexStyleNumbersOrLettersTheChanges) {
    struct Case {
        int style;
        const char* first;
        const char* third;
    };
    const Case cases[] = {{1, "1", "3"}, {0, "a", "c"}, {2, "a", "c"}, {3, "a", "c"}};
    for (const Case& c : cases) {
        ReportHarness h;
        h.settings.separatorStyle = 4;
        h.settings.indexStyle = c.style;
        ASSERT_TRUE(showChanges(threeChanges(), h.out()));
        const std::vector<std::string> expected = {
            "",
            "Erstellungsdatum: 01.02.2024     Erstellt von: KV",
            "",
            "  Index   Datum        Bearb.   \x8E" "nderung            ",
            "  " + std::string(c.first) + "     01.03.2024   LM       Erstausgabe         ",
            " neu",
            "  " + std::string(c.style == 1 ? "2" : "b") + "     02.03.2024   LM       Passung             ",
            " H7 statt H8",
            " wegen Lager",
            "  " + std::string(c.third) + "     03.03.2024   LM       Nut                 ",
            " Nutbreite 1,85",
        };
        EXPECT_EQ(reportLines(h.out().contents()), expected) << "style " << c.style;
        ASSERT_EQ(h.desktop.log().size(), 1u);
        EXPECT_NE(h.desktop.log()[0].find("(welle.TXT)"), std::string::npos);
    }
}

TEST(ChangeListing, ReplacedDrawingsAndThePrintedPageHeader) {
    ReportHarness h;
    h.settings.separatorStyle = 4;
    h.settings.defaultDevice = kReportDosFile;
    Documentation docs = threeChanges();
    docs.changeCount = 0;
    docs.drawing.replaces = "ZG-0815";
    docs.drawing.replacedBy = "ZG-4711";
    ASSERT_TRUE(printChanges(docs, h.out()));
    const auto l = reportLines(h.read("OUTDOS.TXT"));
    ASSERT_GE(l.size(), 10u);
    EXPECT_EQ(l[0], "     \x8E" "nderungsprotokoll" + std::string(40, ' ') + "Bl. 1  ");
    const std::vector<std::string> tail(l.end() - 7, l.end());
    EXPECT_EQ(tail, (std::vector<std::string>{"Erstellungsdatum: 01.02.2024     Erstellt von: KV", "",
                                              "Ersatz f\x81r: ZG-0815        ", "", "Ersetzt durch: ZG-4711        ",
                                              "", "  Index   Datum        Bearb.   \x8E" "nderung            "}));
    // The channel goes back to its own title for the next report.
    ASSERT_TRUE(h.out().openOutput(kReportDosFile, "x"));
    h.out().writePageHeader();
    EXPECT_NE(h.out().contents().find("ZAM1 - Toleranzrechnung"), std::string::npos);
    h.out().closeOutput();
}

} // namespace
} // namespace zam1::test
