#pragma once
// The state of the graphics window without its painting: the display list that
// every primitive is recorded into, the world window mapped onto a pixel
// viewport, the scale rectangle that holds zoom and pan, and the key and mouse
// arithmetic on it. The GUI paints by replaying the list through a ReplayCanvas
// (replay.h) and forwards its key and mouse events here.

#include <array>
#include <string>
#include <string_view>

#include "core/graphics/display_list.h"
#include "core/graphics/drawing_settings.h"

namespace zam1 {

class ErrorFlag;
class Prompter;
class ReplayCanvas;

// The graphics module's file test: true when the file exists; otherwise the
// message name + " nicht gefunden !" and the error flag.
bool fileMustExist(const std::string& path, Prompter& prompter, ErrorFlag& error);
std::string notFoundText(std::string_view name);

struct PixelRect {
    int x0 = 0;
    int y0 = 0;
    int x1 = 0;
    int y1 = 0;
    friend constexpr bool operator==(const PixelRect&, const PixelRect&) = default;
};

struct WorldRect {
    long double xmin = 0;
    long double ymin = 0;
    long double xmax = 1;
    long double ymax = 1;
};

// What the window needs from the form that shows it. All optional.
class WindowHost {
public:
    virtual ~WindowHost() = default;
    virtual void invalidate() {}
    virtual void show() {}
    virtual void setWaitCursor(bool on) { (void)on; }
};

// Virtual key codes the window reacts to.
enum WindowKey : int {
    kKeyPageUp = 33, kKeyPageDown = 34, kKeyLeft = 37, kKeyUp = 38, kKeyRight = 39, kKeyDown = 40,
    kKeyEscape = 27, kKeyF5 = 116, kKeyAdd = 107, kKeySubtract = 109,
};

enum class MouseButton { Left, Right, Middle };

class GraphicsWindow {
public:
    // FormCreate: the initial state, with W and H and the steps from the settings.
    GraphicsWindow(const WindowSettings& settings, ErrorFlag& error);

    void setHost(WindowHost* host) { m_host = host; }
    const WindowSettings& settings() const { return m_settings; }
    void setSettings(const WindowSettings& settings);

    // Window set-up.
    void SetWindow(bool equalScale, bool inset, long double xmin, long double ymin, long double xmax,
                   long double ymax, long double left, long double bottom, long double right, long double top);
    void SetScale(int x0, int y0, int x1, int y1);
    void SaveLimit() { m_savedLimits = m_world; }
    void RestoreLimit();
    void SaveViewPort() { m_savedViewport = m_viewport; }
    void RetrieveViewPort() { m_viewport = m_savedViewport; }
    void Header(long double xmin, long double ymin, long double xmax, long double ymax);
    void ReSetWindow();
    void ResetZoom();
    void Regen();
    long double EinX(long double f) const { return f * (m_world.xmax - m_world.xmin); }
    long double EinY(long double f) const { return f * (m_world.ymax - m_world.ymin); }

    // Recorded primitives.
    void circle(long double x, long double y, long double r);
    void line(long double x1, long double y1, long double x2, long double y2);
    void Arc(long double xc, long double yc, long double startDeg, long double endDeg, long double r);
    void Rectangle(long double x1, long double y1, long double x2, long double y2);
    // The text is recorded as given: the screen back-end converts it to the
    // Windows code page first.
    void OutTextXY(std::string_view text, long double x, long double y);
    void Solid(long double x1, long double y1, long double x2, long double y2, long double x3, long double y3,
               long double x4, long double y4);
    void SetColor(int colour);
    void SetColorAcad(int cadColour);
    int GetColor() const { return m_colour; }
    void SetLineStyle(int style);
    void SetLineStyleName(std::string_view name);
    void SetLineWidth(int width);
    void SetTextStyle(int font, long double width, long double height, long double angle);
    void SetTextSizeMode(int mode) { m_textSizeMode = mode; }
    void SleepMs(int milliseconds);

    // The list and the form.
    void Clear();
    // How many drawings were begun (Clear calls): a command sees whether it drew.
    unsigned long drawingCount() const { return m_drawings; }
    // Leaves an empty picture without bringing the window up: the project it
    // showed is gone, its numbers must not stay on the screen.
    void clearPicture();
    void ClearViewPort();
    // The end of a drawing run: invalidate and show the window, arrow cursor.
    void showDrawing();
    void setWaitCursor(bool on);
    const DisplayList& displayList() const { return m_list; }
    void setStepMode(bool on) { m_stepMode = on; }
    bool stepMode() const { return m_stepMode; }

    // FormPaint: replays the list onto a canvas. Returns false when a degenerate
    // window record stopped it (the error flag is then set).
    bool FormPaint(ReplayCanvas& canvas);

    // World to pixels with the current mapping; MoveTo and LineTo of the form use these.
    int pixelX(long double x) const;
    int pixelY(long double y) const;

    // Keys and mouse. Each returns true when the picture must be redrawn.
    bool processKey(int key);
    // The mouse wheel: zoom in or out by the zoom factor so that the picture
    // point under client pixel (px, py) stays where it is.
    bool zoomAbout(int px, int py, bool zoomIn);
    bool FormMouseDown(MouseButton button, int px, int py);
    // While the rubber band is active: the rectangle to erase (drawn inverted
    // before) and the one to draw inverted now, in client pixels.
    bool FormMouseMove(int px, int py, PixelRect& erase, PixelRect& draw);
    // The end of a drag: the area inside the band (client pixels of the list)
    // fills the view; with equal scale it is widened about its centre to the
    // viewport's shape, so the boxed area is shown whole and in the middle.
    bool FormMouseUp(int px, int py, int clientWidth, int clientHeight);
    void FormDblClick() { m_doubleClick = true; }
    bool rubberBandActive() const { return m_rubberBand; }

    // State, for the painter and for tests.
    const PixelRect& viewport() const { return m_viewport; }
    const PixelRect& scaleRect() const { return m_scale; }
    const WorldRect& world() const { return m_world; }
    const WorldRect& visible() const { return m_visible; }
    long double kx() const { return m_kx; }
    long double ky() const { return m_ky; }
    bool equalScale() const { return m_equalScale; }
    long double aspectCorrection() const { return m_aspectCorrection; }
    int lineStyle() const { return m_lineStyle; }
    int lineWidth() const { return m_lineWidth; }
    int textSizeMode() const { return m_textSizeMode; }

private:
    friend class Replay;
    void applyScale(const PixelRect& r);
    void append(std::string record) { m_list.push_back(std::move(record)); }
    int width() const;
    int height() const;

    WindowSettings m_settings;
    ErrorFlag& m_error;
    WindowHost* m_host = nullptr;
    DisplayList m_list;

    WorldRect m_world;
    WorldRect m_savedLimits;
    WorldRect m_visible;
    PixelRect m_viewport{0, 0, 1, 1};
    PixelRect m_savedViewport{0, 0, 1, 1};
    PixelRect m_scale{0, 0, 1, 1};
    long double m_kx = 1;
    long double m_ky = 1;
    bool m_equalScale = false;
    long double m_aspectCorrection = 1;

    int m_colour = -1;
    int m_lineStyle = 99;
    int m_lineWidth = 1;
    int m_textSizeMode = 0;
    bool m_stepMode = false;
    unsigned long m_drawings = 0;

    bool m_rubberBand = false;
    bool m_doubleClick = false;
    int m_bandX0 = 0;
    int m_bandY0 = 0;
    int m_bandX1 = 0;
    int m_bandY1 = 0;
};

} // namespace zam1
