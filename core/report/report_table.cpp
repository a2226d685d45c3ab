#include "core/report/report_table.h"

#include <algorithm>

#include "core/report/output_channel.h"
#include "core/text/number_format.h"

namespace zam1 {
namespace {

constexpr std::size_t kMaxCaption = 60;

std::string cell(const std::vector<std::string>& cells, std::size_t i) {
    return i < cells.size() ? cells[i] : std::string();
}

} // namespace

ReportTable::ReportTable(OutputChannel& out, std::initializer_list<ReportColumn> columns, bool separatorAfterRow)
    : m_out(out), m_separatorAfterRow(separatorAfterRow) {
    for (const ReportColumn& c : columns) {
        if (c.width <= 0 || m_columns.size() == kMaxColumns) break;
        m_columns.push_back({c.width, c.caption.substr(0, kMaxCaption)});
    }
    if (m_out.isSpreadsheet()) {
        std::string line;
        for (std::size_t i = 0; i < m_columns.size(); ++i) line += (i > 0 ? "\t" : "") + m_columns[i].caption;
        m_out.writeLine(line);
    } else if (m_out.isHtml()) {
        m_out.closeTable();
        m_out.writeMarkup("<TABLE BORDER = \"1\" WIDTH= \"100%\">");
        for (std::size_t i = 0; i < m_columns.size(); ++i) {
            m_out.writeMarkup((i == 0 ? "<TR><TD><CENTER>" : "<TD><CENTER>") +
                              OutputChannel::htmlText(m_columns[i].caption) + "</CENTER></TD>");
        }
        m_out.writeMarkup("</TR>");
    } else {
        m_out.doubleLine();
        for (const ReportColumn& c : m_columns) m_out.writePart(textLeft(c.caption, c.width));
        m_out.writeLine(" ");
        m_out.doubleLine();
    }
}

void ReportTable::writeRow(const std::vector<std::string>& cells) {
    if (m_out.isSpreadsheet()) {
        std::string line;
        for (std::size_t i = 0; i < m_columns.size(); ++i) line += (i > 0 ? "\t" : "") + cell(cells, i);
        m_out.writeLine(line);
    } else if (m_out.isHtml()) {
        for (std::size_t i = 0; i < m_columns.size(); ++i) {
            const std::string text = OutputChannel::htmlText(cell(cells, i));
            m_out.writeMarkup(i == 0 ? "<TR><TD>" + text + "</TD>" : "<TD><DIV ALIGN=RIGHT>" + text + "</DIV></TD>");
        }
        m_out.writeMarkup("</TR>");
    } else {
        for (std::size_t i = 0; i < m_columns.size(); ++i) m_out.writePart(textLeft(cell(cells, i), m_columns[i].width));
        m_out.writeLine(" ");
        if (m_separatorAfterRow) m_out.thinLine();
    }
}

void ReportTable::writeSpanningRow(const std::vector<std::string>& cells) {
    const std::size_t last = std::min(cells.size(), m_columns.size()) - 1;
    if (cells.empty() || last + 1 == m_columns.size()) {
        writeRow(cells);
        return;
    }
    if (m_out.isSpreadsheet()) {
        std::string line;
        for (std::size_t i = 0; i <= last; ++i) line += (i > 0 ? "\t" : "") + cells[i];
        m_out.writeLine(line);
    } else if (m_out.isHtml()) {
        for (std::size_t i = 0; i < last; ++i) {
            const std::string text = OutputChannel::htmlText(cells[i]);
            m_out.writeMarkup(i == 0 ? "<TR><TD>" + text + "</TD>" : "<TD><DIV ALIGN=RIGHT>" + text + "</DIV></TD>");
        }
        m_out.writeMarkup("<TD COLSPAN=\"" + intText(static_cast<long long>(m_columns.size() - last)) + "\">" +
                          OutputChannel::htmlText(cells[last]) + "</TD></TR>");
    } else {
        int rest = 0;
        for (std::size_t i = last; i < m_columns.size(); ++i) rest += m_columns[i].width;
        for (std::size_t i = 0; i < last; ++i) m_out.writePart(textLeft(cells[i], m_columns[i].width));
        m_out.writePart(textLeft(cells[last], rest));
        m_out.writeLine(" ");
        if (m_separatorAfterRow) m_out.thinLine();
    }
}

void ReportTable::close() {
    if (m_out.isHtml()) {
        m_out.writeMarkup("</TABLE>");
    } else if (!m_out.isSpreadsheet() && !m_separatorAfterRow) {
        m_out.thinLine();
    }
}

} // namespace zam1
