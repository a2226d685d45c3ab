#pragma once
// The plot configuration dialog of the plot device: paper, orientation, scale,
// a pen width per colour and the plot program (none: the program prints the
// drawing itself through the print dialog).

#include <optional>

#include "core/config/plot_settings.h"

namespace zam1 {

struct DialogEnvironment;

// The dialog on `plot`, in the environment's language; its prompter serves the
// program picker (none: disabled) and names a field that does not read. The
// settings left with OK; nothing after Abbrechen.
std::optional<PlotSettings> editPlotSettings(const PlotSettings& plot, const DialogEnvironment& environment);

} // namespace zam1
