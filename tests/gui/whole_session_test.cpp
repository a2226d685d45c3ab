// One working session on the example as a user has it, on a real X server: the
// element table with a tolerance changed through its ISO code and recalculated,
// the project to .xlsx (read back by openpyxl), the standard report to PDF
// (read back by pdftotext), the normal distribution to SVG and PDF, Undo, Save
// As and Exit. Every step leaves a picture of the whole screen in
// whole_session_screenshots/ beside the test program.
#include <QAction>
#include <QApplication>
#include <QDir>
#include <QFileDialog>
#include <QGuiApplication>
#include <QLineEdit>
#include <QListWidget>
#include <QPushButton>
#include <QRadioButton>
#include <QScreen>
#include <QSvgRenderer>
#include <QTableView>

#include <gtest/gtest.h>

#include <filesystem>
#include <fstream>
#include <sstream>
#include <unistd.h>

#include "core/config/config_file.h"
#include "core/editors/element_table.h"
#include "core/files/project_file.h"
#include "core/session/program_state.h"
#include "gui/app/main_window.h"
#include "gui/graphics/graphics_widget.h"
#include "tests/gui/modal_script.h"
#include "tests/gui/session_steps.h"
#include "tests/gui/tool_output.h"

namespace zam1 {
namespace {

using test::child;
using test::click;
using test::typeCell;
using test::collapsedBlanks;
using test::ModalScript;
using test::toolOutput;

namespace fs = std::filesystem;

const fs::path kExample = fs::path(ZAM1_SOURCE_DIR) / "examples" / "getriebewelle.zm1";

class Session {
public:
    Session() : m_old(fs::current_path()) {
        m_shots = QString::fromStdString((m_old / "whole_session_screenshots").string());
        QDir(m_shots).removeRecursively();
        QDir().mkpath(m_shots);
        m_folder = fs::temp_directory_path() / ("zam1-session-" + std::to_string(::getpid()));
        fs::remove_all(m_folder);
        fs::create_directories(m_folder);
        fs::copy_file(kExample, m_folder / "getriebewelle.zm1");
        Configuration config = defaultConfiguration(ScreenInfo{}, m_folder.string());
        config.askTextDevice = true;  // every report asks where it goes
        std::ofstream(settingsFilePath(m_folder.string(), "cfg"), std::ios::binary) << configurationText(config);
        fs::current_path(m_folder);
        setenv("XDG_CONFIG_HOME", m_folder.c_str(), 1);
    }
    ~Session() {
        fs::current_path(m_old);
        std::error_code ignored;
        fs::remove_all(m_folder, ignored);
    }
    Session(const Session&) = delete;
    Session& operator=(const Session&) = delete;

    std::string file(const char* name) const { return (m_folder / name).string(); }

