// A new project typed in through Quick as a user would: the project text, three
// elements (one with an ISO code, one with a general tolerance), one closing
// dimension and sigma; then saved under a name, read back and compared. Each
// dialog leaves a picture in quick_screenshots/ under the test's folder.
#include <QAction>
#include <QDir>
#include <QFileDialog>
#include <QLineEdit>
#include <QMessageBox>
#include <QPushButton>
#include <QTableView>

#include <gtest/gtest.h>

#include <filesystem>
#include <fstream>
#include <unistd.h>

#include "core/config/config_file.h"
#include "core/editors/element_table.h"
#include "core/files/project_file.h"
#include "core/session/program_state.h"
#include "gui/app/main_window.h"
#include "tests/gui/modal_script.h"
#include "tests/gui/session_steps.h"

namespace zam1 {
namespace {

using test::child;
using test::click;
using test::typeCell;
using test::ModalScript;

namespace fs = std::filesystem;

QString g_shotFolder;  // beside the test program, set before the test leaves its folder

void shot(QWidget& w, const char* name) {
    const QString folder = g_shotFolder;
    QDir().mkpath(folder);
    w.grab().save(folder + QLatin1Char('/') + QLatin1String(name) + QStringLiteral(".png"));
}

void retype(QWidget& d, const char* name, const QString& text) {
    auto& edit = child<QLineEdit>(d, name);
    edit.selectAll();
    edit.insert(text);  // typed as one input; the test keyboard knows no umlauts
}

TEST(QuickSession, ANewProjectTypedInThroughQuickIsSavedAndReadBack) {
    const fs::path folder = fs::temp_directory_path() / ("zam1-quick-" + std::to_string(::getpid()));
    fs::create_directories(folder);
    const fs::path old = fs::current_path();
    g_shotFolder = QString::fromStdString((old / "quick_screenshots").string());
    fs::current_path(folder);
    setenv("XDG_CONFIG_HOME", folder.c_str(), 1);
    {
        Configuration config = defaultConfiguration(ScreenInfo{}, folder.string());
        config.helpLevel = 0;  // no result graphic after Quick: only the dialogs matter here
        std::ofstream(settingsFilePath(folder.string(), "cfg"), std::ios::binary) << configurationText(config);
    }
    ProgramState state;
    Thh window(state);
    ASSERT_TRUE(window.start(std::string()));
    window.show();
    const std::string saved = (folder / "welle2.zm1").string();
    ModalScript script({
        [&](QWidget& d) {  // project text
            retype(d, "Edit_zeichname", QStringLiteral("Welle mit Lager"));
            retype(d, "Edit_zeichnr", QStringLiteral("WL-01"));
            retype(d, "Edit_bemerkung1", QStringLiteral("Spiel am Sicherungsring prüfen"));
            shot(d, "1_project_text");
            click(d, "Button_ok");
        },
        [&](QWidget& d) {  // element table
            typeCell(d, 1, kColNominal, QStringLiteral("25"));
            typeCell(d, 1, kColIso, QStringLiteral("H7"));
            typeCell(d, 1, kColText, QStringLiteral("Bohrung"));
            typeCell(d, 2, kColPredecessor, QStringLiteral("1"));
            typeCell(d, 2, kColNominal, QStringLiteral("40"));
            typeCell(d, 2, kColUpper, QStringLiteral("0,1"));
            typeCell(d, 2, kColLower, QStringLiteral("-0.1"));
            typeCell(d, 2, kColText, QStringLiteral("Hülse"));
            typeCell(d, 3, kColPredecessor, QStringLiteral("2"));
            typeCell(d, 3, kColDirection, QStringLiteral("-"));
            typeCell(d, 3, kColNominal, QStringLiteral("60"));
            typeCell(d, 3, kColText, QStringLiteral("Gehäuse"));
            // Element 3 has no tolerance of its own: the general tolerance of its size.
            auto& grid = child<QTableView>(d, "StringGrid1");
            grid.setCurrentIndex(grid.model()->index(2, kColNominal));
            click(d, "Button_freimass");
        },
        [&](QWidget& d) {  // the general-tolerance dialog that Freimasstoleranz opens
           
            shot(d, "2_general_tolerance");
            click(d, "Button_ok");
        },
        [&](QWidget& d) {  // the element table again: calculate and take over
           
            shot(d, "3_element_table");
            click(d, "Button_berechnen");
            shot(d, "4_element_table_calculated");
            click(d, "Button_ok");
        },
        test::typeAndEnter(QStringLiteral("3")),  // "Anzahl der Maßelemente"
        [&](QWidget& d) {  // closing dimensions: none yet
            click(d, "Button_neu");
        },
        [&](QWidget& d) {
            retype(d, "Edit_vonel", QStringLiteral("0"));
            retype(d, "Edit_bisel", QStringLiteral("3"));
            retype(d, "Edit_komment", QStringLiteral("Luft"));
            shot(d, "5_closing_record");
            click(d, "Button_ok");
        },
        [&](QWidget& d) {
            shot(d, "6_closing_list");
            click(d, "Button_ok");
        },
        [&](QWidget& d) {  // production factor sigma
            shot(d, "7_sigma");
            child<QLineEdit>(d, "EditEinText").clear();
            QTest::keyClicks(&child<QLineEdit>(d, "EditEinText"), QStringLiteral("3"));
            QTest::keyClick(&child<QLineEdit>(d, "EditEinText"), Qt::Key_Return);
        },
        [&](QWidget& d) {  // Save As: the file dialog
            auto& files = dynamic_cast<QFileDialog&>(d);
            auto* name = files.findChild<QLineEdit*>(QStringLiteral("fileNameEdit"));
            ASSERT_NE(name, nullptr);
            name->setText(QString::fromStdString(saved));
            shot(d, "8_save_as");
            QTest::keyClick(name, Qt::Key_Return);
        },
    });
    window.findChild<QAction*>(QStringLiteral("mi_EditQuick"))->trigger();
    EXPECT_FALSE(state.error.isSet());
    window.findChild<QAction*>(QStringLiteral("mi_FileSaveAs"))->trigger();
    EXPECT_EQ(script.unused(), 0u);
    EXPECT_FALSE(state.file.modified);
    EXPECT_EQ(state.file.currentFile, "welle2");

    ProgramState read;
    read.prompter = &window.prompter();
    ASSERT_TRUE(readProjectFile(read, saved));
    const Chain& chain = read.chain;
    ASSERT_EQ(chain.elementCount(), 3);
    EXPECT_EQ(chain.element(1).distance, 25);
    EXPECT_NEAR(static_cast<double>(chain.element(1).upperDev), 0.021, 1e-12);
    EXPECT_EQ(chain.element(1).isoLetters.view(), "H");
    EXPECT_EQ(chain.element(2).predecessor, 1);
    EXPECT_NEAR(static_cast<double>(chain.element(2).upperDev), 0.1, 1e-12);
    EXPECT_NEAR(static_cast<double>(chain.element(2).lowerDev), -0.1, 1e-12);
    EXPECT_EQ(chain.element(3).predecessor, 2);
    EXPECT_GT(chain.element(3).upperDev, 0) << "the general tolerance was taken";
    EXPECT_EQ(chain.element(3).text.view(), "Geh\x84use");
    ASSERT_EQ(chain.closingCount(), 1);
    EXPECT_EQ(chain.closing(1).toElement, 3);
    EXPECT_EQ(read.chain.productionSigma, 3);
    EXPECT_EQ(read.projectTexts.drawingNumber.view(), "WL-01");
    state.file.modified = false;
    fs::current_path(old);
    fs::remove_all(folder);
}

} // namespace
} // namespace zam1
