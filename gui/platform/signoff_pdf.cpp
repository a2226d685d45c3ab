#include "gui/platform/signoff_pdf.h"

#include <QByteArray>
#include <QFont>
#include <QFontMetricsF>
#include <QPageLayout>
#include <QPageSize>
#include <QPainter>
#include <QPdfWriter>
#include <QSvgRenderer>

#include <algorithm>
#include <numeric>

#include "core/analysis/signoff_report.h"

namespace zam1 {
namespace {

constexpr int kDpi = 300;
constexpr qreal kMarginMm = 15;

qreal mm(qreal v) { return v * kDpi / 25.4; }
QString qs(const std::string& text) { return QString::fromStdString(text); }

QColor lookColour(SignoffLook look) {
    switch (look) {
    case SignoffLook::Holds: return QColor(0x2e, 0x7d, 0x32);
    case SignoffLook::Undecided: return QColor(0xe6, 0x51, 0x00);
    case SignoffLook::Fails: return QColor(0xc6, 0x28, 0x28);
    case SignoffLook::Neutral: break;
    }
    return QColor(0x75, 0x75, 0x75);
}

// Lays the document out top to bottom; a block that does not fit starts a new page.
class PageFlow {
public:
    PageFlow(QPdfWriter& writer, QPainter& painter, const SignoffDocument& document)
        : m_writer(writer), m_painter(painter), m_document(document) {
        const QRectF paint = writer.pageLayout().paintRectPixels(kDpi);
        m_width = paint.width();
        m_bottom = paint.height() - mm(8);  // the footer below
        m_footerY = paint.height() - mm(3);
    }

    QFont font(qreal points, bool bold = false) const {
        QFont f(QStringLiteral("DejaVu Sans"));
        // Without ligatures: "ff" and "fi" stay letters a reader can search for and copy.
        f.setStyleHint(QFont::SansSerif, QFont::PreferNoShaping);
        f.setPointSizeF(points);
        f.setBold(bold);
        return f;
    }

    bool ok() const { return m_ok; }

    void newPage() {
        footer();
        if (!m_writer.newPage()) m_ok = false;
        ++m_page;
        m_y = 0;
    }
    void finish() { footer(); }
    void space(qreal height) { m_y += height; }
    // Starts a new page unless `height` fits below; a page that is still empty takes anything.
    void room(qreal height) {
        if (m_y > 0 && m_y + height > m_bottom) newPage();
    }

    void title(const std::string& text, const std::string& verdict, SignoffLook look, qreal points) {
        const QFont f = font(points, true);
        const QFontMetricsF metrics(f, &m_writer);
        const QFont badgeFont = font(points * 0.75, true);
        const QFontMetricsF badgeMetrics(badgeFont, &m_writer);
        const qreal badgeWidth = badgeMetrics.horizontalAdvance(qs(verdict)) + mm(4);
        const QRectF box(0, 0, m_width - badgeWidth - mm(3), 1e6);
        m_painter.setFont(f);
        const QRectF used = m_painter.boundingRect(box, Qt::TextWordWrap, qs(text));
        const qreal height = std::max(used.height(), metrics.height()) + mm(2);
        room(height + mm(4));
        m_painter.setPen(Qt::black);
        m_painter.drawText(QRectF(0, m_y, box.width(), used.height() + 1), Qt::TextWordWrap, qs(text));
        const QRectF badge(std::min(used.width(), box.width()) + mm(3), m_y + (metrics.height() - badgeMetrics.height()) / 2 - mm(0.5),
                           badgeWidth, badgeMetrics.height() + mm(1));
        m_painter.setPen(Qt::NoPen);
        m_painter.setBrush(lookColour(look));
        m_painter.drawRoundedRect(badge, mm(0.8), mm(0.8));
        m_painter.setBrush(Qt::NoBrush);
        m_painter.setPen(Qt::white);
        m_painter.setFont(badgeFont);
        m_painter.drawText(badge, Qt::AlignCenter, qs(verdict));
        m_y += height;
        m_painter.setPen(QPen(QColor(0x88, 0x88, 0x88), mm(0.2)));
        m_painter.drawLine(QPointF(0, m_y), QPointF(m_width, m_y));
        m_y += mm(2);
    }

    // Wrapped text over the whole width.
    void paragraph(const std::string& text, qreal points, const QColor& colour, bool bold = false) {
        m_painter.setFont(font(points, bold));
        const QRectF used = m_painter.boundingRect(QRectF(0, 0, m_width, 1e6), Qt::TextWordWrap, qs(text));
        room(used.height());
        m_painter.setPen(colour);
        m_painter.drawText(QRectF(0, m_y, m_width, used.height() + 1), Qt::TextWordWrap, qs(text));
        m_y += used.height();
    }

