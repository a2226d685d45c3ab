// The "--export" forms and "--version" in-process: what is refused before
// anything is written, and with which exit code and words. The files themselves
// are read back by their real readers in the GUI tests, which run the program.
#include <gtest/gtest.h>

#include <filesystem>

#include "core/app/batch_export.h"
#include "core/app/command_line.h"
#include "tests/app/batch_run.h"
#include "tests/support/scripted.h"

namespace zam1::test {
namespace {

class ExportForm : public BatchRun {
protected:
    void SetUp() override {
        BatchRun::SetUp();
        std::filesystem::copy_file(std::string(ZAM1_SOURCE_DIR) + "/examples/getriebewelle.zm1",
                                   m_folder.file("welle.zm1"));
    }
    // Everything in the folder but the project.
    std::vector<std::string> written() const {
        std::vector<std::string> names;
        for (const auto& e : std::filesystem::directory_iterator(m_folder.path())) {
            if (e.path().filename() != "welle.zm1") names.push_back(e.path().filename().string());
        }
        return names;
    }
};

TEST_F(ExportForm, VersionNamesTheProgramAndEnds) {
    const CommandLineResult r = start({"--version"});
    EXPECT_FALSE(r.openWindow);
    EXPECT_EQ(r.exitCode, 0);
    EXPECT_EQ(m_out.str(), "wzam1 (ZAM1 - Toleranzrechnung) 11.1\n");
    EXPECT_EQ(m_err.str(), "");
}

TEST_F(ExportForm, HelpNamesTheExportFormsAndVersion) {
    EXPECT_EQ(run({"--help"}), 0);
    for (const char* part : {"--export FILE", "--report standard|excerpt", "--diagram project|overall|scheme|scale|normal",
                             "--paper A4|A3", "--dpi N", "--background white|screen", "--table elements|results",
                             "--version"}) {
        EXPECT_NE(m_out.str().find(part), std::string::npos) << part;
    }
}

// Each of these ends before the project is read: exit 2, the reason and the
// usage line on standard error, no file, no window.
TEST_F(ExportForm, UnusableArgumentsAreRefusedWithTheUsageLine) {
    struct Row {
        std::vector<std::string> args;
        const char* reason;
    };
    const Row rows[] = {
        {{"welle.zm1", "--frobnicate"}, "unknown option"},
        {{"welle.zm1", "/I", "--quiet"}, "unknown option"},
        {{"--frobnicate"}, "unknown option"},
        {{"welle.zm1", "--export", "out.pdf", "--frobnicate", "1"}, "unknown option"},
        {{"welle.zm1", "--export", "out.pdf", "extra"}, "unexpected argument"},
        {{"welle.zm1", "--export"}, "file to write is missing"},
        {{"--export", "out.pdf", "welle.zm1"}, "the project comes first"},
        {{"welle.zm1", "--export", "out.docx"}, "no export writes this extension"},
        {{"welle.zm1", "--export", "out"}, "no export writes this extension"},
        {{"welle.zm1", "--export", "out.txt", "--report", "summary"}, "one of standard|excerpt|"},
        {{"welle.zm1", "--export", "out.svg", "--diagram", "pie"}, "one of project|overall|scheme|scale|normal"},
        {{"welle.zm1", "--export", "out.png", "--dpi", "20"}, "a whole number from 30 to 600"},
        {{"welle.zm1", "--export", "out.png", "--dpi=abc"}, "a whole number from 30 to 600"},
        {{"welle.zm1", "--export", "out.svg", "--closing", "0"}, "a whole number from 1"},
        {{"welle.zm1", "--export", "out.pdf", "--paper", "Letter"}, "one of a4|a3"},
        {{"welle.zm1", "--export", "out.png", "--dpi"}, "value missing"},
        // An option the format has no use for is not dropped unseen.
        {{"welle.zm1", "--export", "out.xlsx", "--dpi", "300"}, "only for PNG pictures"},
        {{"welle.zm1", "--export", "out.svg", "--paper", "A3"}, "only for PDF drawings"},
        {{"welle.zm1", "--export", "out.svg", "--report", "excerpt"}, "only for reports"},
        {{"welle.zm1", "--export", "out.txt", "--closing", "2"}, "only for --report closing-statistics|chain"},
        {{"welle.zm1", "--export", "out.svg", "--diagram", "scheme", "--closing", "2"}, "only for --report"},
        {{"welle.zm1", "--export", "out.txt", "--background", "white"}, "only for drawings"},
        {{"welle.zm1", "--export", "out.html", "--table", "results"}, "only for CSV files"},
        {{"welle.zm1", "--export", "out.csv", "--table", "both"}, "one of elements|results"},
    };
    for (const Row& row : rows) {
        SCOPED_TRACE(row.args.back());
        const CommandLineResult r = start(row.args);
        EXPECT_FALSE(r.openWindow);
        EXPECT_EQ(r.exitCode, 2);
        EXPECT_NE(m_err.str().find(row.reason), std::string::npos) << m_err.str();
        EXPECT_NE(m_err.str().find("usage: wzam1 "), std::string::npos) << m_err.str();
        EXPECT_TRUE(written().empty());
    }
}

// The project and its settings file are inputs, whatever the spelling or link
// that leads there: nothing is written, whatever the format.
TEST_F(ExportForm, TheOutputIsNeverTheProjectOrItsSettings) {
    const std::string settings = R"({"closings": [{"closing": 1, "upper": 1}]})";
    writeBytes(m_folder.file("welle.zm1.json"), settings);
    const std::string project = readBytes(m_folder.file("welle.zm1"));
    std::filesystem::create_symlink("welle.zm1", m_folder.file("link.csv"));
    std::filesystem::create_symlink("welle.zm1.json", m_folder.file("settings.xlsx"));
    struct Row {
        std::string output;
        const char* reason;
    };
    const Row rows[] = {
        {"welle.zm1", "Projektdatei selbst"},      // no export writes .zm1, but this says more
        {"./link.csv", "Projektdatei selbst"},
        {m_folder.file("settings.xlsx"), "Einstellungsdatei"},
        {"welle.zm1.json", "Einstellungsdatei"},
    };
    for (const Row& row : rows) {
        SCOPED_TRACE(row.output);
        EXPECT_EQ(run({"welle.zm1", "--export", row.output}), 2);
        EXPECT_NE(m_err.str().find(row.reason), std::string::npos) << m_err.str();
        EXPECT_EQ(readBytes(m_folder.file("welle.zm1")), project);
        EXPECT_EQ(readBytes(m_folder.file("welle.zm1.json")), settings);
    }
}

// A closing dimension or element the project does not have is refused after
// reading it, as the window refuses the choice; nothing is written.
TEST_F(ExportForm, AClosingOrElementThatIsNotThereIsRefused) {
    const std::vector<std::string> rows[] = {
        {"welle.zm1", "--export", "k.txt", "--report", "closing-statistics", "--closing", "6"},
        {"welle.zm1", "--export", "k.txt", "--report", "cross-reference", "--element", "13"},
    };
    for (const std::vector<std::string>& args : rows) {
        SCOPED_TRACE(args[4]);
        EXPECT_EQ(run(args), 2);
        EXPECT_NE(m_err.str().find("the project has"), std::string::npos) << m_err.str();
        EXPECT_TRUE(written().empty());
    }
}

// Without the painter the core has no fonts: the PDF, SVG and PNG forms fail
// with a reason instead of writing an empty file.
TEST_F(ExportForm, PaintedFormatsNeedThePainter) {
    for (const char* output : {"r.pdf", "d.svg", "d.png"}) {
        SCOPED_TRACE(output);
        EXPECT_EQ(run({"welle.zm1", "--export", output}), 1);
        EXPECT_NE(m_err.str().find("only the wzam1 program"), std::string::npos) << m_err.str();
        EXPECT_TRUE(written().empty());
    }
    EXPECT_TRUE(exportNeedsPainter({"welle.zm1", "--export", "D.PNG"}));
    EXPECT_FALSE(exportNeedsPainter({"welle.zm1", "--export", "p.xlsx"}));
}

// The text forms are written by the core alone; each report kind of the View
// menu comes out under its name, with what distinguishes it.
TEST_F(ExportForm, EveryReportKindIsWritten) {
    struct Row {
        std::vector<std::string> options;
        const char* text;     // in the stored code page
        const char* absent;   // what this kind leaves out; may be empty
    };
    const Row rows[] = {
        {{}, "Axialspiel Ring", ""},
        {{"--report", "excerpt"}, "Axialspiel Ring", "Wahrscheinlichkeit"},
        {{"--report", "zero-distances"}, "MASSAUFBAU : 0 <= 1", "Axialspiel Ring"},
        {{"--report", "closing-statistics", "--closing", "3"}, "Luftspalt Sensor", "Axialspiel Ring"},
        {{"--report", "chain", "--closing", "2"}, "Spalt Deckel", "Luftspalt Sensor"},
        {{"--report", "cross-reference", "--element", "2"}, "Element Nr.2 ist", "Element Nr.1 ist"},
        {{"--report", "cross-references"}, "Element Nr.12 ist", ""},
    };
    std::string standard;
    for (const Row& row : rows) {
        SCOPED_TRACE(row.options.empty() ? "standard" : row.options[1]);
        std::vector<std::string> args{"welle.zm1", "--export", "r.txt"};
        args.insert(args.end(), row.options.begin(), row.options.end());
        EXPECT_EQ(run(args), 0) << m_err.str();
        const std::string text = readBytes(m_folder.file("r.txt"));
        EXPECT_NE(text.find(row.text), std::string::npos);
        if (*row.absent != '\0') {
            EXPECT_EQ(text.find(row.absent), std::string::npos);
        }
        if (standard.empty()) standard = text;
        std::filesystem::remove(m_folder.file("r.txt"));
    }
    EXPECT_NE(standard.find("Wahrscheinlichkeit"), std::string::npos) << "the standard report has the tables";
    // No window copy, no browser, nothing but the file asked for.
    EXPECT_EQ(run({"welle.zm1", "--export", "r.html", "/NOGUI"}), 0) << m_err.str();
    EXPECT_EQ(written(), std::vector<std::string>{"r.html"});
}

} // namespace
} // namespace zam1::test
