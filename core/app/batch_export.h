#pragma once
// "wzam1 project.zm1 --export FILE [options]": a report, a drawing or the
// spreadsheet of a project written to FILE without a window; the format follows
// FILE's extension.
//
//   .txt .html .htm .pdf   a report (--report standard|excerpt|...; default standard)
//   .svg .png, .pdf with --diagram   a drawing (--diagram project|overall|scheme|scale|normal)
//   .xlsx                  elements and closing dimensions with their results
//   .csv                   one table (--table elements|results)
//
// The core writes everything but what needs fonts and a painter: the PDF pages
// of a report and the pictures of a drawing come from an ExportPainter, which
// the executable provides.

#include <iosfwd>
#include <optional>
#include <string>
#include <vector>

#include "core/graphics/diagram_run.h"

namespace zam1 {

class GraphicsWindow;
struct PageLayout;
struct SignoffDocument;
struct ProgramState;

enum class ExportFormat { Text, Html, Pdf, Svg, Png, Xlsx, Csv };

// The reports of the View menu.
enum class ExportReport { Standard, Excerpt, ZeroDistances, ClosingStatistics, ChainListing, CrossReference,
                          CrossReferences };

enum class ExportPaper { A4, A3 };
enum class CsvTable { Elements, Results };

// What a PNG, SVG or PDF picture of a drawing looks like.
struct PictureLook {
    ExportFormat format = ExportFormat::Pdf;  // Pdf, Svg or Png
    int dpi = 300;                            // PNG only
    bool whiteBackground = true;              // false: the screen's background colour
    ExportPaper paper = ExportPaper::A4;      // PDF only: the sheet, landscape when the picture is wider
};

struct ExportRequest {
    std::string project;
    std::string output;
    ExportFormat format = ExportFormat::Text;
    bool drawing = false;                     // a picture rather than a report (PDF: --diagram given)
    ExportReport report = ExportReport::Standard;
    bool projectDrawing = true;               // the project drawing, else diagram `diagram`
    DiagramKind diagram = kDiagramOverall;
    int closing = 1;                          // of a diagram or a report on one closing dimension
    int element = 1;                          // of the cross reference of one element
    CsvTable table = CsvTable::Elements;
    PictureLook look;
    bool quiet = false;                       // "/NOGUI": no calculation warnings
};

// The toolkit's part of an export: text pages and pictures as the bytes of their
// file, committed by the caller. False when nothing could be made.
class ExportPainter {
public:
    virtual ~ExportPainter() = default;
    // `textFile` holds the report in the stored code page, form feeds between pages.
    virtual bool reportPdf(const std::string& textFile, const PageLayout& layout, std::string& bytes) = 0;
    // The window's display list as a picture.
    virtual bool picture(GraphicsWindow& window, const PictureLook& look, std::string& bytes) = 0;
    // The sign-off report on A4 pages.
    virtual bool signoffPdf(const SignoffDocument& document, std::string& bytes) {
        (void)document;
        (void)bytes;
        return false;
    }
};

inline constexpr const char* kExportSwitch = "--export";

// True when the arguments are an export form (the project, then "--export").
bool isExportForm(const std::vector<std::string>& arguments);

// True when that form asks for a PDF, SVG or PNG file, which only an ExportPainter makes.
bool exportNeedsPainter(const std::vector<std::string>& arguments);

// The request of an export form (arguments without "/NOGUI"). Nothing, with the
// reason and the usage line on `err`, for an unknown option, a value that is no
// choice, an option the format has no use for, or an extension no export writes.
std::optional<ExportRequest> parseExportRequest(const std::vector<std::string>& arguments, std::ostream& err);

// The usage line of the export forms.
std::string exportUsageLine();

// Reads the project and writes the export. Exit codes as the other batch forms:
// 0 written; 1 the project could not be read or the file not written (the
// system's reason on `err`; a file that was there stays as it was); 2 refused
// before anything was written (an output that is the project or its settings
// file, a closing dimension or element the project does not have), or written
// with closing dimensions that could not be calculated. `painter` may be null
// when the format needs none.
int runBatchExport(ProgramState& state, const ExportRequest& request, ExportPainter* painter, std::ostream& err);

} // namespace zam1
