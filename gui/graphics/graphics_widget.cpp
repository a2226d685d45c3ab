#include "gui/graphics/graphics_widget.h"

#include <QKeyEvent>
#include <QMouseEvent>
#include <QPainter>
#include <QWheelEvent>

#include <algorithm>

#include "core/graphics/palette.h"
#include "core/graphics/replay.h"
#include "gui/graphics/image_canvas.h"

namespace zam1 {
namespace {

// The virtual key of the core for a Qt key; 0 for keys the window ignores. Plus
// and minus count from the keypad and from the main keyboard alike.
int windowKey(int qtKey) {
    switch (qtKey) {
    case Qt::Key_Escape: return kKeyEscape;
    case Qt::Key_F5: return kKeyF5;
    case Qt::Key_Left: return kKeyLeft;
    case Qt::Key_Right: return kKeyRight;
    case Qt::Key_Up: return kKeyUp;
    case Qt::Key_Down: return kKeyDown;
    case Qt::Key_PageUp: return kKeyPageUp;
    case Qt::Key_PageDown: return kKeyPageDown;
    case Qt::Key_Plus: return kKeyAdd;
    case Qt::Key_Minus: return kKeySubtract;
    default: return 0;
    }
}

QRect bandRect(const PixelRect& r) {
    return QRect(QPoint(std::min(r.x0, r.x1), std::min(r.y0, r.y1)), QPoint(std::max(r.x0, r.x1), std::max(r.y0, r.y1)));
}

} // namespace

TFkorvgra::TFkorvgra(GraphicsWindow& window, QWidget* parent) : QWidget(parent), m_window(window) {
    setObjectName(QStringLiteral("FKorvgra"));
    setWindowTitle(QStringLiteral("KorvGraf"));
    setFocusPolicy(Qt::StrongFocus);
    setAttribute(Qt::WA_OpaquePaintEvent);
    m_timer.setInterval(0);
    connect(&m_timer, &QTimer::timeout, this, &TFkorvgra::replaySlice);
    m_window.setHost(this);
    resize(clientSize());
}

TFkorvgra::~TFkorvgra() {
    stopReplay();
    m_window.setHost(nullptr);
}

QSize TFkorvgra::clientSize() const {
    // The list's pixels are those of a client area of (W + 1) x (H + 1).
    return {m_window.settings().width + 1, m_window.settings().height + 1};
}

std::size_t TFkorvgra::replayPosition() const { return m_replay ? m_replay->position() : 0; }

void TFkorvgra::stopReplay() {
    m_replay.reset();
    m_canvas.reset();
    m_timer.stop();
}

void TFkorvgra::startReplay() {
    stopReplay();
    m_restartPending = true;
    m_timer.start();
}

void TFkorvgra::replaySlice() {
    if (m_restartPending) {
        m_restartPending = false;
        ++m_replaysStarted;
        const Rgb bg = paletteColour(m_window.settings().backgroundColour);
        m_image = QImage(clientSize(), QImage::Format_RGB32);
        m_image.fill(QColor(bg.r, bg.g, bg.b));
        m_canvas = std::make_unique<ImageCanvas>(m_image);
        m_replay = std::make_unique<SlicedReplay>(m_window, *m_canvas);
    }
    if (!m_replay) {
        m_timer.stop();
        return;
    }
    const bool more = m_replay->step(kSliceRecords);
    if (!more) {
        stopReplay();
        setWaitCursor(false);
        emit replayFinished();
    }
    update();
}

void TFkorvgra::show() {
    QWidget::show();
    raise();
}

void TFkorvgra::setWaitCursor(bool on) {
    if (on) {
        setCursor(Qt::WaitCursor);
    } else {
        unsetCursor();
    }
}

void TFkorvgra::paintEvent(QPaintEvent*) {
    QPainter painter(this);
    const Rgb bg = paletteColour(m_window.settings().backgroundColour);
    painter.fillRect(rect(), QColor(bg.r, bg.g, bg.b));
    painter.drawImage(0, 0, m_image);
    if (m_bandShown) {
        // Drawn over the picture, so nothing needs erasing when the band moves.
        painter.setPen(QPen(Qt::white, 1, Qt::DashLine));
        painter.setBrush(Qt::NoBrush);
        painter.drawRect(bandRect(m_band));
    }
}

void TFkorvgra::keyPressEvent(QKeyEvent* event) {
    const int key = windowKey(event->key());
    if (key != 0 && m_window.processKey(key)) {
        startReplay();
        return;
    }
    QWidget::keyPressEvent(event);
}

void TFkorvgra::mousePressEvent(QMouseEvent* event) {
    const QPoint p = event->position().toPoint();
    MouseButton button = MouseButton::Middle;
    if (event->button() == Qt::LeftButton) button = MouseButton::Left;
    if (event->button() == Qt::RightButton) button = MouseButton::Right;
    if (m_window.FormMouseDown(button, p.x(), p.y())) startReplay();
}

void TFkorvgra::mouseMoveEvent(QMouseEvent* event) {
    const QPoint p = event->position().toPoint();
    PixelRect erase;
    if (m_window.FormMouseMove(p.x(), p.y(), erase, m_band)) {
        m_bandShown = true;
        update();
    }
}

void TFkorvgra::mouseReleaseEvent(QMouseEvent* event) {
    const QPoint p = event->position().toPoint();
    m_bandShown = false;
    const QSize client = clientSize();
    if (m_window.FormMouseUp(p.x(), p.y(), client.width(), client.height())) {
        startReplay();
    } else {
        update();
    }
}

void TFkorvgra::mouseDoubleClickEvent(QMouseEvent*) { m_window.FormDblClick(); }

void TFkorvgra::wheelEvent(QWheelEvent* event) {
    const int delta = event->angleDelta().y();
    const QPoint p = event->position().toPoint();
    if (delta != 0 && m_window.zoomAbout(p.x(), p.y(), delta > 0)) startReplay();
    event->accept();
}

} // namespace zam1
