#include "gui/platform/qt_desktop.h"

#include <QClipboard>
#include <QDesktopServices>
#include <QGuiApplication>
#include <QPrintDialog>
#include <QPrinter>
#include <QProcess>
#include <QTextDocument>
#include <QUrl>

#include "gui/graphics/report_window.h"
#include "gui/platform/report_pdf.h"

namespace zam1 {

QtDesktop::QtDesktop(QWidget* parent, QWidget* graphicsWindow) : m_parent(parent), m_graphics(graphicsWindow) {}

QtDesktop::~QtDesktop() { delete m_report.data(); }

ReportWindow* QtDesktop::reportWindow() const { return m_report; }

bool QtDesktop::showTextFile(const std::string& path, std::string_view title) {
    if (!m_report) {
        m_report = new ReportWindow([this](const QString& text) { printText(text); }, m_parent);
        m_report->applyGeometry(m_reportGeometry);
    }
    if (!m_report->showFile(path, title)) return false;
    m_report->show();
    m_report->raise();
    return true;
}

bool QtDesktop::printText(const QString& text) {
    QPrinter printer;
    QPrintDialog dialog(&printer, m_parent);
    dialog.setObjectName(QStringLiteral("PrintDialog"));
    if (dialog.exec() != QDialog::Accepted) return false;
    QTextDocument document;
    document.setDefaultFont(reportFont());
    document.setPlainText(text);
    document.print(&printer);
    return true;
}

bool QtDesktop::printTextFile(const std::string& path) {
    const std::optional<QString> text = reportTextForDisplay(path);
    return text && printText(*text);
}

bool QtDesktop::startProgram(const std::string& program, const std::vector<std::string>& arguments) {
    QStringList args;
    for (const std::string& a : arguments) args << QString::fromStdString(a);
    // Program and arguments apart: no shell ever sees them.
    return QProcess::startDetached(QString::fromStdString(program), args);
}

bool QtDesktop::openInBrowser(const std::string& path) {
    return QDesktopServices::openUrl(QUrl::fromLocalFile(QString::fromStdString(path)));
}

bool QtDesktop::copyToClipboard(std::string_view text) {
    QGuiApplication::clipboard()->setText(QString::fromUtf8(text.data(), static_cast<qsizetype>(text.size())));
    return true;
}

void QtDesktop::showGraphicsWindow() {
    if (!m_graphics) return;
    m_graphics->show();
    m_graphics->raise();
}

PdfResult QtDesktop::writePdf(const std::string& textFile, const std::string& pdfPath, const PageLayout& layout) {
    return writeReportPdf(textFile, pdfPath, layout);
}

} // namespace zam1
