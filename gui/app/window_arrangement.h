#pragma once
// Where the program's windows go on the screen. The graphics window takes the
// top left corner and the main window, little more than its menu strip, lies
// right under it, so that neither hides the other and the picture's last line
// stays in sight. Every other window (dialogs, the help, the report window, Qt's
// own message boxes) is kept wholly on its screen when it is shown.

#include <QMargins>
#include <QObject>
#include <QRect>
#include <QSize>

class QWidget;

namespace zam1 {

// Frame rectangles (title bar and border included) in screen coordinates.
struct WindowArrangement {
    QRect graphics;
    QRect main;
};

// The graphics window as large as wanted but no larger than leaves room for the
// main window's frame under it; the main window below it, both within `room`.
WindowArrangement arrangeWindows(const QRect& room, const QSize& graphicsFrame, const QSize& mainFrame);

// `frame` moved, and shrunk where it is larger, so that it lies wholly within `room`.
QRect fitInto(const QRect& frame, const QRect& room);

// The decoration a window manager puts around a top-level window. Before the
// window was first mapped nobody knows it: a generous title bar and border are
// taken, so that the real frame fits too.
QMargins frameMargins(const QWidget& window);

// The screen's room for windows: its available geometry (without panels).
QRect screenRoom(const QWidget& window);

// Places a top-level window by its frame rectangle (the client size follows).
void placeFrame(QWidget& window, const QRect& frame);

// Watches every top-level window of the application as it is shown and moves it
// (shrinking it if need be) onto its screen. Menus and tool tips place themselves.
class ScreenKeeper final : public QObject {
public:
    explicit ScreenKeeper(QObject* parent = nullptr);

protected:
    bool eventFilter(QObject* watched, QEvent* event) override;
};

} // namespace zam1
