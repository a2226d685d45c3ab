#include "gui/platform/report_pdf.h"

#include <QFontMetricsF>
#include <QPageLayout>
#include <QPageSize>
#include <QPainter>
#include <QPdfWriter>
#include <QSaveFile>
#include <QStringList>

#include <algorithm>

#include "core/platform/file_io.h"
#include "core/text/codepage.h"
#include "gui/graphics/report_window.h"

namespace zam1 {
namespace {

constexpr int kResolutionDpi = 600;
constexpr qreal kMarginMm = 15;
constexpr int kMinimumColumns = 80;

// The pages of the report: a line that starts with a form feed begins a new page.
std::vector<QStringList> splitPages(const QString& text) {
    std::vector<QStringList> pages(1);
    QStringList lines = text.split(QLatin1Char('\n'));
    if (!lines.isEmpty() && lines.back().isEmpty()) lines.removeLast();
    for (QString line : lines) {
        line.remove(QLatin1Char('\r'));
        if (line.startsWith(QLatin1Char('\f'))) {
            pages.emplace_back();
            line.remove(0, 1);
            if (line.isEmpty()) continue;
        }
        pages.back() << line;
    }
    if (pages.size() > 1 && pages.back().isEmpty()) pages.pop_back();
    return pages;
}

// The fixed-pitch font at the largest size that fits `rows` lines of `columns`
// characters into `area` (device pixels of the PDF).
QFont fittingFont(QPaintDevice* device, const QSizeF& area, int rows, int columns) {
    QFont font = reportFont();
    font.setPixelSize(std::max(1, static_cast<int>(area.height() / rows)));
    for (int attempt = 0; attempt < 4; ++attempt) {
        const QFontMetricsF metrics(font, device);
        const qreal scale = std::min(area.height() / (metrics.lineSpacing() * rows),
                                     area.width() / (metrics.horizontalAdvance(QLatin1Char('M')) * columns));
        if (scale >= 1.0 && attempt > 0) break;
        font.setPixelSize(std::max(1, static_cast<int>(font.pixelSize() * std::min(scale, 1.0) * 0.995)));
    }
    return font;
}

} // namespace

bool renderReportPdf(const std::string& textFile, QIODevice& device, const PageLayout& layout) {
    std::string bytes;
    if (readWholeFile(textFile, bytes) != kIoOk) return false;
    const std::vector<QStringList> pages = splitPages(QString::fromStdString(oemToUtf8(bytes)));
    int rows = std::max(layout.linesPerPage, 1);
    int columns = kMinimumColumns;
    for (const QStringList& page : pages) {
        rows = std::max(rows, static_cast<int>(page.size()));
        for (const QString& line : page) columns = std::max(columns, static_cast<int>(line.size()));
    }
    QPdfWriter writer(&device);
    writer.setResolution(kResolutionDpi);
    writer.setTitle(QString::fromStdString(layout.title));
    writer.setCreator(QStringLiteral("ZAM1"));
    writer.setPageLayout(QPageLayout(QPageSize(QPageSize::A4), QPageLayout::Portrait,
                                     QMarginsF(kMarginMm, kMarginMm, kMarginMm, kMarginMm), QPageLayout::Millimeter));
    QPainter painter;
    if (!painter.begin(&writer)) return false;
    const QSizeF area = writer.pageLayout().paintRectPixels(kResolutionDpi).size();
    const QFont font = fittingFont(&writer, area, rows, columns);
    painter.setFont(font);
    painter.setPen(Qt::black);
    const QFontMetricsF metrics(font, &writer);
    for (std::size_t p = 0; p < pages.size(); ++p) {
        if (p > 0 && !writer.newPage()) return false;
        qreal baseline = metrics.ascent();
        for (const QString& line : pages[p]) {
            painter.drawText(QPointF(0, baseline), line);
            baseline += metrics.lineSpacing();
        }
    }
    return painter.end();
}

PdfResult writeReportPdf(const std::string& textFile, const std::string& pdfPath, const PageLayout& layout) {
    // QSaveFile asks the system whether the file may be written, which root always may.
    if (const int refusal = replaceRefusal(writeTarget(pdfPath)); refusal != 0) {
        ioFailure(refusal, false);
        return PdfResult::Failed;
    }
    QSaveFile file(QString::fromStdString(pdfPath));
    if (!file.open(QIODevice::WriteOnly)) return PdfResult::Failed;
    if (!renderReportPdf(textFile, file, layout)) return PdfResult::Failed;
    return file.commit() ? PdfResult::Written : PdfResult::Failed;
}

} // namespace zam1
