#include <gtest/gtest.h>

#include <algorithm>
#include <filesystem>
#include <random>

#include "core/session/program_state.h"
#include "core/files/project_file.h"
#include "core/platform/file_io.h"
#include "tests/files/sample_project.h"
#include "tests/support/lines.h"
#include "tests/support/scripted.h"

namespace zam1 {
namespace {

using test::joinLines;
using test::splitLines;

const ProjectFileOptions kPoint{{3, false}, "tester"};

std::string fileOf(const test::SampleProject& p, const ProjectFileOptions& o = kPoint) {
    return projectFileText(*p.chain, p.texts, p.docs, o);
}

struct Parsed {
    test::SampleProject p;
    ProjectReadResult result;
};

Parsed parse(const std::string& bytes) {
    Parsed out;
    out.p.chain->clear();
    out.result = parseProjectFile(bytes, *out.p.chain, out.p.texts, out.p.docs);
    return out;
}

TEST(ProjectReader, WriteReadWriteIsByteIdentical) {
    struct Case {
        int elements, closings, changes, rows;
        bool comma;
    };
    const Case cases[] = {{0, 0, 0, 0, false}, {1, 0, 1, 1, true},   {1, 250, 25, 8, false},
                          {2500, 0, 0, 0, true}, {2500, 250, 25, 8, false}, {3, 2, 25, 8, true}};
    for (const Case& c : cases) {
        const test::SampleProject p = test::sampleProject(c.elements, c.closings, c.changes, c.rows);
        const ProjectFileOptions o{{3, c.comma}, "tester"};
        const std::string first = fileOf(p, o);
        Parsed back = parse(first);
        ASSERT_EQ(back.result.status, ProjectReadStatus::Ok) << c.elements << " elements, line " << back.result.line;
        EXPECT_EQ(fileOf(back.p, o), first) << c.elements << " elements, " << c.closings << " closing dimensions";
        const Chain& chain = *back.p.chain;
        EXPECT_EQ(chain.elementCount(), c.elements);
        EXPECT_EQ(chain.closingCount(), c.closings);
        EXPECT_EQ(back.p.docs.changeCount, c.changes);
        EXPECT_EQ(back.p.docs.drawing.textRowCount, c.rows);
        if (c.elements > 0) {
            EXPECT_EQ(chain.element(c.elements).text, p.chain->element(c.elements).text);
            EXPECT_EQ(chain.element(c.elements).remark, p.chain->element(c.elements).remark);
            EXPECT_EQ(chain.element(c.elements).distance, p.chain->element(c.elements).distance);
        }
        if (c.changes > 0) {
            // A bar in a description reads back as a line break: the file cannot tell them apart.
            std::string expected = p.docs.changes[0].changeDescription.str();
            std::replace(expected.begin(), expected.end(), '|', '\r');
            EXPECT_EQ(back.p.docs.changes[0].changeDescription, expected);
        }
        EXPECT_EQ(back.p.texts.remarkLines[2], p.texts.remarkLines[2]);
        EXPECT_EQ(back.p.docs.documents[1].documentPath, p.docs.documents[1].documentPath);
        EXPECT_EQ(chain.decimals, 4);
    }
}

// The drawing's text rows are written in the short form; whatever the report
// decimals, a position, height or angle typed reads back as typed.
TEST(ProjectReader, DrawingTextRowsReadBackAsTypedWithAnyDecimals) {
    const NumberFormat formats[] = {{1, false}, {2, true}, {3, false}, {5, true}, {9, false}};
    for (const NumberFormat& format : formats) {
        test::SampleProject p = test::sampleProject(1, 0, 0, 2);
        p.docs.drawing.textRows[0] = {123.4L, 0.85L, 2.5L, 12.5L, "Welle"};
        p.docs.drawing.textRows[1] = {-7, -0.05L, 0.35L, -90, "Nut"};
        const std::string first = fileOf(p, {format, "tester"});
        Parsed back = parse(first);
        ASSERT_EQ(back.result.status, ProjectReadStatus::Ok) << "decimals " << format.decimals;
        for (std::size_t i = 0; i < 2; ++i) {
            const DrawingTextRow& typed = p.docs.drawing.textRows[i];
            const DrawingTextRow& read = back.p.docs.drawing.textRows[i];
            for (const auto field : {&DrawingTextRow::x, &DrawingTextRow::y, &DrawingTextRow::h, &DrawingTextRow::phi}) {
                EXPECT_NEAR(read.*field, typed.*field, 1e-12) << "row " << i << ", decimals " << format.decimals;
            }
        }
        EXPECT_EQ(fileOf(back.p, {format, "tester"}), first) << "decimals " << format.decimals;
    }
}

TEST(ProjectReader, AcceptsLineFeedsAndEitherSeparator) {
    const test::SampleProject p = test::sampleProject(4, 2, 2, 2);
    const std::string crlf = fileOf(p);
    std::string lf;
    for (char c : crlf) {
        if (c != '\r') lf += c;
    }
    Parsed fromLf = parse(lf);
    ASSERT_EQ(fromLf.result.status, ProjectReadStatus::Ok);
    EXPECT_EQ(fileOf(fromLf.p), crlf);
    Parsed fromComma = parse(fileOf(p, {{3, true}, "tester"}));
    ASSERT_EQ(fromComma.result.status, ProjectReadStatus::Ok);
    EXPECT_EQ(fileOf(fromComma.p), crlf);
}

TEST(ProjectReader, EveryTruncationOfACurrentFileIsRefused) {
    const auto lines = splitLines(fileOf(test::sampleProject(2, 2, 1, 1)));
    for (std::size_t keep = 0; keep < lines.size(); ++keep) {
        const Parsed r = parse(joinLines(lines, keep));
        EXPECT_NE(r.result.status, ProjectReadStatus::Ok) << "cut after line " << keep;
    }
    std::string cutMidLine = joinLines(lines);
    cutMidLine.resize(cutMidLine.size() / 2);
    EXPECT_NE(parse(cutMidLine).result.status, ProjectReadStatus::Ok);
}

TEST(ProjectReader, OlderFileMayLackTrailingBlocks) {
    auto lines = splitLines(fileOf(test::sampleProject(2, 1, 1, 1)));
    lines[2] = "Version 9.5    alt";
    // Lines where a block ends: after sigma, change records, drawing info,
    // documents, drawing names, element remarks.
    const std::size_t sigma = 11 + 2 * 9 + 3 + 5 + 1;
    const std::size_t ends[] = {sigma, sigma + 3 + 5, sigma + 8 + 5 + 1, sigma + 14 + 3 + 15, sigma + 32 + 3,
                                sigma + 35 + 2};
    for (std::size_t keep : ends) {
        const Parsed r = parse(joinLines(lines, keep));
        EXPECT_EQ(r.result.status, ProjectReadStatus::Ok) << "ends after line " << keep;
        EXPECT_EQ(r.p.chain->elementCount(), 2);
        EXPECT_EQ(r.p.chain->decimals, 3) << "a missing decimals line leaves the default";
    }
    EXPECT_NE(parse(joinLines(lines, sigma + 2)).result.status, ProjectReadStatus::Ok) << "cut inside a block";
}

TEST(ProjectReader, DamagedFiles) {
    const auto good = splitLines(fileOf(test::sampleProject(2, 1, 1, 1)));
    const auto with = [&](std::size_t line, const std::string& text) {
        auto l = good;
        l[line - 1] = text;
        return joinLines(l);
    };
    struct Case {
        const char* what;
        std::string bytes;
        ProjectReadStatus status;
        int element;
    };
    const Case cases[] = {
        {"empty", "", ProjectReadStatus::NotProjectFormat, 0},
        {"binary", std::string("\x7F" "ELF\0\1\2\3", 8) + joinLines(good), ProjectReadStatus::NotProjectFormat, 0},
        {"other text", "Hallo\r\nWelt\r\n", ProjectReadStatus::NotProjectFormat, 0},
        {"no version line", with(3, "Vers. 11.1"), ProjectReadStatus::NotProjectFormat, 0},
        {"header only", joinLines(good, 5), ProjectReadStatus::InvalidFormat, 0},
        {"negative count", with(9, "-1"), ProjectReadStatus::InvalidFormat, 0},
        {"too many elements", with(9, "2501"), ProjectReadStatus::InvalidFormat, 0},
        {"huge count", with(9, "99999999999999999999999"), ProjectReadStatus::InvalidFormat, 0},
        {"count not a number", with(9, "zwei"), ProjectReadStatus::InvalidFormat, 0},
        {"long count line", with(9, std::string(50000, '7')), ProjectReadStatus::InvalidFormat, 0},
        {"count too small", with(9, "1"), ProjectReadStatus::InvalidFormat, 0},
        {"count too large", with(9, "3"), ProjectReadStatus::ElementError, 3},
        {"element 2 broken", with(29, "x"), ProjectReadStatus::ElementError, 2},
        {"too many closing dims", with(31, "251"), ProjectReadStatus::InvalidFormat, 0},
        {"too many changes", with(40, "26"), ProjectReadStatus::InvalidFormat, 0},
        {"too many text rows", with(47, "||||||9||"), ProjectReadStatus::InvalidFormat, 0},
        {"six documents", with(54, "6"), ProjectReadStatus::InvalidFormat, 0},
    };
    for (const Case& c : cases) {
        const Parsed r = parse(c.bytes);
        EXPECT_EQ(r.result.status, c.status) << c.what;
        EXPECT_EQ(r.result.element, c.element) << c.what;
    }
}

TEST(ProjectReader, CutsTextsAndReadsBadNumbersAsZero) {
    auto lines = splitLines(fileOf(test::sampleProject(2, 1, 0, 0)));
    lines[11 + 2] = "12.5.5";                     // distance of element 1
    lines[11 + 3] = "nan";                        // upper deviation
    lines[11 + 5] = std::string(100000, 'H');     // ISO letters
    lines[11 + 7] = std::string(100000, '\x8E');  // element text
    lines[11 + 9] = "99999999999";                // predecessor of element 2 beyond 32 bits
    lines[11 + 15] = "300";                       // ISO grade of element 2 beyond a byte
    const Parsed r = parse(joinLines(lines));
    ASSERT_EQ(r.result.status, ProjectReadStatus::Ok);
    const Element& e = r.p.chain->element(1);
    EXPECT_EQ(e.distance, 0);
    EXPECT_EQ(e.upperDev, 0);
    EXPECT_EQ(e.isoLetters, "HH");
    EXPECT_EQ(e.text, std::string(18, '\x8E'));
    EXPECT_GT(r.p.chain->element(2).predecessor, kMaxElements); // beyond the chain, not element 0
    EXPECT_EQ(r.p.chain->element(2).isoGrade, 0);
}

// A length is what was saved or the element is refused by number: a number too
// large for the program (a 410-character line of 1e392, 1e26, 1e5000) never
// comes back as 0, while a line that is no number at all still reads as 0.
TEST(ProjectReader, LengthsBeyondTheLimitRefuseTheirElement) {
    struct Row {
        int line;  // of element 2: 2 distance, 3 upper, 4 lower
        std::string text;
        bool refused;
        long double read;  // when not refused
    };
    const std::string huge = "1" + std::string(392, '0') + ".0000000";
    const Row rows[] = {
        {2, huge, true, 0},
        {3, "1" + std::string(155, '0') + ".0000000", true, 0},
        {4, "-100000000000000000000000000.0000000", true, 0},
        {2, "1e5000", true, 0},
        {3, std::string(401, '9'), true, 0},
        {2, "1000000000.0000000", false, 1e9L},
        {4, "-1000000000", false, -1e9L},
        {2, "inf", false, 0},
        {3, "12.5.5", false, 0},
    };
    for (const Row& row : rows) {
        SCOPED_TRACE(row.text.substr(0, 40));
        auto lines = splitLines(fileOf(test::sampleProject(3, 1, 0, 0)));
        lines[11 + 9 + static_cast<std::size_t>(row.line)] = row.text;
        const Parsed r = parse(joinLines(lines));
        if (row.refused) {
            EXPECT_EQ(r.result.status, ProjectReadStatus::ElementError);
            EXPECT_EQ(r.result.element, 2);
            continue;
        }
        ASSERT_EQ(r.result.status, ProjectReadStatus::Ok);
        const Element& e = r.p.chain->element(2);
        EXPECT_EQ(row.line == 2 ? e.distance : row.line == 3 ? e.upperDev : e.lowerDev, row.read);
    }
}

// A direction or a number line must not quietly change the chain: blanks around
// the sign are read as around numbers, and a predecessor or an end too large for
// the record stays outside the chain, where the calculation reports it.
TEST(ProjectReader, DirectionsAndElementNumbersAreNotQuietlyChanged) {
    struct Row {
        const char* direction;
        bool positive;
    };
    for (const Row& row : {Row{"+", true}, Row{"+ ", true}, Row{" +", true}, Row{"\t+\t", true}, Row{"1 ", true},
                           Row{"-", false}, Row{"- ", false}, Row{" -1", false}, Row{"", false}}) {
        auto lines = splitLines(fileOf(test::sampleProject(2, 1, 0, 0)));
        lines[11 + 1] = row.direction;
        const Parsed r = parse(joinLines(lines));
        ASSERT_EQ(r.result.status, ProjectReadStatus::Ok);
        EXPECT_EQ(r.p.chain->element(1).positive != 0, row.positive) << '"' << row.direction << '"';
    }
    struct Number {
        const char* text;
        long long atLeast, atMost; // the element number read back lies within
    };
    for (const Number& n : {Number{"99999999999", kMaxElements + 1, INT32_MAX}, Number{" 4294967297 ", kMaxElements + 1, INT32_MAX},
                            Number{"-99999999999", INT32_MIN, -1}, Number{"123456789012345678901234567890", kMaxElements + 1, INT32_MAX},
                            Number{"2", 2, 2}, Number{" 1 ", 1, 1}, Number{"x", 0, 0}, Number{"", 0, 0}}) {
        auto lines = splitLines(fileOf(test::sampleProject(2, 1, 0, 0)));
        lines[11 + 9] = n.text; // predecessor of element 2
        const Parsed r = parse(joinLines(lines));
        ASSERT_EQ(r.result.status, ProjectReadStatus::Ok);
        const long long p = r.p.chain->element(2).predecessor;
        EXPECT_TRUE(p >= n.atLeast && p <= n.atMost) << n.text << " read as " << p;
    }
}

class ReadIntoState : public ::testing::Test {
protected:
    void SetUp() override {
        dir = std::filesystem::temp_directory_path() / ("zam1-reader-" + std::to_string(::getpid()));
        std::filesystem::create_directories(dir);
        test::SampleProject p = test::sampleProject(5, 3, 2, 2);
        chain = std::move(*p.chain);
        texts = p.texts;
        docs = p.docs;
        before = projectFileText(chain, texts, docs, kPoint);
    }
    void TearDown() override { std::filesystem::remove_all(dir); }
    std::string put(const std::string& name, const std::string& bytes) {
        const std::string path = (dir / name).string();
        EXPECT_EQ(writeFileSafely(path, bytes), kIoOk);
        return path;
    }
    bool read(const std::string& path) {
        return readProjectFile(path, chain, texts, docs, "07.12.2026", prompter, error);
    }

