// The .xlsx side of the element import: the export's own workbook reads back
// unchanged, workbooks in the shapes other spreadsheet programs save read the
// same as the CSV with the same cells, and broken or hostile workbooks are
// refused with the row and column (or the part of the file) named.
#include <gtest/gtest.h>

#include <memory>

#include "core/exchange/element_import.h"
#include "core/exchange/exchange_texts.h"
#include "core/exchange/sheet.h"
#include "core/exchange/xlsx_reader.h"
#include "core/exchange/xlsx_writer.h"
#include "core/files/project_file.h"
#include "core/lang/language.h"
#include "core/model/chain.h"
#include "core/model/closing_solution.h"
#include "core/model/resolution.h"
#include "core/platform/file_io.h"
#include "tests/exchange/workbook_builder.h"
#include "tests/files/sample_project.h"
#include "tests/report/report_harness.h"

namespace zam1::test {
namespace {

const ExchangeTexts& german() { return exchangeTexts(kGerman); }

const std::string kCsvHeading = "El.Nr.;Vorg.el.;+/-;Nennmaß;ob.Tol.;unt.Tol.;ISO-Tol.;Text;Info\r\n";
const std::string kCsvBody = "1;0;+;25.5;0.021;0;H 7;Welle;\r\n2;1;-;10;0;-0.1;;Nabe;x\r\n";
const std::string kHeadingRow =
    inlineRow("1", {"El.Nr.", "Vorg.el.", "+/-", "Nennmaß", "ob.Tol.", "unt.Tol.", "ISO-Tol.", "Text", "Info"});

std::string problemText(const ElementImport& in) {
    return in.problem ? importProblemText(*in.problem, elementHeadings(LanguageTexts{}), german()) : std::string();
}

std::unique_ptr<Chain> chainOf(const std::vector<Element>& elements) {
    auto chain = std::make_unique<Chain>();
    applyElementImport(*chain, elements);
    return chain;
}

// The workbook as the program's own writer makes it.
std::string exportedWorkbook(const Chain& chain, bool withClosings, const TempFolder& folder) {
    LanguageTexts texts;
    std::vector<Worksheet> sheets{elementSheet(chain, texts, german())};
    if (withClosings) {
        Chain copy = chain;
        deriveElementValues(copy);
        sheets.push_back(closingSheet(copy, solveAllClosings(copy), texts, german()));
    }
    const std::string path = folder.file("export.xlsx");
    std::string bytes;
    EXPECT_EQ(writeXlsx(path, sheets), kIoOk);
    EXPECT_EQ(readWholeFile(path, bytes), kIoOk);
    return bytes;
}

TEST(ElementXlsx, ExportedWorkbookReadsBackUnchanged) {
    TempFolder folder;
    std::string example;
    ASSERT_EQ(readWholeFile(std::string(ZAM1_SOURCE_DIR) + "/examples/getriebewelle.zm1", example), kIoOk);
    SampleProject getriebewelle;
    ASSERT_EQ(parseProjectFile(example, *getriebewelle.chain, getriebewelle.texts, getriebewelle.docs).status,
              ProjectReadStatus::Ok);
    SampleProject sample = sampleProject(15, 3, 0, 0);
    sample.chain->element(2).distance = 0.1L;        // no exact binary value
    sample.chain->element(3).upperDev = -1e-7L;      // written with an exponent
    sample.chain->element(4).text = "\"Zitat\" <&>";  // XML's own characters
    struct Row {
        const char* name;
        const Chain& chain;
        bool withClosings;
    };
    for (const Row& row : {Row{"example, element table", *getriebewelle.chain, false},
                           Row{"example, project with closing dimensions", *getriebewelle.chain, true},
                           Row{"sample with awkward values", *sample.chain, false}}) {
        SCOPED_TRACE(row.name);
        ASSERT_GT(row.chain.elementCount(), 0);
        const ElementImport back = readElementXlsx(exportedWorkbook(row.chain, row.withClosings, folder), german());
        ASSERT_FALSE(back.problem) << problemText(back);
        ASSERT_EQ(back.elements.size(), static_cast<std::size_t>(row.chain.elementCount()));
        const ElementTableChanges changes = compareElements(row.chain, back.elements);
        EXPECT_TRUE(changes.empty()) << changes.changes.front().before << "\n" << changes.changes.front().after;
    }
}

TEST(ElementXlsx, WorkbooksSavedByLibreOfficeRead) {
    std::string example;
    ASSERT_EQ(readWholeFile(std::string(ZAM1_SOURCE_DIR) + "/examples/getriebewelle.zm1", example), kIoOk);
    SampleProject getriebewelle;
    ASSERT_EQ(parseProjectFile(example, *getriebewelle.chain, getriebewelle.texts, getriebewelle.docs).status,
              ProjectReadStatus::Ok);
    const ElementImport typed = readElementCsv(kCsvHeading + "1;0;+;25.5;0.021;0;H 7;4711;0.3\r\n2;1;-;0.001;;-0.1;;Nabe;1\r\n",
                                               german());
    ASSERT_FALSE(typed.problem);
    const std::unique_ptr<Chain> typedChain = chainOf(typed.elements);
    struct Row {
        const char* file;
        const Chain& chain;
    };
    for (const Row& row : {Row{"getriebewelle-libreoffice.xlsx", *getriebewelle.chain},
                           Row{"typed-libreoffice.xlsx", *typedChain}}) {
        SCOPED_TRACE(row.file);
        std::string bytes;
        ASSERT_EQ(readWholeFile(std::string(ZAM1_TEST_DATA_DIR) + "/exchange/" + row.file, bytes), kIoOk);
        const ElementImport in = readElementXlsx(bytes, german());
        ASSERT_FALSE(in.problem) << problemText(in);
        ASSERT_EQ(in.elements.size(), static_cast<std::size_t>(row.chain.elementCount()));
        const ElementTableChanges changes = compareElements(row.chain, in.elements);
        EXPECT_TRUE(changes.empty()) << changes.changes.front().before << "\n" << changes.changes.front().after;
    }
}

// Each workbook holds the table of `csv`; it must read exactly as the CSV does.
TEST(ElementXlsx, OtherProgramsWorkbooksReadAsTheirCsv) {
    const std::string sharedHeading =
        "<row r=\"1\">" + [] {
            std::string cells;
            for (int i = 0; i < 9; ++i) cells += "<c r=\"" + std::string(1, char('A' + i)) + "1\" t=\"s\"><v>" + std::to_string(i) + "</v></c>";
            return cells;
        }() + "</row>";
    const std::vector<std::string> headingStrings = {"El.Nr.", "Vorg.el.", "+/-", "Nennma\xC3\x9F", "ob.Tol.",
                                                     "unt.Tol.", "ISO-Tol.", "Text", "Info"};
    const auto withStrings = [&](std::vector<std::string> more) {
        std::vector<std::string> all = headingStrings;
        all.insert(all.end(), more.begin(), more.end());
        return sharedStringsXml(all);
    };
    struct Row {
        const char* name;
        std::vector<ZipPart> parts;
        std::string csv = kCsvBody;
    };
    const std::vector<Row> rows = {
        {"shared strings, every cell referenced (the export's shape)",
         workbookParts(worksheetXml(sharedHeading +
                                    "<row r=\"2\"><c r=\"A2\"><v>1</v></c><c r=\"B2\"><v>0</v></c><c r=\"C2\" t=\"s\"><v>9</v></c>"
                                    "<c r=\"D2\"><v>25.5</v></c><c r=\"E2\"><v>0.021</v></c><c r=\"F2\"><v>0</v></c>"
                                    "<c r=\"G2\" t=\"s\"><v>10</v></c><c r=\"H2\" t=\"s\"><v>11</v></c></row>"
                                    "<row r=\"3\"><c r=\"A3\"><v>2</v></c><c r=\"B3\"><v>1</v></c><c r=\"C3\" t=\"s\"><v>12</v></c>"
                                    "<c r=\"D3\"><v>10</v></c><c r=\"E3\"><v>0</v></c><c r=\"F3\"><v>-0.1</v></c>"
                                    "<c r=\"H3\" t=\"s\"><v>13</v></c><c r=\"I3\" t=\"s\"><v>14</v></c></row>"),
                       withStrings({"+", "H 7", "Welle", "-", "Nabe", "x"}))},
        {"inline strings, no references, empty cells written",
         workbookParts(worksheetXml(inlineRow("", {"El.Nr.", "Vorg.el.", "+/-", "Nennmaß", "ob.Tol.", "unt.Tol.",
                                                   "ISO-Tol.", "Text", "Info"}) +
                                    "<row><c><v>1</v></c><c><v>0</v></c><c t=\"inlineStr\"><is><t>+</t></is></c>"
                                    "<c><v>25.5</v></c><c><v>0.021</v></c><c><v>0</v></c>"
                                    "<c t=\"inlineStr\"><is><t>H 7</t></is></c><c t=\"inlineStr\"><is><t>Welle</t></is></c></row>"
                                    "<row><c><v>2</v></c><c><v>1</v></c><c t=\"inlineStr\"><is><t>-</t></is></c>"
                                    "<c><v>10</v></c><c><v>0</v></c><c><v>-0.1</v></c><c/>"
                                    "<c t=\"inlineStr\"><is><t>Nabe</t></is></c><c t=\"inlineStr\"><is><t>x</t></is></c></row>"))},
        {"cells left out, a note right of the table and rows below a gap",
         workbookParts(worksheetXml(kHeadingRow +
                                    "<row r=\"2\"><c r=\"B2\"><v>0</v></c><c r=\"D2\"><v>25.5</v></c><c r=\"E2\"><v>0.021</v></c>"
                                    "<c r=\"G2\" t=\"inlineStr\"><is><t>H 7</t></is></c>"
                                    "<c r=\"H2\" t=\"inlineStr\"><is><t>Welle</t></is></c>"
                                    "<c r=\"L2\" t=\"inlineStr\"><is><t>Notiz</t></is></c></row>"
                                    "<row r=\"3\"><c r=\"B3\"><v>1</v></c><c r=\"C3\" t=\"inlineStr\"><is><t>-</t></is></c>"
                                    "<c r=\"D3\"><v>10</v></c><c r=\"F3\"><v>-0.1</v></c>"
                                    "<c r=\"H3\" t=\"inlineStr\"><is><t>Nabe</t></is></c>"
                                    "<c r=\"I3\" t=\"inlineStr\"><is><t>x</t></is></c></row>"
                                    "<row r=\"6\"><c r=\"A6\" t=\"inlineStr\"><is><t>Summe</t></is></c></row>"
                                    "<row r=\"1048576\"><c r=\"XFD1048576\"><v>1</v></c></row>")),
         ";0;;25.5;0.021;;H 7;Welle;\r\n;1;-;10;;-0.1;;Nabe;x\r\n"},
        {"numbers as other writers print them, direction as booleans",
         workbookParts(worksheetXml(kHeadingRow +
                                    "<row r=\"2\"><c r=\"A2\" t=\"n\"><v>1</v></c><c r=\"B2\"><v>0</v></c><c r=\"C2\" t=\"b\"><v>1</v></c>"
                                    "<c r=\"D2\"><v>2.55E1</v></c><c r=\"E2\"><v>2.1E-2</v></c><c r=\"F2\"><v>0</v></c>"
                                    "<c r=\"G2\" t=\"inlineStr\"><is><t>H 7</t></is></c><c r=\"H2\" t=\"inlineStr\"><is><t>Welle</t></is></c></row>"
                                    "<row r=\"3\"><c r=\"A3\"><v>2</v></c><c r=\"B3\"><v>1</v></c><c r=\"C3\" t=\"b\"><v>0</v></c>"
                                    "<c r=\"D3\"><v>10</v></c><c r=\"E3\"><v>0</v></c><c r=\"F3\"><v>-1E-1</v></c>"
                                    "<c r=\"H3\" t=\"inlineStr\"><is><t>Nabe</t></is></c><c r=\"I3\" t=\"inlineStr\"><is><t>x</t></is></c></row>")),
         "1;0;+;2.55E1;2.1E-2;0;H 7;Welle;\r\n2;1;-;10;0;-1E-1;;Nabe;x\r\n"},
        {"numbers beyond double precision read as the same decimal text",
         workbookParts(worksheetXml(kHeadingRow +
                                    "<row r=\"2\"><c r=\"A2\"><v>1</v></c><c r=\"D2\"><v>0.30000000000000004</v></c>"
                                    "<c r=\"E2\"><v>1E-3</v></c><c r=\"F2\"><v>-0.3</v></c></row>")),
         "1;;;0.30000000000000004;0.001;-0.3;;;\r\n"},
        {"texts a spreadsheet turned into numbers read as their text",
         workbookParts(worksheetXml(kHeadingRow +
                                    "<row r=\"2\"><c r=\"A2\"><v>1</v></c><c r=\"D2\"><v>5</v></c>"
                                    "<c r=\"H2\"><v>4711</v></c><c r=\"I2\"><v>1E-3</v></c></row>"
                                    "<row r=\"3\"><c r=\"A3\"><v>2</v></c><c r=\"H3\"><v>1E+21</v></c><c r=\"I3\"><v>-0.5</v></c></row>")),
         "1;;;5;;;;4711;0.001\r\n2;;;;;;;1000000000000000000000;-0.5\r\n"},
        {"rich text runs joined, phonetic guide left out, a formula's text",
         workbookParts(worksheetXml(sharedHeading +
                                    "<row r=\"2\"><c r=\"A2\"><v>1</v></c><c r=\"H2\" t=\"s\"><v>9</v></c>"
                                    "<c r=\"I2\" t=\"str\"><f>\"Na\"&amp;\"be\"</f><v>Nabe</v></c></row>"),
                       withStrings({"<r><t>We</t></r><r><rPr><b/></rPr><t xml:space=\"preserve\">lle &amp; Lager</t></r>"
                                    "<rPh sb=\"0\" eb=\"1\"><t>XX</t></rPh>"})),
         "1;;;;;;;Welle & Lager;Nabe\r\n"},
        {"prefixed namespace, sheet found through relations with \"..\"",
         [] {
             auto parts = workbookParts(
                 "<x:worksheet xmlns:x=\"" + kMainNamespace + "\"><x:sheetData>"
                 "<x:row r=\"1\"><x:c r=\"A1\" t=\"inlineStr\"><x:is><x:t>Nr</x:t></x:is></x:c></x:row>"
                 "<x:row r=\"2\"><x:c r=\"A2\"><x:v>1</x:v></x:c><x:c r=\"D2\"><x:v>25.5</x:v></x:c></x:row>"
                 "</x:sheetData></x:worksheet>",
                 {}, "../worksheets/data.xml");
             parts[4].name = "xl/worksheets/data.xml";
             return parts;
         }(),
         "1;;;25.5;;;;;\r\n"},
        {"no workbook part: the usual sheet name",
         {{"xl/worksheets/sheet1.xml", worksheetXml(kHeadingRow + "<row r=\"2\"><c r=\"A2\"><v>1</v></c>"
                                                                 "<c r=\"D2\"><v>3</v></c></row>")}},
         "1;;;3;;;;;\r\n"},
    };
    for (const Row& row : rows) {
        SCOPED_TRACE(row.name);
        const std::string bytes = zipOf(row.parts);
        ASSERT_FALSE(bytes.empty());
        const ElementImport fromCsv = readElementCsv(kCsvHeading + row.csv, german());
        ASSERT_FALSE(fromCsv.problem) << problemText(fromCsv);
        const ElementImport fromXlsx = readElementXlsx(bytes, german());
        ASSERT_FALSE(fromXlsx.problem) << problemText(fromXlsx);
        ASSERT_EQ(fromXlsx.elements.size(), fromCsv.elements.size());
        const ElementTableChanges changes = compareElements(*chainOf(fromCsv.elements), fromXlsx.elements);
        EXPECT_TRUE(changes.empty()) << changes.changes.front().before << "\n" << changes.changes.front().after;
        EXPECT_TRUE(readElementTable(bytes, "ohne Endung", german()).problem == std::nullopt);  // told by content
    }
}

TEST(ElementXlsx, ExactNumbersAndTexts) {
    const std::string bytes = zipOf(workbookParts(worksheetXml(
        kHeadingRow + "<row r=\"2\"><c r=\"A2\"><v>1</v></c><c r=\"D2\"><v>0.3</v></c><c r=\"E2\"><v>1E-3</v></c>"
                      "<c r=\"H2\" t=\"inlineStr\"><is><t>Geh\xC3\xA4use</t></is></c><c r=\"I2\"><v>4711</v></c></row>")));
    const ElementImport in = readElementXlsx(bytes, german());
    ASSERT_FALSE(in.problem) << problemText(in);
    ASSERT_EQ(in.elements.size(), 1u);
    EXPECT_EQ(in.elements[0].distance, 0.3L);  // the long double of "0.3", not of the double nearest 0.3
    EXPECT_EQ(in.elements[0].upperDev, 0.001L);
    EXPECT_EQ(in.elements[0].text.view(), "Geh\x84use");  // stored code page
    EXPECT_EQ(in.elements[0].remark.view(), "4711");
}

TEST(ElementXlsx, BrokenAndHostileWorkbooksAreRefusedNamingWhere) {
    const std::string goodSheet = worksheetXml(kHeadingRow + "<row r=\"2\"><c r=\"A2\"><v>1</v></c>"
                                                             "<c r=\"H2\" t=\"inlineStr\"><is><t>Welle</t></is></c></row>");
    const auto withSheet = [](const std::string& rows) { return zipOf(workbookParts(worksheetXml(kHeadingRow + rows))); };
    std::string damaged = zipOf({{"xl/worksheets/sheet1.xml", goodSheet, true}});
    if (const std::size_t at = damaged.find("Welle"); at != std::string::npos) damaged[at + 4] = 'a';  // CRC no longer fits
    std::string tooManyRows;
    for (int r = 2; r <= 2502; ++r) tooManyRows += "<row r=\"" + std::to_string(r) + "\"><c><v>" + std::to_string(r - 1) + "</v></c></row>";
    std::vector<ZipPart> manyParts(10001);
    for (std::size_t i = 0; i < manyParts.size(); ++i) manyParts[i] = {std::to_string(i), {}, true};
    const std::string bombPart = worksheetXml(std::string((std::size_t{64} << 20) + 1, ' '));
    struct Row {
        const char* name;
        std::string bytes;
        std::string message;
    };
    const std::vector<Row> rows = {
        {"CSV bytes", kCsvHeading + kCsvBody, "Die Datei ist keine lesbare Excel-Arbeitsmappe (.xlsx)"},
        {"empty file", "", "Die Datei ist keine lesbare Excel-Arbeitsmappe (.xlsx)"},
        {"zip signature, then nothing", std::string("PK\x03\x04", 4) + std::string(40, 'x'),
         "Die Datei ist keine lesbare Excel-Arbeitsmappe (.xlsx)"},
        {"more than 10000 parts", zipOf(manyParts), "Die Datei ist keine lesbare Excel-Arbeitsmappe (.xlsx)"},
        {"sheet part missing",
         [] {
             auto parts = workbookParts(worksheetXml(""));
             parts.erase(parts.begin() + 4);
             return zipOf(parts);
         }(),
         "Der Arbeitsmappe fehlt ein Teil: xl/worksheets/tab1.xml"},
        {"zip without any workbook part", zipOf({{"word/document.xml", "<document/>"}}),
         "Der Arbeitsmappe fehlt ein Teil: xl/worksheets/sheet1.xml"},
        {"truncated sheet", zipOf(workbookParts(goodSheet.substr(0, goodSheet.size() - 30))),
         "Ein Teil der Arbeitsmappe ist kein gültiges XML: xl/worksheets/tab1.xml"},
        {"truncated relations",
         [] {
             auto parts = workbookParts(worksheetXml(""));
             parts[3].bytes.resize(parts[3].bytes.size() / 2);
             return zipOf(parts);
         }(),
         "Ein Teil der Arbeitsmappe ist kein gültiges XML: xl/_rels/workbook.xml.rels"},
        {"entity declarations",
         zipOf(workbookParts("<!DOCTYPE worksheet [<!ENTITY a \"aaaaaaaaaa\"><!ENTITY b \"&a;&a;&a;&a;\">]>" + goodSheet.substr(goodSheet.find('<', 1)))),
         "Ein Teil der Arbeitsmappe ist kein gültiges XML: xl/worksheets/tab1.xml"},
        {"damaged part", damaged, "Ein Teil der Arbeitsmappe ist beschädigt: xl/worksheets/sheet1.xml"},
        {"part unpacking beyond 64 MiB", zipOf(workbookParts(bombPart)),
         "Ein Teil der Arbeitsmappe ist entpackt zu groß (höchstens 64 MiB): xl/worksheets/tab1.xml"},
        {"shared string index out of range",
         zipOf(workbookParts(worksheetXml(kHeadingRow + "<row r=\"2\"><c r=\"A2\"><v>1</v></c><c r=\"H2\" t=\"s\"><v>1</v></c></row>"),
                             sharedStringsXml({"Welle"}))),
         "Zeile 2, Spalte H (Text): \"1\" verweist auf keinen Text der Arbeitsmappe"},
        {"shared string without the strings part", withSheet("<row r=\"2\"><c r=\"A2\" t=\"s\"><v>0</v></c></row>"),
         "Zeile 2, Spalte A (El.Nr.): \"0\" verweist auf keinen Text der Arbeitsmappe"},
        {"column beyond XFD", withSheet("<row r=\"2\"><c r=\"A2\"><v>1</v></c><c r=\"XFE2\"><v>1</v></c></row>"),
         "Die Arbeitsmappe enthält einen ungültigen Zellbezug: XFE2"},
        {"row beyond 1048576", withSheet("<row r=\"1048577\"><c><v>1</v></c></row>"),
         "Die Arbeitsmappe enthält einen ungültigen Zellbezug: 1048577"},
        {"cell reference without a row", withSheet("<row r=\"2\"><c r=\"A\"><v>1</v></c></row>"),
         "Die Arbeitsmappe enthält einen ungültigen Zellbezug: A"},
        {"error value", withSheet("<row r=\"2\"><c r=\"A2\"><v>1</v></c><c r=\"D2\" t=\"e\"><v>#DIV/0!</v></c></row>"),
         "Zeile 2, Spalte D (Nennmaß): \"#DIV/0!\" ist ein Fehlerwert"},
        {"ISO code a spreadsheet turned into a number", withSheet("<row r=\"2\"><c r=\"G2\"><v>7</v></c></row>"),
         "Zeile 2, Spalte G (ISO-Tol.): \"7\" ist kein ISO-Toleranzcode"},
        {"number where the heading belongs", zipOf(workbookParts(worksheetXml("<row r=\"1\"><c r=\"A1\"><v>1</v></c></row>"))),
         "Zeile 1: Die erste Zeile muss die Spaltenüberschriften enthalten"},
        {"more elements than a chain holds", withSheet(tooManyRows), "Zeile 2502: zu viele Elemente (höchstens 2500)"},
    };
    for (const Row& row : rows) {
        SCOPED_TRACE(row.name);
        const ElementImport in = readElementXlsx(row.bytes, german());
        EXPECT_EQ(problemText(in), row.message);
        EXPECT_TRUE(in.elements.empty());
    }
}

TEST(ElementXlsx, LimitsBoundWhatIsKept) {
    const std::string bytes = zipOf(workbookParts(
        worksheetXml("<row r=\"1\"><c r=\"A1\" t=\"s\"><v>2</v></c><c r=\"C1\"><v>3</v></c><c r=\"D1\"><v>4</v></c></row>"
                     "<row r=\"3\"><c r=\"B3\" t=\"s\"><v>99</v></c></row>"),
        sharedStringsXml({"a", "b", "c"})));
    struct Row {
        const char* name;
        XlsxLimits limits;
        std::size_t rows;       // kept
        std::size_t firstRow;   // cells kept in row 1
        std::string problem;
    };
    const auto limits = [](std::size_t strings, int rows, int columns) {
        XlsxLimits l;
        l.sharedStrings = strings;
        l.rows = rows;
        l.columns = columns;
        return l;
    };
    for (const Row& row : {Row{"everything kept: the bad index of B3 is found", limits(3, 10, 10), 0, 0,
                               "verweist auf keinen Text der Arbeitsmappe"},
                           Row{"rows cut: B3 is passed over", limits(3, 2, 10), 1, 4, ""},
                           Row{"columns cut", limits(3, 2, 3), 1, 3, ""},
                           Row{"too many shared strings", limits(2, 2, 10), 0, 0,
                               "Die Arbeitsmappe enthält zu viele Texte (höchstens 1000000)"}}) {
        SCOPED_TRACE(row.name);
        const XlsxSheet sheet = readFirstWorksheet(bytes, german(), row.limits);
        EXPECT_EQ(sheet.problem ? sheet.problem->reason : std::string(), row.problem);
        ASSERT_EQ(sheet.rows.size(), row.rows);
        if (row.rows == 0) continue;
        ASSERT_EQ(sheet.rows[0].size(), row.firstRow);
        EXPECT_EQ(sheet.rows[0][0].text, "c");
        EXPECT_EQ(sheet.rows[0][1].text, "");  // B1 left out
        EXPECT_EQ(sheet.rows[0][2].kind, ImportCell::Kind::Number);
    }
}

// One long text referred to by many cells would be copied into each of them:
// the texts handed out are counted together, wherever they come from.
TEST(ElementXlsx, TextHandedOutToCellsIsBoundedTogether) {
    const std::string mebibyte(std::size_t{1} << 20, 'x');
    const auto sharedRows = [](int cells) {
        std::string rows;
        for (int r = 2; r < 2 + cells; ++r) {
            rows += "<row r=\"" + std::to_string(r) + "\"><c r=\"H" + std::to_string(r) + "\" t=\"s\"><v>0</v></c></row>";
        }
        return rows;
    };
    const auto inlineRows = [&](int cells) {
        std::string rows;
        for (int r = 2; r < 2 + cells; ++r) rows += inlineRow(std::to_string(r), {"", "", "", "", "", "", "", mebibyte});
        return rows;
    };
    struct Row {
        const char* name;
        std::string bytes;
        std::string problem;
    };
    const Row rows[] = {
        {"one shared text in 20 cells", zipOf(workbookParts(worksheetXml(sharedRows(20)), sharedStringsXml({mebibyte}))),
         "Die Zellen der Arbeitsmappe enthalten zusammen zu viel Text (höchstens 16 MiB): H18"},
        {"20 inline texts", zipOf(workbookParts(worksheetXml(inlineRows(20)))),
         "Die Zellen der Arbeitsmappe enthalten zusammen zu viel Text (höchstens 16 MiB): H18"},
        {"one shared text in 16 cells", zipOf(workbookParts(worksheetXml(sharedRows(16)), sharedStringsXml({mebibyte}))),
         ""},
    };
    for (const Row& row : rows) {
        SCOPED_TRACE(row.name);
        ASSERT_FALSE(row.bytes.empty());
        const XlsxSheet sheet = readFirstWorksheet(row.bytes, german());
        const std::string problem = sheet.problem ? sheet.problem->reason + ": " + sheet.problem->cell : "";
        EXPECT_EQ(problem, row.problem);
        EXPECT_EQ(sheet.rows.empty(), !row.problem.empty());
    }
}

TEST(ElementXlsx, FileKindIsToldByContentThenExtension) {
    const std::string workbook = zipOf(workbookParts(worksheetXml(kHeadingRow + "<row r=\"2\"><c r=\"A2\"><v>1</v></c></row>")));
    struct Row {
        const char* name;
        std::string bytes;
        const char* file;
        std::string problem;
    };
    for (const Row& row : {Row{"workbook named .csv", workbook, "a.csv", ""},
                           Row{"CSV named .xlsx", kCsvHeading + kCsvBody, "a.XLSX",
                               "Die Datei ist keine lesbare Excel-Arbeitsmappe (.xlsx)"},
                           Row{"CSV named .txt", kCsvHeading + kCsvBody, "a.txt", ""}}) {
        SCOPED_TRACE(row.name);
        EXPECT_EQ(problemText(readElementTable(row.bytes, row.file, german())), row.problem);
    }
}

} // namespace
} // namespace zam1::test
