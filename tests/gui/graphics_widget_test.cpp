// The graphics window widget: Qt keys and mouse reach the core's window state,
// and the timer-driven replay paints the same picture as a replay in one go.
#include <QCoreApplication>
#include <QElapsedTimer>
#include <QMouseEvent>
#include <QPainter>
#include <QTest>
#include <QWheelEvent>

#include <gtest/gtest.h>

#include <algorithm>
#include <cmath>

#include "core/session/program_state.h"
#include "core/graphics/graphics_window.h"
#include "core/graphics/palette.h"
#include "gui/graphics/graphics_widget.h"
#include "gui/graphics/image_canvas.h"
#include "tests/gui/graphics_widget_support.h"

namespace zam1 {
namespace {

struct WidgetFixture : ::testing::Test {
    ErrorFlag error;
    GraphicsWindow window{screen(), error};
    TFkorvgra widget{window};

    void SetUp() override {
        window.Header(0, 0, 160, 120);
        window.SetColor(15);
        window.Rectangle(10, 10, 150, 110);
        window.line(10, 10, 150, 110);
        widget.startReplay();
        ASSERT_TRUE(waitForReplay(widget));
    }

    // The picture a replay in one go paints with the window's present view.
    QImage wholeReplay() {
        QImage image(widget.image().size(), QImage::Format_RGB32);
        const Rgb bg = paletteColour(1);
        image.fill(QColor(bg.r, bg.g, bg.b));
        ImageCanvas canvas(image);
        window.FormPaint(canvas);
        return image;
    }
};

TEST_F(WidgetFixture, EveryKeyReachesTheWindowAsItsVirtualKey) {
    struct Case { Qt::Key key; Qt::KeyboardModifiers modifiers; int windowKey; };
    const Case cases[] = {
        {Qt::Key_Escape, {}, kKeyEscape},    {Qt::Key_F5, {}, kKeyF5},
        {Qt::Key_Left, {}, kKeyLeft},        {Qt::Key_Right, {}, kKeyRight},
        {Qt::Key_Up, {}, kKeyUp},            {Qt::Key_Down, {}, kKeyDown},
        {Qt::Key_PageUp, {}, kKeyPageUp},    {Qt::Key_PageDown, {}, kKeyPageDown},
        {Qt::Key_Plus, Qt::KeypadModifier, kKeyAdd}, {Qt::Key_Minus, Qt::KeypadModifier, kKeySubtract},
        {Qt::Key_Plus, {}, kKeyAdd},         {Qt::Key_Minus, {}, kKeySubtract},  // main keyboard too
    };
    for (const Case& c : cases) {
        // Start off the full view, so that the reset keys change something too.
        window.ResetZoom();
        window.processKey(kKeyDown);
        ErrorFlag twinError;
        GraphicsWindow twin(screen(), twinError);
        twin.Header(0, 0, 160, 120);
        twin.processKey(kKeyDown);
        ASSERT_EQ(twin.scaleRect(), window.scaleRect());
        const PixelRect before = window.scaleRect();
        const int replays = widget.replaysStarted();

        QTest::keyClick(&widget, c.key, c.modifiers);
        twin.processKey(c.windowKey);
        EXPECT_EQ(window.scaleRect(), twin.scaleRect()) << "key " << c.windowKey;
        EXPECT_NE(window.scaleRect(), before) << "key " << c.windowKey;
        ASSERT_TRUE(waitForReplay(widget));
        EXPECT_EQ(widget.replaysStarted(), replays + 1) << "key " << c.windowKey;
    }
    const PixelRect before = window.scaleRect();
    const int replays = widget.replaysStarted();
    QTest::keyClick(&widget, Qt::Key_A);
    QTest::keyClick(&widget, Qt::Key_Home);
    EXPECT_EQ(window.scaleRect(), before);
    EXPECT_FALSE(widget.replayRunning());
    EXPECT_EQ(widget.replaysStarted(), replays);
}

TEST_F(WidgetFixture, TheTimerReplayPaintsWhatAReplayInOneGoPaints) {
    QTest::keyClick(&widget, Qt::Key_Plus);
    ASSERT_TRUE(waitForReplay(widget));
    const QImage expected = wholeReplay();
    EXPECT_EQ(widget.image(), expected);
    const Rgb bg = paletteColour(1);
    int drawn = 0;
    for (int y = 0; y < expected.height(); ++y) {
        for (int x = 0; x < expected.width(); ++x) drawn += expected.pixelColor(x, y) != QColor(bg.r, bg.g, bg.b);
    }
    EXPECT_GT(drawn, 1000);  // the rectangle and its diagonal
    // The widget shows exactly its image.
    EXPECT_EQ(widget.grab().toImage().convertToFormat(QImage::Format_RGB32).copy(expected.rect()), expected);
}

TEST_F(WidgetFixture, ADragShowsTheBandAndZoomsIntoIt) {
    const long double kx = window.kx();
    sendMouse(widget, QEvent::MouseButtonPress, Qt::LeftButton, {100, 100});
    sendMouse(widget, QEvent::MouseMove, Qt::LeftButton, {300, 250});
    EXPECT_TRUE(window.rubberBandActive());
    // The band is drawn over the picture, the image itself stays untouched.
    const QImage shown = widget.grab().toImage();
    EXPECT_NE(shown.pixelColor(101, 100), widget.image().pixelColor(101, 100));
    sendMouse(widget, QEvent::MouseButtonRelease, Qt::LeftButton, {300, 250});
    EXPECT_FALSE(window.rubberBandActive());
    EXPECT_GT(window.kx(), 2 * kx);
    ASSERT_TRUE(waitForReplay(widget));
    EXPECT_EQ(widget.grab().toImage().pixelColor(101, 100), widget.image().pixelColor(101, 100));
}

TEST_F(WidgetFixture, RightClickAndDoubleClickThenClickRestoreTheView) {
    const PixelRect full = window.scaleRect();
    QTest::keyClick(&widget, Qt::Key_Plus);
    sendMouse(widget, QEvent::MouseButtonPress, Qt::RightButton, {50, 50});
    EXPECT_EQ(window.scaleRect(), full);

    QTest::keyClick(&widget, Qt::Key_Plus);
    QTest::keyClick(&widget, Qt::Key_Left);
    // A double click as Qt delivers it: press, release, double click, release; then a click.
    sendMouse(widget, QEvent::MouseButtonPress, Qt::LeftButton, {50, 50});
    sendMouse(widget, QEvent::MouseButtonRelease, Qt::LeftButton, {50, 50});
    sendMouse(widget, QEvent::MouseButtonDblClick, Qt::LeftButton, {50, 50});
    sendMouse(widget, QEvent::MouseButtonRelease, Qt::LeftButton, {50, 50});
    const int replays = widget.replaysStarted();
    sendMouse(widget, QEvent::MouseButtonPress, Qt::LeftButton, {50, 50});
    EXPECT_FALSE(window.rubberBandActive());
    EXPECT_EQ(window.scaleRect(), window.viewport());  // the full extent
    ASSERT_TRUE(waitForReplay(widget));
    EXPECT_EQ(widget.replaysStarted(), replays + 1);
}

TEST_F(WidgetFixture, TheWheelZoomsAboutTheCursor) {
    const long double kx = window.kx();
    sendWheel(widget, {500, 100}, 120);
    EXPECT_GT(window.kx(), kx);
    ASSERT_TRUE(waitForReplay(widget));
    sendWheel(widget, {500, 100}, -120);
    sendWheel(widget, {500, 100}, -120);
    EXPECT_LT(window.kx(), kx);
}

TEST_F(WidgetFixture, AKeyDuringALongReplayStartsAFreshOne) {
    window.Header(0, 0, 160, 120);
    for (int i = 0; i < 3 * static_cast<int>(TFkorvgra::kSliceRecords); ++i) window.line(i % 160, 0, 160 - i % 160, 120);
    widget.startReplay();
    while (widget.replayPosition() == 0) QCoreApplication::processEvents();
    EXPECT_EQ(widget.replayPosition(), TFkorvgra::kSliceRecords);  // one slice per timer tick
    const int replays = widget.replaysStarted();

    QTest::keyClick(&widget, Qt::Key_Plus);
    EXPECT_TRUE(widget.replayRunning());
    EXPECT_EQ(widget.replayPosition(), 0u);  // the partial one is dropped
    ASSERT_TRUE(waitForReplay(widget));
    EXPECT_EQ(widget.replaysStarted(), replays + 1);
    EXPECT_EQ(widget.image(), wholeReplay());  // the fresh one shows the zoomed view whole
}

// The drawn pixels of a picture: the box round everything that is not background.
QRect drawnArea(const QImage& image, QColor background) {
    QRect area;
    for (int y = 0; y < image.height(); ++y) {
        for (int x = 0; x < image.width(); ++x) {
            if (image.pixelColor(x, y) != background) area |= QRect(x, y, 1, 1);
        }
    }
    return area;
}

// A drag round a circle on the screen shows that circle in the middle of the
// picture, whatever the configured resolution and the widget's own shape.
TEST(GraphicsWidget, ADragRoundACircleShowsItInTheMiddle) {
    struct Case { int w, h; QSize widget; };
    const Case cases[] = {
        {640, 480, {641, 481}}, {640, 480, {1000, 500}}, {1592, 1110, {800, 900}}, {800, 800, {700, 400}},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(testing::Message() << c.w << "x" << c.h << " in " << c.widget.width() << "x" << c.widget.height());
        WindowSettings settings = screen();
        settings.width = c.w;
        settings.height = c.h;
        ErrorFlag error;
        GraphicsWindow window(settings, error);
        TFkorvgra widget(window);
        widget.resize(c.widget);
        window.Header(0, 0, 160, 120);
        window.Header(0, 0, 297, 210);
        window.SetColor(15);
        window.circle(60, 150, 8);
        window.circle(200, 60, 8);  // another one, away from the box
        widget.startReplay();
        ASSERT_TRUE(waitForReplay(widget));
        const Rgb bg = paletteColour(1);
        const QColor background(bg.r, bg.g, bg.b);

        // The user's box: a few pixels round the first circle as it is shown.
        const QPoint centre = widget.viewOffset() + QPoint(static_cast<int>(std::lround(window.pixelX(60) * widget.viewScale())),
                                                           static_cast<int>(std::lround(window.pixelY(150) * widget.viewScale())));
        const int radius = static_cast<int>(std::lround((window.pixelX(68) - window.pixelX(60)) * widget.viewScale())) + 4;
        sendMouse(widget, QEvent::MouseButtonPress, Qt::LeftButton, centre - QPoint(radius, radius));
        sendMouse(widget, QEvent::MouseMove, Qt::LeftButton, centre + QPoint(radius, radius));
        sendMouse(widget, QEvent::MouseButtonRelease, Qt::LeftButton, centre + QPoint(radius, radius));
        ASSERT_TRUE(waitForReplay(widget));

        // With ZAM1_SHOTS_DIR set, the zoomed picture is kept for a look.
        if (const QByteArray dir = qgetenv("ZAM1_SHOTS_DIR"); !dir.isEmpty()) {
            widget.image().save(QString::fromLocal8Bit(dir) + QStringLiteral("/rubber_band_%1x%2.png").arg(c.widget.width()).arg(c.widget.height()));
        }
        const QSize list(c.w + 1, c.h + 1);
        const QRect shown(widget.viewOffset(), list * widget.viewScale());
        const QRect circle = drawnArea(widget.image(), background);
        ASSERT_FALSE(circle.isEmpty());
        EXPECT_NEAR(circle.center().x(), shown.center().x(), 0.03 * shown.width() + 2);
        EXPECT_NEAR(circle.center().y(), shown.center().y(), 0.03 * shown.height() + 2);
        EXPECT_TRUE(shown.contains(circle));
        // The circle fills the view's smaller side, less the margin of the box.
        EXPECT_GT(std::max(circle.width(), circle.height()), 0.7 * std::min(shown.width(), shown.height()));
    }
}

} // namespace
} // namespace zam1
