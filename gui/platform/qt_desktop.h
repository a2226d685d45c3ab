#pragma once
// The desktop of the window: the report window, printing through the print
// dialog, programs started without a shell, the browser, the clipboard and the
// graphics window.

#include <QPointer>
#include <QString>
#include <QWidget>

#include <array>

#include "core/graphics/plot_port.h"
#include "core/platform/desktop.h"

class QProgressDialog;

namespace zam1 {
class Prompter;
}

namespace zam1 {

class ReportWindow;

// Also the plot device's port: its parameter dialog, and printing a drawing itself.
class QtDesktop final : public Desktop, public PlotPort {
public:
    // `graphicsWindow` is shown on request; `parent` owns the report window.
    QtDesktop(QWidget* parent, QWidget* graphicsWindow);
    ~QtDesktop() override;

    void setReportGeometry(const std::array<int, 4>& geometry) { m_reportGeometry = geometry; }
    ReportWindow* reportWindow() const;

    bool showTextFile(const std::string& path, std::string_view title) override;
    bool printTextFile(const std::string& path) override;
    bool startProgram(const std::string& program, const std::vector<std::string>& arguments) override;
    bool openInBrowser(const std::string& path) override;
    bool copyToClipboard(std::string_view text) override;
    void showGraphicsWindow() override;
    // A progress dialog with "Abbrechen", shown once the work takes a moment; it
    // closes when done reaches total.
    bool showProgress(std::string_view text, long done, long total) override;

    // The plot dialog's program picker asks through this prompter.
    void setPrompter(Prompter* prompter) { m_prompter = prompter; }
    std::optional<PlotSettings> editPlotSettings(const PlotSettings& plot) override;
    bool printDrawing(GraphicsWindow& drawing, const PlotSettings& plot) override;

    // The report's pages laid out in the printer's font on A4 (gui/platform/report_pdf.h).
    PdfResult writePdf(const std::string& textFile, const std::string& pdfPath, const PageLayout& layout) override;

    // The print dialog for a text (the report window's print button); false when cancelled.
    bool printText(const QString& text);
    // The print dialog for what was shown last: the report window's text or the
    // graphics window's picture. False when there is none or it was cancelled.
    bool printLastOutput();
    enum class Shown { Nothing, Report, Picture };
    // What printLastOutput prints: the one shown last while it is still on the
    // screen, else the other one that is.
    Shown lastOutput() const;

private:
    QPointer<QWidget> m_parent;
    QPointer<QWidget> m_graphics;
    QPointer<ReportWindow> m_report;
    QPointer<QProgressDialog> m_progress;
    Prompter* m_prompter = nullptr;
    std::array<int, 4> m_reportGeometry{10, 40, 700, 440};
    Shown m_lastShown = Shown::Nothing;
    QMetaObject::Connection m_pictureShown;
};

} // namespace zam1