    void facts(const std::vector<SignoffFact>& list) {
        const QFont labelFont = font(9, true);
        const QFont valueFont = font(9);
        const QFontMetricsF labels(labelFont, &m_writer);
        qreal labelWidth = 0;
        for (const SignoffFact& f : list) labelWidth = std::max(labelWidth, labels.horizontalAdvance(qs(f.label)));
        labelWidth = std::min(labelWidth + mm(4), m_width * 0.35);
        const qreal valueWidth = m_width - labelWidth;
        for (const SignoffFact& f : list) {
            m_painter.setFont(valueFont);
            const QRectF value = m_painter.boundingRect(QRectF(0, 0, valueWidth, 1e6), Qt::TextWordWrap, qs(f.value));
            m_painter.setFont(labelFont);
            const QRectF label = m_painter.boundingRect(QRectF(0, 0, labelWidth - mm(2), 1e6), Qt::TextWordWrap, qs(f.label));
            const qreal height = std::max(value.height(), label.height()) + mm(0.6);
            room(height);
            m_painter.setPen(Qt::black);
            m_painter.drawText(QRectF(0, m_y, labelWidth - mm(2), height), Qt::TextWordWrap, qs(f.label));
            m_painter.setFont(valueFont);
            m_painter.drawText(QRectF(labelWidth, m_y, valueWidth, height), Qt::TextWordWrap, qs(f.value));
            m_y += height;
        }
    }

    // A chart at `share` of the width, or narrower where it would be taller than 85 mm.
    void svg(const std::string& text, qreal share) {
        if (text.empty()) return;
        QSvgRenderer renderer(QByteArray::fromStdString(text));
        if (!renderer.isValid()) return;
        const QRectF box = renderer.viewBoxF();
        if (box.width() <= 0 || box.height() <= 0) return;
        qreal width = m_width * share;
        qreal height = width * box.height() / box.width();
        const qreal maxHeight = mm(85);
        if (height > maxHeight) {
            width *= maxHeight / height;
            height = maxHeight;
        }
        room(height + mm(1));
        renderer.render(&m_painter, QRectF(0, m_y, width, height));
        m_y += height + mm(1);
    }

    void table(const SignoffTable& t) {
        if (t.columns.empty()) return;
        const QFont headFont = font(8, true);
        const QFont cellFont = font(8);
        const qreal pad = mm(1);
        const std::vector<qreal> widths = columnWidths(t, headFont, cellFont, pad);
        const auto rowHeight = [&](const std::vector<std::string>& cells, const QFont& f) {
            m_painter.setFont(f);
            qreal height = 0;
            for (std::size_t i = 0; i < cells.size() && i < widths.size(); ++i) {
                const QRectF used =
                    m_painter.boundingRect(QRectF(0, 0, widths[i] - 2 * pad, 1e6), Qt::TextWordWrap, qs(cells[i]));
                height = std::max(height, used.height());
            }
            return height + pad;
        };
        const qreal headHeight = rowHeight(t.columns, headFont);
        room(headHeight + rowHeight(t.rows.empty() ? t.columns : t.rows.front(), cellFont));
        drawRow(t, t.columns, widths, headHeight, headFont, true);
        for (const std::vector<std::string>& row : t.rows) {
            const qreal height = rowHeight(row, cellFont);
            if (m_y + height > m_bottom) {
                newPage();
                drawRow(t, t.columns, widths, headHeight, headFont, true);
            }
            drawRow(t, row, widths, height, cellFont, false);
        }
        m_y += mm(1);
    }

private:
    // Each column as wide as its widest text; when that is too wide for the
    // page, the text columns give up the difference and wrap.
    std::vector<qreal> columnWidths(const SignoffTable& t, const QFont& headFont, const QFont& cellFont, qreal pad) const {
        const QFontMetricsF head(headFont, &m_writer);
        const QFontMetricsF cell(cellFont, &m_writer);
        std::vector<qreal> widths(t.columns.size(), 0);
        // A little over the measured width, so that no text wraps by rounding.
        const qreal slack = 2 * pad + mm(0.6);
        for (std::size_t i = 0; i < t.columns.size(); ++i) widths[i] = head.horizontalAdvance(qs(t.columns[i])) + slack;
        for (const std::vector<std::string>& row : t.rows) {
            for (std::size_t i = 0; i < row.size() && i < widths.size(); ++i) {
                widths[i] = std::max(widths[i], cell.horizontalAdvance(qs(row[i])) + slack);
            }
        }
        const qreal total = std::accumulate(widths.begin(), widths.end(), 0.0);
        if (total <= m_width) return widths;
        qreal textTotal = 0;
        for (std::size_t i = 0; i < widths.size(); ++i) {
            if (!isNumeric(t, i)) textTotal += widths[i];
        }
        const qreal excess = total - m_width;
        const qreal factor = textTotal > excess ? (textTotal - excess) / textTotal : 0;
        for (std::size_t i = 0; i < widths.size(); ++i) {
            if (factor > 0 && !isNumeric(t, i)) {
                widths[i] *= factor;
            } else if (factor == 0) {
                widths[i] *= m_width / total;
            }
        }
        return widths;
    }
    static bool isNumeric(const SignoffTable& t, std::size_t i) { return i < t.numeric.size() && t.numeric[i]; }

