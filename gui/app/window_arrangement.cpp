#include "gui/app/window_arrangement.h"

#include <QApplication>
#include <QEvent>
#include <QGuiApplication>
#include <QScreen>
#include <QWidget>

#include <algorithm>

namespace zam1 {
namespace {

// A title bar and a border as the common window managers draw them, a little more.
constexpr QMargins kAssumedFrame(6, 32, 6, 6);

bool placedByUs(const QWidget& w) {
    if (!w.isWindow()) return false;
    const Qt::WindowType type = w.windowType();
    return type == Qt::Window || type == Qt::Dialog || type == Qt::Tool || type == Qt::SplashScreen;
}

} // namespace

WindowArrangement arrangeWindows(const QRect& room, const QSize& graphicsFrame, const QSize& mainFrame) {
    WindowArrangement a;
    const int mainHeight = std::min(mainFrame.height(), room.height());
    const int graphicsHeight = std::clamp(graphicsFrame.height(), 1, std::max(1, room.height() - mainHeight));
    a.graphics = QRect(room.topLeft(), QSize(std::min(graphicsFrame.width(), room.width()), graphicsHeight));
    a.main = QRect(QPoint(room.left(), a.graphics.bottom() + 1), QSize(std::min(mainFrame.width(), room.width()), mainHeight));
    // A graphics window shorter than wanted leaves the main window where the room ends.
    if (a.main.bottom() > room.bottom()) a.main.moveBottom(room.bottom());
    return a;
}

QRect fitInto(const QRect& frame, const QRect& room) {
    QRect r(frame.topLeft(), frame.size().boundedTo(room.size()));
    if (r.right() > room.right()) r.moveRight(room.right());
    if (r.bottom() > room.bottom()) r.moveBottom(room.bottom());
    if (r.left() < room.left()) r.moveLeft(room.left());
    if (r.top() < room.top()) r.moveTop(room.top());
    return r;
}

QMargins frameMargins(const QWidget& window) {
    if (window.windowFlags() & Qt::FramelessWindowHint) return {};
    const QRect frame = window.frameGeometry();
    const QRect client = window.geometry();
    const QMargins known(client.left() - frame.left(), client.top() - frame.top(), frame.right() - client.right(),
                         frame.bottom() - client.bottom());
    if (window.isVisible() && !known.isNull()) return known;
    return kAssumedFrame;
}

QRect screenRoom(const QWidget& window) {
    const QScreen* screen = window.screen();
    if (!screen) screen = QGuiApplication::primaryScreen();
    return screen ? screen->availableGeometry() : QRect(0, 0, 1024, 768);
}

void placeFrame(QWidget& window, const QRect& frame) {
    const QMargins m = frameMargins(window);
    const QSize client = (frame.size() - QSize(m.left() + m.right(), m.top() + m.bottom()))
                             .expandedTo(window.minimumSize())
                             .expandedTo(QSize(1, 1));
    window.resize(client);
    // A window's position is that of its frame; the decoration is added inside it.
    window.move(frame.topLeft());
}

ScreenKeeper::ScreenKeeper(QObject* parent) : QObject(parent) {
    if (qApp) qApp->installEventFilter(this);
}

bool ScreenKeeper::eventFilter(QObject* watched, QEvent* event) {
    if (event->type() != QEvent::Show || !watched->isWidgetType()) return false;
    auto* window = static_cast<QWidget*>(watched);
    if (!placedByUs(*window)) return false;
    // The position is the frame's (before the first show Qt knows no frame and
    // puts the client there); the frame's size is the client's and the decoration.
    const QMargins m = frameMargins(*window);
    const QRect frame(window->frameGeometry().topLeft(), window->size().grownBy(m));
    const QRect room = screenRoom(*window);
    if (!room.contains(frame)) placeFrame(*window, fitInto(frame, room));
    return false;
}

} // namespace zam1
