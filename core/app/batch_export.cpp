#include "core/app/batch_export.h"

#include <algorithm>
#include <filesystem>
#include <ostream>
#include <string_view>

#include "core/app/batch_support.h"
#include "core/app/report_setup.h"
#include "core/exchange/csv.h"
#include "core/exchange/exchange_texts.h"
#include "core/exchange/sheet.h"
#include "core/exchange/xlsx_writer.h"
#include "core/files/project_file.h"
#include "core/graphics/drawing_settings.h"
#include "core/graphics/graphics_window.h"
#include "core/graphics/program_drawings.h"
#include "core/model/closing_solution.h"
#include "core/model/resolution.h"
#include "core/platform/desktop.h"
#include "core/platform/file_io.h"
#include "core/platform/file_messages.h"
#include "core/platform/path_parts.h"
#include "core/report/calculation_reports.h"
#include "core/report/cross_reference.h"
#include "core/report/main_report.h"
#include "core/report/output_channel.h"
#include "core/session/program_identity.h"
#include "core/session/program_state.h"
#include "core/standards/element_iso.h"
#include "core/text/ascii_case.h"
#include "core/text/codepage.h"
#include "core/text/number_format.h"

namespace zam1 {
namespace {

struct Named {
    std::string_view name;
    int value;
};

constexpr Named kFormats[] = {
    {"txt", static_cast<int>(ExportFormat::Text)}, {"html", static_cast<int>(ExportFormat::Html)},
    {"htm", static_cast<int>(ExportFormat::Html)}, {"pdf", static_cast<int>(ExportFormat::Pdf)},
    {"svg", static_cast<int>(ExportFormat::Svg)},  {"png", static_cast<int>(ExportFormat::Png)},
    {"xlsx", static_cast<int>(ExportFormat::Xlsx)}, {"csv", static_cast<int>(ExportFormat::Csv)},
};

constexpr Named kReports[] = {
    {"standard", static_cast<int>(ExportReport::Standard)},
    {"excerpt", static_cast<int>(ExportReport::Excerpt)},
    {"zero-distances", static_cast<int>(ExportReport::ZeroDistances)},
    {"closing-statistics", static_cast<int>(ExportReport::ClosingStatistics)},
    {"chain", static_cast<int>(ExportReport::ChainListing)},
    {"cross-reference", static_cast<int>(ExportReport::CrossReference)},
    {"cross-references", static_cast<int>(ExportReport::CrossReferences)},
};

constexpr int kProjectDrawing = 0;
constexpr Named kDiagrams[] = {
    {"project", kProjectDrawing},           {"overall", kDiagramOverall}, {"scheme", kDiagramScheme},
    {"scale", kDiagramToScale},             {"normal", kDiagramNormalDistribution},
};

constexpr Named kPapers[] = {{"a4", static_cast<int>(ExportPaper::A4)}, {"a3", static_cast<int>(ExportPaper::A3)}};
constexpr Named kBackgrounds[] = {{"white", 1}, {"screen", 0}};
constexpr Named kTables[] = {{"elements", static_cast<int>(CsvTable::Elements)},
                             {"results", static_cast<int>(CsvTable::Results)}};

constexpr int kMinimumDpi = 30;
constexpr int kMaximumDpi = 600;

template <std::size_t N>
std::optional<int> lookUp(const Named (&table)[N], std::string_view text) {
    const std::string lower = asciiLower(std::string(text));
    for (const Named& row : table) {
        if (row.name == lower) return row.value;
    }
    return std::nullopt;
}

template <std::size_t N>
std::string choices(const Named (&table)[N]) {
    std::string text;
    for (const Named& row : table) text += (text.empty() ? "" : "|") + std::string(row.name);
    return text;
}

std::string extensionOf(const std::string& path) {
    const std::string_view extension = extensionPart(path);
    return extension.empty() ? std::string() : asciiLower(extension.substr(1));
}

bool isPicture(ExportFormat f) { return f == ExportFormat::Svg || f == ExportFormat::Png; }

// The options with a value; a value follows as the next argument or after "=".
enum class Option { Report, Diagram, Closing, Element, Paper, Dpi, Background, Table };
constexpr std::pair<std::string_view, Option> kOptions[] = {
    {"--report", Option::Report}, {"--diagram", Option::Diagram}, {"--closing", Option::Closing},
    {"--element", Option::Element}, {"--paper", Option::Paper},   {"--dpi", Option::Dpi},
    {"--background", Option::Background}, {"--table", Option::Table},
};

class RequestParser {
public:
    explicit RequestParser(std::ostream& err) : m_err(err) {}

