#pragma once
// The command line's exports that need fonts and a painter (PDF, SVG, PNG): the
// same run as every batch form, with the toolkit on the offscreen platform, so
// it works without a display.

#include <string>
#include <vector>

#include "core/app/batch_export.h"

namespace zam1 {

// Lays out report pages and paints drawings with Qt; needs a QGuiApplication.
class QtExportPainter final : public ExportPainter {
public:
    bool reportPdf(const std::string& textFile, const PageLayout& layout, std::string& bytes) override;
    bool picture(GraphicsWindow& window, const PictureLook& look, std::string& bytes) override;
    bool signoffPdf(const SignoffDocument& document, std::string& bytes) override;
};

// Runs the command line with a QGuiApplication on the offscreen platform (unless
// QT_QPA_PLATFORM names another) and returns its exit code.
int runPaintedBatch(int& argc, char** argv, const std::vector<std::string>& arguments);

} // namespace zam1
