#pragma once
// What the replay of the display list asks of a painter. Everything is already
// in client pixels and system terms; the GUI implements it with QPainter, tests
// with a recorder.

#include <cstddef>
#include <memory>
#include <string>
#include <string_view>

#include "core/graphics/palette.h"

namespace zam1 {

struct Pixel {
    int x = 0;
    int y = 0;
    friend constexpr bool operator==(Pixel, Pixel) = default;
};

struct PenSpec {
    Rgb colour;
    int width = 1;
    int style = 0;  // system numbering: 0 solid, 1 dash, 2 dot, 3 dash-dot; copy mode
};

// A system arc: the ellipse in the box, from the ray through `start` to the ray
// through `end`, counter-clockwise as seen on screen. The angles are the same arc
// in the terms of a painter that measures from 3 o'clock counter-clockwise on the
// ellipse's own parameter; spanDeg is 360 when start and end coincide.
struct ArcSpec {
    Pixel corner1;
    Pixel corner2;
    Pixel start;
    Pixel end;
    double startDeg = 0;
    double spanDeg = 0;
};

struct FontSpec {
    int heightPx = 0;
    int widthPx = 0;
    int escapement = 0;   // tenths of a degree, counter-clockwise
    int weight = 100;
    bool italic = false;
    bool underline = false;
    bool strikeOut = false;
    std::string face;
    friend bool operator==(const FontSpec&, const FontSpec&) = default;
};

class ReplayCanvas {
public:
    virtual ~ReplayCanvas() = default;
    virtual void setPen(const PenSpec& pen) = 0;
    virtual void setBrush(Rgb colour) = 0;
    virtual void moveTo(Pixel p) = 0;
    virtual void lineTo(Pixel p) = 0;
    virtual void ellipse(Pixel corner1, Pixel corner2) = 0;     // outline only
    virtual void arc(const ArcSpec& arc) = 0;
    virtual void polygon(const Pixel (&points)[4]) = 0;         // filled with the brush
    // `topLeft` is the top-left corner of the text box; the text is in the Windows
    // code page; the background stays transparent.
    virtual void text(Pixel topLeft, const FontSpec& font, Rgb colour, std::string_view ansi) = 0;
    // Lets pending events through; false ends this replay (a new one follows).
    virtual bool processEvents() { return true; }
    // The step dialog "Animation": true for "+" (next step), false for "++" (run to the end).
    virtual bool stepPause() { return false; }
    virtual void sleepMs(int milliseconds) { (void)milliseconds; }
    virtual void setWaitCursor(bool on) { (void)on; }
};

class GraphicsWindow;
class Replay;

// FormPaint in slices: a window drives it from a timer, so that input arriving
// between two slices can drop it and start a fresh one, and no slice runs inside
// a paint event. The window and the canvas must outlive it.
class SlicedReplay {
public:
    SlicedReplay(GraphicsWindow& window, ReplayCanvas& canvas);
    ~SlicedReplay();
    SlicedReplay(const SlicedReplay&) = delete;
    SlicedReplay& operator=(const SlicedReplay&) = delete;

    // Plays up to `records` more records. False once the list is done or a
    // degenerate window record stopped the replay (error flag set).
    bool step(std::size_t records);
    bool complete() const;
    std::size_t position() const;
    // Step mode: step() stops in front of each erase colour (colour 0) and
    // waits; the window shows its step dialog then, never from inside a paint.
    // "+" continues to the next erase colour; "++" switches step mode off
    // (GraphicsWindow::setStepMode) and continues to the end.
    bool waitingForStep() const;
    void continueStep();

private:
    std::unique_ptr<Replay> m_replay;
};

// The painter's angles of a system arc (see ArcSpec), from its pixel corners and rays.
void arcAngles(ArcSpec& arc);

} // namespace zam1
