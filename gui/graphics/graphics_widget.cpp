#include "gui/graphics/graphics_widget.h"

#include <QContextMenuEvent>
#include <QKeyEvent>
#include <QMenu>
#include <QMouseEvent>
#include <QPainter>
#include <QProgressDialog>
#include <QSignalBlocker>
#include <QWheelEvent>

#include <algorithm>
#include <cmath>
#include <limits>

#include "core/app/command_guard.h"
#include "core/graphics/palette.h"
#include "core/graphics/replay.h"
#include "core/platform/prompter.h"
#include "core/text/codepage.h"
#include "gui/graphics/drawing_export.h"
#include "gui/graphics/image_canvas.h"
#include "gui/graphics/step_dialog.h"

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
    connect(&m_timer, &QTimer::timeout, this, &TFkorvgra::replayTick);
    m_window.setHost(this);
    resize(clientSize());

    m_saveAction = new QAction(QStringLiteral("Speichern als PDF/SVG/PNG ..."), this);
    m_saveAction->setObjectName(QStringLiteral("mi_saveDrawing"));
    m_saveAction->setShortcut(QKeySequence(Qt::CTRL | Qt::Key_S));
    connect(m_saveAction, &QAction::triggered, this, [this] { guarded([this] { saveDrawingAs(); }); });
    m_stepAction = new QAction(QStringLiteral("Schrittmodus"), this);
    m_stepAction->setObjectName(QStringLiteral("mi_stepMode"));
    m_stepAction->setShortcut(QKeySequence(Qt::CTRL | Qt::Key_T));
    m_stepAction->setCheckable(true);
    connect(m_stepAction, &QAction::toggled, this, [this](bool on) { guarded([this, on] { setStepMode(on); }); });
    addAction(m_saveAction);
    addAction(m_stepAction);
}

TFkorvgra::~TFkorvgra() {
    stopReplay();
    m_window.setHost(nullptr);
}

QSize TFkorvgra::clientSize() const {
    // The list's pixels are those of a client area of (W + 1) x (H + 1).
    return {m_window.settings().width + 1, m_window.settings().height + 1};
}

bool TFkorvgra::guarded(const std::function<void()>& handler) {
    if (m_guard) return m_guard(handler);
    return runGuarded(m_prompter, nullptr, handler);
}

std::size_t TFkorvgra::replayPosition() const { return m_replay ? m_replay->position() : 0; }

void TFkorvgra::stopReplay() {
    m_replay.reset();
    m_readable.reset();
    m_canvas.reset();
    m_timer.stop();
    if (m_stepDialog) m_stepDialog->hide();
}

void TFkorvgra::startReplay() {
    stopReplay();
    m_restartPending = true;
    m_timer.start();
}

// A fresh image of the widget's size with the list's W x H area scaled to fit
// and centred; a canvas that paints the list into it.
void TFkorvgra::beginReplay() {
    const QSize list = clientSize();
    QSize area = size();
    if (area.isEmpty()) area = list;
    m_viewScale = std::min(static_cast<double>(area.width()) / list.width(),
                           static_cast<double>(area.height()) / list.height());
    if (!(m_viewScale > 0)) m_viewScale = 1.0;
    const QSize shown(static_cast<int>(std::lround(list.width() * m_viewScale)),
                      static_cast<int>(std::lround(list.height() * m_viewScale)));
    m_viewOffset = QPoint(std::max(0, (area.width() - shown.width()) / 2), std::max(0, (area.height() - shown.height()) / 2));
    const Rgb bg = paletteColour(m_window.settings().backgroundColour);
    m_image = QImage(area, QImage::Format_RGB32);
    m_image.fill(QColor(bg.r, bg.g, bg.b));
    // A new drawing is measured afresh; zooming keeps the fit of its drawing.
    if (m_window.drawingCount() != m_fitDrawing) {
        m_fitDrawing = m_window.drawingCount();
        m_fit = DrawingFit{};
        m_fitMeasured = false;
    }
    m_canvas = std::make_unique<ImageCanvas>(static_cast<QPaintDevice&>(m_image), 1.0);
    QPainter& painter = m_canvas->painter();
    painter.translate(m_viewOffset);
    if (m_viewScale != 1.0) painter.scale(m_viewScale, m_viewScale);
    painter.translate(m_fit.offset);
    if (m_fit.scale != 1.0) painter.scale(m_fit.scale, m_fit.scale);
    m_canvas->placeTexts(QRect(QPoint(0, 0), list));
    m_readable = std::make_unique<ReadableCanvas>(*m_canvas, bg);
    m_replay = std::make_unique<SlicedReplay>(m_window, *m_readable);
}