    std::filesystem::path dir;
    Chain chain;
    ProjectTexts texts;
    Documentation docs;
    std::string before;
    test::TestPrompter prompter;
    ErrorFlag error;
};

TEST_F(ReadIntoState, FailureShowsTheMessageAndKeepsTheProject) {
    const auto good = splitLines(fileOf(test::sampleProject(2, 1, 1, 1)));
    auto broken = good;
    broken[28] = "kein Trenner";
    struct Case {
        std::string path;
        std::string message;
    };
    const std::string missing = (dir / "fehlt.zm1").string();
    const Case cases[] = {
        {put("bild.zm1", std::string("\x89PNG\0", 5)), put("bild.zm1", std::string("\x89PNG\0", 5)) +
                                                           " ist nicht im ZAM-Format !"},
        {put("kurz.zm1", joinLines(good, 40)), (dir / "kurz.zm1").string() + ": ungültiges Dateiformat (Zeile 41)"},
        {put("el.zm1", joinLines(broken)), (dir / "el.zm1").string() + ": Fehler bei Elementnummer 2"},
        {missing, "Datei " + missing + " nicht gefunden oder kein Zugriffsrecht !\nDatei oder Verzeichnis nicht gefunden"},
        {dir.string(), "Datei " + dir.string() + " nicht gefunden oder kein Zugriffsrecht !\nIst ein Verzeichnis"},
    };
    for (const Case& c : cases) {
        error.clear();
        const std::size_t shown = prompter.errors().size();
        EXPECT_FALSE(read(c.path));
        EXPECT_TRUE(error.isSet());
        ASSERT_EQ(prompter.errors().size(), shown + 1);
        EXPECT_EQ(prompter.errors().back(), c.message);
        EXPECT_EQ(projectFileText(chain, texts, docs, kPoint), before) << "the project in memory stays";
    }
}

TEST_F(ReadIntoState, SuccessReplacesTheProjectAndDerivesValues) {
    test::SampleProject small = test::sampleProject(2, 1, 0, 0);
    small.chain->element(2).upperDev = -1; // below the lower deviation: a warning on deriving
    const std::string path = put("neu.zm1", fileOf(small));
    ASSERT_TRUE(read(path));
    EXPECT_FALSE(error.isSet());
    EXPECT_EQ(prompter.log().back(), "status: " + path + " geladen");
    EXPECT_EQ(chain.elementCount(), 2);
    EXPECT_EQ(chain.element(2).position, chain.element(1).position + chain.element(2).distance);
    EXPECT_EQ(chain.messages.count(), 1);
    EXPECT_EQ(docs.changeCount, 0);
    EXPECT_EQ(docs.drawing.textRowCount, 0);
}

TEST_F(ReadIntoState, NewerVersionIsReadWithANote) {
    auto lines = splitLines(fileOf(test::sampleProject(1, 0, 0, 0)));
    lines[2] = "Version 12.0    neu";
    lines.push_back("ein Block, den diese Version nicht kennt");
    const std::string path = put("neuer.zm1", joinLines(lines));
    ASSERT_TRUE(read(path));
    EXPECT_EQ(prompter.log().back(), "note: " + path + ": Neue Werte ab Version 12.0");
}

TEST_F(ReadIntoState, OlderFileKeepsTheDocumentSlotsOfANewProject) {
    auto lines = splitLines(fileOf(test::sampleProject(1, 0, 0, 0)));
    lines[2] = "Version 10.2    alt";
    const std::size_t sigma = 11 + 9 + 3 + 1;
    const std::string path = put("alt.zm1", joinLines(lines, sigma));
    docs.documents[4].programPath = "bleibt";
    docs.changeCount = 2;
    ASSERT_TRUE(read(path));
    EXPECT_EQ(docs.documents[4].programPath, "bleibt");
    EXPECT_EQ(docs.changeCount, 0);
    EXPECT_EQ(docs.drawing.drawnDate, "07.12.2026");
    EXPECT_TRUE(docs.drawing.replaces.empty());
}

TEST(ProjectReader, SurvivesRandomDamage) {
    const std::string good = fileOf(test::sampleProject(6, 4, 3, 3));
    std::mt19937 random(20261207);
    for (int round = 0; round < 800; ++round) {
        std::string bytes = good;
        const int edits = 1 + static_cast<int>(random() % 8);
        for (int e = 0; e < edits && !bytes.empty(); ++e) {
            const std::size_t at = random() % bytes.size();
            switch (random() % 4) {
            case 0: bytes[at] = static_cast<char>(random()); break;
            case 1: bytes.erase(at, random() % 40); break;
            case 2: bytes.insert(at, std::string(random() % 30, static_cast<char>("-|\n\r9 ,"[random() % 7]))); break;
            default: bytes.resize(at); break;
            }
        }
        Parsed r = parse(bytes);
        EXPECT_LE(r.p.chain->elementCount(), kMaxElements);
        EXPECT_LE(r.p.docs.changeCount, kMaxChanges);
        EXPECT_LE(r.p.docs.drawing.textRowCount, kMaxTextRows);
        if (r.result.status == ProjectReadStatus::Ok) fileOf(r.p); // what was read can be written
    }
}

} // namespace
} // namespace zam1
