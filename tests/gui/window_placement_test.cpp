// Every window on the screen, whatever its size: the graphics window at the top,
// the main window's menu strip under it and never covered, dialogs and the help
// window wholly on the screen. The arrangement is checked for the three screen
// sizes as numbers, and the real windows on the screen this process runs on
// (CTest runs it on offscreen screens of 1024x768, 1600x1200 and 2560x1440).
#include <QApplication>
#include <QEvent>
#include <QScreen>
#include <QTest>

#include <gtest/gtest.h>

#include <cstdlib>
#include <filesystem>
#include <fstream>
#include <unistd.h>
#include <vector>

#include "core/app/menu_table.h"
#include "core/config/config_file.h"
#include "core/session/program_state.h"
#include "gui/app/main_window.h"
#include "gui/app/window_arrangement.h"
#include "gui/graphics/graphics_widget.h"
#include "tests/gui/modal_script.h"

namespace zam1 {
namespace {

const std::string kExample = std::string(ZAM1_SOURCE_DIR) + "/examples/getriebewelle.zm1";

TEST(WindowPlacement, TheArrangementKeepsBothWindowsApartAndOnTheScreen) {
    const struct {
        QRect room;  // the screen less a panel at the bottom
    } rows[] = {{{0, 0, 1024, 740}}, {{0, 0, 1600, 1172}}, {{0, 0, 2560, 1412}}, {{100, 30, 1024, 768}}};
    for (const auto& row : rows) {
        SCOPED_TRACE(testing::Message() << row.room.width() << "x" << row.room.height());
        // What a program without configuration asks for: the whole screen's width and height less a little.
        const QSize graphics(row.room.width() - 9 + 1 + 12, row.room.height() - 91 + 1 + 38);
        const QSize main(800 + 12, 80 + 38);
        const WindowArrangement a = arrangeWindows(row.room, graphics, main);
        EXPECT_TRUE(row.room.contains(a.graphics));
        EXPECT_TRUE(row.room.contains(a.main));
        EXPECT_FALSE(a.graphics.intersects(a.main));
        EXPECT_EQ(a.graphics.topLeft(), row.room.topLeft());
        EXPECT_EQ(a.main.top(), a.graphics.bottom() + 1);  // the strip right under the picture
        EXPECT_EQ(a.main.size(), main);
        EXPECT_GT(a.graphics.height(), row.room.height() / 2);
    }
    // A window larger than the screen, or hanging off any edge, comes back whole.
    const QRect room(0, 0, 1024, 768);
    for (const QRect frame : {QRect(-50, -20, 300, 200), QRect(900, 700, 300, 200), QRect(10, 10, 2000, 900)}) {
        const QRect fitted = fitInto(frame, room);
        EXPECT_TRUE(room.contains(fitted));
        EXPECT_EQ(fitted.size(), frame.size().boundedTo(room.size()));
    }
}

// A start folder whose zam1.cfg has the settings of a program started on this screen.
class StartFolder {
public:
    StartFolder() {
        m_old = std::filesystem::current_path();
        m_path = std::filesystem::temp_directory_path() / ("zam1-placement-" + std::to_string(::getpid()));
        std::filesystem::create_directories(m_path);
        const QRect screen = QGuiApplication::primaryScreen()->geometry();
        ScreenInfo info;
        info.width = screen.width();
        info.height = screen.height();
        const Configuration config = defaultConfiguration(info, m_path.string());
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

// Counts the raises of a window, in the order they come.
class RaiseLog final : public QObject {
public:
    std::vector<QObject*> order;

protected:
    bool eventFilter(QObject* watched, QEvent* event) override {
        if (event->type() == QEvent::ZOrderChange) order.push_back(watched);
        return false;
    }
};

TEST(WindowPlacement, TheProgramsWindowsLieOnThisScreen) {
    StartFolder folder;
    ProgramState state;
    Thh window(state);
    window.setClosingScreenTime(0);
    ASSERT_TRUE(window.start(kExample));
    window.showBelowGraphics();
    QApplication::processEvents();
    const QRect room = window.screen()->availableGeometry();
    SCOPED_TRACE(testing::Message() << "screen " << room.width() << "x" << room.height());
    TFkorvgra& graphics = window.graphicsWidget();
    ASSERT_TRUE(graphics.isVisible());  // the overall graphic of the example
    EXPECT_TRUE(room.contains(graphics.frameGeometry()));
    EXPECT_TRUE(room.contains(window.frameGeometry()));
    // The menu strip and the picture's last line (the header's "Mittelmaß") are both in sight.
    EXPECT_FALSE(graphics.frameGeometry().intersects(window.frameGeometry()));
    EXPECT_GT(graphics.height(), room.height() / 2);

    // Every dialog answered: the about screen's frame is kept, a question takes its default.
    QRect about;
    std::vector<QRect> dialogs;
    const test::ModalScript::Action answer = [&](QWidget& d) {
        dialogs.push_back(d.frameGeometry());
        if (d.objectName() == QLatin1String("TextScreen")) about = d.frameGeometry();
        QTest::keyClick(&d, d.objectName() == QLatin1String("TextScreen") ? Qt::Key_Escape : Qt::Key_Return);
    };
    test::ModalScript script({answer, answer, answer, answer});
    // Answers to spare: how many questions come before the about screen is not the point here.
    script.expectLeftovers();

    // Another diagram brings the graphics window up, and the main window after it.
    RaiseLog raises;
    graphics.installEventFilter(&raises);
    window.installEventFilter(&raises);
    window.runItem(*findMenuItem("mi_viewschema"));
    ASSERT_FALSE(raises.order.empty());
    EXPECT_EQ(raises.order.back(), &window);
    EXPECT_NE(std::find(raises.order.begin(), raises.order.end(), &graphics), raises.order.end());

    // A dialog (the about screen) and the help window (F1) open wholly on the screen.
    window.runItem(*findMenuItem("mi_HelpAbout"));
    for (const QRect& d : dialogs) EXPECT_TRUE(room.contains(d));
    EXPECT_TRUE(room.contains(about)) << about.x() << "," << about.y() << " " << about.width() << "x" << about.height();
    window.showHelp(0);
    QApplication::processEvents();
    QWidget* help = nullptr;
    for (QWidget* w : QApplication::topLevelWidgets()) {
        if (w->objectName() == QLatin1String("HelpWindow") && w->isVisible()) help = w;
    }
    ASSERT_NE(help, nullptr);
    EXPECT_TRUE(room.contains(help->frameGeometry()));
    help->close();
}

} // namespace
} // namespace zam1