    void drawRow(const SignoffTable& t, const std::vector<std::string>& cells, const std::vector<qreal>& widths,
                 qreal height, const QFont& f, bool head) {
        const qreal pad = mm(1);
        qreal x = 0;
        const qreal total = std::accumulate(widths.begin(), widths.end(), 0.0);
        if (head) m_painter.fillRect(QRectF(0, m_y, total, height), QColor(0xee, 0xee, 0xee));
        m_painter.setFont(f);
        for (std::size_t i = 0; i < widths.size(); ++i) {
            m_painter.setPen(QPen(QColor(0xbb, 0xbb, 0xbb), mm(0.15)));
            m_painter.drawRect(QRectF(x, m_y, widths[i], height));
            if (i < cells.size()) {
                m_painter.setPen(Qt::black);
                const int align = (isNumeric(t, i) ? Qt::AlignRight : Qt::AlignLeft) | Qt::AlignTop | Qt::TextWordWrap;
                m_painter.drawText(QRectF(x + pad, m_y + pad / 2, widths[i] - 2 * pad, height), align, qs(cells[i]));
            }
            x += widths[i];
        }
        m_y += height;
    }

    void footer() {
        m_painter.setFont(font(7.5));
        m_painter.setPen(QColor(0x55, 0x55, 0x55));
        const QRectF line(0, m_footerY - mm(4), m_width, mm(4));
        m_painter.drawText(line, Qt::AlignLeft | Qt::AlignBottom,
                           qs(m_document.title + " \xE2\x80\x94 " + m_document.date));
        m_painter.drawText(line, Qt::AlignRight | Qt::AlignBottom, QStringLiteral("%1").arg(m_page));
    }

    QPdfWriter& m_writer;
    QPainter& m_painter;
    const SignoffDocument& m_document;
    qreal m_width = 0;
    qreal m_bottom = 0;
    qreal m_footerY = 0;
    qreal m_y = 0;
    int m_page = 1;
    bool m_ok = true;
};

const QColor kNote(0x55, 0x55, 0x55);

void closingPages(PageFlow& flow, const SignoffClosing& c) {
    flow.newPage();
    flow.title(c.heading, c.verdict, c.look, 12);
    flow.facts(c.facts);
    flow.space(mm(2));
    if (!c.histogramSvg.empty()) {
        flow.svg(c.histogramSvg, 0.8);
        flow.paragraph(c.histogramCaption, 7.5, kNote);
        flow.space(mm(2));
    }
    if (!c.paretoSvg.empty()) {
        flow.svg(c.paretoSvg, 0.75);
        flow.paragraph(c.paretoCaption, 7.5, kNote);
        flow.space(mm(2));
    }
    if (!c.sensitivities.rows.empty()) {
        flow.room(mm(25));
        flow.paragraph("Sensitivities and what to tighten", 10, Qt::black, true);
        flow.paragraph(c.sensitivityNote, 7.5, kNote);
        flow.space(mm(1));
        flow.table(c.sensitivities);
    }
}

} // namespace

bool renderSignoffPdf(const SignoffDocument& d, QIODevice& device) {
    QPdfWriter writer(&device);
    writer.setResolution(kDpi);
    writer.setTitle(qs(d.title));
    writer.setCreator(qs(d.program));
    writer.setPageLayout(QPageLayout(QPageSize(QPageSize::A4), QPageLayout::Portrait,
                                     QMarginsF(kMarginMm, kMarginMm, kMarginMm, kMarginMm), QPageLayout::Millimeter));
    QPainter painter;
    if (!painter.begin(&writer)) return false;
    painter.setRenderHint(QPainter::Antialiasing);
    PageFlow flow(writer, painter, d);
    flow.title(d.title, d.verdict, d.look, 16);
    for (const std::string& line : d.headerLines) flow.paragraph(line, 10, Qt::black);
    flow.space(mm(2));
    flow.facts(d.project);
    flow.space(mm(3));
    flow.table(d.summary);
    flow.space(mm(3));
    flow.paragraph("Inputs", 12, Qt::black, true);
    flow.space(mm(1));
    flow.facts(d.run);
    flow.space(mm(3));
    flow.paragraph("Elements and their distributions", 10, Qt::black, true);
    flow.space(mm(1));
    flow.table(d.elements);
    for (const SignoffClosing& c : d.closings) closingPages(flow, c);
    flow.finish();
    return painter.end() && flow.ok();
}

} // namespace zam1
