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
#include <QTextDocument>
#include <QUrl>

#include "gui/graphics/report_window.h"

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

bool QtDesktop::printLastOutput() {
    if (m_lastShown == Shown::Report && m_report) return printText(m_report->text());
    if (m_lastShown != Shown::Picture || !m_graphics) {
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
    m_lastShown = Shown::Picture;
    m_graphics->show();
    m_graphics->raise();
}

} // namespace zam1
