// The drawing run: device choice, output file, sheet, pages and the end of the
// run with the file commit and the plot program. The drawing operations
// themselves are in drawing_ops.cpp.

#include "core/graphics/drawing_layer.h"
#include "core/platform/path_parts.h"

#include <algorithm>
#include <cassert>
#include <cstdlib>
#include <unistd.h>
#include <vector>

#include "core/session/program_state.h"
#include "core/platform/file_messages.h"
#include "core/graphics/graphics_window.h"
#include "core/graphics/output_buffer.h"
#include "core/platform/clock.h"
#include "core/platform/desktop.h"
#include "core/platform/file_io.h"
#include "core/platform/prompter.h"
#include "core/config/plot_settings.h"
#include "core/graphics/plot_port.h"

namespace zam1 {
namespace {

constexpr std::string_view kDeviceTitle = "CAD-Code";
constexpr std::string_view kPlotChoiceTitle = "PENDRAW Command Line";
constexpr std::string_view kPlotLinePrompt = "PENDRAW-Kommandozeile (0=Parameter)";
constexpr std::size_t kPlotLineLength = 60;
constexpr std::string_view kPlotFile = "pendraw.dxf";
constexpr std::string_view kPlotting = "wird geplottet";
constexpr std::string_view kFileNotFound = "file not found";
constexpr std::string_view kExecError = "Exec error ";
constexpr int kExecFailure = 31;
constexpr int kPrintDotsPerInch = 200;  // the drawing the plot device prints itself
constexpr int kWhite = 15;

const std::vector<std::string>& deviceNames() {
    static const std::vector<std::string> names = [] {
        std::vector<std::string> titles;
        for (const CadFormat& f : cadFormats()) titles.emplace_back(f.title);
        return titles;
    }();
    return names;
}

// The words of a command line; double quotes group blanks into one word.
std::vector<std::string> commandWords(std::string_view line) {
    std::vector<std::string> words;
    std::string word;
    bool quoted = false;
    bool any = false;
    for (char c : line) {
        if (c == '"') {
            quoted = !quoted;
            any = true;
        } else if ((c == ' ' || c == '\t') && !quoted) {
            if (any) words.push_back(std::move(word));
            word.clear();
            any = false;
        } else {
            word += c;
            any = true;
        }
    }
    if (any) words.push_back(std::move(word));
    return words;
}

bool programExists(const std::string& program) {
    if (program.find('/') != std::string::npos) return ::access(program.c_str(), X_OK) == 0;
    const char* path = std::getenv("PATH");
    std::string_view rest = path ? path : "";
    while (!rest.empty()) {
        const auto colon = rest.find(':');
        const std::string_view folder = rest.substr(0, colon);
        rest = colon == std::string_view::npos ? std::string_view() : rest.substr(colon + 1);
        if (!folder.empty() && ::access(pathIn(std::string(folder), program).c_str(), X_OK) == 0) return true;
    }
    return false;
}

const Clock& clockOf(const DrawingContext& ctx) {
    static const SystemClock systemClock;
    return ctx.clock ? *ctx.clock : systemClock;
}

} // namespace

DrawingLayer::DrawingLayer(DrawingSettings& settings, DrawingContext context)
    : m_settings(settings), m_ctx(std::move(context)) {
    assert(m_ctx.prompter && m_ctx.error);
}

DrawingLayer::~DrawingLayer() = default;

void DrawingLayer::fail() {
    m_backend.reset();
    m_file.reset();
    m_ctx.error->set();
}

bool DrawingLayer::startRun(OutputDevice device) {
    m_backend.reset();
    m_file.reset();
    m_origin = {};
    if (m_ctx.error->isSet()) return false;
    m_plotLine = 0;
    m_printItself = false;
    m_plotWindow.reset();
    if (device == kDeviceAsk && !chooseDevice(device)) {
        fail();
        return false;
    }
    m_format = cadFormatOf(device);
    if (!m_format) {  // a number no device has
        fail();
        return false;
    }
    bool ready = false;
    switch (m_format->output) {
    case DeviceOutput::File: ready = chooseOutputFile(); break;
    case DeviceOutput::Window:
        ready = m_ctx.window != nullptr;
        if (ready) {
            m_ctx.window->Clear();
            m_ctx.window->setWaitCursor(true);
        }
        break;
    case DeviceOutput::Plot:
        m_outputFile = pathIn(m_settings.tempFolder, kPlotFile);
        m_ctx.prompter->showStatus(m_outputFile + " " + std::string(kPlotting) + " ..");
        ready = startSelfPrint();
        break;
    }
    if (!ready) {
        fail();
        return false;
    }
    createBackend();
    resetRunState();
    return true;
}

// With the window's plot port, a line this system cannot run (none, or the DOS
// default) means: record the drawing in a window of the paper's size and print it.
bool DrawingLayer::startSelfPrint() {
    if (!m_ctx.plot || !m_ctx.plotSettings) return true;
    const std::vector<std::string>& lines = m_settings.plotCommandLines;
    const std::string line = static_cast<std::size_t>(m_plotLine) < lines.size() ? lines[static_cast<std::size_t>(m_plotLine)] : "";
    m_printItself = m_printItself || plotLineMeansPrintItself(line);
    if (!m_printItself) return true;
    const PaperSize paper = plotPaper(*m_ctx.plotSettings);
    WindowSettings window = m_settings.window;
    // The window's mapping takes its pixels to be shown on a 4:3 area (a screen);
    // a 4:3 window within the paper keeps them square on paper too.
    const int width = static_cast<int>(paper.widthMm * kPrintDotsPerInch / 25.4);
    const int height = static_cast<int>(paper.heightMm * kPrintDotsPerInch / 25.4);
    window.width = std::min(width, height * 4 / 3);
    window.height = std::min(height, width * 3 / 4);
    window.backgroundColour = kWhite;  // paper
    m_plotWindow = std::make_unique<GraphicsWindow>(window, *m_ctx.error);
    m_plotWindow->Clear();
    return true;
}

bool DrawingLayer::startRun(std::unique_ptr<DrawingBackend> backend) {
    m_backend.reset();
    m_file.reset();
    m_origin = {};
    if (m_ctx.error->isSet() || !backend) return false;
    m_format = nullptr;
    m_outputFile.clear();
    m_backend = std::move(backend);
    resetRunState();
    return true;
}

void DrawingLayer::resetRunState() {
    m_hAlign = HAlign::Left;
    m_vAlign = VAlign::Baseline;
    m_lineSpacing = 1;
    m_blockMode = false;
    m_framePending = false;
    setScreenLineStyle(0);
    setSymbolScale(1);
}

bool DrawingLayer::chooseDevice(OutputDevice& device) {
    int choice = 1;
    if (!m_ctx.prompter->chooseDevice(kDeviceTitle, deviceNames(), choice)) return false;
    device = deviceAtMenuPlace(choice);
    if (device == kDeviceAsk) return false;
    return cadFormatOf(device)->output != DeviceOutput::Plot || choosePlotCommand();
}

// The plot command line: one of the configured lines, confirmed or edited.
bool DrawingLayer::choosePlotCommand() {
    std::vector<std::string>& lines = m_settings.plotCommandLines;
    if (lines.empty()) lines.emplace_back();
    int choice = 1;
    if (lines.size() > 1) {
        if (!m_ctx.prompter->askChoice(kPlotChoiceTitle, lines, choice)) return false;
        if (choice < 1 || choice > static_cast<int>(lines.size())) choice = 1;
    }
    m_plotLine = choice - 1;
    const bool withDialog = m_ctx.plot && m_ctx.plotSettings;
    if (withDialog) {
        const auto edited = m_ctx.plot->editPlotSettings(*m_ctx.plotSettings);
        if (!edited) return false;
        *m_ctx.plotSettings = *edited;
    }
    std::string line = lines[static_cast<std::size_t>(m_plotLine)];
    if (!m_ctx.prompter->askText(kPlotLinePrompt, kPlotLineLength, line)) return false;
    if (!line.empty() && line.front() != '0') {
        lines[static_cast<std::size_t>(m_plotLine)] = line;
        return true;
    }
    // "0" or nothing stands for the line built from the plot parameters; without a
    // parameter dialog that is the stored line itself, and without a plot program
    // the drawing is printed.
    if (!withDialog) return true;
    const std::string built = plotCommandLine(*m_ctx.plotSettings, pathIn(m_settings.tempFolder, kPlotFile));
    if (built.empty()) {
        m_printItself = true;
    } else {
        lines[static_cast<std::size_t>(m_plotLine)] = built;
    }
    return true;
}

bool DrawingLayer::chooseOutputFile() {
    const std::string_view extension = m_format->extension;
    if (m_ctx.batchCad) {
        if (m_ctx.projectName.empty()) return false;
        m_outputFile = m_ctx.projectName;
        m_outputFile += '.';
        m_outputFile += extension;
        return true;
    }
    FileChoice choice;
    choice.title = std::string(m_format->title);
    choice.filter = std::string(m_format->filter);
    choice.folder = m_settings.cadFolder;
    choice.defaultExtension = std::string(extension);
    std::string path = m_ctx.projectName;
    if (!m_ctx.prompter->chooseSaveFile(choice, path) || path.empty()) return false;
    if (fileNamePart(path).find('.') == std::string_view::npos) {
        path += '.';
        path += extension;
    }
    m_outputFile = std::move(path);
    return true;
}

void DrawingLayer::createBackend() {
    m_file = std::make_unique<OutputStream>();
    // The drawing the plot device prints itself is recorded as the screen records it.
    const CadFormat& format = m_plotWindow ? *cadFormatOf(kDeviceScreen) : *m_format;
    GraphicsWindow* window = m_plotWindow ? m_plotWindow.get() : m_ctx.window;
    m_backend = format.makeBackend({*m_file, m_settings, m_ctx.prompter, window, baseNameOf(m_outputFile), clockOf(m_ctx)});
}

void DrawingLayer::writeTables() {
    if (active()) m_backend->writeTables();
}

void DrawingLayer::beginPage() {
    if (!active()) return;
    m_backend->beginPage();
    if (m_framePending) {
        m_framePending = false;
        const int layer = m_layer;
        setLayer(19);
        rectangle(m_sheet.xmin, m_sheet.ymin, m_sheet.xmax, m_sheet.ymax);
        setLayer(layer);
    }
}

void DrawingLayer::endPage() {
    if (m_blockMode) endBlock();
    if (active()) m_backend->endPage();
}

void DrawingLayer::finishRun() {
    if (!m_backend) return;
    const std::unique_ptr<DrawingBackend> backend = std::move(m_backend);
    const bool failed = m_ctx.error->isSet();
    // The window shows what was drawn up to the error; a file is not written, and
    // a back-end of the caller's is dropped unfinished.
    const bool toWindow = outputsTo(DeviceOutput::Window);
    if (failed && !toWindow) {
        m_plotWindow.reset();
        m_file.reset();  // nothing is written: the file that was there stays
        return;
    }
    backend->finish();
    if (m_plotWindow) {
        if (!m_ctx.plot->printDrawing(*m_plotWindow, *m_ctx.plotSettings)) m_ctx.error->set();
        m_plotWindow.reset();
        m_file.reset();
        return;
    }
    const bool toFile = m_format && !toWindow;
    if (toFile && commitOutput() && outputsTo(DeviceOutput::Plot)) startPlot();
    m_file.reset();
}

bool DrawingLayer::commitOutput() {
    if (!m_file->complete()) {  // out of memory: the file would be cut short
        m_ctx.prompter->showError(createErrorText(kIoReadError));
        m_ctx.error->set();
        return false;
    }
    return commitFile(m_outputFile, m_file->view(), *m_ctx.prompter, *m_ctx.error);
}

void DrawingLayer::startPlot() {
    const std::vector<std::string>& lines = m_settings.plotCommandLines;
    const std::string line = static_cast<std::size_t>(m_plotLine) < lines.size()
                                 ? lines[static_cast<std::size_t>(m_plotLine)]
                                 : std::string();
    std::vector<std::string> words = commandWords(line);
    if (words.empty() || !programExists(words.front())) {
        m_ctx.prompter->showError(kFileNotFound);
        m_ctx.error->set();
        return;
    }
    const std::string program = words.front();
    words.erase(words.begin());
    if (!m_ctx.desktop || !m_ctx.desktop->startProgram(program, words)) {
        m_ctx.prompter->showError(std::string(kExecError) + std::to_string(kExecFailure));
        m_ctx.error->set();
    }
}

} // namespace zam1
