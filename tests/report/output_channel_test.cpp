// The output channel: what each device makes of lines, separators, rows and
// page breaks, and what happens at the end of a report.
#include <gtest/gtest.h>

#include <sys/stat.h>

#include "core/model/records.h"
#include "core/report/separators.h"
#include "core/text/codepage.h"
#include "tests/report/report_harness.h"

namespace zam1::test {
namespace {

const std::string M = "       "; // the left margin of the text devices

std::string textLines(std::initializer_list<std::string> lines) {
    std::string out;
    for (const std::string& l : lines) out += M + l + "\r\n";
    return out;
}

// Separators in the configured style on the paged devices; none where there are
// no pages (style 4, spreadsheet, HTML).
TEST(OutputChannel, SeparatorsByStyleAndDevice) {
    struct Case {
        ReportDevice device;
        int style;
        std::string expected; // after any file head
    };
    const Case cases[] = {
        {kReportDosFile, 1, textLines({std::string(70, '-'), "Text", std::string(70, '=')})},
        {kReportDosFile, 2, textLines({std::string(70, '\xC4'), "Text", std::string(70, '\xCD')})},
        {kReportDosFile, 3, textLines({std::string(70, ' '), "Text", std::string(70, ' ')})},
        {kReportDosFile, 4, textLines({"Text"})},
        {kReportSpreadsheet, 1, "Text\r\n"},
        {kReportSpreadsheet, 2, "Text\r\n"},
        {kReportHtml, 1, "<br>Text\r\n"},
    };
    for (const Case& c : cases) {
        ReportHarness h;
        h.settings.separatorStyle = c.style;
        ASSERT_TRUE(h.out().openOutput(c.device, "x"));
        h.out().cancelPendingHeader(); // this test is about what follows the header
        const std::size_t head = h.out().contents().size();
        h.out().thinLine();
        h.out().writeLine("$!$");
        h.out().writeLine("Text");
        h.out().writeLine(separatorLine(c.style, Separator::Double));
        EXPECT_EQ(h.out().contents().substr(head), c.expected) << "device " << c.device << " style " << c.style;
        EXPECT_TRUE(h.out().closeOutput());
    }
}

TEST(OutputChannel, LongTextsWrapAfterABlankOnTextDevicesOnly) {
    // 150 characters: words of nine letters and a blank.
    std::string remark;
    while (remark.size() < 150) remark += "abcdefghi ";
    remark.resize(150);
    {
        ReportHarness h;
        ASSERT_TRUE(h.out().openOutput(kReportDosFile, "x"));
        h.out().cancelPendingHeader(); // this test is about what follows the header
        h.out().writeWrapped(remark);
        h.out().writeWrapped(std::string(72, 'x'));    // not above 72: unchanged
        h.out().writeWrapped(std::string(100, 'y'));   // no blank: hard cuts at 64
        ASSERT_TRUE(h.out().closeOutput());
        EXPECT_EQ(h.read("OUTDOS.TXT"),
                  textLines({remark.substr(0, 60), remark.substr(60, 60), remark.substr(120), std::string(72, 'x'),
                             std::string(64, 'y'), std::string(36, 'y')}));
    }
    {
        ReportHarness h;
        ASSERT_TRUE(h.out().openOutput(kReportSpreadsheet, "x"));
        h.out().cancelPendingHeader(); // this test is about what follows the header
        h.out().writeWrapped(remark);
        EXPECT_EQ(h.out().contents().substr(h.out().contents().size() - 152), remark + "\r\n");
        EXPECT_TRUE(h.out().closeOutput());
    }
}

TEST(OutputChannel, HtmlEscapesTextsAndConvertsToTheWindowsCodePage) {
    ReportHarness h;
    h.heading.descriptionLines = {"Welle <b>", "A & B", "\"x\"", ""};
    ASSERT_TRUE(h.out().openOutput(kReportHtml, "x"));
    h.out().cancelPendingHeader(); // this test is about what follows the header
    h.out().writeLine("<b>Gr\x94\xE1tma\xE1</b>");  // "Größtmaß" between tags, in CP850
    h.out().writeRow("a<b");
    h.out().writeRow("c&d");
    h.out().writeLine("danach");
    ASSERT_TRUE(h.out().closeOutput());
    const std::string html = h.read("KORVANT.htm");
    EXPECT_EQ(html.substr(0, html.find("<HTML>")), "<!-- " + h.folder.file("KORVANT.htm") + " -->\r\n");
    EXPECT_NE(html.find("<h5>Welle &lt;b&gt;</h5>\r\n<h5>A &amp; B</h5>\r\n<h5>&quot;x&quot;</h5>\r\n<h5></h5>\r\n<hr>\r\n"),
              std::string::npos);
    EXPECT_NE(html.find("<br>&lt;b&gt;Gr\xF6\xDFtma\xDF&lt;/b&gt;\r\n"
                        "<TABLE BORDER = \"2\" WIDTH= \"100%\">\r\n"
                        "<TR><TD>a&lt;b</TD></TR>\r\n"
                        "<TR><TD>c&amp;d</TD></TR>\r\n"
                        "</TABLE>\r\n"
                        "<br>danach\r\n"
                        "</BODY>\r\n</HTML>\r\n"),
              std::string::npos)
        << html;
    EXPECT_EQ(h.desktop.log(), std::vector<std::string>{"start /bin/true " + h.folder.file("KORVANT.htm")});
}

TEST(OutputChannel, FullPagesEndWithAPageHeaderAndStyleFourSkipsHalfEmptyPages) {
    ReportHarness h;
    h.settings.linesPerPage = 20;
    h.settings.separatorStyle = 1;
    ASSERT_TRUE(h.out().openOutput(kReportScreen, "x"));
    for (int i = 1; i <= 25; ++i) h.out().writeLine("Zeile " + std::to_string(i));
    h.out().pageBreak();
    h.out().writeLine("neue Seite");
    ASSERT_TRUE(h.out().closeOutput());
    const std::string text = h.out().contents();
    const std::string stars(70, '*');
    const auto header = [&](int page) {
        return textLines({stars, "*    ZAM1 - Toleranzrechnung" + std::string(35, ' ') + "Bl. " + std::to_string(page) + " *",
                          "*                                                   15.03.2024 14:30 *",
                          "*    /projekte/welle.zm1                                             *",
                          stars, "*    Titel eins                                                      *",
                          "*    Titel zwei                                                      *",
                          "*    Titel drei                                                      *", stars});
    };
    // Page 1 starts with its header and an empty line; nine lines fill it, the
    // twentieth line of the page ends it with a form feed.
    const std::size_t feed = text.find("\f\r\n");
    ASSERT_NE(feed, std::string::npos);
    EXPECT_EQ(text.substr(0, feed), [&] {
        std::string first = header(1) + M + "\r\n";
        for (int i = 1; i <= 9; ++i) first += M + "Zeile " + std::to_string(i) + "\r\n";
        return first;
    }());
    EXPECT_EQ(text.substr(feed + 3, header(2).size()), header(2));
    EXPECT_EQ(text.substr(feed + 3 + header(2).size(), 2 * M.size() + 12), M + "\r\n" + M + "Zeile 10\r\n");
    // The explicit break after line 25 puts the header of page 4 before the next line.
    EXPECT_NE(text.find(header(4) + M + "\r\n" + M + "neue Seite"), std::string::npos);

    ReportHarness compressed;
    compressed.settings.linesPerPage = 20;
    compressed.settings.separatorStyle = 4;
    ASSERT_TRUE(compressed.out().openOutput(kReportScreen, "x"));
    compressed.out().cancelPendingHeader(); // only the lines below count
    for (int i = 1; i <= 9; ++i) compressed.out().writeLine("Zeile");
    compressed.out().pageBreak();   // 9 of 20 lines used: no break
    compressed.out().writeLine("Zeile");
    compressed.out().pageBreak();   // 10 of 20: a form feed and no frame lines
    compressed.out().writeLine("Ende");
    ASSERT_TRUE(compressed.out().closeOutput());
    const std::string c = compressed.out().contents();
    EXPECT_EQ(c.find('\f'), c.rfind('\f'));
    EXPECT_EQ(c.find("$!$"), std::string::npos);
    EXPECT_NE(c.find("\f\r\n" + M + "     ZAM1 - Toleranzrechnung"), std::string::npos);
}

TEST(OutputChannel, EveryDeviceEndsItsOwnWay) {
    struct Case {
        ReportDevice device;
        std::vector<std::string> kept;     // files in the work folder afterwards
        std::string desktopEntry;          // prefix of the desktop's only log entry, or empty
        bool windowsCodePage;              // the kept copy is in Windows-1252
    };
    const Case cases[] = {
        {kReportScreen, {}, "show ", false},
        {kReportWindowsPrinter, {}, "print ", false},
        {kReportTextProgram, {"outwin.txt"}, "start /bin/true ", true},
        {kReportSpreadsheet, {"welle$$$1.txt", "welle$$1.txt"}, "", true},
        {kReportHtml, {"KORVANT.htm"}, "start /bin/true ", true},
        {kReportDosFile, {"OUTDOS.TXT"}, "", false},
    };
    for (const Case& c : cases) {
        ReportHarness h;
        ASSERT_TRUE(h.out().openOutput(c.device, "bericht"));
        h.out().cancelPendingHeader(); // this test is about what follows the header
        h.out().writeLine("Ma\xE1");  // "Maß" in CP850
        ASSERT_TRUE(h.out().closeOutput()) << c.device;
        std::vector<std::string> files;
        for (const auto& entry : std::filesystem::directory_iterator(h.folder.path())) {
            files.push_back(entry.path().filename().string());
        }
        std::sort(files.begin(), files.end());
        std::vector<std::string> kept = c.kept;
        std::sort(kept.begin(), kept.end());
        EXPECT_EQ(files, kept) << "device " << c.device;
        if (!c.kept.empty()) {
            const std::string bytes = h.read(c.kept.back());
            EXPECT_NE(bytes.find(c.windowsCodePage ? "Ma\xDF" : "Ma\xE1"), std::string::npos) << c.device;
        }
        if (c.desktopEntry.empty()) {
            EXPECT_TRUE(h.desktop.log().empty()) << c.device;
        } else {
            ASSERT_EQ(h.desktop.log().size(), 1u) << c.device;
            EXPECT_EQ(h.desktop.log()[0].rfind(c.desktopEntry, 0), 0u) << h.desktop.log()[0];
        }
        EXPECT_FALSE(h.error.isSet());
    }
}

TEST(OutputChannel, FileDeviceAsksForTheNameAndLeavesAWindowsCopy) {
    ReportHarness h;
    const std::string target = h.folder.file("bericht.txt");
    h.prompter.saveFile(target);
    ASSERT_TRUE(h.out().openOutput(kReportFile, "zam1std.txt"));
    h.out().cancelPendingHeader(); // this test is about what follows the header
    h.out().writeLine("Gr\x94\xE1tma\xE1");
    ASSERT_TRUE(h.out().closeOutput());
    EXPECT_EQ(readBytes(target), M + "Gr\x94\xE1tma\xE1\r\n");
    EXPECT_EQ(h.read("outwin.txt"), M + "Gr\xF6\xDFtma\xDF\r\n");
    EXPECT_EQ(h.prompter.log().back(), "note: " + target + " und Windows-Datei outwin.txt wurden angelegt..");
    EXPECT_EQ(h.out().lastOutputFile(), target);
}

TEST(OutputChannel, CancelledOrFailedOpeningWritesNothing) {
    {
        ReportHarness h;
        h.settings.askDevice = true;
        h.prompter.cancel(ScriptedPrompter::Kind::Device);
        EXPECT_FALSE(h.out().openOutput(kReportAsk, "x"));
        EXPECT_TRUE(h.error.isSet());
    }
    {
        ReportHarness h;
        h.prompter.cancel(ScriptedPrompter::Kind::SaveFile);
        EXPECT_FALSE(h.out().openOutput(kReportFile, "x"));
        h.out().writeLine("verloren");
        EXPECT_FALSE(h.out().closeOutput());
        EXPECT_TRUE(h.error.isSet());
        EXPECT_TRUE(std::filesystem::is_empty(h.folder.path()));
    }
    {
        // No printer on LPT4 here: the file-error message, nothing printed.
        ReportHarness h;
        h.settings.printerPort = 4;
        h.prompter.yesNo(false);
        if (exists("/dev/lp3")) GTEST_SKIP() << "this machine has a printer port";
        EXPECT_FALSE(h.out().openOutput(kReportTextPrinter, "x"));
        EXPECT_EQ(h.prompter.errors(), std::vector<std::string>{"file write error  /dev/lp3\nDatei oder Verzeichnis nicht gefunden"});
        EXPECT_TRUE(h.error.isSet());
    }
}

TEST(OutputChannel, WriteFailureIsReportedAndKeepsTheOldFile) {
    ReportHarness h;
    h.settings.workFolder = h.folder.file("fehlt");   // a folder that does not exist
    ASSERT_TRUE(h.out().openOutput(kReportDosFile, "x"));
    h.out().cancelPendingHeader(); // this test is about what follows the header
    h.out().writeLine("Text");
    EXPECT_FALSE(h.out().closeOutput());
    EXPECT_TRUE(h.error.isSet());
    ASSERT_EQ(h.prompter.errors().size(), 1u);
    EXPECT_NE(h.prompter.errors()[0].find("OUTDOS.TXT"), std::string::npos);
}

// A report file the user write-protected stays as it is, for root as well, and
// the message says why.
TEST(OutputChannel, AWriteProtectedReportIsNotReplaced) {
    ReportHarness h;
    h.settings.workFolder = h.folder.path();
    writeBytes(h.folder.file("OUTDOS.TXT"), "freigegeben");
    ::chmod(h.folder.file("OUTDOS.TXT").c_str(), 0444);
    ASSERT_TRUE(h.out().openOutput(kReportDosFile, "x"));
    h.out().writeLine("Text");
    EXPECT_FALSE(h.out().closeOutput());
    EXPECT_TRUE(h.error.isSet());
    EXPECT_EQ(h.read("OUTDOS.TXT"), "freigegeben");
    ASSERT_EQ(h.prompter.errors().size(), 1u);
    EXPECT_TRUE(h.prompter.errors()[0].ends_with("OUTDOS.TXT\nKeine Berechtigung")) << h.prompter.errors()[0];
}

TEST(OutputChannel, TemporaryNamesInUseAreLeftAlone) {
    ReportHarness h;
    writeBytes(h.folder.file("$OUT1.TMP"), "fremd");
    ASSERT_TRUE(h.out().openOutput(kReportScreen, "x"));
    h.out().writeLine("Text");
    ASSERT_TRUE(h.out().closeOutput());
    EXPECT_EQ(h.desktop.log(), std::vector<std::string>{"show " + h.folder.file("$OUT2.TMP") + " (x.txt)"});
    EXPECT_EQ(h.read("$OUT1.TMP"), "fremd");
    EXPECT_FALSE(exists(h.folder.file("$OUT2.TMP")));
}

TEST(OutputChannel, MessageSectionGivesCauseAndRemedyOnEveryDevice) {
    const std::string errFile = "Undefinierter Abstand !\r\nUrsache U\r\nAbhilfe A\r\n";
    MessageList messages;
    messages.add("Undefinierter Abstand !");
    messages.add("Unbekannte Meldung");
    struct Case {
        ReportDevice device;
        bool withFile;
        std::string expected; // after the report head
    };
    const std::string thin(70, '\xC4');
    const std::string dbl(70, '\xCD');
    const Case cases[] = {
        {kReportDosFile, true,
         textLines({"", "BEMERKUNGEN, WARNUNGEN, FEHLERMELDUNGEN", dbl, "", thin, "Undefinierter Abstand !", "Ursache U",
                    "Abhilfe A", thin, "Unbekannte Meldung", "keine Beschreibung dieser Fehlermeldung vorhanden.", "",
                    thin})},
        {kReportDosFile, false,
         textLines({"", "BEMERKUNGEN, WARNUNGEN, FEHLERMELDUNGEN", dbl, "", thin, "Undefinierter Abstand !", "", "", thin,
                    "Unbekannte Meldung", "", "", thin})},
        {kReportSpreadsheet, true,
         "\r\nBEMERKUNGEN, WARNUNGEN, FEHLERMELDUNGEN\r\n"
         "Undefinierter Abstand !              Ursache U\tAbhilfe A\r\n"
         "Unbekannte Meldung                   keine Beschreibung dieser Fehlermeldung vorhanden.\t\r\n"},
        {kReportHtml, true,
         "<br>\r\n<br>BEMERKUNGEN, WARNUNGEN, FEHLERMELDUNGEN\r\n<br>\r\n"
         "<TABLE BORDER = \"2\" WIDTH= \"100%\">\r\n<TR><TD>Undefinierter Abstand !</TD></TR>\r\n"
         "<TR><TD>Ursache U</TD></TR>\r\n<TR><TD>Abhilfe A</TD></TR>\r\n</TABLE>\r\n<br>\r\n"
         "<TABLE BORDER = \"2\" WIDTH= \"100%\">\r\n<TR><TD>Unbekannte Meldung</TD></TR>\r\n"
         "<TR><TD>keine Beschreibung dieser Fehlermeldung vorhanden.</TD></TR>\r\n<TR><TD></TD></TR>\r\n"
         "</TABLE>\r\n<br>\r\n"},
    };
    for (const Case& c : cases) {
        ReportHarness h;
        if (c.withFile) writeBytes(h.folder.file("zam1.err"), errFile);
        ASSERT_TRUE(h.out().openOutput(c.device, "x"));
        h.out().cancelPendingHeader(); // this test is about what follows the header
        const std::size_t head = h.out().contents().size();
        h.out().writeMessages(messages);
        EXPECT_EQ(h.out().contents().substr(head), c.expected) << "device " << c.device;
        EXPECT_TRUE(h.out().closeOutput());
    }
}

} // namespace
} // namespace zam1::test
