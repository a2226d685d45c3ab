// The main window after its real start-up in a folder of its own: captions in
// the stored language, the menu entries by object name, commands through the
// exception boundary into the graphics window.
#include <QAction>
#include <QLineEdit>
#include <QMenuBar>
#include <QMessageBox>
#include <QPushButton>

#include <gtest/gtest.h>

#include <cstdlib>
#include <filesystem>
#include <fstream>
#include <stdexcept>
#include <unistd.h>

#include "core/app/menu_table.h"
#include "core/session/program_state.h"
#include "core/config/config_file.h"
#include "core/graphics/graphics_window.h"
#include "core/platform/clock.h"
#include "gui/app/main_window.h"
#include "gui/editors/element_table_dialog.h"
#include "gui/graphics/graphics_widget.h"
#include "tests/gui/modal_script.h"

namespace zam1 {
namespace {

const std::string kExample = std::string(ZAM1_SOURCE_DIR) + "/examples/getriebewelle.zm1";

// A start directory holding only a zam1.cfg with the given language.
class StartFolder {
public:
    explicit StartFolder(int language) {
        m_old = std::filesystem::current_path();
        m_path = std::filesystem::temp_directory_path() / ("zam1-window-" + std::to_string(::getpid()));
        std::filesystem::create_directories(m_path);
        Configuration config = defaultConfiguration(ScreenInfo{}, m_path.string());
        config.language = language;
        std::ofstream(settingsFilePath(m_path.string(), "cfg"), std::ios::binary) << configurationText(config);
        std::filesystem::current_path(m_path);
        setenv("XDG_CONFIG_HOME", m_path.c_str(), 1);
    }
    ~StartFolder() {
        std::filesystem::current_path(m_old);
        std::error_code ignored;
        std::filesystem::remove_all(m_path, ignored);
    }

private:
    std::filesystem::path m_old;
    std::filesystem::path m_path;
};

QAction* action(Thh& w, const char* name) { return w.findChild<QAction*>(QLatin1String(name)); }

TEST(MainWindow, StartsWithTheStoredLanguageAndTheProjectInTheCaption) {
    struct Case { int language; const char* open; const char* standard; const char* scheme; };
    const Case cases[] = {
        {0, "\u00d6&ffnen...", "&Standard", "&Schema"},  // never chosen: German
        {2, "&Open...", "&Standard", "&Scheme"},
    };
    for (const Case& c : cases) {
        StartFolder folder(c.language);
        ProgramState state;
        FixedClock clock{{2024, 3, 9, 14, 5, 30}};
        state.clock = &clock;
        Thh window(state);
        window.start(kExample);
        EXPECT_EQ(window.windowTitle(), QStringLiteral("ZAM1 - Toleranzrechnung  -  getriebewelle.zm1"));
        for (const char* name : {"mi_fileOpen", "mi_fileexit", "mi_ViewStandard", "mi_viewgesamtgrafik", "mi_viewschema",
                                 "mi_viewmasstaeblich", "mi_viewnormalverteilung"}) {
            ASSERT_NE(action(window, name), nullptr) << name;
            EXPECT_TRUE(action(window, name)->isEnabled()) << name;
        }
        EXPECT_EQ(action(window, "mi_fileOpen")->text(), QString::fromUtf8(c.open)) << c.language;
        EXPECT_EQ(action(window, "mi_viewschema")->text().trimmed(), QString::fromUtf8(c.scheme)) << c.language;
        // Refreshed menus keep their actions: each name is there once.
        window.refreshCaption();
        EXPECT_EQ(window.findChildren<QAction*>(QStringLiteral("mi_fileOpen")).size(), 1);
    }
}

TEST(MainWindow, AViewCommandAsksForTheClosingDimensionAndDrawsIntoTheGraphicsWindow) {
    StartFolder folder(0);
    ProgramState state;
    FixedClock clock{{2024, 3, 9, 14, 5, 30}};
    state.clock = &clock;
    Thh window(state);
    window.start(kExample);
    QString dialog;
    test::ModalScript script({[&](QWidget& d) {
        dialog = d.objectName();
        QTest::keyClick(&d, Qt::Key_Return);  // closing dimension 1, pre-selected
    }});
    action(window, "mi_viewnormalverteilung")->trigger();
    EXPECT_FALSE(dialog.isEmpty());
    EXPECT_FALSE(state.error.isSet());
    EXPECT_GT(window.graphicsWidget().window().displayList().size(), 50u);
    EXPECT_TRUE(window.graphicsWidget().replayRunning());
}

// The File menu is the session's: its entries, the recent file of the project
// read at start, and closing the window runs the close query, whose Cancel keeps
// the window and the edited project.
TEST(MainWindow, TheFileMenuIsTheSessionsAndClosingAsksFirst) {
    StartFolder folder(0);
    ProgramState state;
    Thh window(state);
    window.start(kExample);
    window.show();
    for (const char* name : {"mi_fileNew", "mi_fileOpen", "mi_FileSave", "mi_FileSaveAs", "mi_fileImportZAM", "mi_fileexit",
                             "mi_viewmontecarlo"}) {
        EXPECT_NE(action(window, name), nullptr) << name;
    }
    state.file.modified = true;
    QString question;
    test::ModalScript script({[&](QWidget& d) {
        if (auto* box = dynamic_cast<QMessageBox*>(&d)) question = box->text();
        QTest::keyClick(&d, Qt::Key_Escape);
    }});
    EXPECT_FALSE(window.close());
    EXPECT_TRUE(window.isVisible());
    EXPECT_TRUE(state.file.modified);
    EXPECT_TRUE(question.contains(QStringLiteral("getriebewelle"))) << question.toStdString();
    state.file.modified = false;
    EXPECT_TRUE(window.close());
}

// Every row of the core's menu table is an action of the window under its
// object name, with the table's caption, enabled and visible state, also after
// a command changed them (the recent files, Undo).
TEST(MainWindow, EveryItemOfTheMenuTableIsAnActionAsTheTableSays) {
    StartFolder folder(0);
    ProgramState state;
    Thh window(state);
    window.start(kExample);
    const auto check = [&] {
        for (const MenuSection& section : menuTable()) {
            for (const MenuItem& item : section.items) {
                if (item.row != MenuRow::Command) continue;
                SCOPED_TRACE(std::string(item.objectName));
                QAction* a = action(window, std::string(item.objectName).c_str());
                ASSERT_NE(a, nullptr);
                EXPECT_EQ(a->text().toStdString(), item.caption(window.context()));
                EXPECT_EQ(a->isVisible(), menuItemVisible(window.context(), item));
                // A hidden action counts as disabled in Qt.
                if (a->isVisible()) {
                    EXPECT_EQ(a->isEnabled(), menuItemEnabled(window.context(), item));
                }
            }
        }
    };
    check();
    EXPECT_TRUE(action(window, "mi_file1")->isVisible());
    EXPECT_FALSE(action(window, "mi_file2")->isVisible());
    EXPECT_FALSE(action(window, "mi_editUndo")->isEnabled());
    test::ModalScript script({[&](QWidget& d) {
        auto* edit = d.findChild<QLineEdit*>();
        ASSERT_NE(edit, nullptr);
        edit->setText(QStringLiteral("4"));
        QTest::keyClick(&d, Qt::Key_Return);
    }});
    action(window, "mi_editsigma")->trigger();
    EXPECT_EQ(state.chain.productionSigma, 4);
    EXPECT_TRUE(action(window, "mi_editUndo")->isEnabled());
    check();
    state.file.modified = false;
}

// The graphics window has the keyboard after each picture: the menu's shortcuts
// work there too, save Ctrl+S, which saves the picture there, not the project.
TEST(MainWindow, TheMenuShortcutsWorkInTheGraphicsWindowSaveItsOwn) {
    StartFolder folder(0);
    ProgramState state;
    Thh window(state);
    window.start(kExample);
    TFkorvgra& graphics = window.graphicsWidget();
    const struct {
        const char* action;
        bool shared;
    } rows[] = {{"mi_editUndo", true}, {"mi_editRedo", true}, {"mi_fileprint", true}, {"mi_FileSave", false}};
    for (const auto& row : rows) {
        SCOPED_TRACE(row.action);
        EXPECT_EQ(graphics.actions().contains(action(window, row.action)), row.shared);
    }
    const int before = state.chain.productionSigma;
    test::ModalScript script({[&](QWidget& d) {
        auto* edit = d.findChild<QLineEdit*>();
        ASSERT_NE(edit, nullptr);
        edit->setText(QString::number(before + 1));
        QTest::keyClick(&d, Qt::Key_Return);
    }});
    action(window, "mi_editsigma")->trigger();
    ASSERT_EQ(state.chain.productionSigma, before + 1);
    graphics.show();
    graphics.activateWindow();
    ASSERT_TRUE(QTest::qWaitForWindowActive(&graphics));
    QTest::keyClick(&graphics, Qt::Key_Z, Qt::ControlModifier);
    EXPECT_EQ(state.chain.productionSigma, before);
    EXPECT_EQ(script.unused(), 0u);
    state.file.modified = false;
}

// The element table opened from the menu runs the window's closing-dimension
// editor and spreadsheet exchange; opened without a window, those buttons are off,
// whatever window came before.
TEST(MainWindow, TheElementTableFromTheMenuHasTheWindowsEditorsAndOnlyThen) {
    StartFolder folder(0);
    const char* const buttons[] = {"Button_schliessmass", "Button_exportexcel", "Button_importExcel"};
    const auto enabled = [&](QWidget& d) {
        QStringList on;
        for (const char* name : buttons) {
            auto* b = d.findChild<QPushButton*>(QLatin1String(name));
            if (b != nullptr && b->isEnabled()) on << QLatin1String(name);
        }
        d.findChild<QPushButton*>(QStringLiteral("Button_cancel"))->click();
        return on;
    };
    ProgramState state;
    QStringList fromMenu;
    {
        Thh window(state);
        window.start(kExample);
        test::ModalScript script({[&](QWidget& d) { fromMenu = enabled(d); }});
        action(window, "mi_editelementetabelle")->trigger();
        EXPECT_EQ(script.unused(), 0u);
        state.file.modified = false;
    }
    EXPECT_EQ(fromMenu.size(), 3) << fromMenu.join(QLatin1Char(' ')).toStdString();
    QStringList alone;
    test::ModalScript script({[&](QWidget& d) { alone = enabled(d); }});
    editElementTable(state, nullptr);
    EXPECT_TRUE(alone.isEmpty()) << alone.join(QLatin1Char(' ')).toStdString();
    EXPECT_EQ(script.unused(), 0u);
}

TEST(MainWindow, AnExceptionInACommandBecomesTheErrorMessageAndTheFlag) {
    StartFolder folder(0);
    ProgramState state;
    Thh window(state);
    window.start(std::string());
    QString caption, text;
    test::ModalScript script({[&](QWidget& d) {
        auto& box = dynamic_cast<QMessageBox&>(d);
        caption = box.windowTitle();
        text = box.text();
        box.accept();
    }});
    window.runCommand([] { throw std::runtime_error("kaputt"); });
    EXPECT_TRUE(state.error.isSet());
    EXPECT_EQ(caption, QStringLiteral("Fehler : "));
    EXPECT_TRUE(text.contains(QStringLiteral("kaputt"))) << text.toStdString();
    EXPECT_EQ(window.windowTitle(), QStringLiteral("ZAM1 - Toleranzrechnung"));
}

} // namespace
} // namespace zam1