bool TFkorvgra::refit() {
    if (m_fitMeasured || !m_canvas) return false;
    m_fitMeasured = true;
    const DrawingFit fit = fitExtent(m_canvas->paintedExtent(), QRect(QPoint(0, 0), clientSize()));
    if (fit == m_fit) return false;
    m_fit = fit;
    return true;
}

// A replay that failed is dropped, or the next tick would fail again at once.
void TFkorvgra::replayTick() {
    if (guarded([this] { replaySlice(); })) return;
    stopReplay();
    setWaitCursor(false);
    update();
}

void TFkorvgra::replaySlice() {
    // Both replays move the window's mapping: the screen's waits for the save's.
    if (m_exporting) return;
    if (m_restartPending) {
        m_restartPending = false;
        ++m_replaysStarted;
        beginReplay();
    }
    if (!m_replay) {
        m_timer.stop();
        return;
    }
    const bool more = m_replay->step(kSliceRecords);
    if (more && m_replay->waitingForStep()) {
        // The dialog is asked from here, between two slices, never from a paint event.
        m_timer.stop();
        update();
        askStep();
        return;
    }
    if (!more) {
        if (m_replay->complete() && refit()) {
            // Texts reached past the edge: the same drawing once more, a little smaller.
            startReplay();
            return;
        }
        stopReplay();
        setWaitCursor(false);
        emit replayFinished();
    }
    update();
}

void TFkorvgra::askStep() {
    if (!m_stepDialog) {
        m_stepDialog = new StepDialog(this);
        connect(m_stepDialog, &StepDialog::stepChosen, this,
                [this](bool runToEnd) { guarded([this, runToEnd] { stepChosen(runToEnd); }); });
    }
    m_stepDialog->show();
    m_stepDialog->raise();
}

StepDialog* TFkorvgra::stepDialog() const { return m_stepDialog && m_stepDialog->isVisible() ? m_stepDialog : nullptr; }

void TFkorvgra::stepChosen(bool runToEnd) {
    if (runToEnd) setStepMode(false);
    if (!m_replay) return;
    m_replay->continueStep();
    m_timer.start();
}

void TFkorvgra::setStepMode(bool on) {
    m_window.setStepMode(on);
    const QSignalBlocker quiet(m_stepAction);
    m_stepAction->setChecked(on);
}

bool TFkorvgra::saveDrawingAs() {
    if (!m_prompter) return false;
    const FileChoice choice{utf8ToOem("Speichern als PDF/SVG/PNG ..."), "PDF|*.pdf|SVG|*.svg|PNG|*.png", {}, "png", false};
    std::string path;
    if (!m_prompter->chooseSaveFile(choice, path)) return false;
    const std::optional<DrawingExportFormat> format = drawingFormatOf(path);
    if (!format) {
        m_prompter->showError(utf8ToOem("Unbekanntes Bildformat (PDF, SVG oder PNG): " + path));
        return false;
    }
    if (*format == DrawingExportFormat::Png) {
        long long dpi = m_exportDpi;
        if (!askInteger(*m_prompter, utf8ToOem("Auflösung (dpi)"), dpi, kMinimumExportDpi, kMaximumExportDpi)) return false;
        m_exportDpi = static_cast<int>(dpi);
    }
    if (*format == DrawingExportFormat::Pdf) {
        int paper = static_cast<int>(m_exportLook.paper) + 1;
        if (!m_prompter->askChoice(utf8ToOem("Papier"), {utf8ToOem("Fenstergröße"), "A4", "A3"}, paper)) return false;
        m_exportLook.paper = static_cast<DrawingPaper>(std::clamp(paper, 1, 3) - 1);
    }
    // Dark lines on white as printed, unless the screen's background is asked for.
    if (!m_prompter->askYesNo(utf8ToOem("weißer Hintergrund"), m_exportLook.whiteBackground)) return false;
    // The saved picture replays the list in one go; a replay under way starts afresh after it.
    const bool wasRunning = replayRunning();
    stopReplay();
    // A large drawing takes a while: a progress dialog after half a second, with Abbrechen.
    QProgressDialog progress(this);
    progress.setObjectName(QStringLiteral("ExportProgress"));
    progress.setWindowModality(Qt::ApplicationModal);
    progress.setLabelText(QStringLiteral("Speichern: ") + QString::fromStdString(path));
    progress.setCancelButtonText(QStringLiteral("Abbrechen"));
    progress.setMinimumDuration(500);
    progress.setAutoClose(false);
    progress.setAutoReset(false);
    const ExportProgress report = [&progress](std::size_t done, std::size_t total) {
        const std::size_t most = static_cast<std::size_t>(std::numeric_limits<int>::max());
        progress.setMaximum(static_cast<int>(std::min(total, most)));
        progress.setValue(static_cast<int>(std::min({done, total, most})));  // lets events through
        return !progress.wasCanceled();
    };
    m_exportLook.fit = m_fit;
    bool saved = false;
    {
        // The screen's replay resumes also when the export throws.
        struct Exporting {
            bool& flag;
            explicit Exporting(bool& f) : flag(f) { flag = true; }
            ~Exporting() { flag = false; }
        } exporting(m_exporting);
        saved = exportDrawing(m_window, path, *format, m_exportDpi, report, m_exportLook);
    }
    const bool cancelled = progress.wasCanceled();
    progress.close();
    if (wasRunning) startReplay();
    if (!saved && !cancelled) m_prompter->showError(utf8ToOem("Datei konnte nicht geschrieben werden: " + path));
    return saved;
}

