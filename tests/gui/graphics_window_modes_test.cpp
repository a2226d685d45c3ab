// The graphics window's step mode, its resizing and its save entry, driven by
// object names on the offscreen platform.
#include <QAction>
#include <QDir>
#include <QImageReader>
#include <QMenu>
#include <QPushButton>
#include <QTemporaryDir>
#include <QTest>

#include <gtest/gtest.h>

#include "core/graphics/palette.h"
#include "core/platform/scripted_prompter.h"
#include "core/session/program_state.h"
#include "gui/graphics/image_canvas.h"
#include "gui/graphics/step_dialog.h"
#include "tests/gui/graphics_widget_support.h"
#include "tests/support/scripted.h"

namespace zam1 {
namespace {

QColor backgroundOf(const GraphicsWindow& w) {
    const Rgb c = paletteColour(w.settings().backgroundColour);
    return QColor(c.r, c.g, c.b);
}

// Waits until the replay pauses in the step dialog or ends; the dialog, or null.
StepDialog* waitForStepOrEnd(TFkorvgra& widget) {
    QElapsedTimer t;
    t.start();
    while (widget.replayRunning() && !widget.stepDialog() && t.elapsed() < 20000) QCoreApplication::processEvents();
    return widget.stepDialog();
}

struct ModesFixture : ::testing::Test {
    ErrorFlag error;
    GraphicsWindow window{screen(), error};
    TFkorvgra widget{window};

