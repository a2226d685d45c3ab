#include "gui/platform/qt_desktop.h"

#include <QClipboard>
#include <QDesktopServices>
#include <QGuiApplication>
#include <QMessageBox>
#include <QPainter>
#include <QPixmap>
#include <QPrintDialog>
#include <QPrinter>
#include <QProcess>
#include <QProgressDialog>
#include <QTextDocument>
#include <QUrl>

#include "core/config/configuration.h"
#include "core/config/plot_settings.h"
#include "core/platform/path_parts.h"
#include "gui/editors/dialog_geometry.h"
#include "gui/editors/dialog_help.h"
#include "gui/editors/dialog_support.h"
#include "gui/editors/plot_settings_dialog.h"
#include "gui/graphics/graphics_widget.h"
#include "gui/graphics/plot_print.h"
#include "gui/graphics/report_window.h"
#include "gui/platform/qt_prompter.h"
#include "gui/platform/report_pdf.h"

namespace zam1 {
namespace {

// How long the opener may take to say that it found no program for a file.
constexpr int kOpenerVerdictMs = 2000;

} // namespace

QtDesktop::QtDesktop(QWidget* parent, QWidget* graphicsWindow) : m_parent(parent), m_graphics(graphicsWindow) {
    // The diagrams bring the graphics window up themselves, not through this desktop.
    if (auto* picture = qobject_cast<TFkorvgra*>(graphicsWindow)) {
        m_pictureShown = QObject::connect(picture, &TFkorvgra::pictureShown, [this] { m_lastShown = Shown::Picture; });
    }
}

QtDesktop::~QtDesktop() {
    QObject::disconnect(m_pictureShown);
    delete m_report.data();
}

ReportWindow* QtDesktop::reportWindow() const { return m_report; }

bool QtDesktop::showTextFile(const std::string& path, std::string_view title) {
    if (!m_report) {
        m_report = new ReportWindow([this](const QString& text) { printText(text); }, m_parent);
        m_report->applyGeometry(m_reportGeometry);
        // F1 in the report opens the manual's contents, as in the main window.
        if (auto* window = dynamic_cast<QtPrompter*>(m_prompter)) {
            installHelp(*m_report, 0, [window](int number) { window->showHelp(number, false); });
        }
    }
    if (!m_report->showFile(path, title)) return false;
    m_lastShown = Shown::Report;
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

QtDesktop::Shown QtDesktop::lastOutput() const {
    const bool report = m_report && m_report->isVisible();
    const bool picture = m_graphics && m_graphics->isVisible();
    if (m_lastShown == Shown::Report && !report && picture) return Shown::Picture;
    if (m_lastShown == Shown::Picture && !picture && report) return Shown::Report;
    if (m_lastShown == Shown::Report && !m_report) return Shown::Nothing;
    if (m_lastShown == Shown::Picture && !m_graphics) return Shown::Nothing;
    return m_lastShown;
}

bool QtDesktop::printLastOutput() {
    const Shown shown = lastOutput();
    if (shown == Shown::Report) return printText(m_report->text());
    if (shown != Shown::Picture) {
        QMessageBox::information(m_parent, QStringLiteral("ZAM1"),
                                 QStringLiteral("Es wurde noch kein Bericht und keine Grafik angezeigt."));
        return false;
    }
    const QPixmap picture = m_graphics->grab();
    QPrinter printer;
    printer.setPageOrientation(picture.width() > picture.height() ? QPageLayout::Landscape : QPageLayout::Portrait);
    QPrintDialog dialog(&printer, m_parent);
    dialog.setObjectName(QStringLiteral("PrintDialog"));
    if (dialog.exec() != QDialog::Accepted) return false;
    QPainter painter(&printer);
    const QRect page = painter.viewport();
    const QSize size = picture.size().scaled(page.size(), Qt::KeepAspectRatio);
    painter.setViewport(page.x(), page.y(), size.width(), size.height());
    painter.setWindow(picture.rect());
    painter.drawPixmap(0, 0, picture);
    return true;
}

bool QtDesktop::showProgress(std::string_view text, long done, long total) {
    if (done >= total) {
        delete m_progress.data();
        return true;
    }
    if (!m_progress) {
        m_progress = new QProgressDialog(m_parent);
        m_progress->setObjectName(QStringLiteral("ProgressDialog"));
        m_progress->setWindowModality(Qt::ApplicationModal);
        m_progress->setCancelButtonText(QStringLiteral("Abbrechen"));
        m_progress->setAutoClose(false);
        m_progress->setAutoReset(false);
        m_progress->setMinimumDuration(300);
    }
    m_progress->setMaximum(static_cast<int>(total));
    // The text is a file name: file-system text.
    m_progress->setLabelText(QStringLiteral("%1 / %2   %3")
                                 .arg(done + 1)
                                 .arg(total)
                                 .arg(QString::fromUtf8(text.data(), static_cast<qsizetype>(text.size()))));
    m_progress->setValue(static_cast<int>(done));
    QCoreApplication::processEvents();
    if (!m_progress->wasCanceled()) return true;
    delete m_progress.data();
    return false;
}

// The plot dialog speaks the window's language and opens its help, both known
// to the window's prompter; without a window it is German and has no help.
std::optional<PlotSettings> QtDesktop::editPlotSettings(const PlotSettings& plot) {
    DialogEnvironment environment;
    environment.look.centreOver = m_parent;
    environment.parent = m_parent;
    environment.prompter = m_prompter;
    if (auto* window = dynamic_cast<QtPrompter*>(m_prompter)) {
        environment.language = window->language();
        environment.help = [window](int number) { window->showHelp(number, false); };
    }
    environment.words = buttonWords(environment.language);
    return zam1::editPlotSettings(plot, environment);
}

bool QtDesktop::printDrawing(GraphicsWindow& drawing, const PlotSettings& plot) {
    QPrinter printer(QPrinter::HighResolution);
    const PaperSize paper = plotPaper(plot);
    printer.setPageSize(QPageSize(QSizeF(std::min(paper.widthMm, paper.heightMm), std::max(paper.widthMm, paper.heightMm)),
                                  QPageSize::Millimeter));
    printer.setPageOrientation(plot.landscape ? QPageLayout::Landscape : QPageLayout::Portrait);
    QPrintDialog dialog(&printer, m_parent);
    dialog.setObjectName(QStringLiteral("PrintDialog"));
    if (dialog.exec() != QDialog::Accepted) return false;
    return paintPlot(printer, drawing, plot);
}

bool QtDesktop::printTextFile(const std::string& path) {
    const std::optional<QString> text = reportTextForDisplay(path);
    return text && printText(*text);
}

bool QtDesktop::startProgram(const std::string& program, const std::vector<std::string>& arguments) {
    QStringList args;
    for (const std::string& a : arguments) args << QString::fromStdString(a);
    // Program and arguments apart: no shell ever sees them.
    if (fileNamePart(program) != kDefaultViewerProgram) return QProcess::startDetached(QString::fromStdString(program), args);
    // The opener finds the program for the file's type and ends; its exit
    // status is the only sign that there was none. Without a desktop
    // environment it runs that program itself and stays: that is a success too.
    auto* opener = new QProcess;
    opener->setProgram(QString::fromStdString(program));
    opener->setArguments(args);
    // No pipes to this program, which may end before the one started.
    opener->setStandardInputFile(QProcess::nullDevice());
    opener->setStandardOutputFile(QProcess::nullDevice());
    opener->setStandardErrorFile(QProcess::nullDevice());
    opener->start();
    if (!opener->waitForStarted()) {
        delete opener;
        return false;
    }
    if (opener->waitForFinished(kOpenerVerdictMs)) {
        const bool opened = opener->exitStatus() == QProcess::NormalExit && opener->exitCode() == 0;
        delete opener;
        return opened;
    }
    // Deleting a running QProcess would kill it: it goes when it ends, or stays with the program that runs.
    QObject::connect(opener, &QProcess::finished, opener, &QObject::deleteLater);
    return true;
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
    m_lastShown = Shown::Picture;
    m_graphics->show();
    m_graphics->raise();
}

PdfResult QtDesktop::writePdf(const std::string& textFile, const std::string& pdfPath, const PageLayout& layout) {
    return writeReportPdf(textFile, pdfPath, layout);
}

} // namespace zam1