    // The whole X screen, as the user sees it: the main window with whatever
    // dialog or window is open over it.
    void shot(const char* name) {
        QApplication::processEvents();
        QTest::qWait(150);
        QScreen* screen = QGuiApplication::primaryScreen();
        ASSERT_NE(screen, nullptr);
        screen->grabWindow(0).save(m_shots + QLatin1Char('/') + QLatin1String(name) + QStringLiteral(".png"));
    }

private:
    fs::path m_old;
    fs::path m_folder;
    QString m_shots;
};

QAction& action(QWidget& w, const char* name) {
    auto* a = w.findChild<QAction*>(QLatin1String(name));
    if (!a) throw std::runtime_error(std::string("no action ") + name);
    return *a;
}

// An action whose failure is reported and whose dialog is closed: an exception
// must not pass through Qt's event loop.
ModalScript::Action guarded(std::function<void(QWidget&)> body) {
    return [body = std::move(body)](QWidget& d) {
        try {
            body(d);
        } catch (const std::exception& e) {
            ADD_FAILURE() << e.what();
            if (auto* dialog = qobject_cast<QDialog*>(&d)) dialog->reject();
        }
    };
}

// A choice (radio buttons or a list): the entry that holds `entry`, then OK.
ModalScript::Action choose(QString entry, Session& session, const char* shotName) {
    return guarded([entry = std::move(entry), &session, shotName](QWidget& d) {
        bool found = false;
        if (auto* list = d.findChild<QListWidget*>(QStringLiteral("ListBox1"))) {
            const QList<QListWidgetItem*> items = list->findItems(entry, Qt::MatchContains);
            if (!items.isEmpty()) list->setCurrentItem(items.front());
            found = !items.isEmpty();
        }
        for (QRadioButton* radio : d.findChildren<QRadioButton*>()) {
            if (!found && radio->text().remove(QLatin1Char('&')).contains(entry)) {
                radio->click();
                found = true;
            }
        }
        if (!found) throw std::runtime_error("no entry " + entry.toStdString() + " in " + d.objectName().toStdString());
        session.shot(shotName);
        click(d, "button_ok");
    });
}

// A yes/no question answered with `yes`.
ModalScript::Action answer(bool yes, Session& session, const char* shotName) {
    return guarded([yes, &session, shotName](QWidget& d) {
        child<QRadioButton>(d, yes ? "RadioButton_ja" : "RadioButton_nein").click();
        session.shot(shotName);
        click(d, "Button_ok");
    });
}

// The file dialog: the name typed in, Enter.
ModalScript::Action saveAs(std::string path, Session& session, const char* shotName) {
    return guarded([path = std::move(path), &session, shotName](QWidget& d) {
        auto& files = dynamic_cast<QFileDialog&>(d);
        auto* name = files.findChild<QLineEdit*>(QStringLiteral("fileNameEdit"));
        ASSERT_NE(name, nullptr);
        name->setText(QString::fromStdString(path));
        session.shot(shotName);
        QTest::keyClick(name, Qt::Key_Return);
    });
}

std::string slurp(const std::string& path) {
    std::ifstream in(path, std::ios::binary);
    std::ostringstream s;
    s << in.rdbuf();
    return s.str();
}

TEST(WholeSession, TheExampleEditedExportedPrintedUndoneAndSaved) {
    if (QGuiApplication::platformName() != QStringLiteral("xcb")) {
        GTEST_SKIP() << "runs on a real X server (whole_session_under_xvfb)";
    }
    Session session;
    ProgramState state;
    Thh window(state);
    ASSERT_TRUE(window.start(std::string("getriebewelle.zm1")));
    window.showBelowGraphics();  // where the program puts it
    ASSERT_TRUE(QTest::qWaitForWindowExposed(&window));
    session.shot("01_start");
    ASSERT_EQ(state.chain.element(2).isoGrade, 11);
    const long double lowerBefore = state.chain.element(2).lowerDev;

    // The element table: element 2 (the spacer, 40 h11) becomes 40 h9.
    {
        ModalScript script({
            [&](QWidget& d) {
                session.shot("02_element_table");
                typeCell(d, 2, kColIso, QStringLiteral("h9"), Qt::Key_Return);  // stays on the cell for "Berechnen"
                click(d, "Button_berechnen");
                session.shot("03_element_table_h9_calculated");
                click(d, "Button_ok");
            },
            test::typeAndEnter(QStringLiteral("12")),  // "Anzahl der Maßelemente"
        });
        action(window, "mi_editelementetabelle").trigger();
        EXPECT_EQ(script.unused(), 0u);
    }
    EXPECT_EQ(state.chain.element(2).isoGrade, 9);
    EXPECT_NEAR(static_cast<double>(state.chain.element(2).lowerDev), -0.062, 1e-12);
    EXPECT_TRUE(state.file.modified);

    // The closing dimensions and their statistics on the screen.
    {
        ModalScript script({choose(QStringLiteral("Axialspiel Ring"), session, "04_closing_choice"),
                            choose(QStringLiteral("Bildschirm"), session, "04b_device_screen")});
        action(window, "mi_viewschliessmassundstat").trigger();
        EXPECT_EQ(script.unused(), 0u);
        session.shot("05_closing_dimensions_report");
    }

    // The project to .xlsx, read back by openpyxl.
    const std::string xlsx = session.file("getriebewelle.xlsx");
    {
        ModalScript script({saveAs(xlsx, session, "06_export_xlsx")});
        action(window, "mi_oleExportExcel").trigger();
        EXPECT_EQ(script.unused(), 0u);
    }
    ASSERT_TRUE(fs::exists(xlsx));

    // The standard report to PDF.
    const std::string pdf = session.file("standard.pdf");
    {
        ModalScript script({choose(QStringLiteral("PDF"), session, "07_device_pdf"), saveAs(pdf, session, "08_save_pdf"),
                            answer(false, session, "08b_new_page_after_elements")});
        action(window, "mi_ViewStandard").trigger();
        EXPECT_EQ(script.unused(), 0u);
    }
    ASSERT_TRUE(fs::exists(pdf));

    // The normal distribution of closing dimension 1, saved as SVG and PDF.
    {
        ModalScript script({choose(QStringLiteral("Axialspiel Ring"), session, "09_closing_choice")});
        action(window, "mi_viewnormalverteilung").trigger();
        EXPECT_EQ(script.unused(), 0u);
        session.shot("09_normal_distribution");
    }
    const std::string svg = session.file("normal.svg");
    const std::string drawingPdf = session.file("normal.pdf");
    for (const std::string& picture : {svg, drawingPdf}) {
        // A PDF asks for its paper, every drawing whether it goes on white.
        std::deque<ModalScript::Action> steps{saveAs(picture, session, picture == svg ? "10_save_svg" : "11_save_pdf")};
        if (picture == drawingPdf) steps.push_back(choose(QStringLiteral("A4"), session, "11_paper"));
        steps.push_back(answer(true, session, picture == svg ? "10_white" : "11_white"));
        ModalScript script(std::move(steps));
        action(window.graphicsWidget(), "mi_saveDrawing").trigger();
        EXPECT_EQ(script.unused(), 0u);
        EXPECT_TRUE(fs::exists(picture)) << picture;
    }

    // Undo takes the tolerance back.
    action(window, "mi_editUndo").trigger();
    EXPECT_EQ(state.chain.element(2).isoGrade, 11);
    EXPECT_EQ(state.chain.element(2).lowerDev, lowerBefore);
    session.shot("12_undone");

    const std::string saved = session.file("getriebewelle2.zm1");
    {
        ModalScript script({saveAs(saved, session, "13_save_as")});
        action(window, "mi_FileSaveAs").trigger();
        EXPECT_EQ(script.unused(), 0u);
    }
    EXPECT_FALSE(state.file.modified);
    {
        // The undone project is the example again: the file is the one the
        // example gives when written as it was read.
        ProgramState example;
        example.prompter = &window.prompter();
        ASSERT_TRUE(readProjectFile(example, kExample.string()));
        const std::string rewritten = session.file("example_rewritten.zm1");
        ASSERT_TRUE(writeProjectFile(example, rewritten));
        EXPECT_EQ(slurp(saved), slurp(rewritten));
    }

    action(window, "mi_fileexit").trigger();
    QApplication::processEvents();
    EXPECT_FALSE(window.isVisible());

    // The files, read by the readers a user's desktop has.
    const std::optional<std::string> cells = toolOutput(
        QStringLiteral("/usr/bin/python3"),
        {QStringLiteral("-c"), QStringLiteral("import openpyxl,sys\n"
                                              "wb = openpyxl.load_workbook(sys.argv[1])\n"
                                              "for ws in wb.worksheets:\n"
                                              "  for row in ws.iter_rows():\n"
                                              "    print(ws.title + '|' + '|'.join(c.data_type + ':' + str(c.value) for c in row))\n"),
         QString::fromStdString(xlsx)});
    ASSERT_TRUE(cells) << "openpyxl cannot read " << xlsx;
    // Numbers are numbers (n), texts are strings (s); element 2 now 40 h9.
    for (const char* row : {
             "Maßelemente|s:El.Nr.|s:Vorg.el.|s:+/-|s:Nennmaß|s:ob.Tol.|s:unt.Tol.|s:ISO-Tol.|s:Text|s:Info\n",
             "Maßelemente|n:2|n:1|s:+|n:40|n:0|n:-0.062|s:h 9|s:Distanzhülse|s:gedreht, Stirnflächen plan\n",
             "Maßelemente|n:9|n:10|s:-|n:15.2|n:0|n:-0.1|n:None|s:Deckel Zentrierung|",
             "Schließmaße|n:1|n:5|n:6|s:Axialspiel Ring|s:Sicherungsring muss spielfrei montierbar sein|n:0.2|n:0.789|",
         }) {
        EXPECT_NE(cells->find(row), std::string::npos) << row << "\nin\n" << *cells;
    }

    // The standard report: the closing dimension through element 2 by both methods.
    const std::optional<std::string> text =
        toolOutput(QStringLiteral("pdftotext"), {QStringLiteral("-layout"), QString::fromStdString(pdf), QStringLiteral("-")});
    ASSERT_TRUE(text) << "pdftotext cannot read " << pdf;
    const std::string report = collapsedBlanks(*text);
    for (const char* expected : {
             "Schließmaße bei konstanter Verteilung",
             "5 6 0.200 0.589 -0.225 0.789 -0.025 Axialspiel Ring",  // the tolerance 0.098 less than with h11
             "11 12 1.800 0.694 -0.450 2.494 1.350 Luftspalt Sensor",
             "Schließmaße bei Gaußscher Normalverteilung",
             "5 6 0.382 0.206 -0.206 0.588 0.176 Axialspiel Ring",  // 3 sigma = root of the sum of squares / 2
             "Distanzhülse",
         }) {
        EXPECT_NE(report.find(expected), std::string::npos) << expected << "\nin\n" << report;
    }

    // The normal distribution as SVG and PDF, with its figures as text.
    const std::string svgText = slurp(svg);
    EXPECT_TRUE(QSvgRenderer(QString::fromStdString(svg)).isValid());
    const std::optional<std::string> pictureText =
        toolOutput(QStringLiteral("pdftotext"), {QString::fromStdString(drawingPdf), QStringLiteral("-")});
    ASSERT_TRUE(pictureText) << "pdftotext cannot read " << drawingPdf;
    for (const char* expected : {"Mittelmaß : 0.382", "Größtmaß : 0.588", "Kleinstmaß : 0.176", "Axialspiel Ring"}) {
        EXPECT_NE(pictureText->find(expected), std::string::npos) << expected << "\nin\n" << *pictureText;
        EXPECT_NE(svgText.find(expected), std::string::npos) << expected << " in the SVG";
    }
    // The paper asked for: A4.
    const std::optional<std::string> pageInfo = toolOutput(QStringLiteral("pdfinfo"), {QString::fromStdString(drawingPdf)});
    ASSERT_TRUE(pageInfo) << "pdfinfo cannot read " << drawingPdf;
    EXPECT_NE(pageInfo->find("(A4)"), std::string::npos) << *pageInfo;
}

} // namespace
} // namespace zam1
