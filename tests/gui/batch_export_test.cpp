// The real program's "--export" forms that paint (PDF, SVG, PNG), run without a
// display, each file read back by the reader a user would open it with: poppler
// for the PDF, Python's XML parser for the SVG, PIL for the PNG. And the exports
// onto a full disk: the old file stays, the system's reason is said.
#include <QDir>
#include <QFile>
#include <QImage>
#include <QProcess>
#include <QTemporaryDir>

#include <gtest/gtest.h>

#include <cstdio>
#include <optional>
#include <string>

#include "tests/gui/tool_output.h"

namespace zam1::test {
namespace {

const QString kPython = QStringLiteral("/usr/bin/python3");

struct ProgramRun {
    int exitCode = -1;
    std::string err;
};

// The example project in a folder of its own, with no configuration of the user's.
class ExampleFolder {
public:
    ExampleFolder() {
        const QString source = QStringLiteral(ZAM1_SOURCE_DIR "/examples/getriebewelle.zm1");
        QFile::copy(source, path(QStringLiteral("getriebewelle.zm1")));
    }
    QString path(const QString& name) const { return m_dir.path() + QLatin1Char('/') + name; }
    std::string file(const QString& name) const { return path(name).toStdString(); }

    // wzam1 as a user without a display starts it.
    ProgramRun run(const QStringList& arguments) const {
        QProcess process;
        QProcessEnvironment env = QProcessEnvironment::systemEnvironment();
        for (const char* name : {"DISPLAY", "WAYLAND_DISPLAY", "QT_QPA_PLATFORM"}) env.remove(QString::fromLatin1(name));
        env.insert(QStringLiteral("XDG_CONFIG_HOME"), m_dir.path());
        env.insert(QStringLiteral("TEMP"), m_dir.path());
        process.setProcessEnvironment(env);
        process.setWorkingDirectory(m_dir.path());
        process.start(QStringLiteral(ZAM1_PROGRAM), QStringList{QStringLiteral("getriebewelle.zm1")} + arguments);
        if (!process.waitForFinished(120000) || process.exitStatus() != QProcess::NormalExit) return {};
        return {process.exitCode(), process.readAllStandardError().toStdString()};
    }

private:
    QTemporaryDir m_dir;
};

// Width and height in points of the first page, as pdfinfo reads them.
std::optional<std::pair<double, double>> pdfPageSize(const QString& path) {
    const std::optional<std::string> info = toolOutput(QStringLiteral("pdfinfo"), {path});
    if (!info) return std::nullopt;
    const std::size_t at = info->find("Page size:");
    double w = 0;
    double h = 0;
    if (at == std::string::npos || std::sscanf(info->c_str() + at, "Page size: %lf x %lf", &w, &h) != 2) return std::nullopt;
    return std::make_pair(w, h);
}

constexpr std::pair<double, double> kA4{595.3, 841.9};
constexpr std::pair<double, double> kA3{841.9, 1190.6};

TEST(BatchExport, PdfFilesAreOnTheirPaperAndHoldTheProjectsTexts) {
    struct Row {
        const char* name;
        QStringList options;
        std::pair<double, double> sheet;  // upright
        bool landscape;
        const char* text;                 // pdftotext finds it
    };
    const Row rows[] = {
        {"report.pdf", {}, kA4, false, "Axialspiel Ring"},
        {"excerpt.pdf", {QStringLiteral("--report"), QStringLiteral("excerpt")}, kA4, false, "Luftspalt Sensor"},
        {"scheme.pdf", {QStringLiteral("--diagram"), QStringLiteral("scheme")}, kA4, true, "Distanzh\xC3\xBClse"},
        {"overall.pdf", {QStringLiteral("--diagram"), QStringLiteral("overall"), QStringLiteral("--closing"),
                         QStringLiteral("2"), QStringLiteral("--paper"), QStringLiteral("A3")},
         kA3, true, "Spalt Deckel"},
    };
    ExampleFolder folder;
    for (const Row& row : rows) {
        SCOPED_TRACE(row.name);
        const QString name = QString::fromLatin1(row.name);
        const ProgramRun run = folder.run(QStringList{QStringLiteral("--export"), name} + row.options);
        ASSERT_EQ(run.exitCode, 0) << run.err;
        const auto size = pdfPageSize(folder.path(name));
        ASSERT_TRUE(size) << "pdfinfo cannot read " << row.name;
        const double width = row.landscape ? row.sheet.second : row.sheet.first;
        const double height = row.landscape ? row.sheet.first : row.sheet.second;
        EXPECT_NEAR(size->first, width, 1.0);
        EXPECT_NEAR(size->second, height, 1.0);
        const std::optional<std::string> text =
            toolOutput(QStringLiteral("pdftotext"), {folder.path(name), QStringLiteral("-")});
        ASSERT_TRUE(text);
        EXPECT_NE(collapsedBlanks(*text).find(row.text), std::string::npos) << *text;
    }
}

TEST(BatchExport, SvgParsesWithTheWindowsSizeAndTexts) {
    ExampleFolder folder;
    const ProgramRun run = folder.run({QStringLiteral("--export"), QStringLiteral("normal.svg"), QStringLiteral("--diagram"),
                                QStringLiteral("normal"), QStringLiteral("--closing"), QStringLiteral("3")});
    ASSERT_EQ(run.exitCode, 0) << run.err;
    const char* script =
        "import sys, xml.etree.ElementTree as E\n"
        "root = E.parse(sys.argv[1]).getroot()\n"
        "print(root.tag.split('}')[-1], root.get('viewBox'))\n"
        "print(' '.join(t.strip() for t in root.itertext() if t.strip()))\n";
    const std::optional<std::string> out =
        toolOutput(kPython, {QStringLiteral("-c"), QString::fromLatin1(script), folder.path(QStringLiteral("normal.svg"))});
    ASSERT_TRUE(out) << "the SVG does not parse";
    // The configured window (1015 x 677 pixels and the edge row) is the picture.
    EXPECT_EQ(out->rfind("svg 0 0 1016 678\n", 0), 0u) << *out;
    EXPECT_NE(out->find("Luftspalt Sensor"), std::string::npos) << *out;
}

// Size, resolution and the top-left pixel of a PNG, by PIL; Qt's reader when PIL is not installed.
std::optional<std::string> pngFacts(const QString& path) {
    const char* script =
        "import sys\nfrom PIL import Image\n"
        "im = Image.open(sys.argv[1]).convert('RGB')\n"
        "dpi = Image.open(sys.argv[1]).info.get('dpi', (0, 0))\n"
        "print(im.size[0], im.size[1], round(dpi[0]), round(dpi[1]), *im.getpixel((0, 0)))\n";
    if (const auto out = toolOutput(kPython, {QStringLiteral("-c"), QString::fromLatin1(script), path})) {
        return out->substr(0, out->find('\n'));
    }
    std::fprintf(stderr, "PIL (python3-pil) is not installed: the PNG is read by Qt instead\n");
    const QImage image(path);
    if (image.isNull()) return std::nullopt;
    const QColor c = image.pixelColor(0, 0);
    char text[96];
    std::snprintf(text, sizeof text, "%d %d %d %d %d %d %d", image.width(), image.height(),
                  qRound(image.dotsPerMeterX() * 0.0254), qRound(image.dotsPerMeterY() * 0.0254), c.red(), c.green(),
                  c.blue());
    return std::string(text);
}

TEST(BatchExport, PngHasTheResolutionAndBackgroundAskedFor) {
    struct Row {
        QStringList options;
        const char* facts;  // width height dpiX dpiY and the corner's red green blue
    };
    const Row rows[] = {
        // 1016 x 678 window pixels at 96 dpi make 3175 x 2119 at 300 dpi.
        {{}, "3175 2119 300 300 255 255 255"},
        {{QStringLiteral("--dpi"), QStringLiteral("96")}, "1016 678 96 96 255 255 255"},
        // The screen's background is palette colour 1 (the default), dark blue.
        {{QStringLiteral("--dpi=48"), QStringLiteral("--background"), QStringLiteral("screen")}, "508 339 48 48 0 0 128"},
    };
    ExampleFolder folder;
    for (const Row& row : rows) {
        SCOPED_TRACE(row.facts);
        const ProgramRun run = folder.run(QStringList{QStringLiteral("--export"), QStringLiteral("scheme.png"),
                                               QStringLiteral("--diagram"), QStringLiteral("scheme")} +
                                   row.options);
        ASSERT_EQ(run.exitCode, 0) << run.err;
        EXPECT_EQ(pngFacts(folder.path(QStringLiteral("scheme.png"))), std::string(row.facts));
    }
}

// The files the core writes alone, read back as a spreadsheet program or a
// browser would: openpyxl for the workbook, pandas (else Python's csv reader)
// for the CSV tables, Python's HTML parser for the report.
TEST(BatchExport, SpreadsheetsAndHtmlReadBack) {
    struct Row {
        const char* name;
        const char* script;  // argv[1] is the file; prints what the expectation says
        const char* expected;
    };
    const Row rows[] = {
        {"project.xlsx",
         "import sys, openpyxl\nwb = openpyxl.load_workbook(sys.argv[1])\n"
         "e, c = wb.worksheets\n"
         "print(e.max_row - 1, c.max_row - 1, type(e.cell(2, 4).value).__name__, c.cell(2, 4).value)\n",
         "12 5 int Axialspiel Ring\n"},
        {"elements.csv", nullptr, "12 Lager links\n"},   // the eighth column, the text
        {"results.csv", nullptr, "5 Axialspiel Ring\n"}, // the fourth
        {"report.html",
         "import sys, html.parser\n"
         "class P(html.parser.HTMLParser):\n"
         "    tables = 0; text = ''\n"
         "    def handle_starttag(self, tag, a): self.tables += tag == 'table'\n"
         "    def handle_data(self, d): self.text += d\n"
         "p = P(); p.feed(open(sys.argv[1], encoding='cp1252').read())\n"
         "print(p.tables > 2, 'Axialspiel Ring' in p.text, 'Distanzh\\u00fclse' in p.text)\n",
         "True True True\n"},
    };
    // One table a file: every record has the heading row's fields; the text of the first row.
    const char* csvScript =
        "import sys\n"
        "try:\n"
        "    import pandas\n"
        "    t = pandas.read_csv(sys.argv[1], sep=';', encoding='utf-8-sig')\n"
        "    print(len(t), t.iloc[0, int(sys.argv[2])])\n"
        "except ImportError:\n"
        "    import csv\n"
        "    sys.stderr.write('pandas (python3-pandas) is not installed: read by the csv module\\n')\n"
        "    r = list(csv.reader(open(sys.argv[1], encoding='utf-8-sig', newline=''), delimiter=';'))\n"
        "    assert all(len(x) == len(r[0]) for x in r), 'more than one table'\n"
        "    print(len(r) - 1, r[1][int(sys.argv[2])])\n";
    ExampleFolder folder;
    for (const Row& row : rows) {
        SCOPED_TRACE(row.name);
        const QString name = QString::fromLatin1(row.name);
        const ProgramRun run = folder.run({QStringLiteral("--export"), name});
        ASSERT_EQ(run.exitCode, 0) << run.err;
        const QString textColumn = name == QStringLiteral("elements.csv") ? QStringLiteral("7") : QStringLiteral("3");
        const std::optional<std::string> out =
            toolOutput(kPython, {QStringLiteral("-c"), QString::fromLatin1(row.script ? row.script : csvScript),
                                 folder.path(name), textColumn});
        ASSERT_TRUE(out) << "the reader refuses " << row.name;
        EXPECT_EQ(*out, row.expected);
    }
}

// A folder of 64 KiB in a mount namespace of its own, holding `old` as `name`
// and filled to the last byte; then the export into it. Nothing when the
// system lets no namespace be made (the test is then skipped).
std::optional<ProgramRun> exportOntoFullDisk(const ExampleFolder& folder, const QString& name, const QStringList& options) {
    const QString script = QStringLiteral(
        "set -e; mkdir -p full; mount -t tmpfs -o size=64k tmpfs full; printf 'old file' > \"full/$1\"; "
        "cat /dev/zero > full/filler 2>/dev/null || true; shift; "
        "set +e; \"$@\" 2>err.txt; code=$?; cp \"full/$OUT\" kept.bin; echo $code");
    QProcess process;
    QProcessEnvironment env = QProcessEnvironment::systemEnvironment();
    for (const char* n : {"DISPLAY", "WAYLAND_DISPLAY", "QT_QPA_PLATFORM"}) env.remove(QString::fromLatin1(n));
    env.insert(QStringLiteral("XDG_CONFIG_HOME"), folder.path(QString()));
    env.insert(QStringLiteral("OUT"), name);
    process.setProcessEnvironment(env);
    process.setWorkingDirectory(folder.path(QString()));
    process.start(QStringLiteral("unshare"),
                  QStringList{QStringLiteral("-rm"), QStringLiteral("sh"), QStringLiteral("-c"), script,
                              QStringLiteral("sh"), name, QStringLiteral(ZAM1_PROGRAM),
                              QStringLiteral("getriebewelle.zm1"), QStringLiteral("--export"),
                              QStringLiteral("full/") + name} +
                      options);
    if (!process.waitForFinished(120000) || process.exitStatus() != QProcess::NormalExit || process.exitCode() != 0) {
        return std::nullopt;
    }
    QFile err(folder.path(QStringLiteral("err.txt")));
    err.open(QIODevice::ReadOnly);
    return ProgramRun{process.readAllStandardOutput().trimmed().toInt(), err.readAll().toStdString()};
}

TEST(BatchExport, AFullDiskKeepsTheOldFileAndSaysWhy) {
    struct Row {
        const char* name;
        QStringList options;
    };
    const Row rows[] = {
        {"report.txt", {}},
        {"report.pdf", {}},
        {"scheme.pdf", {QStringLiteral("--diagram"), QStringLiteral("scheme")}},
        {"scheme.png", {QStringLiteral("--diagram"), QStringLiteral("scheme")}},
        {"project.xlsx", {}},
        {"elements.csv", {}},
    };
    for (const Row& row : rows) {
        SCOPED_TRACE(row.name);
        ExampleFolder folder;
        const std::optional<ProgramRun> run = exportOntoFullDisk(folder, QString::fromLatin1(row.name), row.options);
        if (!run) GTEST_SKIP() << "no mount namespace for a small file system (unshare -rm)";
        EXPECT_EQ(run->exitCode, 1) << run->err;
        const bool reason = run->err.find("kein Speicherplatz") != std::string::npos ||
                            run->err.find("No space left on device") != std::string::npos;
        EXPECT_TRUE(reason) << run->err;
        QFile kept(folder.path(QStringLiteral("kept.bin")));
        ASSERT_TRUE(kept.open(QIODevice::ReadOnly));
        EXPECT_EQ(kept.readAll().toStdString(), "old file");
    }
}

} // namespace
} // namespace zam1::test