QPoint TFkorvgra::listPixel(QPoint widgetPos) const {
    const QPointF p = (QPointF(widgetPos - m_viewOffset) / m_viewScale - m_fit.offset) / m_fit.scale;
    return {static_cast<int>(std::lround(p.x())), static_cast<int>(std::lround(p.y()))};
}

QRect TFkorvgra::widgetRect(const PixelRect& r) const {
    const QRect band = bandRect(r);
    const auto at = [this](QPoint p) {
        const QPointF fitted = QPointF(p) * m_fit.scale + m_fit.offset;
        return m_viewOffset + QPoint(static_cast<int>(std::lround(fitted.x() * m_viewScale)),
                                     static_cast<int>(std::lround(fitted.y() * m_viewScale)));
    };
    return QRect(at(band.topLeft()), at(band.bottomRight()));
}

void TFkorvgra::show() {
    QWidget::show();
    raise();
    emit pictureShown();
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
        painter.drawRect(widgetRect(m_band));
    }
}

void TFkorvgra::keyPressEvent(QKeyEvent* event) {
    const int key = windowKey(event->key());
    bool used = false;
    if (key != 0) guarded([&] { used = m_window.processKey(key); });
    if (used) {
        startReplay();
        return;
    }
    QWidget::keyPressEvent(event);
}

void TFkorvgra::mousePressEvent(QMouseEvent* event) {
    // Shift + right button opens the context menu instead of resetting the zoom.
    if (event->button() == Qt::RightButton && (event->modifiers() & Qt::ShiftModifier)) return;
    const QPoint p = listPixel(event->position().toPoint());
    MouseButton button = MouseButton::Middle;
    if (event->button() == Qt::LeftButton) button = MouseButton::Left;
    if (event->button() == Qt::RightButton) button = MouseButton::Right;
    guarded([&] {
        if (m_window.FormMouseDown(button, p.x(), p.y())) startReplay();
    });
}

void TFkorvgra::mouseMoveEvent(QMouseEvent* event) {
    const QPoint p = listPixel(event->position().toPoint());
    guarded([&] {
        PixelRect erase;
        if (m_window.FormMouseMove(p.x(), p.y(), erase, m_band)) {
            m_bandShown = true;
            update();
        }
    });
}

void TFkorvgra::mouseReleaseEvent(QMouseEvent* event) {
    const QPoint p = listPixel(event->position().toPoint());
    m_bandShown = false;
    const QSize client = clientSize();
    bool zoomed = false;
    guarded([&] { zoomed = m_window.FormMouseUp(p.x(), p.y(), client.width(), client.height()); });
    if (zoomed) {
        startReplay();
    } else {
        update();
    }
}

void TFkorvgra::mouseDoubleClickEvent(QMouseEvent*) {
    guarded([this] { m_window.FormDblClick(); });
}

void TFkorvgra::wheelEvent(QWheelEvent* event) {
    const int delta = event->angleDelta().y();
    const QPoint p = listPixel(event->position().toPoint());
    guarded([&] {
        if (delta != 0 && m_window.zoomAbout(p.x(), p.y(), delta > 0)) startReplay();
    });
    event->accept();
}

void TFkorvgra::resizeEvent(QResizeEvent* event) {
    QWidget::resizeEvent(event);
    // The view follows the new size; the first show of an unpainted window needs no extra replay.
    if (!m_image.isNull() && m_image.size() != size()) startReplay();
}

void TFkorvgra::contextMenuEvent(QContextMenuEvent* event) {
    if (event->reason() == QContextMenuEvent::Mouse && !(event->modifiers() & Qt::ShiftModifier)) {
        event->ignore();
        return;
    }
    guarded([this] { setStepMode(m_window.stepMode()); }); // a replay in one go may have ended it
    QMenu menu(this);
    menu.setObjectName(QStringLiteral("GraphicsContextMenu"));
    menu.addAction(m_saveAction);
    menu.addAction(m_stepAction);
    menu.exec(event->globalPos());
}

} // namespace zam1