    std::optional<ExportRequest> parse(const std::vector<std::string>& a) {
        if (a.size() < 2 || a[1] != kExportSwitch) return refuse(kExportSwitch, "the project comes first, then --export FILE");
        if (a.size() < 3) return refuse(kExportSwitch, "the file to write is missing");
        m_request.project = a[0];
        m_request.output = a[2];
        if (outputIsAnInput(a[0], a[2], m_err)) return std::nullopt;
        const auto format = lookUp(kFormats, extensionOf(a[2]));
        if (!format) return refuse(a[2], "no export writes this extension");
        m_request.format = static_cast<ExportFormat>(*format);
        for (std::size_t i = 3; i < a.size(); ++i) {
            std::string name = a[i];
            std::optional<std::string> value;
            if (const std::size_t eq = name.find('='); name.rfind("--", 0) == 0 && eq != std::string::npos) {
                value = name.substr(eq + 1);
                name.resize(eq);
            }
            const auto* option = std::find_if(std::begin(kOptions), std::end(kOptions),
                                              [&](const auto& o) { return o.first == name; });
            if (option == std::end(kOptions)) return refuse(a[i], name.rfind("--", 0) == 0 ? "unknown option" : "unexpected argument");
            if (!value) {
                if (i + 1 >= a.size()) return refuse(name, "value missing");
                value = a[++i];
            }
            if (!take(option->second, name, *value)) return std::nullopt;
            m_given.push_back(option->second);
        }
        return settle();
    }

private:
    std::optional<ExportRequest> refuse(const std::string& what, std::string_view why) {
        m_err << "w" << kShortName << ": " << what << " ? - " << why << ", nichts geschrieben (nothing written)\n"
              << exportUsageLine() << '\n';
        return std::nullopt;
    }

    template <std::size_t N>
    std::optional<int> choice(const Named (&table)[N], const std::string& name, const std::string& value) {
        const auto found = lookUp(table, value);
        if (!found) refuse(name + " " + value, "one of " + choices(table));
        return found;
    }

    std::optional<int> number(const std::string& name, const std::string& value, long long lower, long long upper) {
        long long n = 0;
        if (!parseInteger(value, n) || n < lower || n > upper) {
            refuse(name + " " + value, "a whole number from " + std::to_string(lower) + " to " + std::to_string(upper));
            return std::nullopt;
        }
        return static_cast<int>(n);
    }

    bool take(Option option, const std::string& name, const std::string& value) {
        ExportRequest& r = m_request;
        if (option == Option::Closing || option == Option::Element || option == Option::Dpi) {
            const auto n = option == Option::Dpi ? number(name, value, kMinimumDpi, kMaximumDpi)
                                                 : number(name, value, option == Option::Closing ? 1 : 0, 1000000);
            if (!n) return false;
            (option == Option::Closing ? r.closing : option == Option::Element ? r.element : r.look.dpi) = *n;
            return true;
        }
        std::optional<int> v;
        switch (option) {
        case Option::Report:
            if ((v = choice(kReports, name, value))) r.report = static_cast<ExportReport>(*v);
            break;
        case Option::Diagram:
            if ((v = choice(kDiagrams, name, value))) {
                r.projectDrawing = *v == kProjectDrawing;
                if (!r.projectDrawing) r.diagram = static_cast<DiagramKind>(*v);
            }
            break;
        case Option::Paper:
            if ((v = choice(kPapers, name, value))) r.look.paper = static_cast<ExportPaper>(*v);
            break;
        case Option::Background:
            if ((v = choice(kBackgrounds, name, value))) r.look.whiteBackground = *v != 0;
            break;
        case Option::Table:
            if ((v = choice(kTables, name, value))) r.table = static_cast<CsvTable>(*v);
            break;
        default: break;
        }
        return v.has_value();
    }

    bool given(Option o) const { return std::find(m_given.begin(), m_given.end(), o) != m_given.end(); }

