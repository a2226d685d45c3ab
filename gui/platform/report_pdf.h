#pragma once
// A report's text pages on PDF pages: A4 upright, the printer's fixed-pitch font
// sized so that the longest page and the widest line fit, the page header and
// frame as the channel wrote them. The file is committed only when complete.

#include <string>

#include "core/platform/desktop.h"

class QIODevice;

namespace zam1 {

// `textFile` holds the report in the stored code page with form-feed lines
// between pages. Needs a QGuiApplication (fonts).
PdfResult writeReportPdf(const std::string& textFile, const std::string& pdfPath, const PageLayout& layout);

// The same into an open device; false when the text could not be read or a page not drawn.
bool renderReportPdf(const std::string& textFile, QIODevice& device, const PageLayout& layout);

} // namespace zam1
