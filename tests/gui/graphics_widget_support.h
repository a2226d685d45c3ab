#pragma once
// What the graphics window's tests share: a 640 x 480 window, waiting for the
// timer-driven replay, and mouse and wheel events as Qt delivers them.
#include <QCoreApplication>
#include <QElapsedTimer>
#include <QMouseEvent>
#include <QWheelEvent>

#include "core/graphics/graphics_window.h"
#include "gui/graphics/graphics_widget.h"

namespace zam1 {

inline WindowSettings screen() {
    WindowSettings s;
    s.width = 640;
    s.height = 480;
    s.zoomFactor = 1.2L;
    s.panFactor = 0.1L;
    s.backgroundColour = 1;
    return s;
}

inline bool waitForReplay(const TFkorvgra& w) {
    QElapsedTimer t;
    t.start();
    while (w.replayRunning() && t.elapsed() < 120000) QCoreApplication::processEvents();  // a loaded machine with sanitizers is slow
    return !w.replayRunning();
}

inline void sendMouse(QWidget& w, QEvent::Type type, Qt::MouseButton button, QPoint at) {
    const Qt::MouseButtons held = type == QEvent::MouseButtonRelease ? Qt::NoButton : Qt::MouseButtons(button);
    QMouseEvent e(type, QPointF(at), w.mapToGlobal(QPointF(at)), type == QEvent::MouseMove ? Qt::NoButton : button,
                  held, Qt::NoModifier);
    QCoreApplication::sendEvent(&w, &e);
}

inline void sendWheel(QWidget& w, QPoint at, int delta) {
    QWheelEvent e(QPointF(at), w.mapToGlobal(QPointF(at)), QPoint(), QPoint(0, delta), Qt::NoButton, Qt::NoModifier,
                  Qt::NoScrollPhase, false);
    QCoreApplication::sendEvent(&w, &e);
}

} // namespace zam1