    // Every option given must be one the format uses: none is dropped unseen.
    std::optional<ExportRequest> settle() {
        ExportRequest& r = m_request;
        const ExportFormat f = r.format;
        r.drawing = isPicture(f) ||
                    (f == ExportFormat::Pdf && (given(Option::Diagram) || given(Option::Paper) || given(Option::Background)));
        r.look.format = f;
        struct Use {
            Option option;
            bool used;
            std::string_view where;
        };
        const bool report = f == ExportFormat::Text || f == ExportFormat::Html || (f == ExportFormat::Pdf && !r.drawing);
        const bool closingReport = report && (r.report == ExportReport::ClosingStatistics || r.report == ExportReport::ChainListing);
        const bool closingDiagram = r.drawing && !r.projectDrawing && r.diagram != kDiagramScheme;
        const Use uses[] = {
            {Option::Report, report, "reports (.txt, .html, .pdf)"},
            {Option::Diagram, r.drawing, "drawings (.svg, .png, .pdf)"},
            {Option::Closing, closingReport || closingDiagram,
             "--report closing-statistics|chain and --diagram overall|scale|normal"},
            {Option::Element, report && r.report == ExportReport::CrossReference, "--report cross-reference"},
            {Option::Paper, r.drawing && f == ExportFormat::Pdf, "PDF drawings"},
            {Option::Dpi, f == ExportFormat::Png, "PNG pictures"},
            {Option::Background, r.drawing, "drawings (.svg, .png, .pdf)"},
            {Option::Table, f == ExportFormat::Csv, "CSV files"},
        };
        for (const Use& u : uses) {
            if (!given(u.option) || u.used) continue;
            const auto* name = std::find_if(std::begin(kOptions), std::end(kOptions),
                                            [&](const auto& o) { return o.second == u.option; });
            return refuse(std::string(name->first), "only for " + std::string(u.where));
        }
        if (f == ExportFormat::Csv && !given(Option::Table)) {
            // "results.csv" asks for the results without saying --table.
            const std::string stem = asciiLower(std::filesystem::path(r.output).stem().string());
            if (stem.ends_with("results") || stem.ends_with("ergebnisse")) r.table = CsvTable::Results;
        }
        return r;
    }

    std::ostream& m_err;
    ExportRequest m_request;
    std::vector<Option> m_given;
};

// The questions of a report, answered from the request: the save dialog with the
// output file, the closing dimension and the element once each (a second ask
// would be an answer refused, and is cancelled), no new page for the results.
class ExportPrompter final : public Prompter {
public:
    ExportPrompter(std::ostream& err, const ExportRequest& request) : m_batch(err), m_request(request) {}

