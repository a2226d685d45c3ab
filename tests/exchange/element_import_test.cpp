// The CSV side of the exchange: a table written and read back is the same table,
// a spreadsheet program's variants of it (comma, tab, decimal comma, Windows code
// page) read the same, and every unreadable cell is named by row and column.
#include <gtest/gtest.h>

#include <charconv>
#include <cmath>
#include <random>
#include <sstream>

#include "core/exchange/csv.h"
#include "core/exchange/element_import.h"
#include "core/exchange/exchange_texts.h"
#include "core/exchange/sheet.h"
#include "core/lang/language.h"
#include "core/model/closing_solution.h"
#include "core/model/resolution.h"
#include "tests/files/sample_project.h"

namespace zam1::test {
namespace {

const ExchangeTexts& german() { return exchangeTexts(kGerman); }

// The element table as the export writes it; `withClosings`: as older versions
// wrote a project, the closing dimensions following in the same file behind an empty line.
std::string csvOf(const Chain& chain, bool withClosings, const CsvFormat& format = {}) {
    LanguageTexts texts;
    std::ostringstream out;
    writeCsv(out, elementSheet(chain, texts, german()), format);
    if (withClosings) {
        Chain copy = chain;
        deriveElementValues(copy);
        std::ostringstream closings;
        writeCsv(closings, closingSheet(copy, solveAllClosings(copy), texts, german()), format);
        out << "\r\n" << closings.str().substr(3);  // one byte-order mark at the start
    }
    return out.str();
}

const std::string kHeading = "El.Nr.;Vorg.el.;+/-;Nennmaß;ob.Tol.;unt.Tol.;ISO-Tol.;Text;Info\r\n";

TEST(ElementCsv, WrittenTableReadsBackUnchanged) {
    struct Row {
        const char* name;
        bool withClosings;
        CsvFormat format;
    };
    for (const Row& row : {Row{"element table", false, {}}, Row{"decimal comma", false, csvFormat(2)},
                           Row{"older project layout", true, {}}, Row{"older, decimal comma", true, csvFormat(2)}}) {
        SCOPED_TRACE(row.name);
        SampleProject p = sampleProject(15, 3, 0, 0);
        p.chain->element(2).distance = 0.1L;        // no exact binary value
        p.chain->element(3).upperDev = -1e-7L;      // below the shown decimals
        p.chain->element(4).text = "\"Zitat\"; x, y";  // quotes and both separators
        p.chain->element(5).distance = 1234567.875L;
        const std::string csv = csvOf(*p.chain, row.withClosings, row.format);
        EXPECT_NE(csv.find(std::string(";1234567") + row.format.decimalMark + "875;"), std::string::npos) << csv;
        const ElementImport back = readElementCsv(csv, german());
        ASSERT_FALSE(back.problem) << back.problem->reason;
        ASSERT_EQ(back.elements.size(), 15u);
        const ElementTableChanges changes = compareElements(*p.chain, back.elements);
        EXPECT_TRUE(changes.empty()) << changes.changes.front().before << "\n" << changes.changes.front().after;
        EXPECT_EQ(back.elements[6].isoLetters.view(), "js");
        EXPECT_EQ(back.elements[6].isoGrade, 12);
    }
}

// Numbers go out as a spreadsheet program holds them: the shortest text that
// reads back to the same double, not the extended precision's last digits.
TEST(CsvNumber, ShortestTextThatReadsBackToTheSameDouble) {
    struct Row {
        long double value;
        char mark;
        const char* text;
    };
    const Row rows[] = {
        {static_cast<long double>(0.2), '.', "0.2"},  // once "0.2000000000000000111"
        {0.1L + 0.2L, '.', "0.3"},
        {1.0L / 3, '.', "0.3333333333333333"},
        {-1e-7L, '.', "-0.0000001"},  // no exponent
        {-0.0L, '.', "0"},
        {-12.625L, ',', "-12,625"},
        {25.0L, ',', "25"},
        {1e15L + 0.5L, '.', "1000000000000000.5"},
    };
    for (const Row& row : rows) EXPECT_EQ(csvNumber(row.value, row.mark), row.text);

    std::mt19937_64 random(20261208);
    std::uniform_real_distribution<double> mantissa(-10.0, 10.0);
    std::uniform_int_distribution<int> exponent(-12, 12);
    for (int i = 0; i < 20000; ++i) {
        const double value = std::ldexp(mantissa(random), exponent(random) * 3);
        const std::string text = csvNumber(value);
        double back = 0;
        ASSERT_EQ(std::from_chars(text.data(), text.data() + text.size(), back).ptr, text.data() + text.size()) << text;
        ASSERT_EQ(back, value) << text;
        std::string digits;
        for (char c : text) {
            if (c >= '0' && c <= '9') digits += c;
        }
        digits.erase(0, digits.find_first_not_of('0'));
        digits.erase(digits.find_last_not_of('0') + 1);
        ASSERT_LE(digits.size(), 17u) << text;  // a double never needs more
    }
}

TEST(ElementCsv, FileStartsWithByteOrderMarkAndUsesCrLf) {
    SampleProject p = sampleProject(1, 0, 0, 0);
    p.chain->element(1).text = "Wa\x84lze";  // OEM ä
    const std::string csv = csvOf(*p.chain, false);
    EXPECT_TRUE(csv.starts_with("\xEF\xBB\xBF" + kHeading)) << csv;
    EXPECT_NE(csv.find(";Wa\xC3\xA4lze;"), std::string::npos) << csv;  // UTF-8 in the file
}

TEST(ElementCsv, SpreadsheetVariantsReadTheSame) {
    struct Row {
        const char* name;
        std::string file;
    };
    const std::vector<Row> rows = {
        {"semicolon, point", kHeading + "1;0;+;25.5;0.021;0;H 7;Welle;\r\n2;1;-;10;0;-0.1;;Nabe;x\r\n"},
        {"semicolon, comma, LF", kHeading + "1;0;+;25,5;0,021;0;H7;Welle;\n2;1;-;10;0;-0,1;;Nabe;x\n"},
        {"comma with quotes",
         "El.Nr.,Vorg.el.,+/-,Nennmaß,ob.Tol.,unt.Tol.,ISO-Tol.,Text,Info\r\n"
         "1,0,+,\"25,5\",0.021,0,h 7,Welle,\r\n2,1,-1,10,0,-0.1,,Nabe,x\r\n"},
        {"tab, no numbers column", "El.Nr.\tVorg.el.\t+/-\tNennmaß\tob.Tol.\tunt.Tol.\tISO-Tol.\tText\tInfo\n"
                                   "\t0\t1\t25.5\t0.021\t0\tH 7\tWelle\n\t1\t0\t10\t0\t-0.1\t\tNabe\tx\n"},
        {"blanks around cells", kHeading + " 1 ; 0 ; + ; 25.5 ;0.021; 0 ; H 7 ;Welle;\r\n2;1;-;10;;-0.1;;Nabe;x\r\n\r\n"},
    };
    for (const Row& row : rows) {
        SCOPED_TRACE(row.name);
        const ElementImport in = readElementCsv(row.file, german());
        ASSERT_FALSE(in.problem) << importProblemText(*in.problem, {}, german());
        ASSERT_EQ(in.elements.size(), 2u);
        EXPECT_EQ(in.elements[0].distance, 25.5L);
        EXPECT_EQ(in.elements[0].upperDev, 0.021L);
        EXPECT_TRUE(in.elements[0].positive);
        EXPECT_EQ(in.elements[0].isoGrade, 7);
        EXPECT_EQ(in.elements[1].predecessor, 1);
        EXPECT_FALSE(in.elements[1].positive);
        EXPECT_EQ(in.elements[1].lowerDev, -0.1L);
        EXPECT_EQ(in.elements[1].remark.view(), "x");
    }
}

TEST(ElementCsv, WholeNumbersWrittenAsDecimalsAndLineBreaksInTexts) {
    const ElementImport in = readElementCsv(kHeading + "1.0;0,0;+;5;0;0;;\"zwei\r\nZeilen\";\"a\tb\"\r\n", german());
    ASSERT_FALSE(in.problem) << in.problem->reason;
    EXPECT_EQ(in.elements[0].predecessor, 0);
    // The project file holds one text per line: a line break must not reach it.
    EXPECT_EQ(in.elements[0].text.view(), "zwei  Zeilen");
    EXPECT_EQ(in.elements[0].remark.view(), "a b");
}

TEST(ElementCsv, WindowsCodePageFileKeepsItsUmlauts) {
    const std::string file = "El.Nr.;Vorg.el.;+/-;Nennma\xDF;ob.Tol.;unt.Tol.;ISO-Tol.;Text;Info\r\n1;0;+;5;0;0;;Geh\xE4use;\r\n";
    const ElementImport in = readElementCsv(file, german());
    ASSERT_FALSE(in.problem);
    EXPECT_EQ(in.elements[0].text.view(), "Geh\x84use");  // OEM ä
}

TEST(ElementCsv, UnreadableCellIsNamedByRowAndColumn) {
    struct Row {
        const char* name;
        std::string body;  // after the heading row
        std::string message;
    };
    const std::vector<Row> rows = {
        {"letters as a distance", "1;0;+;25.0;0;0;;;\r\n2;1;+;abc;0;0;;;\r\n",
         "Zeile 3, Spalte D (Nennmaß): \"abc\" ist keine Zahl"},
        {"thousands separator", "1;0;+;1.234,5;0;0;;;\r\n", "Zeile 2, Spalte D (Nennmaß): \"1.234,5\" ist keine Zahl"},
        {"not finite", "1;0;+;5;inf;0;;;\r\n", "Zeile 2, Spalte E (ob.Tol.): \"inf\" ist keine Zahl"},
        {"lower deviation", "1;0;+;5;0;-0.1x;;;\r\n", "Zeile 2, Spalte F (unt.Tol.): \"-0.1x\" ist keine Zahl"},
        {"fraction as predecessor", "1;0.5;+;5;0;0;;;\r\n",
         "Zeile 2, Spalte B (Vorg.el.): \"0.5\" ist keine ganze Zahl von 0 bis 2500"},
        {"predecessor out of range", "1;2501;+;5;0;0;;;\r\n",
         "Zeile 2, Spalte B (Vorg.el.): \"2501\" ist keine ganze Zahl von 0 bis 2500"},
        {"direction word", "1;0;plus;5;0;0;;;\r\n", "Zeile 2, Spalte C (+/-): \"plus\" ist weder + noch -"},
        {"ISO code", "1;0;+;5;0;0;H;;\r\n", "Zeile 2, Spalte G (ISO-Tol.): \"H\" ist kein ISO-Toleranzcode"},
        {"element numbers skip", "1;0;+;5;0;0;;;\r\n3;0;+;5;0;0;;;\r\n",
         "Zeile 3, Spalte A (El.Nr.): \"3\" ist nicht die nächste Elementnummer"},
        {"first fault wins", "1;x;y;z;0;0;;;\r\n", "Zeile 2, Spalte B (Vorg.el.): \"x\" ist keine ganze Zahl von 0 bis 2500"},
        // Numbers the program cannot save and read back, or calculate with.
        {"upper deviation 1e155", "1;0;+;5;1e155;0;;;\r\n",
         "Zeile 2, Spalte E (ob.Tol.): \"1e155\" liegt außerhalb von -1000000000 .. 1000000000"},
        {"nominal 10^26", "1;0;+;1E26;0;0;;;\r\n",
         "Zeile 2, Spalte D (Nennmaß): \"1E26\" liegt außerhalb von -1000000000 .. 1000000000"},
        {"beyond any float", "1;0;+;5;0;-1e5000;;;\r\n",
         "Zeile 2, Spalte F (unt.Tol.): \"-1e5000\" liegt außerhalb von -1000000000 .. 1000000000"},
        // An ISO code that gives no deviations at its nominal is named with the lookup's message.
        {"unknown ISO letter", "1;0;+;30;0;0;Q7;;\r\n", "Zeile 2, Spalte G (ISO-Tol.): \"Q7\" unbekannte Toleranzlage"},
        {"ISO code beyond its sizes", "1;0;+;5000;0;0;H7;;\r\n",
         "Zeile 2, Spalte G (ISO-Tol.): \"H7\" Undefinierter Nennmassbereich"},
    };
    LanguageTexts texts;
    const std::vector<std::string> headings = elementHeadings(texts);
    for (const Row& row : rows) {
        SCOPED_TRACE(row.name);
        const ElementImport in = readElementCsv(kHeading + row.body, german());
        ASSERT_TRUE(in.problem);
        EXPECT_TRUE(in.elements.empty());
        EXPECT_EQ(importProblemText(*in.problem, headings, german()), row.message);
    }
}

TEST(ElementCsv, FilesWithoutATableAreRefused) {
    struct Row {
        const char* name;
        std::string file;
        std::string message;
    };
    std::string tooMany = kHeading;
    for (int n = 1; n <= 2501; ++n) tooMany += std::to_string(n) + ";0;+;1;0;0;;;\r\n";
    const std::vector<Row> rows = {
        {"empty file", "", "Zeile 1: Die Datei enthält keine Elemente"},
        {"heading only", kHeading, "Zeile 2: Die Datei enthält keine Elemente"},
        {"no heading row", "1;0;+;5;0;0;;;\r\n", "Zeile 1: Die erste Zeile muss die Spaltenüberschriften enthalten"},
        {"2501 elements", tooMany, "Zeile 2502: zu viele Elemente (höchstens 2500)"},
    };
    LanguageTexts texts;
    for (const Row& row : rows) {
        SCOPED_TRACE(row.name);
        const ElementImport in = readElementCsv(row.file, german());
        ASSERT_TRUE(in.problem);
        EXPECT_EQ(importProblemText(*in.problem, elementHeadings(texts), german()), row.message);
    }
}

TEST(ElementCsv, ChangesListAddedChangedAndRemovedRows) {
    SampleProject p = sampleProject(3, 0, 0, 0);
    std::vector<Element> imported{p.chain->element(1), p.chain->element(2)};
    imported[1].upperDev = 0.2L;
    imported[1].text = "neu";
    EXPECT_TRUE(compareElements(*p.chain, {p.chain->element(1), p.chain->element(2), p.chain->element(3)}).empty());

    const ElementTableChanges fewer = compareElements(*p.chain, imported);
    ASSERT_EQ(fewer.changes.size(), 2u);
    EXPECT_EQ(fewer.changes[0].element, 2);
    EXPECT_EQ(fewer.changes[0].kind, ElementChange::Kind::Changed);
    EXPECT_EQ(fewer.changes[0].columns, (std::vector<int>{kColUpper, kColText}));
    EXPECT_EQ(fewer.changes[1].kind, ElementChange::Kind::Removed);
    EXPECT_TRUE(fewer.changes[1].after.empty());

    imported.push_back(p.chain->element(3));
    imported.push_back(p.chain->element(3));
    const ElementTableChanges more = compareElements(*p.chain, imported);
    ASSERT_EQ(more.changes.size(), 2u);
    EXPECT_EQ(more.changes[1].element, 4);
    EXPECT_EQ(more.changes[1].kind, ElementChange::Kind::Added);
    EXPECT_EQ(more.elementsAfter, 4);
}

TEST(CsvRecords, QuotedFieldsKeepSeparatorsQuotesAndLineBreaks) {
    const auto read = readCsvRecords("a;\"b;\"\"c\"\"\r\nd\";\r\n\r\n;x\n", german());
    ASSERT_FALSE(read.problem);
    const auto& records = read.records;
    ASSERT_EQ(records.size(), 3u);
    EXPECT_EQ(records[0], (std::vector<std::string>{"a", "b;\"c\"\r\nd", ""}));
    EXPECT_TRUE(records[1].empty());
    EXPECT_EQ(records[2], (std::vector<std::string>{"", "x"}));
}

// A quote opens a quoted field only at the start of a field; one that is not
// closed where a field ends is an error naming the row it began in, never a
// field that swallows the rows after it.
TEST(CsvRecords, QuotesThatDoNotCloseAreNamedWithTheirRow) {
    struct Row {
        const char* name;
        std::string file;
        int problemRow;  // 0: read
        std::vector<std::string> lastRecord;
    };
    const Row rows[] = {
        {"not closed", "a;b\r\n1;\"x\r\n2;y\r\n3;z\r\n", 2, {}},
        {"closed later in a text", "a;b\r\n1;2\r\n3;\"x\r\n4;y\"z\r\n", 3, {}},
        {"text after the closing quote", "a;b\r\n1;\"x\"y;2\r\n", 2, {}},
        {"line break inside quotes", "a;b\r\n1;\"zwei\r\nZeilen\";2\r\n", 0, {"1", "zwei\r\nZeilen", "2"}},
        {"inch mark inside a field", "a;5\" Bohrung;c\r\nd;e;f\r\n", 0, {"d", "e", "f"}},
        {"quoted field at the end of the file", "a;\"b\"", 0, {"a", "b"}},
    };
    for (const Row& row : rows) {
        SCOPED_TRACE(row.name);
        const CsvRecords read = readCsvRecords(row.file, german());
        EXPECT_EQ(read.problem ? read.problem->row : 0, row.problemRow);
        if (row.problemRow != 0) {
            ASSERT_TRUE(read.problem);
            EXPECT_TRUE(read.records.empty());
            EXPECT_EQ(read.problem->reason, "Anführungszeichen nicht geschlossen");
        } else {
            ASSERT_FALSE(read.records.empty());
            EXPECT_EQ(read.records.back(), row.lastRecord);
        }
    }
    const ElementImport imported = readElementCsv(kHeading + "1;0;+;5;0;0;;\"Welle;\r\n2;1;+;5;0;0;;;\r\n", german());
    ASSERT_TRUE(imported.problem);
    EXPECT_EQ(importProblemText(*imported.problem, elementHeadings(LanguageTexts{}), german()),
              "Zeile 2: Anführungszeichen nicht geschlossen");
}

// A file of nothing but separators or lines costs no more than the largest table.
TEST(CsvRecords, ReadingStopsAtTheLimits) {
    std::string file(1000000, ';');
    for (int i = 0; i < 10000; ++i) file += "\r\n1;2;3";
    CsvLimits limits;
    limits.records = 100;
    limits.fields = 9;
    const CsvRecords read = readCsvRecords(file, german(), limits);
    ASSERT_FALSE(read.problem);
    ASSERT_EQ(read.records.size(), 100u);
    EXPECT_EQ(read.records.front().size(), 9u);
    EXPECT_EQ(read.records.back(), (std::vector<std::string>{"1", "2", "3"}));

    // The import keeps one row more than the largest table, so that it can say so.
    std::string table = kHeading;
    for (int n = 1; n <= 2600; ++n) table += std::to_string(n) + ";0;+;1;0;0;;;" + std::string(100, ';') + "\r\n";
    const ElementImport imported = readElementCsv(table, german());
    ASSERT_TRUE(imported.problem);
    EXPECT_EQ(imported.problem->reason, "zu viele Elemente (höchstens 2500)");
}

// Whatever texts a table holds, the export reads back to the same cells: random
// texts from the characters that matter (separators, quotes, line ends,
// apostrophes, formula starts) in tables of random shape.
TEST(CsvRecords, AnyTableReadsBackCellForCell) {
    constexpr std::string_view kAlphabet = ";,\t\"'\r\n=+-@ aZ1.";
    std::mt19937 random(20261208);
    for (int table = 0; table < 500; ++table) {
        Worksheet sheet;
        const std::size_t columns = 1 + random() % 5;
        for (std::size_t c = 0; c < columns; ++c) sheet.headings.push_back("H" + std::to_string(c));
        for (std::size_t r = random() % 6; r > 0; --r) {
            std::vector<WorksheetCell>& cells = sheet.rows.emplace_back();
            for (std::size_t c = 0; c < columns; ++c) {
                std::string text;
                for (std::size_t n = random() % 7; n > 0; --n) text += kAlphabet[random() % kAlphabet.size()];
                cells.push_back(WorksheetCell::textCell(text));
            }
        }
        std::ostringstream out;
        writeCsv(out, sheet);
        const CsvRecords back = readCsvRecords(out.str(), german());
        ASSERT_FALSE(back.problem) << out.str();
        ASSERT_EQ(back.records.size(), sheet.rows.size() + 1) << out.str();
        for (std::size_t r = 0; r < sheet.rows.size(); ++r) {
            const std::vector<std::string>& record = back.records[r + 1];
            ASSERT_LE(record.size(), columns) << out.str();
            for (std::size_t c = 0; c < columns; ++c) {
                // A row of one empty cell is an empty line, as in every CSV.
                ASSERT_EQ(c < record.size() ? record[c] : std::string(), sheet.rows[r][c].text) << out.str();
            }
        }
    }
}

// Texts a spreadsheet program would compute go out behind an apostrophe and read
// back as they were; numbers, a lone sign and the headings stay as they are.
TEST(ElementCsv, FormulaTextsAreGuardedAndReadBack) {
    struct Row {
        std::string text;
        std::string field;  // as the file holds it
    };
    const Row rows[] = {
        {"=SUMME(A1:A9)", "'=SUMME(A1:A9)"}, {"+49 171 123", "'+49 171 123"}, {"-2+3", "'-2+3"},
        {"@cmd", "'@cmd"},                   {"\tTab", "'\tTab"},             {"'=schon", "''=schon"},
        {"=a;b", "\"'=a;b\""},               {"-", "-"},                     {"+", "+"},
        {"'abc", "'abc"},                    {"a=b", "a=b"},                 {"'", "'"},
    };
    Worksheet sheet;
    sheet.headings = {"+/-", "Text", "Zahl"};
    for (const Row& row : rows) {
        sheet.rows.push_back({WorksheetCell::textCell("x"), WorksheetCell::textCell(row.text), WorksheetCell::value(-1.5L)});
    }
    std::ostringstream out;
    writeCsv(out, sheet);
    const std::string csv = out.str();
    EXPECT_TRUE(csv.starts_with("\xEF\xBB\xBF+/-;Text;Zahl\r\n"));
    const CsvRecords back = readCsvRecords(csv, german());
    ASSERT_FALSE(back.problem);
    ASSERT_EQ(back.records.size(), std::size(rows) + 1);
    for (std::size_t i = 0; i < std::size(rows); ++i) {
        SCOPED_TRACE(rows[i].text);
        EXPECT_NE(csv.find("\r\nx;" + rows[i].field + ";-1.5\r\n"), std::string::npos);
        EXPECT_EQ(back.records[i + 1], (std::vector<std::string>{"x", rows[i].text, "-1.5"}));
    }

    // The element table's own export reads back unchanged with such texts in it.
    SampleProject p = sampleProject(4, 0, 0, 0);
    p.chain->element(1).text = "=HYPERLINK(\"x\")";
    p.chain->element(2).text = "-Welle";
    p.chain->element(3).remark = "@Nabe";
    const std::string exported = csvOf(*p.chain, false);
    EXPECT_NE(exported.find(";'-Welle;"), std::string::npos);
    const ElementImport imported = readElementCsv(exported, german());
    ASSERT_FALSE(imported.problem) << imported.problem->reason;
    EXPECT_TRUE(compareElements(*p.chain, imported.elements).empty());
}

} // namespace
} // namespace zam1::test
