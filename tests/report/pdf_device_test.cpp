// The PDF file as a report device: chosen from the device menu after the seven
// devices of old, paged like the printer, handed to the desktop as a text file,
// and a clear message where the desktop cannot lay out pages.
#include <gtest/gtest.h>

#include "core/report/main_report.h"
#include "tests/report/example_project.h"

namespace zam1::test {
namespace {

// A desktop that lays out nothing but keeps what it was handed.
class PdfDesktop final : public Desktop {
public:
    bool showTextFile(const std::string&, std::string_view) override { return true; }
    bool printTextFile(const std::string&) override { return true; }
    bool startProgram(const std::string&, const std::vector<std::string>&) override { return true; }
    bool openInBrowser(const std::string&) override { return true; }
    bool copyToClipboard(std::string_view) override { return true; }
    void showGraphicsWindow() override {}
    PdfResult writePdf(const std::string& textFile, const std::string& pdfPath, const PageLayout& layout) override {
        ++calls;
        text = readBytes(textFile);
        path = pdfPath;
        linesPerPage = layout.linesPerPage;
        return result;
    }

    PdfResult result = PdfResult::Written;
    int calls = 0;
    std::string text;
    std::string path;
    int linesPerPage = 0;
};

// The harness's ports with the recording desktop in place of the headless one.
struct PdfHarness {
    explicit PdfHarness(PdfResult result = PdfResult::Written) { desktop.result = result; }
    OutputChannel& out() {
        if (!channel) {
            channel = std::make_unique<OutputChannel>(h.settings, h.texts,
                                                      OutputPorts{h.prompter, desktop, h.clock, h.error});
            channel->setProject(h.heading);
        }
        return *channel;
    }
    ReportHarness h;
    PdfDesktop desktop;
    std::unique_ptr<OutputChannel> channel;
};

std::size_t count(const std::string& text, std::string_view what) {
    std::size_t n = 0;
    for (std::size_t at = text.find(what); at != std::string::npos; at = text.find(what, at + 1)) ++n;
    return n;
}

TEST(PdfDevice, DeviceMenuOffersItEighthAndKeepsTheSevenNumbers) {
    struct Row {
        const char* name;
        int menuChoice;
        int device;
    };
    const Row rows[] = {{"screen stays first", 1, kReportScreen}, {"HTML stays seventh", 7, kReportHtml},
                        {"PDF is eighth", 8, kReportPdf}};
    for (const Row& row : rows) {
        SCOPED_TRACE(row.name);
        PdfHarness p;
        p.h.settings.askDevice = true;
        p.h.prompter.device(row.menuChoice);
        if (row.device == kReportPdf) p.h.prompter.saveFile(p.h.folder.file("bericht.pdf"));
        ASSERT_TRUE(p.out().openOutput(kReportAsk, "bericht"));
        EXPECT_EQ(p.out().device(), row.device);
        EXPECT_EQ(p.h.prompter.log().front(),
                  "device: Ausgabe auf .. | Bildschirm | Textdrucker | Datei | Windows-Drucker | externes Textprogramm"
                  " | TXT File (Excel, QPRO ...) | HTML File (Netscape, Internet Explorer ...) | PDF-Datei");
        p.out().abortOutput();
    }
}

TEST(PdfDevice, PagesGoToTheDesktopWithHeaderAndFormFeeds) {
    PdfHarness p;
    p.h.settings.linesPerPage = 20;
    const std::string pdf = p.h.folder.file("bericht.pdf");
    p.h.prompter.saveFile(pdf);
    ASSERT_TRUE(p.out().openOutput(kReportPdf, "bericht"));
    EXPECT_EQ(p.h.prompter.log().front(), "save: bericht.pdf"); // the report's name, as a PDF file
    for (int i = 0; i < 30; ++i) p.out().writeLine("Zeile Ma\xE1 " + std::to_string(i));
    ASSERT_TRUE(p.out().closeOutput());

    EXPECT_EQ(p.desktop.calls, 1);
    EXPECT_EQ(p.desktop.path, pdf);
    EXPECT_EQ(p.desktop.linesPerPage, 20);
    // A header of nine lines and an empty one leave nine lines a page of 20: four pages, each with its header.
    EXPECT_EQ(count(p.desktop.text, "\f\r\n"), 3u);
    EXPECT_EQ(count(p.desktop.text, "Bl. "), 4u);
    EXPECT_NE(p.desktop.text.find("Zeile Ma\xE1 29"), std::string::npos); // stored code page, as printed
    EXPECT_EQ(p.out().lastOutputFile(), pdf);
    EXPECT_FALSE(p.h.error.isSet());
    // The text file was temporary.
    EXPECT_TRUE(std::filesystem::is_empty(p.h.folder.path()));
}

TEST(PdfDevice, FailuresAreSaidAndLeaveNoTemporaryFile) {
    struct Row {
        const char* name;
        PdfResult result;
        std::string error;
    };
    const Row rows[] = {
        {"no window to lay out pages", PdfResult::Unavailable, "PDF-Ausgabe ist nur im Programmfenster möglich."},
        {"the file cannot be written", PdfResult::Failed, "PDF-Datei konnte nicht geschrieben werden:  "},
    };
    for (const Row& row : rows) {
        SCOPED_TRACE(row.name);
        PdfHarness p(row.result);
        const std::string pdf = p.h.folder.file("bericht.pdf");
        p.h.prompter.saveFile(pdf);
        ASSERT_TRUE(p.out().openOutput(kReportPdf, "bericht"));
        p.out().writeLine("Text");
        EXPECT_FALSE(p.out().closeOutput());
        const std::string expected = row.result == PdfResult::Failed ? row.error + pdf : row.error;
        EXPECT_EQ(p.h.prompter.errors(), std::vector<std::string>{expected});
        EXPECT_TRUE(p.h.error.isSet());
        EXPECT_TRUE(p.out().lastOutputFile().empty());
        EXPECT_TRUE(std::filesystem::is_empty(p.h.folder.path()));
    }
}

TEST(PdfDevice, HeadlessDesktopCannotLayOutPages) {
    ReportHarness h;
    h.prompter.saveFile(h.folder.file("bericht.pdf"));
    ASSERT_TRUE(h.out().openOutput(kReportPdf, "bericht"));
    h.out().writeLine("Text");
    EXPECT_FALSE(h.out().closeOutput());
    EXPECT_EQ(h.prompter.errors(), std::vector<std::string>{"PDF-Ausgabe ist nur im Programmfenster möglich."});
    ASSERT_EQ(h.desktop.log().size(), 1u);
    EXPECT_EQ(h.desktop.log()[0].rfind("pdf ", 0), 0u);
}

TEST(PdfDevice, CancelledFileChoiceWritesNothing) {
    PdfHarness p;
    p.h.prompter.cancel(ScriptedPrompter::Kind::SaveFile);
    EXPECT_FALSE(p.out().openOutput(kReportPdf, "bericht"));
    EXPECT_TRUE(p.h.error.isSet());
    EXPECT_EQ(p.desktop.calls, 0);
    EXPECT_TRUE(std::filesystem::is_empty(p.h.folder.path()));
}

TEST(PdfDevice, TheProposedNameIsTheReportsWithThePdfExtension) {
    const struct {
        const char* reportName;
        const char* proposed;
    } rows[] = {
        {"bericht", "save: bericht.pdf"},
        {"zam1std.txt", "save: zam1std.pdf"},
        {"/tmp/v1.2/bericht", "save: /tmp/v1.2/bericht.pdf"},
        {"/tmp/v1.2/bericht.txt", "save: /tmp/v1.2/bericht.pdf"},
    };
    for (const auto& row : rows) {
        SCOPED_TRACE(row.reportName);
        PdfHarness p;
        p.h.prompter.cancel(ScriptedPrompter::Kind::SaveFile);
        EXPECT_FALSE(p.out().openOutput(kReportPdf, row.reportName));
        ASSERT_FALSE(p.h.prompter.log().empty());
        EXPECT_EQ(p.h.prompter.log().back(), row.proposed);
    }
}

// The main report on the PDF file is a printed report: it asks whether each
// result starts on a new page, as on the printers, and holds what the screen shows.
TEST(PdfDevice, MainReportIsPrintedAsOnTheDesktopPrinter) {
    PdfHarness p;
    ExampleProject example = loadExample(p.h);
    p.h.prompter.saveFile(p.h.folder.file("standard.pdf"));
    p.h.prompter.yesNo(false);
    ASSERT_TRUE(writeStandardReport(*example.chain, p.out(), kReportPdf));
    EXPECT_EQ(p.h.prompter.log().at(1), "save: zam1std.pdf");
    EXPECT_EQ(p.h.prompter.log().at(2), "yesno: Neue Seite nach Elementliste ?");
    const std::string golden = readBytes(std::string(ZAM1_SOURCE_DIR) + "/tests/golden/report/standard_de.txt");
    // The same lines as the screen's report; only the page ends differ ("\f" lines).
    std::string withoutFeeds = p.desktop.text;
    for (std::size_t at = withoutFeeds.find("\f\r\n"); at != std::string::npos; at = withoutFeeds.find("\f\r\n"))
        withoutFeeds.erase(at, 3);
    std::string goldenWithoutFeeds = golden;
    for (std::size_t at = goldenWithoutFeeds.find("\f\r\n"); at != std::string::npos;
         at = goldenWithoutFeeds.find("\f\r\n"))
        goldenWithoutFeeds.erase(at, 3);
    EXPECT_EQ(withoutFeeds, goldenWithoutFeeds);
}

} // namespace
} // namespace zam1::test