    bool askChoice(std::string_view, const std::vector<std::string>&, int& choice) override {
        if (m_choiceGiven) return false;
        m_choiceGiven = true;
        choice = m_request.closing;
        return true;
    }
    bool askText(std::string_view, std::size_t, std::string& text) override {
        if (m_textGiven) return false;
        m_textGiven = true;
        text = intText(m_request.element);
        return true;
    }
    bool askYesNo(std::string_view, bool& value) override {
        value = false;
        return true;
    }
    Answer askYesNoCancel(std::string_view) override { return Answer::Cancel; }
    void showError(std::string_view text) override { m_batch.showError(text); }
    void showNote(std::string_view) override {}
    bool chooseOpenFile(const FileChoice&, std::string&) override { return false; }
    bool chooseSaveFile(const FileChoice&, std::string& path) override {
        path = m_request.output;
        return true;
    }
    bool chooseDevice(std::string_view, const std::vector<std::string>&, int&) override { return false; }

private:
    BatchPrompter m_batch;
    const ExportRequest& m_request;
    bool m_choiceGiven = false;
    bool m_textGiven = false;
};

// The desktop of an export: shows and starts nothing; the PDF pages come from the painter.
class ExportDesktop final : public Desktop {
public:
    ExportDesktop(ExportPainter* painter, Prompter& prompter, ErrorFlag& error)
        : m_painter(painter), m_prompter(prompter), m_error(error) {}
    bool showTextFile(const std::string&, std::string_view) override { return true; }
    bool printTextFile(const std::string&) override { return false; }
    bool startProgram(const std::string&, const std::vector<std::string>&) override { return false; }
    bool openInBrowser(const std::string&) override { return false; }
    bool copyToClipboard(std::string_view) override { return false; }
    void showGraphicsWindow() override {}
    PdfResult writePdf(const std::string& textFile, const std::string& pdfPath, const PageLayout& layout) override {
        if (m_painter == nullptr) return PdfResult::Unavailable;
        std::string bytes;
        if (!m_painter->reportPdf(textFile, layout, bytes)) return PdfResult::Failed;
        return commitFile(pdfPath, bytes, m_prompter, m_error) ? PdfResult::Written : PdfResult::Failed;
    }

private:
    ExportPainter* m_painter;
    Prompter& m_prompter;
    ErrorFlag& m_error;
};

int unresolvedClosings(Chain& chain) {
    deriveElementValues(chain);
    const std::vector<ClosingSolution> solutions = solveAllClosings(chain);
    return static_cast<int>(
        std::count_if(solutions.begin(), solutions.end(), [](const ClosingSolution& s) { return !s.resolved; }));
}

// A closing dimension or element the project does not have: refused, as the
// window would refuse the choice.
bool outOfRange(const std::string& what, int value, int count, std::ostream& err) {
    if (value >= 1 && value <= count) return false;
    err << "w" << kShortName << ": " << what << " " << value << " ? - das Projekt hat " << count
        << ", nichts geschrieben (the project has " << count << ", nothing written)\n";
    return true;
}

ReportDevice reportDevice(ExportFormat f) {
    if (f == ExportFormat::Html) return kReportHtml;
    if (f == ExportFormat::Pdf) return kReportPdf;
    return kReportFile;
}

bool writeReport(ExportReport kind, Chain& chain, OutputChannel& out, int closing) {
    int choice = closing;
    switch (kind) {
    case ExportReport::Standard: return writeStandardReport(chain, out, kReportAsk);
    case ExportReport::Excerpt: return writeExcerptReport(chain, out, kReportAsk);
    case ExportReport::ZeroDistances: return reportZeroDistances(chain, out);
    case ExportReport::ClosingStatistics: return reportClosingStatistics(chain, out, choice);
    case ExportReport::ChainListing: return reportChainListing(chain, out, choice);
    case ExportReport::CrossReference: return writeCrossReferenceOne(chain, out);
    case ExportReport::CrossReferences: return writeCrossReferenceAll(chain, out);
    }
    return false;
}

int notWritten(const ExportRequest& r, std::ostream& err) {
    err << "w" << kShortName << ": " << r.output << " - keine Datei geschrieben (no file written)\n";
    return kExitFailed;
}

// The note and exit code of an output that shows the whole project.
int wholeProjectResult(ProgramState& state, const ExportRequest& r, std::string_view what, std::ostream& err) {
    if (!r.quiet) writeCalculationWarnings(state, err);
    const int unresolved = unresolvedClosings(state.chain);
    writeUnresolvedNote(r.output, unresolved, what, err);
    return unresolved > 0 ? kExitUnresolved : kExitDone;
}

int exportReport(ProgramState& state, const ExportRequest& r, ExportPainter* painter, std::ostream& err) {
    const bool onClosing = r.report == ExportReport::ClosingStatistics || r.report == ExportReport::ChainListing;
    if (onClosing && outOfRange("--closing", r.closing, state.chain.closingCount(), err)) return kExitRefused;
    if (r.report == ExportReport::CrossReference && r.element != 0 &&
        outOfRange("--element", r.element, state.chain.elementCount(), err)) {
        return kExitRefused;
    }
    ExportPrompter prompter(err, r);
    ExportDesktop desktop(painter, prompter, state.error);
    OutputSettings settings = outputSettingsFrom(state.config);
    settings.workFolder = temporaryFolder(state);
    settings.defaultDevice = reportDevice(r.format);
    settings.askDevice = false;
    settings.htmlBrowser.clear();  // the HTML device then writes the file it is given, and starts nothing
    OutputChannel out(settings, state.texts, {prompter, desktop, clockOf(state), state.error});
    out.setProject(projectHeading(state.projectTexts, r.project, true));
    if (!writeReport(r.report, state.chain, out, r.closing) || state.error.isSet()) return notWritten(r, err);
    if (r.report != ExportReport::Standard && r.report != ExportReport::Excerpt) return kExitDone;
    const int result = wholeProjectResult(state, r, "report", err);
    return writeIsoCodeProblems(state.chain, err) > 0 ? kExitUnresolved : result;
}

int exportDrawing(ProgramState& state, const ExportRequest& r, ExportPainter* painter, std::ostream& err) {
    if (!r.projectDrawing && r.diagram != kDiagramScheme &&
        outOfRange("--closing", r.closing, state.chain.closingCount(), err)) {
        return kExitRefused;
    }
    DrawingSettings settings = drawingSettingsFrom(state.config, temporaryFolder(state));
    GraphicsWindow window(settings.window, state.error);
    DrawingTarget target;
    target.device = kDeviceScreen;
    target.batch = true;
    target.projectName = projectBaseName(r.project);
    std::error_code noPath;
    const std::filesystem::path absolute = std::filesystem::absolute(r.project, noPath);
    target.projectFile = noPath ? r.project : absolute.lexically_normal().string();
    target.window = &window;
    if (r.projectDrawing) {
        if (!drawProgramProjectDrawing(state, settings, target)) return notWritten(r, err);
    } else {
        const int closing = r.diagram == kDiagramScheme ? 0 : r.closing;
        const DiagramOutcome outcome = drawProgramDiagram(state, settings, target, r.diagram, closing);
        if (outcome == DiagramOutcome::Messages) writeCalculationWarnings(state, err);
        if (outcome != DiagramOutcome::Drawn) return notWritten(r, err);
    }
    std::string bytes;
    if (state.error.isSet() || !painter->picture(window, r.look, bytes)) return notWritten(r, err);
    BatchPrompter prompter(err);
    if (!commitFile(r.output, bytes, prompter, state.error)) return kExitFailed;
    const bool wholeProject = r.projectDrawing || r.diagram == kDiagramScheme;
    if (!wholeProject) {
        if (!r.quiet) writeCalculationWarnings(state, err);
        return kExitDone;
    }
    return wholeProjectResult(state, r, "drawing", err);
}

int exportSpreadsheet(ProgramState& state, const ExportRequest& r, std::ostream& err) {
    const ExchangeTexts& words = exchangeTexts(state.config.language);
    const bool results = r.format == ExportFormat::Xlsx || r.table == CsvTable::Results;
    const bool elements = r.format == ExportFormat::Xlsx || r.table == CsvTable::Elements;
    std::vector<Worksheet> sheets;
    if (elements) sheets.push_back(elementSheet(state.chain, state.texts, words));
    if (results) {
        state.chain.messages.clear();
        deriveElementValues(state.chain);
        sheets.push_back(closingSheet(state.chain, solveAllClosings(state.chain), state.texts, words));
    }
    const int written = r.format == ExportFormat::Csv
                            ? writeFileSafely(r.output,
                                              [&](std::ostream& out) {
                                                  // one table a file: the one asked for
                                                  writeCsv(out, sheets.back(), csvFormat(state.config.decimalSeparator));
                                              })
                            : writeXlsx(r.output, sheets);
    if (written != kIoOk) {
        err << oemToUtf8(withSystemReason(utf8ToOem(r.output) + "  " + writeErrorText(written), lastIoError())) << '\n';
        return kExitFailed;
    }
    return results ? wholeProjectResult(state, r, "spreadsheet", err) : kExitDone;
}

} // namespace

std::string exportUsageLine() {
    return "usage: w" + std::string(kShortName) + " project." + std::string(kProjectExtension) +
           " --export FILE.(txt|html|pdf|svg|png|xlsx|csv) [--report KIND] [--diagram D --closing N] [--paper A4|A3] "
           "[--dpi N] [--background white|screen] [--table elements|results]   (w" + std::string(kShortName) +
           " --help)";
}

bool isExportForm(const std::vector<std::string>& arguments) {
    return std::find(arguments.begin(), arguments.end(), kExportSwitch) != arguments.end();
}

bool exportNeedsPainter(const std::vector<std::string>& arguments) {
    const auto at = std::find(arguments.begin(), arguments.end(), kExportSwitch);
    if (at == arguments.end() || at + 1 == arguments.end()) return false;
    const std::string ext = extensionOf(*(at + 1));
    return ext == "pdf" || ext == "svg" || ext == "png";
}

std::optional<ExportRequest> parseExportRequest(const std::vector<std::string>& arguments, std::ostream& err) {
    return RequestParser(err).parse(arguments);
}

int runBatchExport(ProgramState& state, const ExportRequest& request, ExportPainter* painter, std::ostream& err) {
    state.error.clear();
    if (outputIsAnInput(request.project, request.output, err)) return kExitRefused;
    const bool painted = request.drawing || request.format == ExportFormat::Pdf;
    if (painted && painter == nullptr) {
        err << "w" << kShortName << ": " << request.output
            << " - PDF, SVG und PNG schreibt nur das Programm wzam1 (only the wzam1 program writes PDF, SVG and PNG)\n";
        return kExitFailed;
    }
    if (!readProjectFile(state, request.project)) return kExitFailed;
    state.file.currentFile = projectBaseName(request.project);
    if (request.drawing) return exportDrawing(state, request, painter, err);
    if (request.format == ExportFormat::Xlsx || request.format == ExportFormat::Csv) {
        return exportSpreadsheet(state, request, err);
    }
    return exportReport(state, request, painter, err);
}

} // namespace zam1
