// The program as a citizen of the Linux desktop: its windows carry the icon and
// the desktop entry's name, a project file dropped on any of its windows opens
// through the close query, and a file type without a program is reported.
#include <QApplication>
#include <QDropEvent>
#include <QMessageBox>
#include <QMimeData>
#include <QUrl>

#include <gtest/gtest.h>

#include <unistd.h>

#include <cstdlib>
#include <filesystem>
#include <fstream>

#include "core/session/program_state.h"
#include "gui/app/main_window.h"
#include "gui/graphics/graphics_widget.h"
#include "gui/platform/qt_desktop.h"
#include "tests/gui/modal_script.h"

namespace zam1 {
namespace {

namespace fs = std::filesystem;

const std::string kExample = std::string(ZAM1_SOURCE_DIR) + "/examples/getriebewelle.zm1";

// A folder of its own as start directory and per-user configuration folder.
class Scratch {
public:
    Scratch() {
        m_old = fs::current_path();
        m_path = fs::temp_directory_path() / ("zam1-desktop-" + std::to_string(::getpid()));
        fs::remove_all(m_path);
        fs::create_directories(m_path);
        fs::current_path(m_path);
        setenv("XDG_CONFIG_HOME", m_path.c_str(), 1);
    }
    ~Scratch() {
        fs::current_path(m_old);
        std::error_code ignored;
        fs::remove_all(m_path, ignored);
    }
    std::string file(const std::string& name) const { return (m_path / name).string(); }

private:
    fs::path m_old;
    fs::path m_path;
};

TEST(DesktopIntegration, EveryWindowCarriesTheIconAndTheDesktopEntrysName) {
    Scratch scratch;
    ProgramState state;
    Thh window(state);
    window.start(kExample);
    EXPECT_FALSE(window.windowIcon().isNull());
    EXPECT_FALSE(window.graphicsWidget().windowIcon().isNull());
    EXPECT_FALSE(window.windowIcon().pixmap(32, 32).isNull()) << "the icon can be drawn";
    // The window manager matches the running program to this entry.
    const std::string entry = QGuiApplication::desktopFileName().toStdString() + ".desktop";
    EXPECT_TRUE(fs::exists(std::string(ZAM1_SOURCE_DIR) + "/packaging/" + entry)) << entry;
}

// What a file manager sends: the drag over the window, then the drop.
bool dropOn(QWidget& target, const QString& file) {
    QMimeData data;
    data.setUrls({QUrl::fromLocalFile(file)});
    const QPoint middle = target.rect().center();
    QDragEnterEvent enter(middle, Qt::CopyAction, &data, Qt::LeftButton, Qt::NoModifier);
    QApplication::sendEvent(&target, &enter);
    if (!enter.isAccepted()) return false;
    QDropEvent drop(QPointF(middle), Qt::CopyAction, &data, Qt::LeftButton, Qt::NoModifier);
    QApplication::sendEvent(&target, &drop);
    // The project opens after the drop has ended.
    for (int i = 0; i < 5; ++i) QApplication::processEvents();
    return drop.isAccepted();
}

TEST(DesktopIntegration, AProjectDroppedOnAnyWindowOpensThroughTheCloseQuery) {
    Scratch scratch;
    fs::copy_file(kExample, scratch.file("KOPIE.ZM1"));
    fs::copy_file(kExample, scratch.file("welle.zm1"));
    std::ofstream(scratch.file("notiz.txt")) << "keine Kette\n";
    ProgramState state;
    Thh window(state);
    window.start(kExample);
    window.show();
    window.graphicsWidget().show();
    EXPECT_TRUE(window.acceptDrops());
    EXPECT_TRUE(window.graphicsWidget().acceptDrops());
    struct Row {
        const char* name;
        bool onGraphics;
        const char* file;
        bool modified;     // the close query asks, and is cancelled
        bool accepted;
        const char* current;  // the current project afterwards
    };
    const Row rows[] = {
        {"on the main window", false, "welle.zm1", false, true, "welle"},
        {"on the graphics window, capital extension", true, "KOPIE.ZM1", false, true, "KOPIE.ZM1"},
        {"not a project", false, "notiz.txt", false, false, "KOPIE.ZM1"},
        {"changes kept by Cancel", true, "welle.zm1", true, true, "KOPIE.ZM1"},
    };
    for (const Row& row : rows) {
        SCOPED_TRACE(row.name);
        state.file.modified = row.modified;
        int asked = 0;
        test::ModalScript script({[&](QWidget& d) {
            asked += dynamic_cast<QMessageBox*>(&d) != nullptr ? 1 : 0;
            QTest::keyClick(&d, Qt::Key_Escape);
        }});
        // The close query comes only for a modified project: otherwise its answer stays.
        script.expectLeftovers();
        QWidget& target = row.onGraphics ? static_cast<QWidget&>(window.graphicsWidget()) : window;
        EXPECT_EQ(dropOn(target, QString::fromStdString(scratch.file(row.file))), row.accepted);
        EXPECT_EQ(asked, row.modified ? 1 : 0);
        EXPECT_EQ(script.unused(), row.modified ? 0u : 1u);
        EXPECT_EQ(fs::path(state.file.currentFile).filename().string(), row.current);
        EXPECT_EQ(state.file.modified, row.modified);
    }
    state.file.modified = false;
}

// A fake opener on PATH answers as xdg-open does: 0 opened, 3 no program for
// the type, 4 the program failed.
TEST(DesktopIntegration, TheOpenersExitStatusTellsWhetherTheFileOpened) {
    Scratch scratch;
    const std::string bin = scratch.file("bin");
    fs::create_directories(bin);
    const std::string oldPath = std::getenv("PATH") != nullptr ? std::getenv("PATH") : "";
    struct Row {
        const char* name;
        const char* script;  // null: no opener on PATH
        bool opened;
    };
    const Row rows[] = {
        {"opened", "exit 0", true},
        {"no program for the type", "exit 3", false},
        {"the program failed", "exit 4", false},
        {"no opener installed", nullptr, false},
    };
    QtDesktop desktop(nullptr, nullptr);
    for (const Row& row : rows) {
        SCOPED_TRACE(row.name);
        fs::remove(bin + "/xdg-open");
        if (row.script != nullptr) {
            std::ofstream(bin + "/xdg-open") << "#!/bin/sh\n" << row.script << "\n";
            fs::permissions(bin + "/xdg-open", fs::perms::owner_all);
        }
        setenv("PATH", bin.c_str(), 1);
        EXPECT_EQ(desktop.startProgram("xdg-open", {scratch.file("welle.xlsx")}), row.opened);
        setenv("PATH", oldPath.c_str(), 1);
    }
}

} // namespace
} // namespace zam1
