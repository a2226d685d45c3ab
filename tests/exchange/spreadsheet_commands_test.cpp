// The spreadsheet commands and the folder table on a scripted prompter and the
// headless desktop: which file is written where, what is started, and that a
// refused or cancelled import leaves the project byte for byte as it was.
#include <gtest/gtest.h>

#include <clocale>
#include <filesystem>
#include <locale>
#include <regex>
#include <sys/stat.h>

#include "core/app/spreadsheet_commands.h"
#include "core/app/table_commands.h"
#include "core/exchange/csv.h"
#include "core/exchange/element_import.h"
#include "core/exchange/exchange_texts.h"
#include "core/exchange/sheet.h"
#include "core/lang/language.h"
#include "core/files/overview.h"
#include "core/files/project_file.h"
#include "core/platform/desktop.h"
#include "core/platform/file_io.h"
#include "core/session/program_state.h"
#include "tests/exchange/workbook_builder.h"
#include "tests/files/sample_project.h"
#include "tests/report/report_harness.h"
#include "tests/support/scripted.h"

namespace zam1::test {
namespace {

using Kind = ScriptedPrompter::Kind;

class RecordingPreview final : public ImportPreview {
public:
    explicit RecordingPreview(bool answer) : m_answer(answer) {}
    bool confirmImport(const std::string& file, const ElementTableChanges& changes) override {
        files.push_back(file);
        seen = changes;
        return m_answer;
    }
    std::vector<std::string> files;
    ElementTableChanges seen;

private:
    bool m_answer;
};

class Spreadsheet : public ::testing::Test {
protected:
    void SetUp() override {
        state.prompter = &prompter;
        state.desktop = &desktop;
        state.config.tempDirectory = folder.path();
        state.file.dataDirectory = folder.path();
        state.file.currentFile = "welle";
        SampleProject p = sampleProject(4, 2, 0, 0);
        state.chain = *p.chain;
    }
    std::string projectBytes() const {
        return projectFileText(state.chain, state.projectTexts, state.documentation, {});
    }
    std::string importFile(const std::string& body) {
        const std::string path = folder.file("import.csv");
        EXPECT_EQ(writeFileSafely(path, "El.Nr.;Vorg.el.;+/-;Nennmaß;ob.Tol.;unt.Tol.;ISO-Tol.;Text;Info\r\n" + body), kIoOk);
        return path;
    }

