#pragma once
// The graphics window "KorvGraf": a plain widget that shows the core's display
// list. The replay runs from a zero-interval timer in slices into a cached image;
// paintEvent only copies that image (and the rubber band over it). Keys and mouse
// go to the core's window state; whatever changes the view drops a replay under
// way and starts a fresh one.

#include <QImage>
#include <QTimer>
#include <QWidget>

#include <cstddef>
#include <memory>

#include "core/graphics/graphics_window.h"

namespace zam1 {

class ImageCanvas;
class SlicedReplay;

class TFkorvgra final : public QWidget, public WindowHost {
    Q_OBJECT

public:
    static constexpr std::size_t kSliceRecords = 50000;

    explicit TFkorvgra(GraphicsWindow& window, QWidget* parent = nullptr);
    ~TFkorvgra() override;

    GraphicsWindow& window() { return m_window; }
    // Drops a replay under way and starts a fresh one with the next timer tick.
    void startReplay();
    bool replayRunning() const { return m_restartPending || m_replay != nullptr; }
    std::size_t replayPosition() const;
    // How many replays were begun: a test sees that new input started a fresh one.
    int replaysStarted() const { return m_replaysStarted; }
    const QImage& image() const { return m_image; }

    // WindowHost: the core's drawing run asks for a repaint and for the window.
    void invalidate() override { startReplay(); }
    void show() override;
    void setWaitCursor(bool on) override;

signals:
    // A replay has painted the whole list.
    void replayFinished();

protected:
    void paintEvent(QPaintEvent* event) override;
    void keyPressEvent(QKeyEvent* event) override;
    void mousePressEvent(QMouseEvent* event) override;
    void mouseMoveEvent(QMouseEvent* event) override;
    void mouseReleaseEvent(QMouseEvent* event) override;
    void mouseDoubleClickEvent(QMouseEvent* event) override;
    void wheelEvent(QWheelEvent* event) override;

private:
    void replaySlice();
    void stopReplay();
    QSize clientSize() const;

    GraphicsWindow& m_window;
    // Declared in this order so that the replay goes before its canvas, the canvas before its image.
    QImage m_image;
    std::unique_ptr<ImageCanvas> m_canvas;
    std::unique_ptr<SlicedReplay> m_replay;
    QTimer m_timer;
    bool m_restartPending = false;
    int m_replaysStarted = 0;
    PixelRect m_band;
    bool m_bandShown = false;
};

} // namespace zam1
