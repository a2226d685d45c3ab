// The real program's sign-off report ("--analyse --report FILE"), run without a
// display and read back by what a user would open it with: tidy for the HTML,
// poppler (pdftotext, pdfinfo, pdffonts) for the PDF, and, where one is
// installed, a headless browser that draws the HTML.
#include <QDir>
#include <QFile>
#include <QImage>
#include <QProcess>
#include <QStandardPaths>
#include <QTemporaryDir>

#include <gtest/gtest.h>

#include <cstdio>
#include <regex>
#include <sstream>
#include <string>

#include "tests/gui/tool_output.h"

namespace zam1::test {
namespace {

struct ProgramRun {
    int exitCode = -1;
    std::string err;
};

// The example project and its settings file under a name of our choice, in a folder of their own.
class Project {
public:
    explicit Project(const QString& name = QStringLiteral("getriebewelle")) : m_name(name) {
        for (const char* ext : {".zm1", ".zm1.json"}) {
            QFile::copy(QStringLiteral(ZAM1_SOURCE_DIR "/examples/getriebewelle") + QLatin1String(ext),
                        path(m_name + QLatin1String(ext)));
        }
    }
    QString path(const QString& name) const { return m_dir.path() + QLatin1Char('/') + name; }

    ProgramRun analyse(const QString& report) const {
        QProcess process;
        QProcessEnvironment env = QProcessEnvironment::systemEnvironment();
        for (const char* name : {"DISPLAY", "WAYLAND_DISPLAY", "QT_QPA_PLATFORM"}) env.remove(QString::fromLatin1(name));
        env.insert(QStringLiteral("XDG_CONFIG_HOME"), m_dir.path());
        env.insert(QStringLiteral("TEMP"), m_dir.path());
        process.setProcessEnvironment(env);
        process.setWorkingDirectory(m_dir.path());
        process.start(QStringLiteral(ZAM1_PROGRAM), {m_name + QStringLiteral(".zm1"), QStringLiteral("--analyse"),
                                                     QStringLiteral("--method"), QStringLiteral("mc"),
                                                     QStringLiteral("--report"), report});
        if (!process.waitForFinished(120000) || process.exitStatus() != QProcess::NormalExit) return {};
        return {process.exitCode(), process.readAllStandardError().toStdString()};
    }

private:
    QTemporaryDir m_dir;
    QString m_name;
};

// tidy's complaints; nothing when the file is clean (tidy exits 1 on warnings).
std::string tidyComplaints(const QString& file) {
    QProcess tidy;
    tidy.start(QStringLiteral("tidy"), {QStringLiteral("-q"), QStringLiteral("-e"), file});
    if (!tidy.waitForFinished(60000)) return "tidy did not finish";
    const std::string said = tidy.readAllStandardError().toStdString();
    return tidy.exitCode() == 0 && said.empty() ? std::string() : said + " (exit " + std::to_string(tidy.exitCode()) + ")";
}

std::string fileText(const QString& path) {
    QFile file(path);
    if (!file.open(QIODevice::ReadOnly)) return {};
    return file.readAll().toStdString();
}

// What a reader finds in the file: the HTML as it is, the PDF's text from pdftotext.
std::string readable(const QString& path) {
    if (path.endsWith(QLatin1String(".pdf"))) {
        // Rows as laid out, so that a label and its value read as one line.
        return collapsedBlanks(
            toolOutput(QStringLiteral("pdftotext"), {QStringLiteral("-layout"), path, QStringLiteral("-")}).value_or(""));
    }
    return fileText(path);
}

void expectPdfOnA4WithEmbeddedFonts(const QString& path) {
    const std::string info = toolOutput(QStringLiteral("pdfinfo"), {path}).value_or("");
    double w = 0, h = 0;
    const std::size_t at = info.find("Page size:");
    ASSERT_NE(at, std::string::npos) << info;
    ASSERT_EQ(std::sscanf(info.c_str() + at, "Page size: %lf x %lf", &w, &h), 2);
    EXPECT_NEAR(w, 595.3, 1.0);
    EXPECT_NEAR(h, 841.9, 1.0);
    const std::string fonts = toolOutput(QStringLiteral("pdffonts"), {path}).value_or("");
    // name type encoding emb sub uni object ID: every font embedded.
    static const std::regex row(R"(\s(yes|no)\s+(yes|no)\s+(yes|no)\s+\d+\s+\d+\s*$)");
    int count = 0;
    std::istringstream lines(fonts);
    for (std::string line; std::getline(lines, line);) {
        std::smatch m;
        if (!std::regex_search(line, m, row)) continue;
        ++count;
        EXPECT_EQ(m[1].str(), "yes") << line;
    }
    EXPECT_GE(count, 1) << fonts;
}

TEST(SignoffReportFile, BothFormatsCarryTheVerdictsLimitsAndSections) {
    const char* expected[] = {
        "Sign-off report: getriebewelle",
        "Getriebewelle Stirnradstufe 1",  // the project's header texts
        "Closing dimension 1: Axialspiel Ring",
        "Closing dimension 3: Luftspalt Sensor",
        "lower 0.0500, upper 0.8000",
        "holds",
        "95 % interval [",
        "Sensitivities and what to tighten",
        "Elements and their distributions",
        "shiftedNormal",
        "uniform",
        "Monte Carlo samples N 100000",
        "ZAM1 - Toleranzrechnung 11.1",
    };
    Project project;
    for (const QString& name : {QStringLiteral("signoff.html"), QStringLiteral("signoff.pdf")}) {
        SCOPED_TRACE(name.toStdString());
        const ProgramRun run = project.analyse(name);
        ASSERT_EQ(run.exitCode, 0) << run.err;
        const QString path = project.path(name);
        if (name.endsWith(QLatin1String(".pdf"))) {
            expectPdfOnA4WithEmbeddedFonts(path);
        } else {
            EXPECT_EQ(tidyComplaints(path), "");
        }
        std::string text = readable(path);
        if (name.endsWith(QLatin1String(".html"))) text = std::regex_replace(text, std::regex("<[^>]*>"), " ");
        text = collapsedBlanks(text);
        for (const char* e : expected) EXPECT_NE(text.find(e), std::string::npos) << e << "\n" << text.substr(0, 3000);
    }
}

TEST(SignoffReportFile, AHostileProjectNameComesOutSafe) {
    struct Row {
        const char* file;
        const char* shown;  // as the reader finds it
    };
    const Row rows[] = {
        {"signoff.html", "Sign-off report: a&lt;b&amp;&quot;c'd&gt;"},
        {"signoff.pdf", "Sign-off report: a<b&\"c'd>"},
    };
    Project project(QStringLiteral("a<b&\"c'd>"));
    for (const Row& row : rows) {
        SCOPED_TRACE(row.file);
        const QString name = QString::fromLatin1(row.file);
        const ProgramRun run = project.analyse(name);
        ASSERT_EQ(run.exitCode, 0) << run.err;
        const std::string text = readable(project.path(name));
        EXPECT_NE(text.find(row.shown), std::string::npos) << text.substr(0, 2000);
        if (name.endsWith(QLatin1String(".html"))) {
            EXPECT_EQ(text.find("a<b"), std::string::npos);
            EXPECT_EQ(tidyComplaints(project.path(name)), "");
        }
    }
}

TEST(SignoffReportFile, ARefusedOrUnwritableReportSaysWhyAndLeavesNothing) {
    struct Row {
        const char* report;
        int exit;
        const char* message;
    };
    const Row rows[] = {
        {"signoff.docx", 2, "the sign-off report is FILE.pdf or FILE.html"},
        {"signoff", 2, "usage: wzam1 project.zm1 --analyse"},
        {"getriebewelle.zm1/signoff.pdf", 1, "getriebewelle.zm1/signoff.pdf"},  // a file where a folder should be
        {"missing/signoff.html", 1, "missing/signoff.html"},
    };
    Project project;
    for (const Row& row : rows) {
        SCOPED_TRACE(row.report);
        const ProgramRun run = project.analyse(QString::fromLatin1(row.report));
        EXPECT_EQ(run.exitCode, row.exit);
        EXPECT_NE(run.err.find(row.message), std::string::npos) << run.err;
        EXPECT_FALSE(QFile::exists(project.path(QString::fromLatin1(row.report))));
    }
    EXPECT_EQ(QDir(project.path(QString())).entryList(QDir::Files).size(), 2) << "only the project and its settings";
}

// The HTML as a browser draws it: the page is not blank and the verdict's green mark shows.
TEST(SignoffReportFile, AHeadlessBrowserDrawsTheHtml) {
    const QString browser = QStandardPaths::findExecutable(QStringLiteral("chromium"));
    if (browser.isEmpty()) GTEST_SKIP() << "no chromium installed";
    Project project;
    ASSERT_EQ(project.analyse(QStringLiteral("signoff.html")).exitCode, 0);
    const QString shot = project.path(QStringLiteral("shot.png"));
    QProcess chromium;
    // A closed network: no background connections, no first-run work, a profile of its own.
    chromium.start(browser, {QStringLiteral("--headless"), QStringLiteral("--no-sandbox"), QStringLiteral("--disable-gpu"),
                             QStringLiteral("--disable-background-networking"), QStringLiteral("--disable-component-update"),
                             QStringLiteral("--disable-sync"), QStringLiteral("--disable-quic"), QStringLiteral("--no-first-run"),
                             QStringLiteral("--user-data-dir=") + project.path(QStringLiteral("browser-profile")),
                             QStringLiteral("--window-size=1000,1400"), QStringLiteral("--screenshot=") + shot,
                             QStringLiteral("file://") + project.path(QStringLiteral("signoff.html"))});
    ASSERT_TRUE(chromium.waitForFinished(90000));
    const QImage image(shot);
    ASSERT_FALSE(image.isNull());
    int green = 0, dark = 0;
    for (int y = 0; y < image.height(); y += 2) {
        for (int x = 0; x < image.width(); x += 2) {
            const QColor c = image.pixelColor(x, y);
            if (c.red() < 0x50 && c.green() > 0x70 && c.green() < 0x90 && c.blue() < 0x40) ++green;  // #2e7d32
            if (c.lightness() < 80) ++dark;
        }
    }
    EXPECT_GT(green, 50) << "the holds mark";
    EXPECT_GT(dark, 2000) << "text";
}

} // namespace
} // namespace zam1::test