    TempFolder folder;
    TestPrompter prompter;
    HeadlessDesktop desktop;
    ProgramState state;
};

TEST_F(Spreadsheet, ExportPicksTheFormatByExtension) {
    struct Row {
        const char* chosen;
        const char* written;
        bool csv;
    };
    for (const Row& row : {Row{"a.csv", "a.csv", true}, Row{"b.xlsx", "b.xlsx", false},
                           Row{"c.XLSX", "c.XLSX", false}, Row{"d.zm1", "d.zm1.xlsx", false}}) {
        SCOPED_TRACE(row.chosen);
        prompter.saveFile(folder.file(row.chosen));
        EXPECT_TRUE(exportSpreadsheet(state));
        std::string bytes;
        ASSERT_EQ(readWholeFile(folder.file(row.written), bytes), kIoOk);
        EXPECT_EQ(bytes.starts_with("\xEF\xBB\xBF"), row.csv);
        EXPECT_EQ(bytes.starts_with("PK"), !row.csv);  // a zip container
        EXPECT_FALSE(state.error.isSet());
    }
    EXPECT_FALSE(fileExists(folder.file("d.zm1")));
}

// One table a file, as every CSV reader expects: the project's elements under the
// chosen name, its closing dimensions beside them; the element export alone is the first.
TEST_F(Spreadsheet, ProjectCsvWritesOneTableAFile) {
    struct Row {
        int language;
        const char* results;
    };
    for (const Row& row : {Row{kGerman, "p-ergebnisse.csv"}, Row{kEnglish, "p-results.csv"}}) {
        SCOPED_TRACE(row.results);
        state.config.language = row.language;
        prompter.saveFile(folder.file("p.csv")).saveFile(folder.file("e.csv"));
        ASSERT_TRUE(exportSpreadsheet(state));
        ASSERT_TRUE(exportElementTableSpreadsheet(state));
        std::string project, results, elements;
        readWholeFile(folder.file("p.csv"), project);
        readWholeFile(folder.file(row.results), results);
        readWholeFile(folder.file("e.csv"), elements);
        EXPECT_EQ(project, elements);
        EXPECT_TRUE(results.starts_with("\xEF\xBB\xBFNr.;von Element;bis Element;")) << results;
        for (const std::string* file : {&project, &results}) EXPECT_EQ(file->find("\r\n\r\n"), std::string::npos);
        EXPECT_EQ(resultsCsvPath(folder.file("p.csv"), row.language), folder.file(row.results));
    }
}

TEST_F(Spreadsheet, CancelledSaveDialogWritesNothing) {
    prompter.cancel(Kind::SaveFile);
    EXPECT_FALSE(exportSpreadsheet(state));
    EXPECT_TRUE(state.error.isSet());
    EXPECT_TRUE(std::filesystem::is_empty(folder.path()));
}

TEST_F(Spreadsheet, UnwritableTargetIsReportedAsFailure) {
    prompter.saveFile(folder.file("missing/x.xlsx")).saveFile(folder.file("missing/x.csv"));
    EXPECT_FALSE(exportSpreadsheet(state));
    EXPECT_FALSE(exportSpreadsheet(state));
    EXPECT_TRUE(state.error.isSet());
    EXPECT_EQ(prompter.errors().size(), 2u);
}

TEST_F(Spreadsheet, StartAndPrintoutHandTheTemporaryWorkbookOn) {
    ASSERT_TRUE(startSpreadsheet(state));
    ASSERT_TRUE(printSpreadsheet(state));
    const std::string workbook = folder.file("welle.xlsx");
    const std::string printout = folder.file("welle-2.xlsx");  // the first one may be open in the spreadsheet program
    EXPECT_TRUE(fileExists(workbook));
    EXPECT_TRUE(fileExists(printout));
    EXPECT_EQ(desktop.log(), (std::vector<std::string>{"start xdg-open " + workbook,
                                                       "start libreoffice -p " + printout}));
}

// A workbook of the project's name in the temporary folder is the user's: Start,
// Printout and the folder table's export take a name nobody has yet, and a link
// in the way is not followed.
TEST_F(Spreadsheet, StartNeverWritesOverAWorkbookThatIsThere) {
    std::filesystem::create_directories(folder.file("woanders"));
    ASSERT_EQ(writeFileSafely(folder.file("welle.xlsx"), std::string_view("meine Mappe")), kIoOk);
    ASSERT_EQ(writeFileSafely(folder.file("zam1-overview.xlsx"), std::string_view("meine Übersicht")), kIoOk);
    ASSERT_EQ(writeFileSafely(folder.file("woanders/ziel.txt"), std::string_view("Ziel")), kIoOk);
    std::filesystem::create_symlink(folder.file("woanders/ziel.txt"), folder.file("welle-2.xlsx"));
    ASSERT_TRUE(startSpreadsheet(state));
    ASSERT_TRUE(startOverviewSpreadsheet(state, {}));
    const auto bytesOf = [](const std::string& path) {
        std::string bytes;
        readWholeFile(path, bytes);
        return bytes;
    };
    EXPECT_EQ(bytesOf(folder.file("welle.xlsx")), "meine Mappe");
    EXPECT_EQ(bytesOf(folder.file("zam1-overview.xlsx")), "meine Übersicht");
    EXPECT_EQ(bytesOf(folder.file("woanders/ziel.txt")), "Ziel");
    EXPECT_TRUE(bytesOf(folder.file("welle-3.xlsx")).starts_with("PK"));
    EXPECT_EQ(desktop.log(), (std::vector<std::string>{"start xdg-open " + folder.file("welle-3.xlsx"),
                                                       "start xdg-open " + folder.file("zam1-overview-2.xlsx")}));
}

// Every export goes through the safe writer: the workbook's scratch name is never
// one a link can stand on, and a file without write permission is refused with
// the system's reason (also for root), its content kept.
TEST_F(Spreadsheet, ExportsFollowNoScratchLinkAndKeepProtectedFiles) {
    ASSERT_EQ(writeFileSafely(folder.file("opfer.txt"), std::string_view("fremd")), kIoOk);
    std::filesystem::create_symlink(folder.file("opfer.txt"), folder.file("mappe.xlsx.part"));
    prompter.saveFile(folder.file("mappe.xlsx"));
    ASSERT_TRUE(exportSpreadsheet(state));
    std::string bytes;
    ASSERT_EQ(readWholeFile(folder.file("opfer.txt"), bytes), kIoOk);
    EXPECT_EQ(bytes, "fremd");
    EXPECT_FALSE(std::filesystem::is_symlink(folder.file("mappe.xlsx")));
    ASSERT_EQ(readWholeFile(folder.file("mappe.xlsx"), bytes), kIoOk);
    EXPECT_TRUE(bytes.starts_with("PK"));

    for (const char* name : {"geschuetzt.xlsx", "geschuetzt.csv"}) {
        SCOPED_TRACE(name);
        const std::string path = folder.file(name);
        ASSERT_EQ(writeFileSafely(path, std::string_view("alt")), kIoOk);
        ::chmod(path.c_str(), 0444);
        state.error.clear();
        prompter.saveFile(path);
        EXPECT_FALSE(exportSpreadsheet(state));
        EXPECT_TRUE(state.error.isSet());
        ASSERT_EQ(readWholeFile(path, bytes), kIoOk);
        EXPECT_EQ(bytes, "alt");
        ASSERT_FALSE(prompter.errors().empty());
        EXPECT_EQ(prompter.errors().back(),
                  path + "\nFehler bei Zugriff auf Diskette/Platte\nDatei konnte nicht geschrieben werden\nKeine Berechtigung");
    }
    for (const auto& entry : std::filesystem::directory_iterator(folder.path())) {
        EXPECT_FALSE(entry.path().filename().string().starts_with(".zam1")) << "scratch left: " << entry.path();
    }
}

TEST_F(Spreadsheet, RefusedOrCancelledImportLeavesProjectByteIdentical) {
    const std::string before = projectBytes();
    struct Row {
        const char* name;
        std::string body;
        bool confirm;
    };
    for (const Row& row : {Row{"bad cell", "1;0;+;5;0;0;;;\r\n2;1;+;5;0;zero;;;\r\n", true},
                           Row{"user cancels preview", "1;0;+;5;0;0;;;\r\n", false}}) {
        SCOPED_TRACE(row.name);
        RecordingPreview preview(row.confirm);
        prompter.openFile(importFile(row.body));
        EXPECT_FALSE(importSpreadsheet(state, preview));
        EXPECT_TRUE(state.error.isSet());
        EXPECT_FALSE(state.file.modified);
        EXPECT_EQ(projectBytes(), before);
    }
    ASSERT_EQ(prompter.errors().size(), 1u);
    EXPECT_EQ(prompter.errors()[0], "import.csv\nZeile 3, Spalte F (unt.Tol.): \"zero\" ist keine Zahl");
}

TEST_F(Spreadsheet, ConfirmedImportReplacesTheElementTable) {
    RecordingPreview preview(true);
    prompter.openFile(importFile("1;0;+;30;0.1;-0.1;;Gehäuse;\r\n2;1;-;12.5;0;0;h 6;;\r\n"));
    ASSERT_TRUE(importSpreadsheet(state, preview));
    EXPECT_TRUE(state.file.modified);
    EXPECT_EQ(preview.files, std::vector<std::string>{"import.csv"});
    EXPECT_EQ(preview.seen.elementsBefore, 4);
    EXPECT_EQ(state.chain.elementCount(), 2);
    EXPECT_EQ(state.chain.element(1).text.view(), "Geh\x84use");
    EXPECT_EQ(state.chain.element(2).isoGrade, 6);
    EXPECT_EQ(state.chain.element(2).signedNominal, -12.5L);  // working values recomputed
    EXPECT_EQ(state.chain.closingCount(), 2);
}

TEST_F(Spreadsheet, ImportOfTheUnchangedTableSaysSoAndChangesNothing) {
    prompter.saveFile(folder.file("same.csv"));
    ASSERT_TRUE(exportSpreadsheet(state));
    RecordingPreview preview(true);
    prompter.openFile(folder.file("same.csv"));
    EXPECT_FALSE(importSpreadsheet(state, preview));
    EXPECT_TRUE(preview.files.empty());
    EXPECT_EQ(prompter.log().back(), "note: Die Datei enthält die Elementtabelle unverändert");
}

TEST_F(Spreadsheet, ExportedWorkbookImportsBackAndUndoesAnEdit) {
    prompter.saveFile(folder.file("tabelle.xlsx"));
    ASSERT_TRUE(exportElementTableSpreadsheet(state));
    const std::string exported = projectBytes();
    RecordingPreview unchanged(true);
    prompter.openFile(folder.file("tabelle.xlsx"));
    EXPECT_FALSE(importSpreadsheet(state, unchanged));
    EXPECT_EQ(prompter.log().back(), "note: Die Datei enthält die Elementtabelle unverändert");

    state.chain.element(2).upperDev = 0.3L;
    state.chain.setElementCount(3);
    RecordingPreview preview(true);
    prompter.openFile(folder.file("tabelle.xlsx"));
    ASSERT_TRUE(importSpreadsheet(state, preview));
    EXPECT_EQ(preview.seen.elementsBefore, 3);
    EXPECT_EQ(preview.seen.elementsAfter, 4);
    ASSERT_EQ(preview.seen.changes.size(), 2u);
    EXPECT_EQ(preview.seen.changes[0].columns, std::vector<int>{kColUpper});
    EXPECT_EQ(preview.seen.changes[1].kind, ElementChange::Kind::Added);
    EXPECT_EQ(projectBytes(), exported);
    EXPECT_TRUE(state.file.modified);
}

TEST_F(Spreadsheet, RefusedWorkbookLeavesProjectByteIdentical) {
    const std::string before = projectBytes();
    std::string truncated;
    prompter.saveFile(folder.file("ganz.xlsx"));
    ASSERT_TRUE(exportElementTableSpreadsheet(state));
    ASSERT_EQ(readWholeFile(folder.file("ganz.xlsx"), truncated), kIoOk);
    truncated.resize(truncated.size() / 2);
    struct Row {
        const char* file;
        std::string bytes;
        std::string error;
    };
    for (const Row& row : {Row{"kaputt.xlsx", "El.Nr.;Vorg.el.\r\n1;0\r\n",
                               "kaputt.xlsx\nDie Datei ist keine lesbare Excel-Arbeitsmappe (.xlsx)"},
                           Row{"halb.xlsx", truncated, "halb.xlsx\nDie Datei ist keine lesbare Excel-Arbeitsmappe (.xlsx)"},
                           Row{"zelle.csv",
                               zipOf(workbookParts(worksheetXml(
                                   inlineRow("1", {"El.Nr."}) +
                                   "<row r=\"2\"><c r=\"A2\"><v>1</v></c><c r=\"E2\" t=\"e\"><v>#NV</v></c></row>"))),
                               "zelle.csv\nZeile 2, Spalte E (ob.Tol.): \"#NV\" ist ein Fehlerwert"}}) {
        SCOPED_TRACE(row.file);
        ASSERT_EQ(writeFileSafely(folder.file(row.file), row.bytes), kIoOk);
        RecordingPreview preview(true);
        prompter.openFile(folder.file(row.file));
        EXPECT_FALSE(importSpreadsheet(state, preview));
        EXPECT_TRUE(preview.files.empty());
        EXPECT_TRUE(state.error.isSet());
        EXPECT_FALSE(state.file.modified);
        EXPECT_EQ(projectBytes(), before);
        ASSERT_FALSE(prompter.errors().empty());
        EXPECT_EQ(prompter.errors().back(), row.error);
    }
}

TEST_F(Spreadsheet, CsvRoundTripUnderAGermanLocale) {
    ASSERT_NE(std::setlocale(LC_ALL, "de_DE.UTF-8"), nullptr) << "de_DE.UTF-8 missing: run scripts/bootstrap";
    const std::locale previous = std::locale::global(std::locale("de_DE.UTF-8"));
    prompter.saveFile(folder.file("de.csv"));
    const bool written = exportElementTableSpreadsheet(state);
    std::string bytes;
    readWholeFile(folder.file("de.csv"), bytes);
    std::locale::global(previous);
    std::setlocale(LC_ALL, "C");
    ASSERT_TRUE(written);
    EXPECT_NE(bytes.find(";12.625;"), std::string::npos) << bytes;  // element 1, with its decimal point
    const ElementImport back = readElementCsv(bytes, exchangeTexts(kGerman));
    ASSERT_FALSE(back.problem);
    EXPECT_TRUE(compareElements(state.chain, back.elements).empty());
}

// With the decimal-comma setting the numbers carry a comma, the cells stay
// apart by ";", and the import takes the file back unchanged.
TEST_F(Spreadsheet, DecimalCommaSettingWritesCommasAndReadsBack) {
    state.config.decimalSeparator = 2;
    prompter.saveFile(folder.file("komma.csv")).openFile(folder.file("komma.csv"));
    ASSERT_TRUE(exportSpreadsheet(state));
    std::string elements, results;
    readWholeFile(folder.file("komma.csv"), elements);
    readWholeFile(folder.file("komma-ergebnisse.csv"), results);
    EXPECT_NE(elements.find(";12,625;"), std::string::npos) << elements;
    EXPECT_EQ(elements.find(";12.625;"), std::string::npos) << elements;
    int commaNumbers = 0;
    for (const auto& record : readCsvRecords(results, exchangeTexts(kGerman)).records) {
        for (const std::string& field : record) {
            EXPECT_FALSE(std::regex_match(field, std::regex(R"(-?\d+\.\d+)"))) << field;
            commaNumbers += std::regex_match(field, std::regex(R"(-?\d+,\d+)")) ? 1 : 0;
        }
    }
    EXPECT_GT(commaNumbers, 3) << results;
    RecordingPreview preview(true);
    EXPECT_FALSE(importSpreadsheet(state, preview));
    EXPECT_EQ(prompter.log().back(), "note: Die Datei enthält die Elementtabelle unverändert");
}

// Answers the table window from a script and records what it showed.
class ScriptedTable final : public OverviewWindow {
public:
    std::vector<int> picks;  // row to choose; -1 closes, -2 asks for the spreadsheet
    std::vector<std::size_t> shownRows;
    int opened = 0;
    Action show(const std::string&, std::vector<OverviewRow>& rows, int& row) override {
        shownRows.push_back(rows.size());
        if (m_next >= picks.size() || picks[m_next] == -1) return Action::Close;
        const int pick = picks[m_next++];
        if (pick == -2) return Action::ExportSpreadsheet;
        row = pick;
        return Action::Choose;
    }
    void projectOpened() override { ++opened; }

private:
    std::size_t m_next = 0;
};

TEST_F(Spreadsheet, TableOpensTheChosenProject) {
    SampleProject a = sampleProject(3, 1, 0, 0);
    ASSERT_EQ(writeFileSafely(folder.file("a.zm1"), projectFileText(*a.chain, a.texts, a.docs, {})), kIoOk);
    ASSERT_EQ(writeFileSafely(folder.file("b.zm1"), "kein Projekt\r\n"), kIoOk);
    ScriptedTable table;
    table.picks = {-2, 1, 0, -1};  // spreadsheet, the broken file, then a.zm1
    EXPECT_TRUE(openTable(state, table));
    EXPECT_EQ(table.shownRows, (std::vector<std::size_t>{2, 2, 2, 2}));
    EXPECT_EQ(table.opened, 1);
    EXPECT_EQ(state.file.currentFile, "a");
    EXPECT_EQ(state.chain.elementCount(), 3);
    EXPECT_TRUE(state.error.isSet());  // closed without a choice
    EXPECT_EQ(prompter.errors().size(), 1u);  // the broken file's message
    EXPECT_EQ(desktop.log().front(), "start xdg-open " + folder.file("zam1-overview.xlsx"));
}

TEST_F(Spreadsheet, TableOfABrokenChoiceKeepsProjectAndNoName) {
    ASSERT_EQ(writeFileSafely(folder.file("b.zm1"), "kein Projekt\r\n"), kIoOk);
    const std::string before = projectBytes();
    ScriptedTable table;
    table.picks = {0};
    EXPECT_FALSE(openTable(state, table));
    EXPECT_EQ(projectBytes(), before);
    EXPECT_EQ(state.file.currentFile, "");  // the table starts by dropping the name
    EXPECT_EQ(prompter.errors().size(), 1u);
}

TEST_F(Spreadsheet, TableStopsWhenTheCloseQueryIsCancelled) {
    state.file.modified = true;
    prompter.answer(Answer::Cancel);
    ScriptedTable table;
    EXPECT_FALSE(openTable(state, table));
    EXPECT_TRUE(table.shownRows.empty());
    EXPECT_EQ(state.file.currentFile, "welle");
}

} // namespace
} // namespace zam1::test
