#pragma once
// What the plot device asks of the window: the plot configuration dialog, and
// printing a drawing itself when no plot program is configured (no external
// plot program comes with this platform). A run without a window has neither.

#include <optional>

#include "core/config/plot_settings.h"

namespace zam1 {

class GraphicsWindow;

class PlotPort {
public:
    virtual ~PlotPort() = default;
    // The plot configuration dialog on `plot`: the settings left with OK, nothing
    // when cancelled.
    virtual std::optional<PlotSettings> editPlotSettings(const PlotSettings& plot) = 0;
    // Prints the drawing recorded in `drawing`, a window of the paper's size, through
    // the print dialog (and so to PDF as well); false when cancelled or failed.
    virtual bool printDrawing(GraphicsWindow& drawing, const PlotSettings& plot) = 0;
};

} // namespace zam1
