#pragma once
// The graphics window "KorvGraf": a plain widget that shows the core's display
// list. The replay runs from a zero-interval timer in slices into a cached image;
// paintEvent only copies that image (and the rubber band over it). Keys and mouse
// go to the core's window state; whatever changes the view drops a replay under
// way and starts a fresh one.
//
// The picture keeps the proportions of the configured W x H client area and is
// scaled to fit the widget, so the view follows when the window is resized;
// mouse positions are mapped back to the list's pixels. In step mode the replay
// waits in front of each erase colour and the step dialog asks how to go on.
// The context menu (Shift + right button, or the menu key) saves the picture as
// PDF, SVG or PNG and switches step mode.
//
// Every handler that calls the core (the replay's timer, keys, mouse, the
// context menu's entries) runs under the event guard: an exception becomes the
// program's error message and never reaches Qt's event loop.

#include <QAction>
#include <QImage>
#include <QTimer>
#include <QWidget>

#include <cstddef>
#include <functional>
#include <memory>

#include "core/graphics/graphics_window.h"
#include "gui/graphics/drawing_export.h"

namespace zam1 {

class ImageCanvas;
class Prompter;
class ReadableCanvas;
class SlicedReplay;
class StepDialog;

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

    // The prompter that asks for the file and resolution of a saved picture;
    // without one the save entry does nothing.
    void setPrompter(Prompter* prompter) { m_prompter = prompter; }
    // Runs a handler's call into the core; false when it threw (the guard has told
    // the user). Until one is set, the message goes to the prompter.
    using EventGuard = std::function<bool(const std::function<void()>&)>;
    void setEventGuard(EventGuard guard) { m_guard = std::move(guard); }
    // "Speichern als PDF/SVG/PNG ..." (Ctrl+S, context menu): asks for the file
    // (the extension picks the format) and, for PNG, the resolution; true when saved.
    bool saveDrawingAs();
    // "Schrittmodus" (Ctrl+T, context menu): the replay pauses at each erase colour.
    void setStepMode(bool on);
    // The step dialog while a replay waits in it, else null.
    StepDialog* stepDialog() const;
    // The scale and offset of the list's pixels in the widget.
    double viewScale() const { return m_viewScale; }
    QPoint viewOffset() const { return m_viewOffset; }
    // A drawing whose texts reach past the window's edge is shown a little
    // smaller so that all of it is in sight: the scale (1 when it fits) and the
    // shift, in the list's pixels, measured on its first full picture.
    double fitScale() const { return m_fit.scale; }
    QPointF fitOffset() const { return m_fit.offset; }

    // WindowHost: the core's drawing run asks for a repaint and for the window.
    void invalidate() override { startReplay(); }
    void show() override;
    void setWaitCursor(bool on) override;

signals:
    // A replay has painted the whole list.
    void replayFinished();
    // A drawing run brought the window up with its picture.
    void pictureShown();

protected:
    void paintEvent(QPaintEvent* event) override;
    void keyPressEvent(QKeyEvent* event) override;
    void mousePressEvent(QMouseEvent* event) override;
    void mouseMoveEvent(QMouseEvent* event) override;
    void mouseReleaseEvent(QMouseEvent* event) override;
    void mouseDoubleClickEvent(QMouseEvent* event) override;
    void wheelEvent(QWheelEvent* event) override;
    void resizeEvent(QResizeEvent* event) override;
    void contextMenuEvent(QContextMenuEvent* event) override;

private:
    bool guarded(const std::function<void()>& handler);
    void replayTick();
    void replaySlice();
    void stopReplay();
    void beginReplay();
    void askStep();
    void stepChosen(bool runToEnd);
    QSize clientSize() const;
    // A widget position in the pixels of the display list.
    QPoint listPixel(QPoint widgetPos) const;
    QRect widgetRect(const PixelRect& listRect) const;
    // After the first full picture of a drawing: true when it must be drawn again smaller.
    bool refit();

    GraphicsWindow& m_window;
    // Declared in this order so that the replay goes before its canvas, the canvas before its image.
    QImage m_image;
    std::unique_ptr<ImageCanvas> m_canvas;
    std::unique_ptr<ReadableCanvas> m_readable;
    std::unique_ptr<SlicedReplay> m_replay;
    QTimer m_timer;
    bool m_restartPending = false;
    int m_replaysStarted = 0;
    PixelRect m_band;
    bool m_bandShown = false;
    double m_viewScale = 1.0;
    QPoint m_viewOffset;
    DrawingFit m_fit;
    unsigned long m_fitDrawing = ~0UL;  // the drawing the fit was measured on
    bool m_fitMeasured = false;
    Prompter* m_prompter = nullptr;
    EventGuard m_guard;
    int m_exportDpi = 300;
    DrawingLook m_exportLook;  // the paper and background asked for last
    bool m_exporting = false;  // a save replays the list: the screen's slices wait
    QAction* m_saveAction = nullptr;
    QAction* m_stepAction = nullptr;
    StepDialog* m_stepDialog = nullptr;  // child of this widget, created on first use
};

} // namespace zam1
