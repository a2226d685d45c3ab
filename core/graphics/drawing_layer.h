#pragma once
// The drawing output layer: every picture of the program is drawn once through
// these operations, in sheet millimetres with y upward, and goes to the device
// chosen for the run: a DXF file, an IGES file, the screen, a DXF file handed to
// the plot program, or a TXT file of CAD code. The layer owns the run (device,
// file, sheet, pages), the drawing origin, the layer with its screen pen, text
// size and alignment, the text cursor, arrowheads and named blocks.
//
// While the error flag is set every drawing operation does nothing. A file is
// written only when the run finishes without an error, and then safely (the file
// that was there survives a failed write).

#include <iosfwd>
#include <memory>
#include <string>
#include <string_view>

#include "core/graphics/cad_formats.h"
#include "core/graphics/drawing_backend.h"
#include "core/graphics/drawing_settings.h"

namespace zam1 {

class Clock;
class OutputStream;
class Desktop;
class ErrorFlag;
class GraphicsWindow;
class Prompter;
class PlotPort;
struct PlotSettings;

// Who a run talks to, and what it is drawing.
struct DrawingContext {
    Prompter* prompter = nullptr;
    Desktop* desktop = nullptr;
    const Clock* clock = nullptr;
    ErrorFlag* error = nullptr;
    GraphicsWindow* window = nullptr;   // the screen device
    bool batchCad = false;              // file name from the project name, no dialog
    std::string projectName;            // base name: proposed and batch file name
    std::string projectFile;            // full file name, shown in the screen footer
    // The plot device: its dialog and printing, and the parameters it edits. With
    // both, a plot command line that this system cannot run prints the drawing.
    PlotPort* plot = nullptr;
    PlotSettings* plotSettings = nullptr;
};

enum class HAlign : int { Left = 0, Centre = 1, Right = 2 };
enum class VAlign : int { Baseline = 0, Middle = 1, Top = 2 };

class DrawingLayer {
public:
    // The settings are the program's: a confirmed plot command line is stored back.
    DrawingLayer(DrawingSettings& settings, DrawingContext context);
    ~DrawingLayer();
    DrawingLayer(const DrawingLayer&) = delete;
    DrawingLayer& operator=(const DrawingLayer&) = delete;

    // The run. startRun asks for the device when given kDeviceAsk; false (and the
    // error flag) when the user cancelled or the device cannot be used.
    bool startRun(OutputDevice device);
    // A run into a back-end of the caller's (previews, tests): no dialog, no file.
    bool startRun(std::unique_ptr<DrawingBackend> backend);
    void openSheet(long double xmin, long double ymin, long double xmax, long double ymax);
    void writeTables();
    void beginPage();
    void endPage();
    void finishRun();

    // Geometry; every point gets the drawing origin added.
    void setOrigin(long double x, long double y) { m_origin = {x, y}; }
    void line(long double x1, long double y1, long double x2, long double y2);
    void circle(long double x, long double y, long double radius);
    void arc(long double x, long double y, long double startDeg, long double endDeg, long double radius);
    // A filled quadrilateral in solid order (see Quad); a triangle repeats its third point.
    void solid(long double x1, long double y1, long double x2, long double y2, long double x3, long double y3,
               long double x4, long double y4);
    void moveTo(long double x, long double y) { m_cursor = {x, y}; }
    void drawTo(long double x, long double y);
    void rectangle(long double x1, long double y1, long double x2, long double y2);
    void arrowhead(long double x, long double y, long double directionDeg);

    // Text.
    void setTextAlignment(int horizontal, int vertical);
    void textStyle(int font, long double width, long double height, long double angle);
    void text(std::string_view oem, long double x, long double y);
    void textLine(std::string_view oem);
    void setLineSpacing(long double factor) { m_lineSpacing = factor; }

    // Pens and scale.
    void setLayer(int layer);
    void setScreenLineStyle(int style);
    void setSymbolScale(long double s);

    // Named blocks.
    void beginBlock(std::string_view name);
    void endBlock();
    void insertBlock(std::string_view name, long double x, long double y, long double rotationDeg = 0,
                     long double xScale = 1, long double yScale = 1);

    // State.
    bool running() const { return m_backend != nullptr; }
    OutputDevice device() const { return m_format ? m_format->device : kDeviceAsk; }
    // True when the run's device draws to `output`; false for a back-end of the caller's.
    bool outputsTo(DeviceOutput output) const { return m_format && m_format->output == output; }
    const std::string& outputFile() const { return m_outputFile; }
    int layer() const { return m_layer; }
    long double textHeight() const { return m_style.height; }
    long double widthFactor() const { return m_style.widthFactor; }
    long double symbolScale() const { return m_symbolScale; }
    Point cursor() const { return m_cursor; }
    Point origin() const { return m_origin; }
    bool blockMode() const { return m_blockMode; }
    // The plot device prints the drawing itself instead of starting a plot program.
    bool printsItself() const { return m_printItself; }
    // Where an aligned text starts (before the origin is added).
    Point alignedTextStart(std::string_view oem, long double x, long double y) const;

private:
    bool active() const;
    bool chooseDevice(OutputDevice& device);
    bool choosePlotCommand();
    bool chooseOutputFile();
    void createBackend();
    void resetRunState();
    void drawFooter();
    std::string footerText() const;
    bool commitOutput();
    void startPlot();
    bool startSelfPrint();
    Point shifted(long double x, long double y) const { return {x + m_origin.x, y + m_origin.y}; }
    void fail();

    DrawingSettings& m_settings;
    DrawingContext m_ctx;
    std::unique_ptr<DrawingBackend> m_backend;
    std::unique_ptr<OutputStream> m_file;
    const CadFormat* m_format = nullptr;  // the run's device; none for the caller's back-end
    int m_plotLine = 0;
    bool m_printItself = false;
    std::unique_ptr<GraphicsWindow> m_plotWindow;  // the drawing the plot device prints itself
    std::string m_outputFile;

    Point m_origin;
    Point m_cursor;
    int m_layer = 0;
    TextStyle m_style;
    HAlign m_hAlign = HAlign::Left;
    VAlign m_vAlign = VAlign::Baseline;
    long double m_lineSpacing = 1;
    long double m_symbolScale = 1;
    bool m_blockMode = false;
    Sheet m_sheet;
    bool m_framePending = false;
};

} // namespace zam1
