// A report on the PDF device, laid out by the window's desktop and read back by
// poppler: the closing-dimension values are there, umlauts and frame intact, one
// PDF page for each page of the text.
#include <QDir>
#include <QString>

#include <gtest/gtest.h>

#include "core/report/main_report.h"
#include "gui/platform/qt_desktop.h"
#include "tests/gui/tool_output.h"
#include "tests/report/example_project.h"

namespace zam1::test {
namespace {

std::size_t count(const std::string& text, std::string_view what) {
    std::size_t n = 0;
    for (std::size_t at = text.find(what); at != std::string::npos; at = text.find(what, at + 1)) ++n;
    return n;
}

TEST(ReportPdf, StandardReportReadsBackWithItsValuesAndUmlauts) {
    ReportHarness h;
    ExampleProject example = loadExample(h);
    QtDesktop desktop(nullptr, nullptr);
    OutputChannel out(h.settings, h.texts, OutputPorts{h.prompter, desktop, h.clock, h.error});
    out.setProject(h.heading);
    const std::string pdf = h.folder.file("standard.pdf");
    h.prompter.saveFile(pdf);
    h.prompter.yesNo(false);
    ASSERT_TRUE(writeStandardReport(*example.chain, out, kReportPdf));
    EXPECT_FALSE(h.error.isSet());
    EXPECT_EQ(out.lastOutputFile(), pdf);

    const std::optional<std::string> info = toolOutput(QStringLiteral("pdfinfo"), {QString::fromStdString(pdf)});
    ASSERT_TRUE(info) << "pdfinfo cannot read the file";
    // One PDF page per page of the report, each with its page header.
    const std::optional<std::string> text =
        toolOutput(QStringLiteral("pdftotext"), {QStringLiteral("-layout"), QString::fromStdString(pdf), QStringLiteral("-")});
    ASSERT_TRUE(text);
    const std::size_t headers = count(*text, "Bl. ");
    EXPECT_GE(headers, 3u);
    EXPECT_NE(info->find("Pages:           " + std::to_string(headers) + "\n"), std::string::npos) << *info;
    EXPECT_EQ(count(*text, "\f"), headers); // pdftotext ends every page with a form feed

    const std::string flat = collapsedBlanks(*text);
    for (const char* expected : {
             "Schließmaße bei konstanter Verteilung",
             "5 6 0.200 0.687 -0.225 0.887 -0.025 Axialspiel Ring",
             "11 12 1.800 0.792 -0.450 2.592 1.350 Luftspalt Sensor",
             "0 7 117.050 0.315 -0.175 117.365 116.875 Nutende",
             "Schließmaße bei Gaußscher Normalverteilung",
             "5 6 0.431 0.218 -0.218 0.649 0.213 Axialspiel Ring",
             "2 8 74.140 0.316 -0.316 74.456 73.824 Freiraum Zahnrad",
             "Gehäuse innen", "Distanzhülse", "Außenring",
             "╔══", "║ ZAM1 - Toleranzrechnung Bl. 1 ║",
         }) {
        EXPECT_NE(flat.find(expected), std::string::npos) << expected;
    }
    // Keep a picture of the first page for a person to look at.
    const QString shots = QDir::tempPath() + QStringLiteral("/pdf-export-shots");
    QDir().mkpath(shots);
    toolOutput(QStringLiteral("pdftoppm"), {QStringLiteral("-png"), QStringLiteral("-r"), QStringLiteral("60"),
                                            QStringLiteral("-f"), QStringLiteral("1"), QStringLiteral("-l"),
                                            QStringLiteral("2"), QString::fromStdString(pdf), shots + QStringLiteral("/report")});
}

TEST(ReportPdf, UnwritableTargetFailsAndKeepsNothing) {
    ReportHarness h;
    QtDesktop desktop(nullptr, nullptr);
    OutputChannel out(h.settings, h.texts, OutputPorts{h.prompter, desktop, h.clock, h.error});
    out.setProject(h.heading);
    const std::string pdf = h.folder.file("no-such-folder/bericht.pdf");
    h.prompter.saveFile(pdf);
    ASSERT_TRUE(out.openOutput(kReportPdf, "bericht"));
    out.writeLine("Text");
    EXPECT_FALSE(out.closeOutput());
    EXPECT_EQ(h.prompter.errors(), std::vector<std::string>{"PDF-Datei konnte nicht geschrieben werden:  " + pdf});
    EXPECT_TRUE(h.error.isSet());
    EXPECT_TRUE(std::filesystem::is_empty(h.folder.path()));
}

} // namespace
} // namespace zam1::test
