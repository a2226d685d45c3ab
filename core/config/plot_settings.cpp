#include "core/config/plot_settings.h"

#include "core/config/configuration.h"

namespace zam1 {

PaperSize plotPaper(const PlotSettings& plot) {
    const PaperSize p =
        plot.paper >= 0 && plot.paper < static_cast<int>(kPaperSizes.size()) ? kPaperSizes[static_cast<std::size_t>(plot.paper)]
                                                                            : kPaperSizes[0];
    return plot.landscape ? PaperSize{p.name, p.heightMm, p.widthMm} : p;
}

std::string plotCommandLine(const PlotSettings& plot, const std::string& dxfFile) {
    if (plot.program.empty()) return {};
    const bool quote = dxfFile.find(' ') != std::string::npos;
    return plot.program + " " + (quote ? "\"" + dxfFile + "\"" : dxfFile);
}

bool plotLineMeansPrintItself(std::string_view line) {
    return line.find_first_not_of(" \t") == std::string_view::npos || line == kDefaultPlotCommand;
}

} // namespace zam1
