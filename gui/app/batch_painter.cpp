#include "gui/app/batch_painter.h"

#include <QBuffer>
#include <QGuiApplication>
#include <QString>

#include <cstdlib>
#include <iostream>

#include "core/app/command_line.h"
#include "core/platform/desktop.h"
#include "core/session/program_state.h"
#include "gui/graphics/drawing_export.h"
#include "gui/platform/report_pdf.h"
#include "gui/platform/signoff_pdf.h"

namespace zam1 {
namespace {

DrawingExportFormat drawingFormat(ExportFormat format) {
    if (format == ExportFormat::Svg) return DrawingExportFormat::Svg;
    if (format == ExportFormat::Png) return DrawingExportFormat::Png;
    return DrawingExportFormat::Pdf;
}

// Standard error of a batch run holds the run's own messages: Qt's note that the
// runtime folder is not set (usual outside a desktop session) is dropped.
QtMessageHandler g_qtHandler = nullptr;
void batchMessages(QtMsgType type, const QMessageLogContext& context, const QString& message) {
    if (type == QtWarningMsg && message.startsWith(QStringLiteral("QStandardPaths: "))) return;
    if (g_qtHandler != nullptr) g_qtHandler(type, context, message);
}

} // namespace

bool QtExportPainter::reportPdf(const std::string& textFile, const PageLayout& layout, std::string& bytes) {
    QBuffer buffer;
    buffer.open(QIODevice::WriteOnly);
    if (!renderReportPdf(textFile, buffer, layout)) return false;
    bytes.assign(buffer.data().constData(), static_cast<std::size_t>(buffer.data().size()));
    return true;
}

bool QtExportPainter::picture(GraphicsWindow& window, const PictureLook& look, std::string& bytes) {
    QBuffer buffer;
    buffer.open(QIODevice::WriteOnly);
    DrawingLook drawingLook;
    drawingLook.whiteBackground = look.whiteBackground;
    drawingLook.paper = look.paper == ExportPaper::A3 ? DrawingPaper::A3 : DrawingPaper::A4;
    if (!writeDrawing(window, buffer, drawingFormat(look.format), look.dpi, {}, drawingLook)) return false;
    bytes.assign(buffer.data().constData(), static_cast<std::size_t>(buffer.data().size()));
    return true;
}

bool QtExportPainter::signoffPdf(const SignoffDocument& document, std::string& bytes) {
    QBuffer buffer;
    buffer.open(QIODevice::WriteOnly);
    if (!renderSignoffPdf(document, buffer)) return false;
    bytes.assign(buffer.data().constData(), static_cast<std::size_t>(buffer.data().size()));
    return true;
}

int runPaintedBatch(int& argc, char** argv, const std::vector<std::string>& arguments) {
    // A batch run never reaches for the display, even when there is one.
    const char* platform = std::getenv("QT_QPA_PLATFORM");
    if (platform == nullptr || *platform == '\0') setenv("QT_QPA_PLATFORM", "offscreen", 1);
    g_qtHandler = qInstallMessageHandler(batchMessages);
    QGuiApplication app(argc, argv);
    QtExportPainter painter;
    return runCommandLine(program(), arguments, std::cout, std::cerr, &painter).exitCode;
}

} // namespace zam1