    // Three strokes; the second and third are each wiped out again by an erase colour.
    void drawAnimation() {
        window.Header(0, 0, 160, 120);
        for (int i = 0; i < 3; ++i) {
            window.SetColor(15);
            window.line(10 + 40 * i, 10, 10 + 40 * i, 110);
            window.SetColor(0);
            if (i > 0) window.line(10 + 40 * i, 10, 10 + 40 * i, 110);
        }
    }
    QAction& action(const char* name) {
        auto* a = widget.findChild<QAction*>(QString::fromLatin1(name));
        EXPECT_NE(a, nullptr) << name;
        return *a;
    }
};

TEST_F(ModesFixture, StepModePausesInTheDialogUntilRunToTheEnd) {
    drawAnimation();
    action("mi_stepMode").trigger();
    EXPECT_TRUE(window.stepMode());
    widget.startReplay();

    // Three erase colours: "+" at the first two, "++" at the third would not be reached.
    std::vector<std::size_t> pauses;
    StepDialog* dialog = waitForStepOrEnd(widget);
    ASSERT_NE(dialog, nullptr);
    EXPECT_EQ(dialog->windowTitle(), QStringLiteral("Animation"));
    QDir().mkpath(QDir::tempPath() + QStringLiteral("/pdf-export-shots"));
    dialog->grab().save(QDir::tempPath() + QStringLiteral("/pdf-export-shots/step_dialog.png"));
    pauses.push_back(widget.replayPosition());
    // The first stroke is on the screen while the replay waits.
    const QImage waiting = widget.grab().toImage();
    EXPECT_NE(waiting.pixelColor(window.pixelX(10), window.pixelY(60)), backgroundOf(window));
    EXPECT_EQ(waiting.pixelColor(window.pixelX(50), window.pixelY(60)), backgroundOf(window));
    QTest::mouseClick(dialog->findChild<QPushButton*>(QStringLiteral("Button_step")), Qt::LeftButton);
    dialog = waitForStepOrEnd(widget);
    ASSERT_NE(dialog, nullptr);
    pauses.push_back(widget.replayPosition());
    EXPECT_GT(pauses[1], pauses[0]);
    QTest::mouseClick(dialog->findChild<QPushButton*>(QStringLiteral("Button_run")), Qt::LeftButton);
    EXPECT_EQ(waitForStepOrEnd(widget), nullptr);
    EXPECT_FALSE(widget.replayRunning());
    EXPECT_FALSE(window.stepMode());
    EXPECT_FALSE(action("mi_stepMode").isChecked());

    // Without step mode the same list runs through without a pause.
    widget.startReplay();
    EXPECT_EQ(waitForStepOrEnd(widget), nullptr);
    EXPECT_FALSE(widget.replayRunning());
}

TEST_F(ModesFixture, NewInputWhileTheDialogWaitsStartsAFreshReplay) {
    drawAnimation();
    widget.setStepMode(true);
    widget.startReplay();
    ASSERT_NE(waitForStepOrEnd(widget), nullptr);
    const int replays = widget.replaysStarted();
    QTest::keyClick(&widget, Qt::Key_Plus);
    EXPECT_EQ(widget.stepDialog(), nullptr);  // the waiting replay is dropped with its question
    ASSERT_NE(waitForStepOrEnd(widget), nullptr);
    EXPECT_EQ(widget.replaysStarted(), replays + 1);
    // Escape in the dialog draws to the end, as "++" does.
    QTest::keyClick(widget.stepDialog(), Qt::Key_Escape);
    EXPECT_EQ(waitForStepOrEnd(widget), nullptr);
    EXPECT_FALSE(window.stepMode());
}

TEST_F(ModesFixture, TheViewFollowsTheWindowSize) {
    window.Header(0, 0, 160, 120);
    window.SetColor(15);
    window.Rectangle(10, 10, 150, 110);
    widget.show();
    widget.startReplay();
    ASSERT_TRUE(waitForReplay(widget));
    const QImage small = widget.image();
    const int replays = widget.replaysStarted();

    struct Row {
        const char* name;
        QSize size;
        double scale;
        QPoint offset;
    };
    const Row rows[] = {
        {"twice the size", {1282, 962}, 2.0, {0, 0}},
        {"wider than 4:3 is centred", {1282 + 400, 962}, 2.0, {200, 0}},
        {"back to the configured size", {641, 481}, 1.0, {0, 0}},
    };
    int expectedReplays = replays;
    for (const Row& row : rows) {
        SCOPED_TRACE(row.name);
        widget.resize(row.size);
        ++expectedReplays;
        ASSERT_TRUE(waitForReplay(widget));
        EXPECT_EQ(widget.replaysStarted(), expectedReplays);
        EXPECT_EQ(widget.image().size(), row.size);
        EXPECT_DOUBLE_EQ(widget.viewScale(), row.scale);
        EXPECT_EQ(widget.viewOffset(), row.offset);
        // Every painted pixel of the small picture is painted where the scale puts it.
        int missing = 0;
        int painted = 0;
        for (int y = 0; y < small.height(); ++y) {
            for (int x = 0; x < small.width(); ++x) {
                if (small.pixelColor(x, y) == backgroundOf(window)) continue;
                ++painted;
                const QPoint at = row.offset + QPoint(static_cast<int>(x * row.scale), static_cast<int>(y * row.scale));
                missing += widget.image().pixelColor(at) == backgroundOf(window) ? 1 : 0;
            }
        }
        EXPECT_GT(painted, 100);
        EXPECT_EQ(missing, 0);
    }
    EXPECT_EQ(widget.image(), small);

    // A drag on the large window zooms into the same part of the picture as on the small one.
    ErrorFlag twinError;
    GraphicsWindow twin(screen(), twinError);
    twin.Header(0, 0, 160, 120);
    PixelRect ignored;
    twin.FormMouseDown(MouseButton::Left, 100, 100);
    twin.FormMouseMove(300, 250, ignored, ignored);
    twin.FormMouseUp(300, 250, 641, 481);
    widget.resize(1282 + 400, 962);
    ASSERT_TRUE(waitForReplay(widget));
    sendMouse(widget, QEvent::MouseButtonPress, Qt::LeftButton, {400, 200});
    sendMouse(widget, QEvent::MouseMove, Qt::LeftButton, {800, 500});
    sendMouse(widget, QEvent::MouseButtonRelease, Qt::LeftButton, {800, 500});
    EXPECT_EQ(window.scaleRect(), twin.scaleRect());
    widget.hide();
}

TEST_F(ModesFixture, TheSaveEntryAsksForFileAndResolution) {
    window.Header(0, 0, 160, 120);
    window.SetColor(14);
    window.Rectangle(10, 10, 150, 110);
    QTemporaryDir folder;
    ASSERT_TRUE(folder.isValid());
    const std::string png = (folder.path() + QStringLiteral("/bild.png")).toStdString();
    test::TestPrompter prompter;
    widget.setPrompter(&prompter);
    {
        // The context menu's entries, for a person to look at.
        QMenu menu;
        menu.addAction(&action("mi_saveDrawing"));
        menu.addAction(&action("mi_stepMode"));
        menu.adjustSize();
        QDir().mkpath(QDir::tempPath() + QStringLiteral("/pdf-export-shots"));
        menu.grab().save(QDir::tempPath() + QStringLiteral("/pdf-export-shots/context_menu.png"));
    }

    prompter.saveFile(png).type("150").yesNo(true);
    action("mi_saveDrawing").trigger();
    QImageReader reader(QString::fromStdString(png));
    const QImage saved = reader.read();
    ASSERT_FALSE(saved.isNull()) << reader.errorString().toStdString();
    EXPECT_EQ(saved.size(), QSize(1002, 752));  // 641 x 481 at 150 / 96
    EXPECT_EQ(saved.dotsPerMeterX(), 5906);     // 150 dpi
    ASSERT_GE(prompter.log().size(), 2u);
    EXPECT_EQ(prompter.log()[0], "save: Speichern als PDF/SVG/PNG ...");
    EXPECT_EQ(prompter.log()[1].rfind("text: Auflösung (dpi)", 0), 0u) << prompter.log()[1];
    EXPECT_EQ(saved.pixelColor(0, 0), QColor(Qt::white)) << "white background asked for";

    // An extension the window cannot write is said, and nothing is written.
    const std::string bmp = (folder.path() + QStringLiteral("/bild.bmp")).toStdString();
    prompter.saveFile(bmp);
    EXPECT_FALSE(widget.saveDrawingAs());
    EXPECT_EQ(prompter.errors().back(), "Unbekanntes Bildformat (PDF, SVG oder PNG): " + bmp);
    EXPECT_FALSE(QFile::exists(QString::fromStdString(bmp)));

    // Cancelled: no file, no message.
    prompter.cancel(ScriptedPrompter::Kind::SaveFile);
    EXPECT_FALSE(widget.saveDrawingAs());
    EXPECT_EQ(prompter.errors().size(), 1u);
}

} // namespace
} // namespace zam1
